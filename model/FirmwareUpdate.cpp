#include "model/FirmwareUpdate.h"

#include "items/OrvNumber.h"
#include "link/OrvConnection.h"
#include "model/ResourceLibrary.h"
#include "model/SafetyNet.h"
#include "model/SerialDataModule.h"
#include "model/UnitConnector.h"
#include "model/UnitIdentity.h"
#include "support/EncryptedContainer.h"
#include "support/PlainBuffer.h"
#include "support/TextIndex.h"

#include <QFile>

namespace {

// The command that puts the unit into reprogramming, the first version of the
// newer generation, the first version newer than the images, and a unit whose
// boot loader needs no update.
constexpr int ReprogrammingCommand = 123;
constexpr int NewGeneration = 140;
constexpr int NewerThanImages = 143;
constexpr int CurrentBootLoader = 5;
const QString FirmwareCaption = QStringLiteral("Riprogrammazione firmware");

// The images in the resource library: the boot-loader update and the
// application for the older and the newer generation.
constexpr int BootLoaderImage = 10010;
constexpr int OldApplicationImage = 10011;
constexpr int ApplicationImage = 10012;

} // namespace

TFirmwareUpdate::TFirmwareUpdate(TSerialDataModule& module) : m_module(module) {}

QString TFirmwareUpdate::ProgrammedText()
{
    return QStringLiteral("Programmazione avvenuta con successo!");
}

void TFirmwareUpdate::Error(int captionIndex, int textIndex)
{
    m_module.m_prompts->ShowMessage(TMessageIcon::Error, m_module.Text(captionIndex),
                                    m_module.Text(textIndex));
}

bool TFirmwareUpdate::CheckIdentity()
{
    using namespace UnitIdentity;
    const auto& identity = m_module.Identity();
    if (identity[0] != SupportedFamily) {
        Error(TextIndex::ReprogramFirmware, TextIndex::UnsupportedUnitKind);
        return false;
    }
    if (identity[1] == BootLoaderKind) {
        Error(TextIndex::ReprogramFirmware, TextIndex::UnitInBootLoaderMode);
        return false;
    }
    // Everything that can be checked is checked before the unit leaves its
    // application: a unit of another model, or a missing or damaged image,
    // must not end up waiting in its boot loader.
    if (identity[1] != SupportedKind || identity[2] != SupportedModel) {
        Error(TextIndex::ReprogramFirmware, TextIndex::UnsupportedUnitKind);
        return false;
    }
    return true;
}

void TFirmwareUpdate::Reprogram()
{
    TUserPrompts* prompts = m_module.m_prompts;
    QString backup;
    if (!m_module.m_safetyNet->BackUpBefore(QStringLiteral("before-firmware"), &backup))
        return;
    if (!m_module.m_connection->LoadDll()) {
        Error(TextIndex::ConfigurationFileCaption, TextIndex::FileProtectedOrNoLinkLibrary);
        return;
    }
    LinkInstance* link = m_module.m_connection->Instance();
    if (!m_module.m_connector->ReadIdentity(*link)) {
        Error(TextIndex::ReprogramFirmware, TextIndex::UnitDoesNotAnswer);
        link->DisconnectUnit();
        return;
    }
    if (!CheckIdentity())
        return;
    const int version = m_module.Identity()[3];
    m_oldFirmware = version < NewGeneration;
    if (!ImagesAvailable(version != CurrentBootLoader)) {
        Error(TextIndex::ReprogramFirmware, TextIndex::FirmwareImageNotAvailable);
        return;
    }
    if (version >= NewerThanImages &&
        !prompts->AskYesNo(TMessageIcon::Error, m_module.Text(TextIndex::ReprogramFirmware),
                           m_module.Text(TextIndex::UnitFirmwareNewerQuestion), false))
        return;

    std::unique_ptr<TWaitWindow> wait = prompts->CreateWaitWindow();
    CurrentWaitWindow = wait.get();
    wait->SetCaption(m_module.Text(TextIndex::ReprogramFirmware));
    wait->SetMessage(m_module.Text(TextIndex::PreparingPleaseWait));
    wait->SetWaitProgress(0, true);
    wait->PlaceAtTop(40);
    auto fail = [&](int captionIndex, int textIndex) {
        wait.reset();
        Error(captionIndex, textIndex);
    };

    if (link->ConnectUnit() == 0)
        return fail(TextIndex::ReprogramFirmware, TextIndex::UnitDoesNotAnswer);
    m_module.Number("RIPROGRAMMAZIONE")->SetData(ReprogrammingCommand);
    prompts->Wait(500);
    if (link->GetLastError() != 0)
        return fail(TextIndex::ReprogramFirmware, TextIndex::UnitDoesNotAnswer);
    link->DisconnectUnit();

    if (version != CurrentBootLoader && !ProgramImage(1))
        return fail(TextIndex::ReprogramFirmware, TextIndex::BootLoaderUpdateFailed);
    const int passes = prompts->UpgradeBootLoaderChecked() ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        prompts->Wait(100);
        if (!ProgramImage(pass == 0 ? 2 : 3)) {
            wait.reset();
            prompts->ShowMessage(TMessageIcon::Error, FirmwareCaption,
                                 QStringLiteral("Errore nella riprogrammazione del Micro!"));
            return;
        }
    }
    wait.reset();
    link->DisconnectUnit();
    prompts->ShowMessage(TMessageIcon::None, FirmwareCaption, ProgrammedText());
    if (!backup.isEmpty())
        OfferBackup(backup);
}

bool TFirmwareUpdate::ImagesAvailable(bool withBootLoader) const
{
    TPlainBuffer image;
    return (!withBootLoader || LoadImage(BootLoaderImage, image)) &&
           LoadImage(m_oldFirmware ? OldApplicationImage : ApplicationImage, image);
}

bool TFirmwareUpdate::ProgramImage(int kind)
{
    TWaitWindow* wait = CurrentWaitWindow;
    if (wait)
        wait->ShowAndRepaint();
    const int image = kind == 1 ? BootLoaderImage : (m_oldFirmware ? OldApplicationImage : ApplicationImage);
    TPlainBuffer buffer;
    if (!LoadImage(image, buffer)) {
        Error(TextIndex::ReprogramFirmware, TextIndex::FirmwareImageNotAvailable);
        return false;
    }
    if (wait)
        wait->SetMessage(m_module.Text(kind == 1   ? TextIndex::UpdatingBootLoader
                                       : kind == 2 ? TextIndex::ProgrammingFirstPass
                                                   : TextIndex::ProgrammingSecondPass));

    int result = -1;
    for (int attempt = 1; attempt <= 3; ++attempt) {
        if (attempt > 1) {
            const QString caption = wait ? wait->Caption() : QString();
            if (!m_module.m_prompts->AskYesNo(TMessageIcon::Error, caption,
                                              QStringLiteral("Programmazione fallita, riprovare?"), false))
                break;
            if (wait)
                wait->SetCaption(QStringLiteral("Riprogrammazione firmware -> Tentativo ") +
                                 QString::number(attempt));
        }
        if (wait)
            wait->ShowAndRepaint();
        result = m_module.m_connection->Instance()->ProgramFirmware(buffer.Data(), 0, 0, 1);
        if (result == 0)
            break;
    }
    return result == 0;
}

bool TFirmwareUpdate::LoadImage(int id, TPlainBuffer& out)
{
    QFile resource(ResourceLibrary::Path(QStringLiteral("256"), id));
    if (!resource.open(QIODevice::ReadOnly))
        return false;
    const QByteArray image = resource.readAll();
    return DecryptImage(reinterpret_cast<const uchar*>(image.constData()), qint32(image.size()), out);
}

void TFirmwareUpdate::OfferBackup(const QString& backupFileName)
{
    if (m_module.ConnectToUnit(m_module.m_connector->Port(), 0) != 0)
        return;
    QList<TConfigDifference> differences;
    if (!m_module.CompareUnitWithFile(backupFileName, differences) || differences.isEmpty())
        return;
    QStringList lines;
    for (const TConfigDifference& difference : std::as_const(differences))
        lines << difference.key + QStringLiteral(": ") + difference.left + QStringLiteral(" -> ") +
                     difference.right;
    if (m_module.m_prompts->AskYesNo(TMessageIcon::None, FirmwareCaption,
                                     m_module.Text(TextIndex::ValuesDifferFromBackupAfterFirmware) +
                                         QLatin1Char('\n') + lines.join(QLatin1Char('\n')) +
                                         QLatin1Char('\n') +
                                         m_module.Text(TextIndex::WriteBackupBackQuestion),
                                     true))
        m_module.RestoreBackup(backupFileName);
}
