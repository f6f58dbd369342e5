#include "model/SerialDataModule.h"

#include "items/DataRefresher.h"
#include "items/OrvNumber.h"
#include "items/OrvPacketData.h"
#include "link/OrvConnection.h"
#include "link/WindowMessage.h"
#include "model/Catalogue.h"
#include "model/ConfigurationFiles.h"
#include "model/ConfigurationLoad.h"
#include "model/FirmwareUpdate.h"
#include "model/ParameterRules.h"
#include "model/QuietPrompts.h"
#include "model/SafetyNet.h"
#include "model/UnitConnector.h"
#include "support/LanguageStore.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <map>
#include <utility>

namespace {

const QString FollowOnFailureText = QStringLiteral("It was impossible to write the following data::\n");

// Written to CHECKUP, it makes the unit erase its stored configuration; the
// unit needs a second for it.
constexpr int EraseCommand = 8;
constexpr int EraseTime = 1000;

} // namespace

TSerialDataModule::TSerialDataModule(QObject* owner)
    : QObject(owner), m_quietPrompts(std::make_unique<TQuietPrompts>()), m_prompts(m_quietPrompts.get())
{
    setObjectName(QStringLiteral("SerialDataModule"));
    BuildCatalogue();
    m_connector = std::make_unique<TUnitConnector>(*this);
    m_files = std::make_unique<TConfigurationFiles>(*this);
    m_load = std::make_unique<TConfigurationLoad>(*this);
    m_safetyNet = std::make_unique<TSafetyNet>(*this);
    m_firmware = std::make_unique<TFirmwareUpdate>(*this);
    UseBuiltInTexts();
    m_rules = std::make_unique<TParameterRules>(*this);
    m_rules->Wire();
    WatchEdits();
    LoadedAll();
    connect(m_connection, &TOrvConnection::LinkMessage, this, &TSerialDataModule::OnLinkMessage);
}

TSerialDataModule::~TSerialDataModule()
{
    ReleaseLink(false);
}

void TSerialDataModule::SetPrompts(TUserPrompts* prompts)
{
    m_prompts = prompts ? prompts : m_quietPrompts.get();
}

// --- the catalogue --------------------------------------------------------

void TSerialDataModule::BuildCatalogue()
{
    m_connection = new TOrvConnection(this);
    m_refresher = new TDataRefresher(this);
    m_refresher->SetConnection(m_connection);

    // Items are created in catalogue order, which is the order every operation
    // over all components walks (the module's children).
    std::map<int, std::function<TOrvSerialData*()>> makers;
    for (const Catalogue::NumberRow& row : Catalogue::Numbers()) {
        makers[row.number] = [this, &row] {
            auto* item = new TOrvNumber(this);
            Catalogue::Apply(row, *item);
            return static_cast<TOrvSerialData*>(item);
        };
    }
    for (const Catalogue::PacketRow& row : Catalogue::Packets()) {
        makers[row.number] = [this, &row] {
            auto* item = new TOrvPacketData(this);
            Catalogue::Apply(row, *item);
            return static_cast<TOrvSerialData*>(item);
        };
    }
    for (const auto& [number, make] : makers) {
        if (number == 33)
            m_translator = new TTranslator(this);
        TOrvSerialData* item = make();
        item->SetConnection(m_connection);
        m_items.insert(item->objectName(), item);
        m_itemOrder.append(item);
    }
}

// Every text the program uses has an Italian original built into the program,
// so that a missing or incomplete language store never leaves a caption, a
// question or a button empty.
void TSerialDataModule::UseBuiltInTexts()
{
    m_translator->OnMissingString = [](QObject*, int index, QString& text) {
        static const TLanguageStore builtIn = [] {
            TLanguageStore store;
            store.Load(QStringLiteral(":/program/Dizionario/Languages.lng"));
            return store;
        }();
        text = builtIn.String(index);
    };
}

void TSerialDataModule::LoadedAll()
{
    for (TOrvSerialData* item : std::as_const(m_itemOrder)) {
        if (auto* packet = qobject_cast<TOrvPacketData*>(item)) {
            packet->SetDataRefresher(m_refresher);
            packet->SetActive(true);
        }
        item->Loaded();
    }
}

TOrvSerialData* TSerialDataModule::Item(const QString& name) const
{
    return m_items.value(name);
}

TOrvNumber* TSerialDataModule::Number(const QString& name) const
{
    return qobject_cast<TOrvNumber*>(Item(name));
}

TOrvPacketData* TSerialDataModule::Packet(const QString& name) const
{
    return qobject_cast<TOrvPacketData*>(Item(name));
}

namespace {

template <class Kind> Kind& Named(Kind* item, const QString& name)
{
    if (!item)
        qFatal("The catalogue has no item %s of that kind", qPrintable(name));
    return *item;
}

} // namespace

TOrvSerialData& TSerialDataModule::ItemNamed(const QString& name) const
{
    return Named(Item(name), name);
}

TOrvNumber& TSerialDataModule::NumberNamed(const QString& name) const
{
    return Named(Number(name), name);
}

TOrvPacketData& TSerialDataModule::PacketNamed(const QString& name) const
{
    return Named(Packet(name), name);
}

QList<TOrvSerialData*> TSerialDataModule::Items() const
{
    return m_itemOrder;
}

int TSerialDataModule::IntOf(const QString& name) const
{
    return NumberNamed(name).GetInt();
}

void TSerialDataModule::WriteInt(const QString& name, int value)
{
    if (!NumberNamed(name).SetInt(value) && !m_failedFollowOns.contains(name))
        m_failedFollowOns << name;
}

QStringList TSerialDataModule::TakeFailedFollowOnWrites()
{
    return std::exchange(m_failedFollowOns, {});
}

void TSerialDataModule::ReportFailedWrites(const QStringList& names)
{
    m_prompts->ShowMessage(TMessageIcon::Error, Text(TextIndex::ProgramTitle),
                           FollowOnFailureText + names.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void TSerialDataModule::ApplyIgnitionScale(int ignitionType)
{
    m_rules->ApplyIgnitionScale(ignitionType);
}

void TSerialDataModule::WithLimitsSuspended(TOrvSerialData* item, const std::function<void()>& action)
{
    const bool saved = item->DisableLimits();
    item->SetDisableLimits(true);
    action();
    item->SetDisableLimits(saved);
}

// --- rules ----------------------------------------------------------------

// Every parameter's write event runs its rule (when it has one) and then, for
// the outermost write, announces the edit: the rule's follow-on writes happen
// inside it, so an edit and everything it caused end together. A write that
// fails for want of a unit is announced too, so that the windows can say why.
void TSerialDataModule::WatchEdits()
{
    for (TOrvSerialData* item : std::as_const(m_itemOrder)) {
        auto* number = qobject_cast<TOrvNumber*>(item);
        if (!number)
            continue;
        Q_ASSERT(!number->OnSetData); // the edit watch is the only one
        number->OnSetData = [this, number](QObject*) {
            ++m_writeDepth;
            if (m_loading)
                m_load->RecordWrite(number);
            if (!m_rulesSuspended)
                m_rules->RunSetRule(number);
            --m_writeDepth;
            if (m_writeDepth == 0 && !m_loading && !m_rulesSuspended)
                emit ValueEdited(number);
        };
        number->OnError = [this, number, report = number->OnError](QObject* sender, int code, bool writing) {
            if (report)
                report(sender, code, writing);
            if (writing && m_writeDepth == 0 && !m_loading && !m_rulesSuspended && !IsUnitConnected())
                emit EditNotWritten(number);
        };
    }
}

// --- operations over all items ---------------------------------------------

void TSerialDataModule::ApplyDefaults()
{
    for (int pass = 0; pass < 2; ++pass) {
        for (TOrvSerialData* item : std::as_const(m_itemOrder)) {
            item->SetDisableLimits(true);
            item->ResetDefault(false);
            item->SetDisableLimits(false);
        }
    }
}

void TSerialDataModule::ClearLiveValues()
{
    for (TOrvSerialData* item : std::as_const(m_itemOrder)) {
        item->SetDisableLimits(true);
        if (auto* packet = qobject_cast<TOrvPacketData*>(item))
            packet->ClearValue();
        item->SetDisableLimits(false);
    }
    emit LiveValuesCleared();
}

void TSerialDataModule::NotifyAllItems()
{
    for (TOrvSerialData* item : std::as_const(m_itemOrder))
        item->NotifyData(WindowMessage::WMDataChanged, 0, 0);
}

// --- long operations ------------------------------------------------------

std::unique_ptr<TWaitWindow> TSerialDataModule::BeginWait(const QString& caption, const QString& message)
{
    m_prompts->SetBusyCursor(true);
    std::unique_ptr<TWaitWindow> wait = m_prompts->CreateWaitWindow();
    CurrentWaitWindow = wait.get();
    wait->SetCaption(caption);
    wait->SetMessage(message);
    wait->SetWaitProgress(0, true);
    wait->ShowAndRepaint();
    return wait;
}

void TSerialDataModule::EndWait(std::unique_ptr<TWaitWindow>& wait)
{
    wait.reset();
    m_prompts->SetBusyCursor(false);
}

QString TSerialDataModule::Text(int index) const
{
    return m_translator->GetString(index, 0);
}

void TSerialDataModule::OnLinkMessage(int message, uintptr_t wParam, intptr_t lParam)
{
    // Programming progress goes to the wait window being shown.
    if (message == WindowMessage::WMProgress && CurrentWaitWindow)
        CurrentWaitWindow->ProgressMessage(wParam, lParam);
}

// --- connection -----------------------------------------------------------

bool TSerialDataModule::IsUnitConnected() const
{
    return m_connection->IsUnitConnected();
}

int TSerialDataModule::ConnectToUnit(int port, int flags)
{
    const int result = m_connector->Connect(port, flags);
    if (result == 0)
        m_safetyNet->BackUpAtFirstConnect();
    return result;
}

void TSerialDataModule::ReleaseLink(bool refresherOn)
{
    m_connector->Release(refresherOn);
}

void TSerialDataModule::ReloadAllItems()
{
    m_connector->ReloadAllItems();
}

void TSerialDataModule::ActivatePacketItems()
{
    m_connector->ActivatePacketItems();
}

bool TSerialDataModule::StopRefresher()
{
    return m_connector->StopRefresher();
}

const std::array<uint8_t, 8>& TSerialDataModule::Identity() const
{
    return m_connector->Identity();
}

// --- configuration files ----------------------------------------------------

bool TSerialDataModule::SaveConfiguration(const QString& fileName)
{
    return m_files->Save(fileName);
}

bool TSerialDataModule::LoadConfiguration(const QString& fileName, const QStringList& onlyItems,
                                          TLoadReport* report)
{
    TLoadReport made;
    const bool loaded = m_load->Load(fileName, onlyItems, false, made);
    if (report)
        *report = made;
    return loaded;
}

QString TSerialDataModule::FileStatusText(TConfigFileStatus status, const QString& fileName) const
{
    return m_files->FileStatusText(status, fileName);
}

QString TSerialDataModule::ConfigurationFileProblem(const QString& fileName) const
{
    return m_files->Problem(fileName);
}

QString TSerialDataModule::LoadReportText(const TLoadReport& report) const
{
    return m_load->ReportText(report);
}

QList<TOrvNumber*> TSerialDataModule::LoadableItems() const
{
    return m_files->LoadableItems();
}

QList<TOrvNumber*> TSerialDataModule::ConfigurationItems() const
{
    return m_files->ConfigurationItems();
}

QStringList TSerialDataModule::UnreadUnitItems()
{
    return m_files->UnreadUnitItems();
}

bool TSerialDataModule::CompareUnitWithFile(const QString& fileName, QList<TConfigDifference>& differences,
                                            QStringList* unread)
{
    return m_files->CompareUnitWithFile(fileName, differences, unread);
}

bool TSerialDataModule::CompareFiles(const QString& left, const QString& right,
                                     QList<TConfigDifference>& differences)
{
    return m_files->CompareFiles(left, right, differences);
}

// --- the safety net -----------------------------------------------------------

TBackupStore& TSerialDataModule::Backups()
{
    return m_safetyNet->Store();
}

QString TSerialDataModule::VehicleNote() const
{
    return m_safetyNet->VehicleNote();
}

void TSerialDataModule::SetVehicleNote(const QString& note)
{
    m_safetyNet->SetVehicleNote(note);
}

QString TSerialDataModule::MakeBackup(const QString& reason)
{
    return m_safetyNet->MakeBackup(reason);
}

QList<TBackupEntry> TSerialDataModule::BackupsByCloseness(QStringList* unread)
{
    return m_safetyNet->ByCloseness(unread);
}

bool TSerialDataModule::RestoreBackup(const QString& fileName, TLoadReport* report)
{
    TLoadReport made;
    const bool loaded = m_load->Load(fileName, {}, true, made);
    if (report)
        *report = made;
    return loaded;
}

bool TSerialDataModule::EraseConfiguration()
{
    if (!m_safetyNet->BackUpBefore(QStringLiteral("before-erase")))
        return false;
    m_loading = true;
    const bool erased = Number(QStringLiteral("CHECKUP"))->SetInt(EraseCommand);
    m_loading = false;
    if (!erased)
        return false;
    m_prompts->Wait(EraseTime);
    m_connector->ReloadAllItems();
    return true;
}

bool TSerialDataModule::WriteRawValues(const QList<QPair<TOrvNumber*, int>>& values)
{
    QStringList failed;
    m_rulesSuspended = true;
    for (const auto& [item, raw] : values) {
        WithLimitsSuspended(item, [&, item = item, raw = raw] {
            if (!item->SetEcuData(raw))
                failed << item->objectName();
        });
    }
    m_rulesSuspended = false;
    for (const auto& [item, raw] : values)
        item->Load();
    emit DependentEditsUpdateRequested();
    if (!failed.isEmpty())
        ReportFailedWrites(failed);
    return failed.isEmpty();
}

// --- firmware -----------------------------------------------------------------

void TSerialDataModule::ReprogramFirmware()
{
    m_firmware->Reprogram();
}

bool TSerialDataModule::ProgramImage(int kind)
{
    return m_firmware->ProgramImage(kind);
}

bool TSerialDataModule::LoadFirmwareImage(int id, TPlainBuffer& out)
{
    return TFirmwareUpdate::LoadImage(id, out);
}

bool TSerialDataModule::FirmwareImagesAvailable(bool withBootLoader)
{
    return m_firmware->ImagesAvailable(withBootLoader);
}

bool TSerialDataModule::OldFirmware() const
{
    return m_firmware->OldFirmware();
}

// --- texts ----------------------------------------------------------------

void TSerialDataModule::RefreshMessageTexts()
{
    for (int index :
         {TextIndex::UnitConnected, TextIndex::UnsupportedUnitKind, TextIndex::UnitNotConnected,
          TextIndex::UnitDoesNotAnswer, TextIndex::CheckCableAndIgnition, TextIndex::ConnectionCaption,
          TextIndex::ConnectingPleaseWait, TextIndex::PercentCompleted, TextIndex::EraseConfigurationQuestion,
          TextIndex::UnitInUseByOtherProgram})
        m_texts[index] = m_translator->GetString(index, 0);
}
