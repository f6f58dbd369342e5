#include "model/SerialDataModule.h"

#include "model/Catalogue.h"
#include "model/ParameterRules.h"
#include "model/QuietPrompts.h"
#include "model/ResourceLibrary.h"
#include "items/DataRefresher.h"
#include "items/OrvNumber.h"
#include "items/OrvPacketData.h"
#include "items/Rounding.h"
#include "link/OrvConnection.h"
#include "link/WindowMessage.h"
#include "support/LanguageStore.h"
#include "support/Translator.h"

#include "support/ConfigurationFile.h"
#include "support/EncryptedContainer.h"
#include "support/MemIniData.h"
#include "support/NumberText.h"
#include "support/PlainBuffer.h"
#include "support/TextIndex.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QThread>
#include <algorithm>
#include <map>
#include <utility>

namespace {

// The unit family and the application kind and model the configurator serves.
constexpr uint8_t SupportedFamily = 11;
constexpr uint8_t SupportedKind = 36;
constexpr uint8_t SupportedModel = 25;
constexpr uint8_t BootLoaderKind = 3;

// Firmware: the command that puts the unit into reprogramming, the first
// version of the newer generation, the first version newer than the images,
// and a unit whose boot loader needs no update.
constexpr int ReprogrammingCommand = 123;
constexpr int NewGeneration = 140;
constexpr int NewerThanImages = 143;
constexpr int CurrentBootLoader = 5;
const QString FirmwareCaption = QStringLiteral("Riprogrammazione firmware");

constexpr int OverSpeedOff = 20000;
// The over-speed values a file may carry above the item's maximum: both mean "off".
constexpr int OverSpeedOffValues[] = {12000, OverSpeedOff};
const QString FollowOnFailureText = QStringLiteral("It was impossible to write the following data::\n");
constexpr int StopRefresherTimeout = 2000;

// Written to CHECKUP, it makes the unit erase its stored configuration; the
// unit needs a second for it.
constexpr int EraseCommand = 8;
constexpr int EraseTime = 1000;

// The commands: written, CHECKUP erases the unit's configuration and
// RIPROGRAMMAZIONE puts the unit into reprogramming. No file, a restored
// backup included, ever writes them.
const QStringList& CommandItems()
{
    static const QStringList items = {QStringLiteral("RIPROGRAMMAZIONE"), QStringLiteral("CHECKUP")};
    return items;
}

// What an ordinary file load leaves alone: the commands, and the yellow-wire
// speeds, which stay as the unit holds them (a restore writes them back).
const QStringList& ItemsNotLoaded()
{
    static const QStringList items =
        CommandItems() +
        QStringList{QStringLiteral("GiriCutOffFiliGialli"), QStringLiteral("GiriSgancioCutOffFiliGialli")};
    return items;
}

// A value as the comparisons show it: a point as decimal separator, then the unit.
QString ValueWithUnit(const TOrvNumber& item, double value)
{
    const QString number = GeneralNumberText(value, QLocale::c());
    return item.MeasureUnit().isEmpty() ? number : number + QLatin1Char(' ') + item.MeasureUnit();
}

bool IsRefused(const TLoadReport& report, const QString& item)
{
    return std::any_of(report.refused.cbegin(), report.refused.cend(),
                       [&item](const TLoadNote& note) { return note.item == item; });
}

// An over-speed above the range means "off" (the load and the connect turn
// such values into 20000, which some scales hold as 19200): one "off" stored as
// another is no difference.
bool SameOverSpeed(const TOrvNumber& item, double a, double b)
{
    const Catalogue::NumberRow* row = Catalogue::FindNumber(item.objectName());
    return item.objectName() == QLatin1String("GiriFuoriGiri") && row && a > row->limits.max &&
           b > row->limits.max;
}

// Read-only for the user: not writable, or marked read-only by its owner (which
// even the administrator's account respects here, as the user means it).
bool IsReadOnly(const QFileInfo& info)
{
    return !info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner);
}

} // namespace

TSerialDataModule::TSerialDataModule(QObject* owner)
    : QObject(owner), m_quietPrompts(std::make_unique<TQuietPrompts>()), m_prompts(m_quietPrompts.get())
{
    setObjectName(QStringLiteral("SerialDataModule"));
    BuildCatalogue();
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

template <class Kind>
Kind& Named(Kind* item, const QString& name)
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
                m_loadWrites << number;
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

// --- configuration files ----------------------------------------------------

QString TSerialDataModule::Text(int index) const
{
    return m_translator->GetString(index, 0);
}

void TSerialDataModule::FileError(int textIndex)
{
    m_prompts->ShowMessage(TMessageIcon::Error, Text(TextIndex::ConfigurationFileCaption), Text(textIndex));
}

bool TSerialDataModule::SaveConfiguration(const QString& fileName)
{
    // The new file replaces the old one only once it is complete, so a file
    // that cannot be replaced is refused before anything is done.
    const QFileInfo target(fileName);
    if (target.exists() && (IsReadOnly(target) || IsReadOnly(QFileInfo(target.absolutePath())))) {
        FileError(TextIndex::FileProtectedOrNoLinkLibrary);
        return false;
    }
    std::unique_ptr<TWaitWindow> wait =
        BeginWait(Text(TextIndex::SaveConfigurationCaption), Text(TextIndex::SavingConfigurationPleaseWait));
    QString names;
    const bool written = WriteConfigurationFile(fileName, names);
    if (!written)
        FileError(TextIndex::InvalidConfigurationFile);
    EndWait(wait);

    if (!names.isEmpty())
        m_prompts->ShowMessage(TMessageIcon::Error, Text(TextIndex::ConfigurationFileCaption),
                               QStringLiteral("It was impossible to save the following data::\n") + names);
    return names.isEmpty() && written;
}

bool TSerialDataModule::WriteConfigurationFile(const QString& fileName, QString& unsaved)
{
    TPlainBuffer buffer;
    TMemIniData ini(buffer);
    SaveEntries(ini, unsaved);

    // The text is enciphered in memory: no plain copy of it touches the disk.
    QStringList lines;
    ini.GetStrings(lines);
    const QByteArray text =
        lines.isEmpty() ? QByteArray() : (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
    return ConfigurationFile::Write(fileName, text, m_prompts);
}

// Every item's entry; an item that could not be read from the connected unit is
// read again, and left out of the file when that fails too, so that a file never
// passes off the values in memory as the unit's.
void TSerialDataModule::SaveEntries(TCustomIniFile& ini, QString& names)
{
    const QObjectList& components = children();
    for (int i = 0; i < components.size(); ++i) {
        if (CurrentWaitWindow)
            CurrentWaitWindow->SetWaitProgress(i * 100 / components.size(), true);
        auto* item = qobject_cast<TOrvSerialData*>(components.at(i));
        if (!item || item->SerialDataType() == TOrvSerialData::KindPacket)
            continue;
        const bool read = !IsUnitConnected() || item->IsDataLoaded() || (item->Load() && item->IsDataLoaded());
        if (!read || !item->WriteToFile(&ini))
            names += item->objectName() + QLatin1Char('\n');
    }
}

TConfigFileStatus TSerialDataModule::ReadConfigurationFile(const QString& fileName, TPlainBuffer& buffer)
{
    return ConfigurationFile::Read(fileName, buffer);
}

QString TSerialDataModule::FileStatusText(TConfigFileStatus status, const QString& fileName) const
{
    if (status == TConfigFileStatus::Ok)
        return QString();
    const int index = TextIndex::FileDoesNotExist + int(status) - int(TConfigFileStatus::Missing);
    return Text(index) + QLatin1Char('\n') + QDir::toNativeSeparators(fileName);
}

QString TSerialDataModule::ConfigurationFileProblem(const QString& fileName) const
{
    TPlainBuffer buffer;
    return FileStatusText(ReadConfigurationFile(fileName, buffer), fileName);
}

bool TSerialDataModule::LoadConfiguration(const QString& fileName, const QStringList& onlyItems,
                                          TLoadReport* report)
{
    TLoadReport made;
    const bool loaded = Load(fileName, onlyItems, false, made);
    if (report)
        *report = made;
    return loaded;
}

bool TSerialDataModule::RestoreBackup(const QString& fileName, TLoadReport* report)
{
    TLoadReport made;
    const bool loaded = Load(fileName, {}, true, made);
    if (report)
        *report = made;
    return loaded;
}

bool TSerialDataModule::Load(const QString& fileName, const QStringList& onlyItems, bool restore,
                             TLoadReport& report)
{
    const bool loaded = RunLoad(fileName, onlyItems, restore, report);
    ShowLoadReport(fileName, report);
    return loaded;
}

bool TSerialDataModule::RunLoad(const QString& fileName, const QStringList& onlyItems, bool restore,
                                TLoadReport& report)
{
    TPlainBuffer buffer;
    report.file = ReadConfigurationFile(fileName, buffer);
    if (report.file != TConfigFileStatus::Ok)
        return false;
    TMemIniData file(buffer);
    // A ticked load writes what was ticked; a restore writes what the backup holds.
    const QStringList& leftAlone = restore || !onlyItems.isEmpty() ? CommandItems() : ItemsNotLoaded();
    TPlainBuffer acceptedBuffer;
    TMemIniData accepted(acceptedBuffer);
    if (AcceptEntries(file, leftAlone, onlyItems, accepted, report) == 0) {
        report.noLoadableEntry = true;
        return false;
    }
    if (!BackUpBefore(restore ? QStringLiteral("before-restore") : QStringLiteral("before-load")))
        return false;
    report.started = true;

    std::unique_ptr<TWaitWindow> wait =
        BeginWait(Text(TextIndex::LoadConfigurationCaption), Text(TextIndex::LoadingConfigurationPleaseWait));
    QList<TOrvNumber*> loaded;
    QList<TOrvNumber*> written;
    m_loading = true;
    m_loadWrites.clear();
    for (int group = 0; group < 2; ++group)
        ReadConfigurationPass(accepted, group, leftAlone, onlyItems, loaded, written, report);
    EndWait(wait);
    CorrectOverSpeed();
    QStringList adjusted;
    KeepActuatorPositionsInLimits(adjusted);
    QStringList notHeld;
    VerifyLoad(notHeld);
    m_loading = false;
    Refuse(adjusted, TLoadNote::Reason::Adjusted, accepted, report);
    Refuse(notHeld, TLoadNote::Reason::NotHeld, accepted, report);
    Refuse(TakeFailedFollowOnWrites(), TLoadNote::Reason::FollowOnFailed, accepted, report);
    NoteDifferences(loaded, restore || !onlyItems.isEmpty() ? QStringList() : ItemsNotLoaded(), accepted,
                    report);
    report.written = int(std::count_if(written.cbegin(), written.cend(), [&report](TOrvNumber* item) {
        return !IsRefused(report, item->objectName());
    }));
    emit ConfigurationReread();
    return report.refused.isEmpty();
}

TOrvNumber* TSerialDataModule::FileItem(const QString& section, const QString& key) const
{
    for (TOrvSerialData* item : m_itemOrder) {
        auto* number = qobject_cast<TOrvNumber*>(item);
        if (number && number->FileSection().compare(section, Qt::CaseInsensitive) == 0 &&
            number->FileKey().compare(key, Qt::CaseInsensitive) == 0)
            return number;
    }
    return nullptr;
}

// Every line of every section, a repeated section included (a lookup would
// only reach its last occurrence): the file's lines are walked one by one.
int TSerialDataModule::AcceptEntries(const TMemIniData& file, const QStringList& leftAlone,
                                     const QStringList& onlyItems, TCustomIniFile& accepted,
                                     TLoadReport& report) const
{
    const bool wholeFile = onlyItems.isEmpty();
    QList<TOrvNumber*> items;
    QHash<TOrvNumber*, QString> values;
    QSet<TOrvNumber*> repeated;
    for (const auto& [section, line] : file.AllLines()) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        TOrvNumber* item = equals < 0 ? nullptr : FileItem(section, line.left(equals));
        if (!item) {
            // A ticked load looks at its rows only.
            if (wholeFile)
                report.refused.append(
                    {QString(), line, QString(),
                     equals < 0 ? TLoadNote::Reason::NotAnEntry : TLoadNote::Reason::UnknownEntry});
            continue;
        }
        if (item->ReadOnly() || !(wholeFile || onlyItems.contains(item->objectName())))
            continue;
        if (values.contains(item)) {
            repeated.insert(item);
            continue;
        }
        items.append(item);
        values.insert(item, line.mid(equals + 1));
    }

    int loadable = 0;
    for (TOrvNumber* item : std::as_const(items)) {
        const QString entry = item->FileKey() + QLatin1Char('=') + values.value(item);
        const bool written = !leftAlone.contains(item->objectName());
        double value = 0;
        if (repeated.contains(item)) {
            if (written)
                report.refused.append(
                    {item->objectName(), item->FileKey(), QString(), TLoadNote::Reason::Repeated});
        } else if (!IsFloatValue(values.value(item), value)) {
            if (written)
                report.refused.append({item->objectName(), entry, QString(), TLoadNote::Reason::NotANumber});
        } else {
            // The entries a load leaves alone are taken too, for the notes.
            accepted.WriteString(item->FileSection(), item->FileKey(), values.value(item));
            loadable += written;
        }
    }
    return loadable;
}

TLoadNote TSerialDataModule::Note(TOrvNumber* item, TLoadNote::Reason reason, TCustomIniFile& accepted) const
{
    const QString key = item->FileKey();
    const bool inFile = accepted.ValueExists(item->FileSection(), key);
    const QString entry =
        inFile ? key + QLatin1Char('=') + accepted.ReadString(item->FileSection(), key, QString()) : key;
    return {item->objectName(), entry, QString(), reason};
}

void TSerialDataModule::Refuse(const QStringList& names, TLoadNote::Reason reason, TCustomIniFile& accepted,
                               TLoadReport& report)
{
    for (const QString& name : names) {
        if (!IsRefused(report, name) && Number(name))
            report.refused.append(Note(Number(name), reason, accepted));
    }
}

void TSerialDataModule::NoteDifferences(const QList<TOrvNumber*>& loaded, const QStringList& leftAlone,
                                        TCustomIniFile& accepted, TLoadReport& report)
{
    auto note = [&](TOrvNumber* item, TLoadNote::Reason reason) {
        double value = 0;
        IsFloatValue(accepted.ReadString(item->FileSection(), item->FileKey(), QString()), value);
        const double held = item->GetDouble();
        if (SameFileValue(held, value) || SameOverSpeed(*item, held, value))
            return;
        TLoadNote difference = Note(item, reason, accepted);
        difference.held = ValueWithUnit(*item, held);
        report.differences.append(difference);
    };
    for (TOrvNumber* item : loaded) {
        if (!IsRefused(report, item->objectName()))
            note(item, TLoadNote::Reason::StoredDifferently);
    }
    for (const QString& name : leftAlone) {
        TOrvNumber* item = Number(name);
        if (!CommandItems().contains(name) && accepted.ValueExists(item->FileSection(), item->FileKey()) &&
            item->Load())
            note(item, TLoadNote::Reason::LeftAlone);
    }
}

QString TSerialDataModule::LoadReportText(const TLoadReport& report) const
{
    // One group per kind of note, a blank line between groups.
    QStringList groups;
    QStringList lines;
    for (const TLoadNote& note : report.refused)
        lines << note.entry + QStringLiteral(": ") + Text(TextIndex::UnknownEntryReason + int(note.reason));
    if (!lines.isEmpty())
        groups << Text(TextIndex::NotLoadedHeading) + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
    for (const TLoadNote::Reason reason :
         {TLoadNote::Reason::StoredDifferently, TLoadNote::Reason::LeftAlone}) {
        const bool stored = reason == TLoadNote::Reason::StoredDifferently;
        lines.clear();
        for (const TLoadNote& note : report.differences) {
            if (note.reason == reason)
                lines << note.entry + QStringLiteral(": ") +
                             Text(stored ? TextIndex::StoredAs : TextIndex::UnitHolds) + QLatin1Char(' ') +
                             note.held;
        }
        if (!lines.isEmpty())
            groups << Text(stored ? TextIndex::StoredDifferentlyHeading : TextIndex::LeftAloneHeading) +
                          QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
    }
    return groups.join(QStringLiteral("\n\n"));
}

// A file refused unread names why; a load that wrote anything shows only what
// needs the fitter's attention (nothing for a clean load).
void TSerialDataModule::ShowLoadReport(const QString& fileName, const TLoadReport& report)
{
    QString text;
    if (report.file != TConfigFileStatus::Ok)
        text = FileStatusText(report.file, fileName);
    else if (report.noLoadableEntry)
        text = Text(TextIndex::NothingToLoadInFile) + QLatin1Char('\n') + QDir::toNativeSeparators(fileName);
    if (report.NeedsAttention())
        text += (text.isEmpty() ? QString() : QStringLiteral("\n\n")) + LoadReportText(report);
    if (!text.isEmpty())
        m_prompts->ShowMessage(report.refused.isEmpty() && report.started ? TMessageIcon::None
                                                                          : TMessageIcon::Error,
                               Text(TextIndex::ConfigurationFileCaption), text);
}

// One pass over the items of a data group: the ignition type (group 0) is
// written before the engine speeds that depend on it (group 1).
void TSerialDataModule::ReadConfigurationPass(TCustomIniFile& store, int group, const QStringList& leftAlone,
                                              const QStringList& onlyItems, QList<TOrvNumber*>& loaded,
                                              QList<TOrvNumber*>& written, TLoadReport& report)
{
    const QObjectList& components = children();
    for (int i = 0; i < components.size(); ++i) {
        if (CurrentWaitWindow)
            CurrentWaitWindow->SetWaitProgress(i * 100 / components.size(), true);
        auto* item = qobject_cast<TOrvNumber*>(components.at(i));
        if (!item || leftAlone.contains(item->objectName()) || item->ReadOnly() ||
            item->DataGroup() != group || !(onlyItems.isEmpty() || onlyItems.contains(item->objectName())) ||
            !store.ValueExists(item->FileSection(), item->FileKey()))
            continue;
        // Byte 223 holds the changeover speed, or with start on gas (TIPO_CAMBIO
        // 2, loaded before it) the priming time: only the meaning the loaded mode
        // gives it is written, so a file without the speed cannot leave a
        // priming time to be read as a speed.
        const bool priming = IntOf("TIPO_CAMBIO") == 2;
        if ((item->objectName() == QLatin1String("GiriPerCambio") && priming) ||
            (item->objectName() == QLatin1String("TempoDiCicchetto") && !priming))
            continue;
        switch (LoadEntry(*item, store)) {
        case EntryResult::Written:
            written << item;
            loaded << item;
            break;
        case EntryResult::Kept:
            loaded << item;
            break;
        case EntryResult::OutOfRange:
            report.refused.append(Note(item, TLoadNote::Reason::OutOfRange, store));
            break;
        case EntryResult::NotWritten:
            report.refused.append(Note(item, TLoadNote::Reason::NotWritten, store));
            break;
        }
    }
}

TSerialDataModule::EntryResult TSerialDataModule::LoadEntry(TOrvNumber& item, TCustomIniFile& store)
{
    double value = 0;
    if (!store.ValueExists(item.FileSection(), item.FileKey()) ||
        !IsFloatValue(store.ReadString(item.FileSection(), item.FileKey(), QString()), value))
        return EntryResult::Kept; // the item keeps its value
    // What the unit holds already is not written again: a value shown rounded
    // (a byte off the item's step grid) would come back changed. The unit is
    // asked afresh, as something else may have changed it since it was read.
    if (item.Load() && SameFileValue(item.GetDouble(), value))
        return EntryResult::Kept;
    if (!FileValueAllowed(item, value))
        return EntryResult::OutOfRange;
    bool loaded = false;
    WithLimitsSuspended(&item, [&] { loaded = item.ReadFromFile(&store); });
    return loaded ? EntryResult::Written : EntryResult::NotWritten;
}

bool TSerialDataModule::FileValueAllowed(TOrvNumber& item, double value)
{
    const Catalogue::NumberRow* row = Catalogue::FindNumber(item.objectName());
    auto raw = [this, &item](double user) {
        int x = 0;
        WithLimitsSuspended(&item, [&] { x = item.ConvertValueToEcu(user, nullptr); });
        return x;
    };
    const int held = raw(value);
    if (ConversionError::IsError(held) || !item.HoldsRaw(held))
        return false;
    const bool overSpeedOff = item.objectName() == QLatin1String("GiriFuoriGiri") &&
                              std::find(std::begin(OverSpeedOffValues), std::end(OverSpeedOffValues), value) !=
                                  std::end(OverSpeedOffValues);
    // The factory byte is one the unit holds after an erase, even where it lies
    // outside the range (the yellow-wire speeds' 12000 RPM, which reads 11700).
    const bool factory = row && held == raw(row->defaultValue);
    const bool limited = row && !(row->limits.min == 0 && row->limits.max == 0);
    return !limited || overSpeedOff || factory || (value >= row->limits.min && value <= row->limits.max);
}

void TSerialDataModule::KeepActuatorPositionsInLimits(QStringList& adjusted)
{
    const QString maxName = QStringLiteral("MASSIMA_APERTURA_ATTUATORE");
    const QString minName = QStringLiteral("MINIMA_APERTURA_ATTUATORE");
    // Each position also stays at or above its own lowest value: a maximum
    // below the minimum's lowest value is raised to it first.
    auto keep = [&](const QString& name, int low, int high) {
        const Catalogue::NumberRow* row = Catalogue::FindNumber(name);
        low = qMax(low, row ? int(row->limits.min) : 0);
        const int value = IntOf(name);
        if (value >= low && value <= high)
            return;
        WithLimitsSuspended(Item(name), [&] { WriteInt(name, qBound(low, value, high)); });
        adjusted << name;
    };
    const Catalogue::NumberRow* minRow = Catalogue::FindNumber(minName);
    keep(maxName, minRow ? int(minRow->limits.min) : 0, 255);
    keep(minName, 0, IntOf(maxName));
    const int max = IntOf(maxName);
    const int min = IntOf(minName);
    keep(QStringLiteral("POSIZIONE_IN_CUTOFF"), 0, max);
    keep(QStringLiteral("POSIZIONE_DEFAULT"), min, max);
    keep(QStringLiteral("POSIZIONE_IN_AFFONDATA"), min, 255);
    m_rules->ApplyActuatorLimits();
}

void TSerialDataModule::CorrectOverSpeed()
{
    TOrvNumber* overSpeed = Number("GiriFuoriGiri");
    WithLimitsSuspended(overSpeed, [&] {
        const int speed = overSpeed->GetInt();
        if (speed < OverSpeedOff && speed > overSpeed->ValueMax())
            overSpeed->SetInt(OverSpeedOff);
    });
}

void TSerialDataModule::VerifyLoad(QStringList& notLoaded)
{
    // Items that share a byte (byte 223: the changeover speed or the priming
    // time) are checked in the bits the last write left them. What the module
    // wrote is taken for every item before any is read: a read runs the item's
    // rules, which read other items again.
    struct Check {
        TOrvNumber* item;
        int raw;
        int bits;
    };
    QList<Check> checks;
    QHash<int, int> claimed; // address -> bits a later write owns
    for (auto it = m_loadWrites.crbegin(); it != m_loadWrites.crend(); ++it) {
        TOrvNumber* item = *it;
        if (std::any_of(checks.cbegin(), checks.cend(), [item](const Check& c) { return c.item == item; }))
            continue;
        int& owned = claimed[item->ByAddress() ? item->Address() : -1 - int(checks.size())];
        const int bits = item->DataMask() & ~owned;
        owned |= item->DataMask();
        if (bits != 0)
            checks.append({item, item->RawValue(), bits});
    }
    m_loadWrites.clear();
    if (!checks.isEmpty())
        AskForFreshReads();
    for (const Check& check : std::as_const(checks)) {
        if (!check.item->Load() || ((check.item->RawValue() ^ check.raw) & check.bits) != 0)
            notLoaded << check.item->objectName();
    }
}

// The link may answer memory reads from its own copy of the unit's memory,
// which follows the link's writes and so agrees with them whatever the unit
// kept; a read-back that checks the unit asks the link to read the unit again.
void TSerialDataModule::AskForFreshReads()
{
    TConnectionLocker locker(m_connection);
    if (IsUnitConnected())
        m_connection->Instance()->ConfigureLink(LinkConfigure::FreshReads);
}

// --- the safety net -----------------------------------------------------------

QList<TOrvNumber*> TSerialDataModule::LoadableItems() const
{
    QList<TOrvNumber*> items;
    for (TOrvSerialData* item : m_itemOrder) {
        auto* number = qobject_cast<TOrvNumber*>(item);
        if (number && !number->ReadOnly() && !ItemsNotLoaded().contains(number->objectName()))
            items << number;
    }
    return items;
}

QList<TOrvNumber*> TSerialDataModule::ConfigurationItems() const
{
    QList<TOrvNumber*> items;
    for (TOrvSerialData* item : m_itemOrder) {
        auto* number = qobject_cast<TOrvNumber*>(item);
        if (number && !number->ReadOnly() && !CommandItems().contains(number->objectName()))
            items << number;
    }
    return items;
}

QStringList TSerialDataModule::UnreadUnitItems()
{
    QStringList unread;
    if (!IsUnitConnected())
        return unread;
    for (TOrvNumber* item : ConfigurationItems()) {
        if (!item->IsDataLoaded() && !(item->Load() && item->IsDataLoaded()))
            unread << item->objectName();
    }
    return unread;
}

void TSerialDataModule::UnitEntries(TCustomIniFile& ini, const QStringList& leftOut)
{
    for (TOrvNumber* item : ConfigurationItems()) {
        if (!leftOut.contains(item->objectName()))
            item->WriteToFile(&ini);
    }
}

QString TSerialDataModule::MakeBackup(const QString& reason)
{
    if (!IsUnitConnected())
        return QString();
    TBackupEntry facts;
    facts.created = QDateTime::currentDateTime();
    facts.reason = reason;
    facts.note = m_vehicleNote;
    QStringList identity;
    for (const uint8_t byte : m_identity)
        identity << QString::number(byte);
    facts.identity = identity.join(QLatin1Char(' '));

    const QString fileName = m_backups.Claim(reason, facts.created);
    if (fileName.isEmpty())
        return QString();
    QString unsaved;
    // A backup that misses values is no backup: it is removed.
    if (!WriteConfigurationFile(fileName, unsaved) || !unsaved.isEmpty() || !m_backups.Record(fileName, facts)) {
        QFile::remove(fileName);
        QFile::remove(BackupFactsFileName(fileName));
        return QString();
    }
    return fileName;
}

QString TSerialDataModule::BackupFailureText() const
{
    return Text(TextIndex::BackupFailed) + QLatin1Char('\n') + QDir::toNativeSeparators(m_backups.Folder());
}

bool TSerialDataModule::BackUpBefore(const QString& reason, QString* fileName)
{
    if (!IsUnitConnected())
        return true; // there is nothing to save
    const QString made = MakeBackup(reason);
    if (fileName)
        *fileName = made;
    return !made.isEmpty() || m_prompts->AskGoOnWithoutBackup(Text(TextIndex::BackupCaption),
                                                              BackupFailureText() + QLatin1Char('\n') +
                                                                  Text(TextIndex::GoOnWithoutBackupQuestion));
}

// The first connect backs the unit up, unless the newest backup holds the
// same values: a unit connected again and again is saved once.
void TSerialDataModule::BackUpAtFirstConnect()
{
    if (std::exchange(m_connectBackupDone, true))
        return;
    const QString newest = m_backups.List().value(0).fileName;
    QList<TConfigDifference> differences;
    QStringList unread;
    if (!newest.isEmpty() && CompareUnitWithFile(newest, differences, &unread) && differences.isEmpty() &&
        unread.isEmpty())
        return;
    if (MakeBackup(TBackupStore::ConnectReason).isEmpty())
        m_prompts->ShowMessage(TMessageIcon::Error, Text(TextIndex::BackupCaption), BackupFailureText());
}

QList<TBackupEntry> TSerialDataModule::BackupsByCloseness(QStringList* unread)
{
    QList<TBackupEntry> entries = m_backups.List();
    const QStringList notRead = UnreadUnitItems();
    if (unread)
        *unread = notRead;
    // Values the unit did not give would count as whatever the module holds.
    if (!IsUnitConnected() || !notRead.isEmpty())
        return entries;
    for (TBackupEntry& entry : entries) {
        QList<TConfigDifference> differences;
        if (CompareUnitWithFile(entry.fileName, differences))
            entry.differences = int(differences.size());
    }
    // Newest first already; the closest come first, unreadable ones last.
    std::stable_sort(entries.begin(), entries.end(), [](const TBackupEntry& a, const TBackupEntry& b) {
        return unsigned(a.differences) < unsigned(b.differences);
    });
    return entries;
}

bool TSerialDataModule::CompareUnitWithFile(const QString& fileName, QList<TConfigDifference>& differences,
                                            QStringList* unread)
{
    TPlainBuffer fileBuffer;
    if (ReadConfigurationFile(fileName, fileBuffer) != TConfigFileStatus::Ok)
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
        if (notRead.contains(difference.item))
            difference.left = Text(TextIndex::NotRead);
    }
    return true;
}

bool TSerialDataModule::CompareFiles(const QString& left, const QString& right, QList<TConfigDifference>& differences)
{
    TPlainBuffer leftBuffer;
    TPlainBuffer rightBuffer;
    if (ReadConfigurationFile(left, leftBuffer) != TConfigFileStatus::Ok ||
        ReadConfigurationFile(right, rightBuffer) != TConfigFileStatus::Ok)
        return false;
    TMemIniData leftStore(leftBuffer);
    TMemIniData rightStore(rightBuffer);
    differences = CompareConfigurations(ConfigurationItems(), leftStore, rightStore);
    return true;
}

bool TSerialDataModule::EraseConfiguration()
{
    if (!BackUpBefore(QStringLiteral("before-erase")))
        return false;
    m_loading = true;
    const bool erased = Number(QStringLiteral("CHECKUP"))->SetInt(EraseCommand);
    m_loading = false;
    if (!erased)
        return false;
    m_prompts->Wait(EraseTime);
    ReloadAllItems();
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

void TSerialDataModule::OfferBackupAfterFirmware(const QString& backupFileName)
{
    if (ConnectToUnit(m_port, 0) != 0)
        return;
    QList<TConfigDifference> differences;
    if (!CompareUnitWithFile(backupFileName, differences) || differences.isEmpty())
        return;
    QStringList lines;
    for (const TConfigDifference& difference : std::as_const(differences))
        lines << difference.key + QStringLiteral(": ") + difference.left + QStringLiteral(" -> ") + difference.right;
    if (m_prompts->AskYesNo(TMessageIcon::None, FirmwareCaption,
                            Text(TextIndex::ValuesDifferFromBackupAfterFirmware) + QLatin1Char('\n') +
                                lines.join(QLatin1Char('\n')) + QLatin1Char('\n') +
                                Text(TextIndex::WriteBackupBackQuestion),
                            true))
        RestoreBackup(backupFileName);
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

// --- connection -----------------------------------------------------------

bool TSerialDataModule::IsUnitConnected() const
{
    return m_connection->IsUnitConnected();
}

int TSerialDataModule::ConnectToUnit(int port, int flags)
{
    if (IsUnitConnected())
        return 1;
    if (!m_connection->LoadDll())
        return NoLinkLibrary;

    std::unique_ptr<TWaitWindow> wait =
        BeginWait(MessageText(TextIndex::ConnectionCaption), MessageText(TextIndex::ConnectingPleaseWait));

    LinkInstance* link = m_connection->Instance();
    link->PrepareLink(0);
    link->SelectPort(port);
    if (flags & 1)
        link->UseAlternateMode();
    else
        link->UseStandardMode();
    link->ConfigureLink(LinkConfigure::Standard);

    int result = 0;
    bool connected = false;
    m_identity.fill(0);
    if (!link->ReadIdentity(m_identity.data())) {
        result = NoAnswer;
    } else {
        const bool bootLoader = m_identity[1] == BootLoaderKind;
        const uint8_t kind = bootLoader ? m_identity[4] : m_identity[1];
        const uint8_t model = bootLoader ? m_identity[5] : m_identity[2];
        if (m_identity[0] == SupportedFamily && kind == SupportedKind && model == SupportedModel)
            connected = link->ConnectUnit() != 0;
        else
            result = OtherUnit;
    }
    // Another program connected to the unit, or holding its port, is told apart from a silent unit.
    if (!connected && (link->GetLastError() & LinkError::InUse))
        result = InUse;

    if (!connected) {
        EndWait(wait);
        ReleaseLink(false);
        return result;
    }

    TOrvNumber* overSpeed = Number("GiriFuoriGiri");
    overSpeed->SetDisableLimits(true);
    ReloadAllItems();
    if (!IsUnitConnected()) {
        EndWait(wait);
        overSpeed->SetDisableLimits(false);
        return LinkLostReading;
    }
    ActivatePacketItems();
    m_refresher->SetEnabled(flags & 2);
    m_port = port;
    const int speed = overSpeed->GetInt();
    m_loading = true;
    if (speed < OverSpeedOff && speed > overSpeed->ValueMax())
        overSpeed->SetInt(OverSpeedOff);
    m_loading = false;
    EndWait(wait);
    overSpeed->SetDisableLimits(false);
    emit ConfigurationReread();
    BackUpAtFirstConnect();
    return 0;
}

void TSerialDataModule::ReleaseLink(bool refresherOn)
{
    if (m_connection->DllLoaded()) {
        m_connection->Instance()->DisconnectUnit();
        m_connection->UnloadDll();
    }
    m_refresher->SetEnabled(refresherOn);
}

void TSerialDataModule::ReloadAllItems()
{
    const QObjectList& components = children();
    const int n = components.size();
    for (int i = 0; i < n; ++i) {
        if (CurrentWaitWindow && CurrentWaitWindow->IsShown())
            CurrentWaitWindow->SetWaitProgress(i * 100 / n, true);
        if (auto* item = qobject_cast<TOrvSerialData*>(components.at(i)))
            item->Load();
    }
    emit ConfigurationReread();
}

void TSerialDataModule::ActivatePacketItems()
{
    for (auto it = m_itemOrder.crbegin(); it != m_itemOrder.crend(); ++it) {
        if (auto* packet = qobject_cast<TOrvPacketData*>(*it))
            packet->SetActive(true);
    }
}

bool TSerialDataModule::StopRefresher()
{
    m_refresher->SetEnabled(false);
    QElapsedTimer timer;
    timer.start();
    bool running = m_refresher->GetEnabled();
    while (running && timer.elapsed() < StopRefresherTimeout) {
        QThread::yieldCurrentThread();
        running = m_refresher->GetEnabled();
    }
    if (running) {
        m_prompts->ShowMessage(TMessageIcon::Error, QStringLiteral("Comunication Error"),
                               QStringLiteral("Error: it's impossible to suspend the thread (33)"));
        return false;
    }
    return true;
}

// --- firmware -----------------------------------------------------------------

void TSerialDataModule::OnLinkMessage(int message, uintptr_t wParam, intptr_t lParam)
{
    // Programming progress goes to the wait window being shown.
    if (message == WindowMessage::WMProgress && CurrentWaitWindow)
        CurrentWaitWindow->ProgressMessage(wParam, lParam);
}

void TSerialDataModule::FirmwareError(int captionIndex, int textIndex)
{
    m_prompts->ShowMessage(TMessageIcon::Error, Text(captionIndex), Text(textIndex));
}

void TSerialDataModule::ReprogramFirmware()
{
    QString backup;
    if (!BackUpBefore(QStringLiteral("before-firmware"), &backup))
        return;
    if (!m_connection->LoadDll()) {
        FirmwareError(TextIndex::ConfigurationFileCaption, TextIndex::FileProtectedOrNoLinkLibrary);
        return;
    }
    LinkInstance* link = m_connection->Instance();
    m_identity.fill(0);
    if (!link->ReadIdentity(m_identity.data())) {
        FirmwareError(TextIndex::ReprogramFirmware, TextIndex::UnitDoesNotAnswer);
        link->DisconnectUnit();
        return;
    }
    if (m_identity[0] != SupportedFamily) {
        FirmwareError(TextIndex::ReprogramFirmware, TextIndex::UnsupportedUnitKind);
        return;
    }
    if (m_identity[1] == BootLoaderKind) {
        FirmwareError(TextIndex::ReprogramFirmware, TextIndex::UnitInBootLoaderMode);
        return;
    }
    // Everything that can be checked is checked before the unit leaves its
    // application: a unit of another model, or a missing or damaged image,
    // must not end up waiting in its boot loader.
    if (m_identity[1] != SupportedKind || m_identity[2] != SupportedModel) {
        FirmwareError(TextIndex::ReprogramFirmware, TextIndex::UnsupportedUnitKind);
        return;
    }
    const int version = m_identity[3];
    m_oldFirmware = version < NewGeneration;
    if (!FirmwareImagesAvailable(version != CurrentBootLoader)) {
        FirmwareError(TextIndex::ReprogramFirmware, TextIndex::FirmwareImageNotAvailable);
        return;
    }
    if (version >= NewerThanImages &&
        !m_prompts->AskYesNo(TMessageIcon::Error, Text(TextIndex::ReprogramFirmware),
                             Text(TextIndex::UnitFirmwareNewerQuestion), false))
        return;

    std::unique_ptr<TWaitWindow> wait = m_prompts->CreateWaitWindow();
    CurrentWaitWindow = wait.get();
    wait->SetCaption(Text(TextIndex::ReprogramFirmware));
    wait->SetMessage(Text(TextIndex::PreparingPleaseWait));
    wait->SetWaitProgress(0, true);
    wait->PlaceAtTop(40);
    auto fail = [&](int captionIndex, int textIndex) {
        wait.reset();
        FirmwareError(captionIndex, textIndex);
    };

    if (link->ConnectUnit() == 0)
        return fail(TextIndex::ReprogramFirmware, TextIndex::UnitDoesNotAnswer);
    Number("RIPROGRAMMAZIONE")->SetData(ReprogrammingCommand);
    m_prompts->Wait(500);
    if (link->GetLastError() != 0)
        return fail(TextIndex::ReprogramFirmware, TextIndex::UnitDoesNotAnswer);
    link->DisconnectUnit();

    if (version != CurrentBootLoader && !ProgramImage(1))
        return fail(TextIndex::ReprogramFirmware, TextIndex::BootLoaderUpdateFailed);
    const int passes = m_prompts->UpgradeBootLoaderChecked() ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        m_prompts->Wait(100);
        if (!ProgramImage(pass == 0 ? 2 : 3)) {
            wait.reset();
            m_prompts->ShowMessage(TMessageIcon::Error, FirmwareCaption,
                                   QStringLiteral("Errore nella riprogrammazione del Micro!"));
            return;
        }
    }
    wait.reset();
    link->DisconnectUnit();
    m_prompts->ShowMessage(TMessageIcon::None, FirmwareCaption, QStringLiteral("Programmazione avvenuta con successo!"));
    if (!backup.isEmpty())
        OfferBackupAfterFirmware(backup);
}

bool TSerialDataModule::FirmwareImagesAvailable(bool withBootLoader)
{
    TPlainBuffer image;
    return (!withBootLoader || LoadFirmwareImage(10010, image)) &&
           LoadFirmwareImage(m_oldFirmware ? 10011 : 10012, image);
}

bool TSerialDataModule::ProgramImage(int kind)
{
    TWaitWindow* wait = CurrentWaitWindow;
    if (wait)
        wait->ShowAndRepaint();
    const int image = kind == 1 ? 10010 : (m_oldFirmware ? 10011 : 10012);
    TPlainBuffer buffer;
    if (!LoadFirmwareImage(image, buffer)) {
        FirmwareError(TextIndex::ReprogramFirmware, TextIndex::FirmwareImageNotAvailable);
        return false;
    }
    if (wait)
        wait->SetMessage(Text(kind == 1   ? TextIndex::UpdatingBootLoader
                              : kind == 2 ? TextIndex::ProgrammingFirstPass
                                          : TextIndex::ProgrammingSecondPass));

    int result = -1;
    for (int attempt = 1; attempt <= 3; ++attempt) {
        if (attempt > 1) {
            const QString caption = wait ? wait->Caption() : QString();
            if (!m_prompts->AskYesNo(TMessageIcon::Error, caption, QStringLiteral("Programmazione fallita, riprovare?"),
                                     false))
                break;
            if (wait)
                wait->SetCaption(QStringLiteral("Riprogrammazione firmware -> Tentativo ") + QString::number(attempt));
        }
        if (wait)
            wait->ShowAndRepaint();
        result = m_connection->Instance()->ProgramFirmware(buffer.Data(), 0, 0, 1);
        if (result == 0)
            break;
    }
    return result == 0;
}

bool TSerialDataModule::LoadFirmwareImage(int id, TPlainBuffer& out)
{
    QFile resource(ResourceLibrary::Path(QStringLiteral("256"), id));
    if (!resource.open(QIODevice::ReadOnly))
        return false;
    const QByteArray image = resource.readAll();
    return DecryptImage(reinterpret_cast<const uchar*>(image.constData()), qint32(image.size()), out);
}
