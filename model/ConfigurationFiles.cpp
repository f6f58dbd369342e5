#include "model/ConfigurationFiles.h"

#include "items/OrvNumber.h"
#include "model/SerialDataModule.h"
#include "support/MemIniData.h"
#include "support/PlainBuffer.h"
#include "support/TextIndex.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Read-only for the user: not writable, or marked read-only by its owner (which
// even the administrator's account respects here, as the user means it).
bool IsReadOnly(const QFileInfo& info)
{
    return !info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner);
}

} // namespace

TConfigurationFiles::TConfigurationFiles(TSerialDataModule& module) : m_module(module) {}

// No file, a restored backup included, ever writes the commands.
const QStringList& TConfigurationFiles::CommandItems()
{
    static const QStringList items = {QStringLiteral("RIPROGRAMMAZIONE"), QStringLiteral("CHECKUP")};
    return items;
}

const QStringList& TConfigurationFiles::ItemsNotLoaded()
{
    static const QStringList items =
        CommandItems() +
        QStringList{QStringLiteral("GiriCutOffFiliGialli"), QStringLiteral("GiriSgancioCutOffFiliGialli")};
    return items;
}

TConfigFileStatus TConfigurationFiles::ReadFile(const QString& fileName, TPlainBuffer& buffer)
{
    return ConfigurationFile::Read(fileName, buffer);
}

void TConfigurationFiles::FileError(int textIndex)
{
    m_module.m_prompts->ShowMessage(TMessageIcon::Error, m_module.Text(TextIndex::ConfigurationFileCaption),
                                    m_module.Text(textIndex));
}

bool TConfigurationFiles::Save(const QString& fileName)
{
    // The new file replaces the old one only once it is complete, so a file
    // that cannot be replaced is refused before anything is done.
    const QFileInfo target(fileName);
    if (target.exists() && (IsReadOnly(target) || IsReadOnly(QFileInfo(target.absolutePath())))) {
        FileError(TextIndex::FileProtectedOrNoLinkLibrary);
        return false;
    }
    std::unique_ptr<TWaitWindow> wait =
        m_module.BeginWait(m_module.Text(TextIndex::SaveConfigurationCaption),
                           m_module.Text(TextIndex::SavingConfigurationPleaseWait));
    QString names;
    const bool written = WriteFile(fileName, names);
    if (!written)
        FileError(TextIndex::InvalidConfigurationFile);
    m_module.EndWait(wait);

    if (!names.isEmpty())
        m_module.m_prompts->ShowMessage(
            TMessageIcon::Error, m_module.Text(TextIndex::ConfigurationFileCaption),
            QStringLiteral("It was impossible to save the following data::\n") + names);
    return names.isEmpty() && written;
}

bool TConfigurationFiles::WriteFile(const QString& fileName, QString& unsaved)
{
    TPlainBuffer buffer;
    TMemIniData ini(buffer);
    SaveEntries(ini, unsaved);

    // The text is enciphered in memory: no plain copy of it touches the disk.
    QStringList lines;
    ini.GetStrings(lines);
    const QByteArray text = lines.isEmpty()
                                ? QByteArray()
                                : (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
    return ConfigurationFile::Write(fileName, text, m_module.m_prompts);
}

// Every item's entry; an item that could not be read from the connected unit is
// read again, and left out of the file when that fails too, so that a file never
// passes off the values in memory as the unit's.
void TConfigurationFiles::SaveEntries(TCustomIniFile& ini, QString& names)
{
    const QObjectList& components = m_module.children();
    for (int i = 0; i < components.size(); ++i) {
        if (CurrentWaitWindow)
            CurrentWaitWindow->SetWaitProgress(i * 100 / components.size(), true);
        auto* item = qobject_cast<TOrvSerialData*>(components.at(i));
        if (!item || item->SerialDataType() == TOrvSerialData::KindPacket)
            continue;
        const bool read =
            !m_module.IsUnitConnected() || item->IsDataLoaded() || (item->Load() && item->IsDataLoaded());
        if (!read || !item->WriteToFile(&ini))
            names += item->objectName() + QLatin1Char('\n');
    }
}

QString TConfigurationFiles::FileStatusText(TConfigFileStatus status, const QString& fileName) const
{
    if (status == TConfigFileStatus::Ok)
        return QString();
    const int index = TextIndex::FileDoesNotExist + int(status) - int(TConfigFileStatus::Missing);
    return m_module.Text(index) + QLatin1Char('\n') + QDir::toNativeSeparators(fileName);
}

QString TConfigurationFiles::Problem(const QString& fileName) const
{
    TPlainBuffer buffer;
    return FileStatusText(ReadFile(fileName, buffer), fileName);
}

QList<TOrvNumber*> TConfigurationFiles::ItemsBut(const QStringList& leftOut) const
{
    QList<TOrvNumber*> items;
    for (TOrvSerialData* item : m_module.m_itemOrder) {
        auto* number = qobject_cast<TOrvNumber*>(item);
        if (number && !number->ReadOnly() && !leftOut.contains(number->objectName()))
            items << number;
    }
    return items;
}

QList<TOrvNumber*> TConfigurationFiles::LoadableItems() const
{
    return ItemsBut(ItemsNotLoaded());
}

QList<TOrvNumber*> TConfigurationFiles::ConfigurationItems() const
{
    return ItemsBut(CommandItems());
}

QStringList TConfigurationFiles::UnreadUnitItems()
{
    QStringList unread;
    if (!m_module.IsUnitConnected())
        return unread;
    for (TOrvNumber* item : ConfigurationItems()) {
        if (!item->IsDataLoaded() && !(item->Load() && item->IsDataLoaded()))
            unread << item->objectName();
    }
    return unread;
}

void TConfigurationFiles::UnitEntries(TCustomIniFile& ini, const QStringList& leftOut)
{
    for (TOrvNumber* item : ConfigurationItems()) {
        if (!leftOut.contains(item->objectName()))
            item->WriteToFile(&ini);
    }
}

bool TConfigurationFiles::CompareUnitWithFile(const QString& fileName, QList<TConfigDifference>& differences,
                                              QStringList* unread)
{
    TPlainBuffer fileBuffer;
    if (ReadFile(fileName, fileBuffer) != TConfigFileStatus::Ok)
        return false;
    TMemIniData file(fileBuffer);
    const QStringList notRead = UnreadUnitItems();
    if (unread)
        *unread = notRead;
    TPlainBuffer unitBuffer;
    TMemIniData unit(unitBuffer);
    UnitEntries(unit, notRead);
    differences = CompareConfigurations(ConfigurationItems(), unit, file);
    for (TConfigDifference& difference : differences) {
        if (notRead.contains(difference.item)) {
            difference.left = m_module.Text(TextIndex::NotRead);
            difference.leftValue.reset();
        }
    }
    return true;
}

bool TConfigurationFiles::CompareFiles(const QString& left, const QString& right,
                                       QList<TConfigDifference>& differences)
{
    TPlainBuffer leftBuffer;
    TPlainBuffer rightBuffer;
    if (ReadFile(left, leftBuffer) != TConfigFileStatus::Ok ||
        ReadFile(right, rightBuffer) != TConfigFileStatus::Ok)
        return false;
    TMemIniData leftStore(leftBuffer);
    TMemIniData rightStore(rightBuffer);
    differences = CompareConfigurations(ConfigurationItems(), leftStore, rightStore);
    return true;
}
