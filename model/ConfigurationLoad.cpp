#include "model/ConfigurationLoad.h"

#include "items/OrvNumber.h"
#include "items/Rounding.h"
#include "link/OrvConnection.h"
#include "model/Catalogue.h"
#include "model/ConfigurationFiles.h"
#include "model/ParameterRules.h"
#include "model/SafetyNet.h"
#include "model/SerialDataModule.h"
#include "support/MemIniData.h"
#include "support/NumberText.h"
#include "support/PlainBuffer.h"
#include "support/TextIndex.h"

#include <QDir>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <algorithm>

namespace {

constexpr int OverSpeedOff = 20000;
// The over-speed values a file may carry above the item's maximum: both mean "off".
constexpr int OverSpeedOffValues[] = {12000, OverSpeedOff};

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

} // namespace

TConfigurationLoad::TConfigurationLoad(TSerialDataModule& module) : m_module(module) {}

bool TConfigurationLoad::Load(const QString& fileName, const QStringList& onlyItems, bool restore,
                              TLoadReport& report)
{
    const bool loaded = Run(fileName, onlyItems, restore, report);
    ShowReport(fileName, report);
    return loaded;
}

bool TConfigurationLoad::Run(const QString& fileName, const QStringList& onlyItems, bool restore,
                             TLoadReport& report)
{
    TPlainBuffer buffer;
    report.file = TConfigurationFiles::ReadFile(fileName, buffer);
    if (report.file != TConfigFileStatus::Ok)
        return false;
    TMemIniData file(buffer);
    // A ticked load writes what was ticked; a restore writes what the backup holds.
    const QStringList& leftAlone = restore || !onlyItems.isEmpty() ? TConfigurationFiles::CommandItems()
                                                                   : TConfigurationFiles::ItemsNotLoaded();
    TPlainBuffer acceptedBuffer;
    TMemIniData accepted(acceptedBuffer);
    if (AcceptEntries(file, leftAlone, onlyItems, accepted, report) == 0) {
        report.noLoadableEntry = true;
        return false;
    }
    if (!m_module.m_safetyNet->BackUpBefore(restore ? QStringLiteral("before-restore")
                                                    : QStringLiteral("before-load")))
        return false;
    report.started = true;

    std::unique_ptr<TWaitWindow> wait =
        m_module.BeginWait(m_module.Text(TextIndex::LoadConfigurationCaption),
                           m_module.Text(TextIndex::LoadingConfigurationPleaseWait));
    QList<TOrvNumber*> loaded;
    QList<TOrvNumber*> written;
    m_module.m_loading = true;
    m_writes.clear();
    for (int group = 0; group < 2; ++group)
        ReadPass(accepted, group, leftAlone, onlyItems, loaded, written, report);
    m_module.EndWait(wait);
    CorrectOverSpeed();
    QStringList adjusted;
    KeepActuatorPositionsInLimits(adjusted);
    QStringList notHeld;
    Verify(notHeld);
    m_module.m_loading = false;
    Refuse(adjusted, TLoadNote::Reason::Adjusted, accepted, report);
    Refuse(notHeld, TLoadNote::Reason::NotHeld, accepted, report);
    Refuse(m_module.TakeFailedFollowOnWrites(), TLoadNote::Reason::FollowOnFailed, accepted, report);
    NoteDifferences(loaded,
                    restore || !onlyItems.isEmpty() ? QStringList() : TConfigurationFiles::ItemsNotLoaded(),
                    accepted, report);
    report.written = int(std::count_if(written.cbegin(), written.cend(), [&report](TOrvNumber* item) {
        return !IsRefused(report, item->objectName());
    }));
    emit m_module.ConfigurationReread();
    return report.refused.isEmpty();
}

TOrvNumber* TConfigurationLoad::FileItem(const QString& section, const QString& key) const
{
    for (TOrvSerialData* item : m_module.m_itemOrder) {
        auto* number = qobject_cast<TOrvNumber*>(item);
        if (number && number->FileSection().compare(section, Qt::CaseInsensitive) == 0 &&
            number->FileKey().compare(key, Qt::CaseInsensitive) == 0)
            return number;
    }
    return nullptr;
}

// Every line of every section, a repeated section included (a lookup would
// only reach its last occurrence): the file's lines are walked one by one.
int TConfigurationLoad::AcceptEntries(const TMemIniData& file, const QStringList& leftAlone,
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

TLoadNote TConfigurationLoad::Note(TOrvNumber* item, TLoadNote::Reason reason, TCustomIniFile& accepted) const
{
    const QString key = item->FileKey();
    const bool inFile = accepted.ValueExists(item->FileSection(), key);
    const QString entry =
        inFile ? key + QLatin1Char('=') + accepted.ReadString(item->FileSection(), key, QString()) : key;
    return {item->objectName(), entry, QString(), reason};
}

void TConfigurationLoad::Refuse(const QStringList& names, TLoadNote::Reason reason, TCustomIniFile& accepted,
                                TLoadReport& report)
{
    for (const QString& name : names) {
        if (!IsRefused(report, name) && m_module.Number(name))
            report.refused.append(Note(m_module.Number(name), reason, accepted));
    }
}

void TConfigurationLoad::NoteDifferences(const QList<TOrvNumber*>& loaded, const QStringList& leftAlone,
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
        TOrvNumber* item = m_module.Number(name);
        if (!TConfigurationFiles::CommandItems().contains(name) &&
            accepted.ValueExists(item->FileSection(), item->FileKey()) && item->Load())
            note(item, TLoadNote::Reason::LeftAlone);
    }
}

QString TConfigurationLoad::ReportText(const TLoadReport& report) const
{
    // One group per kind of note, a blank line between groups.
    QStringList groups;
    QStringList lines;
    for (const TLoadNote& note : report.refused)
        lines << note.entry + QStringLiteral(": ") +
                     m_module.Text(TextIndex::UnknownEntryReason + int(note.reason));
    if (!lines.isEmpty())
        groups << m_module.Text(TextIndex::NotLoadedHeading) + QLatin1Char('\n') +
                      lines.join(QLatin1Char('\n'));
    for (const TLoadNote::Reason reason :
         {TLoadNote::Reason::StoredDifferently, TLoadNote::Reason::LeftAlone}) {
        const bool stored = reason == TLoadNote::Reason::StoredDifferently;
        lines.clear();
        for (const TLoadNote& note : report.differences) {
            if (note.reason == reason)
                lines << note.entry + QStringLiteral(": ") +
                             m_module.Text(stored ? TextIndex::StoredAs : TextIndex::UnitHolds) +
                             QLatin1Char(' ') + note.held;
        }
        if (!lines.isEmpty())
            groups << m_module.Text(stored ? TextIndex::StoredDifferentlyHeading
                                           : TextIndex::LeftAloneHeading) +
                          QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
    }
    return groups.join(QStringLiteral("\n\n"));
}

// A file refused unread names why; a load that wrote anything shows only what
// needs the fitter's attention (nothing for a clean load).
void TConfigurationLoad::ShowReport(const QString& fileName, const TLoadReport& report)
{
    QString text;
    if (report.file != TConfigFileStatus::Ok)
        text = m_module.FileStatusText(report.file, fileName);
    else if (report.noLoadableEntry)
        text = m_module.Text(TextIndex::NothingToLoadInFile) + QLatin1Char('\n') +
               QDir::toNativeSeparators(fileName);
    if (report.NeedsAttention())
        text += (text.isEmpty() ? QString() : QStringLiteral("\n\n")) + ReportText(report);
    if (!text.isEmpty())
        m_module.m_prompts->ShowMessage(report.refused.isEmpty() && report.started ? TMessageIcon::None
                                                                                   : TMessageIcon::Error,
                                        m_module.Text(TextIndex::ConfigurationFileCaption), text);
}

// One pass over the items of a data group: the ignition type (group 0) is
// written before the engine speeds that depend on it (group 1).
void TConfigurationLoad::ReadPass(TCustomIniFile& store, int group, const QStringList& leftAlone,
                                  const QStringList& onlyItems, QList<TOrvNumber*>& loaded,
                                  QList<TOrvNumber*>& written, TLoadReport& report)
{
    const QObjectList& components = m_module.children();
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
        const bool priming = m_module.IntOf("TIPO_CAMBIO") == 2;
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

TConfigurationLoad::EntryResult TConfigurationLoad::LoadEntry(TOrvNumber& item, TCustomIniFile& store)
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
    TSerialDataModule::WithLimitsSuspended(&item, [&] { loaded = item.ReadFromFile(&store); });
    return loaded ? EntryResult::Written : EntryResult::NotWritten;
}

bool TConfigurationLoad::FileValueAllowed(TOrvNumber& item, double value)
{
    const Catalogue::NumberRow* row = Catalogue::FindNumber(item.objectName());
    auto raw = [&item](double user) {
        int x = 0;
        TSerialDataModule::WithLimitsSuspended(&item, [&] { x = item.ConvertValueToEcu(user, nullptr); });
        return x;
    };
    const int held = raw(value);
    if (ConversionError::IsError(held) || !item.HoldsRaw(held))
        return false;
    const bool overSpeedOff = item.objectName() == QLatin1String("GiriFuoriGiri") &&
                              std::find(std::begin(OverSpeedOffValues), std::end(OverSpeedOffValues),
                                        value) != std::end(OverSpeedOffValues);
    // The factory byte is one the unit holds after an erase, even where it lies
    // outside the range (the yellow-wire speeds' 12000 RPM, which reads 11700).
    const bool factory = row && held == raw(row->defaultValue);
    const bool limited = row && !(row->limits.min == 0 && row->limits.max == 0);
    return !limited || overSpeedOff || factory || (value >= row->limits.min && value <= row->limits.max);
}

void TConfigurationLoad::KeepActuatorPositionsInLimits(QStringList& adjusted)
{
    const QString maxName = QStringLiteral("MASSIMA_APERTURA_ATTUATORE");
    const QString minName = QStringLiteral("MINIMA_APERTURA_ATTUATORE");
    // Each position also stays at or above its own lowest value: a maximum
    // below the minimum's lowest value is raised to it first.
    auto keep = [&](const QString& name, int low, int high) {
        const Catalogue::NumberRow* row = Catalogue::FindNumber(name);
        low = qMax(low, row ? int(row->limits.min) : 0);
        const int value = m_module.IntOf(name);
        if (value >= low && value <= high)
            return;
        TSerialDataModule::WithLimitsSuspended(m_module.Item(name),
                                               [&] { m_module.WriteInt(name, qBound(low, value, high)); });
        adjusted << name;
    };
    const Catalogue::NumberRow* minRow = Catalogue::FindNumber(minName);
    keep(maxName, minRow ? int(minRow->limits.min) : 0, 255);
    keep(minName, 0, m_module.IntOf(maxName));
    const int max = m_module.IntOf(maxName);
    const int min = m_module.IntOf(minName);
    keep(QStringLiteral("POSIZIONE_IN_CUTOFF"), 0, max);
    keep(QStringLiteral("POSIZIONE_DEFAULT"), min, max);
    keep(QStringLiteral("POSIZIONE_IN_AFFONDATA"), min, 255);
    m_module.m_rules->ApplyActuatorLimits();
}

void TConfigurationLoad::CorrectOverSpeed()
{
    TOrvNumber* overSpeed = m_module.Number("GiriFuoriGiri");
    TSerialDataModule::WithLimitsSuspended(overSpeed, [&] {
        const int speed = overSpeed->GetInt();
        if (speed < OverSpeedOff && speed > overSpeed->ValueMax())
            overSpeed->SetInt(OverSpeedOff);
    });
}

void TConfigurationLoad::Verify(QStringList& notLoaded)
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
    for (auto it = m_writes.crbegin(); it != m_writes.crend(); ++it) {
        TOrvNumber* item = *it;
        if (std::any_of(checks.cbegin(), checks.cend(), [item](const Check& c) { return c.item == item; }))
            continue;
        int& owned = claimed[item->ByAddress() ? item->Address() : -1 - int(checks.size())];
        const int bits = item->DataMask() & ~owned;
        owned |= item->DataMask();
        if (bits != 0)
            checks.append({item, item->RawValue(), bits});
    }
    m_writes.clear();
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
void TConfigurationLoad::AskForFreshReads()
{
    TConnectionLocker locker(m_module.m_connection);
    if (m_module.IsUnitConnected())
        m_module.m_connection->Instance()->ConfigureLink(LinkConfigure::FreshReads);
}
