#include "report/ReportBuilder.h"

#include "backup/ConfigCompare.h"
#include "items/OrvNumber.h"
#include "model/ConfigurationPages.h"
#include "model/SerialDataModule.h"
#include "roadtest/ConfigurationEntries.h"
#include "roadtest/RoadTestText.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <cmath>

namespace {

// The locale of each language of the store, for the numbers and the date.
QLocale LocaleOf(int language)
{
    static const QList<QLocale::Language> languages = {QLocale::Italian, QLocale::English, QLocale::Spanish,
                                                       QLocale::French,  QLocale::German,  QLocale::Russian};
    return QLocale(languages.value(language, QLocale::English));
}

// Items the report leaves out: commands, not settings.
bool IsCommand(const TOrvNumber& item)
{
    return item.objectName() == QLatin1String("CHECKUP") ||
           item.objectName() == QLatin1String("RIPROGRAMMAZIONE");
}

const TPageSetting* PageSettingOf(const QString& item)
{
    for (const TPageSetting& setting : ConfigurationPages::Settings()) {
        if (item == QLatin1String(setting.item))
            return &setting;
    }
    return nullptr;
}

TReportTone ToneOf(TVerdict verdict)
{
    switch (verdict) {
    case TVerdict::Pass:
        return TReportTone::Good;
    case TVerdict::Warn:
        return TReportTone::Caution;
    case TVerdict::Fail:
        return TReportTone::Bad;
    }
    return TReportTone::None;
}

} // namespace

TReportBuilder::TReportBuilder(TSerialDataModule& module)
    : m_module(module), m_locale(LocaleOf(module.Translator()->LinguaCorrente()))
{
}

QString TReportBuilder::Text(int index, const QString& english) const
{
    return m_module.Translator()->GetString(index, english);
}

TConfigurationValues TReportBuilder::ModuleValues(const TSerialDataModule& module)
{
    TConfigurationValues values;
    for (TOrvNumber* item : module.LoadableItems())
        values.insert(item->FileKey().toUpper(), item->CurrentUserValue());
    return values;
}

void TReportBuilder::TakeUnit(TSerialDataModule& module, TReportRequest& request)
{
    request.values = ModuleValues(module);
    QStringList identity;
    for (const uint8_t byte : module.Identity())
        identity << QString::number(byte);
    request.identity = identity.join(u' ');
    request.firmware = QString::number(module.Identity()[3]);
    PreviousOnRecord(module.Backups().List(), request.values, request.previous, request.previousDate);
}

bool TReportBuilder::PreviousOnRecord(const QList<TBackupEntry>& backups, const TConfigurationValues& values,
                                      TConfigurationValues& previous, QDateTime& date)
{
    for (const TBackupEntry& backup : backups) {
        TConfigurationValues entries;
        QString error;
        if (!ConfigurationEntries::Read(backup.fileName, entries, error))
            continue;
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (entries.contains(it.key()) && !SameFileValue(entries.value(it.key()), it.value())) {
                previous = entries;
                date = backup.created;
                return true;
            }
        }
    }
    return false;
}

QString TReportBuilder::Number(const TOrvNumber& item, double value) const
{
    const double step = item.Precision();
    const int decimals = step > 0 && step < 1 ? int(std::ceil(-std::log10(step) - 1e-9)) : 0;
    QString text = m_locale.toString(value, 'f', decimals);
    text.remove(m_locale.groupSeparator());
    return item.MeasureUnit().isEmpty() ? text : text + u' ' + item.MeasureUnit();
}

QString TReportBuilder::SettingText(const TPageSetting& setting, const TOrvNumber& item, double value) const
{
    const int whole = int(std::lround(value));
    switch (setting.kind) {
    case TPageSetting::Kind::Number:
        break;
    case TPageSetting::Kind::Choice:
        if (whole >= 0 && whole <= setting.last - setting.first)
            return Text(setting.first + whole, QString::number(whole));
        break;
    case TPageSetting::Kind::Switch: {
        // The patterns of the two switch kinds, as the configuration window reads them.
        const int kind = whole & 0x87;
        if (kind == 0x05 || kind == 0x84)
            return Text(kind == 0x05 ? setting.first : setting.last, QString::number(whole));
        break;
    }
    case TPageSetting::Kind::Flag:
    case TPageSetting::Kind::Below: {
        const int mask = int(setting.condition);
        const bool on =
            setting.kind == TPageSetting::Kind::Flag ? (whole & mask) == mask : value < setting.condition;
        return on ? Text(TextIndex::Yes, QStringLiteral("Yes")) : Text(TextIndex::No, QStringLiteral("No"));
    }
    }
    return Number(item, value);
}

QString TReportBuilder::Caption(const TOrvNumber& item) const
{
    const TPageSetting* setting = PageSettingOf(item.objectName());
    return setting ? Text(setting->caption, item.FileKeyName()) : item.FileKeyName();
}

QString TReportBuilder::ValueText(const TOrvNumber& item, double value) const
{
    const TPageSetting* setting = PageSettingOf(item.objectName());
    // A flag item shows its number: its page shows single bits of it.
    if (setting && setting->kind != TPageSetting::Kind::Flag && setting->kind != TPageSetting::Kind::Below)
        return SettingText(*setting, item, value);
    return Number(item, value);
}

QList<TReportSection> TReportBuilder::SettingSections(const TConfigurationValues& values) const
{
    TReportSection settings;
    settings.heading = Text(TextIndex::SettingsHeading, QStringLiteral("Settings"));
    QList<TReportSection> sections = {settings};
    for (const int page : ConfigurationPages::Pages()) {
        TReportSection section;
        section.subsection = true;
        section.heading = Text(page, QString());
        for (const TPageSetting& setting : ConfigurationPages::Settings()) {
            TOrvNumber* item = m_module.Number(QString::fromLatin1(setting.item));
            if (setting.page != page || !item || !values.contains(item->FileKey().toUpper()))
                continue;
            section.table.rows << QStringList{
                Text(setting.caption, item->FileKeyName()),
                SettingText(setting, *item, values.value(item->FileKey().toUpper()))};
        }
        sections << section;
    }
    TReportSection further;
    further.subsection = true;
    further.heading = Text(TextIndex::FurtherSettingsHeading, QStringLiteral("Further settings"));
    for (TOrvNumber* item : m_module.LoadableItems()) {
        if (IsCommand(*item) || PageSettingOf(item->objectName()) ||
            !values.contains(item->FileKey().toUpper()))
            continue;
        further.table.rows << QStringList{item->FileKeyName(),
                                          Number(*item, values.value(item->FileKey().toUpper()))};
    }
    sections << further;
    return sections;
}

TReportSection TReportBuilder::Changes(const TReportRequest& request) const
{
    TReportSection section;
    const bool factory = request.previous.isEmpty();
    section.heading =
        factory
            ? Text(TextIndex::ChangesFromFactoryHeading, QStringLiteral("Changes against the factory values"))
            : Text(TextIndex::ChangesSincePreviousHeading,
                   QStringLiteral("Changes since the previous configuration on record (%1)"))
                  .arg(m_locale.toString(request.previousDate, QLocale::ShortFormat));
    section.table.header = QStringList{Text(TextIndex::ParameterColumn, QStringLiteral("Parameter")),
                                       Text(TextIndex::BeforeColumn, QStringLiteral("Before")),
                                       Text(TextIndex::AfterColumn, QStringLiteral("After"))};
    for (TOrvNumber* item : m_module.LoadableItems()) {
        const QString key = item->FileKey().toUpper();
        if (IsCommand(*item) || !request.values.contains(key))
            continue;
        const double before = factory ? item->DefaultValue() : request.previous.value(key, qQNaN());
        const double after = request.values.value(key);
        if (std::isnan(before) || SameFileValue(before, after))
            continue;
        section.table.rows << QStringList{Caption(*item), ValueText(*item, before), ValueText(*item, after)};
    }
    if (section.table.rows.isEmpty())
        section.note = Text(TextIndex::NoValueDiffers, QStringLiteral("No value differs."));
    return section;
}

QList<TReportSection> TReportBuilder::RoadTest(const TReportRequest& request) const
{
    TReportSection verdict;
    verdict.newPage = true;
    verdict.heading = Text(TextIndex::RoadTestVerdictHeading, QStringLiteral("Road-test verdict"));
    if (!request.roadTest) {
        verdict.note = Text(TextIndex::NoRoadTestLog, QStringLiteral("No road-test log was given."));
        return {verdict};
    }
    const TRoadTestText text([this](int index, const QString& english) { return Text(index, english); });
    const TRoadTestResult& result = request.result;
    if (!result.judged) {
        verdict.note = text.NoVerdict(result);
    } else {
        TVerdict overall = TVerdict::Pass;
        for (const TCriterionResult& criterion : result.criteria) {
            if (criterion.verdict == TVerdict::Fail ||
                (criterion.verdict == TVerdict::Warn && overall == TVerdict::Pass))
                overall = criterion.verdict;
        }
        verdict.note =
            Text(TextIndex::OverallVerdict, QStringLiteral("Result: %1")).arg(text.Verdict(overall));
        verdict.table.header = QStringList{Text(TextIndex::CriterionColumn, QStringLiteral("Criterion")),
                                           Text(TextIndex::VerdictColumn, QStringLiteral("Verdict")),
                                           Text(TextIndex::FigureColumn, QStringLiteral("Figure")),
                                           Text(TextIndex::ThresholdColumn, QStringLiteral("Threshold"))};
        verdict.table.toneColumn = 1;
        for (const TCriterionResult& criterion : result.criteria) {
            verdict.table.rows << QStringList{text.Caption(criterion.id), text.Verdict(criterion.verdict),
                                              text.Figure(criterion), text.Threshold(criterion)};
            verdict.table.tones << ToneOf(criterion.verdict);
        }
    }
    QList<TReportSection> sections = {verdict};
    if (result.judged) {
        TReportSection suggestions;
        suggestions.heading = Text(TextIndex::SuggestionsHeading, QStringLiteral("Suggestions"));
        suggestions.table.header = QStringList{Text(TextIndex::ParameterColumn, QStringLiteral("Parameter")),
                                               Text(TextIndex::CurrentColumn, QStringLiteral("Current")),
                                               Text(TextIndex::ProposedColumn, QStringLiteral("Proposed")),
                                               Text(TextIndex::ReasonColumn, QStringLiteral("Reason"))};
        for (const TSuggestion& suggestion : result.suggestions) {
            TOrvNumber* item = suggestion.Changes() ? m_module.Number(suggestion.item) : nullptr;
            if (item)
                suggestions.table.rows
                    << QStringList{Caption(*item), ValueText(*item, suggestion.current),
                                   ValueText(*item, suggestion.proposed), text.Reason(suggestion)};
            else
                suggestions.table.rows
                    << QStringList{QStringLiteral("–"), QString(), QString(), text.Reason(suggestion)};
        }
        if (suggestions.table.rows.isEmpty())
            suggestions.note = Text(TextIndex::NoSuggestions, QStringLiteral("No suggestions."));
        sections << suggestions;
    }
    TReportSection picture;
    picture.heading = Text(TextIndex::DataLogHeading, QStringLiteral("Data log"));
    picture.note = request.logName;
    picture.picture = request.plot;
    sections << picture;
    return sections;
}

TReportDocument TReportBuilder::Build(const TReportRequest& request) const
{
    TReportDocument document;
    document.title = Text(TextIndex::RoadTestReport, QStringLiteral("Configuration and road-test report"));
    document.workshopName = request.workshopName;
    document.workshopAddress = request.workshopAddress;
    document.facts << qMakePair(Text(TextIndex::ReportDate, QStringLiteral("Date")),
                                m_locale.toString(request.date, QLocale::LongFormat));
    if (!request.vehicle.IsEmpty()) {
        QStringList vehicle = {request.vehicle.plate, request.vehicle.make, request.vehicle.model};
        vehicle.removeAll(QString());
        document.facts << qMakePair(Text(TextIndex::ReportVehicle, QStringLiteral("Vehicle")),
                                    vehicle.join(QStringLiteral(" · ")));
        if (!request.vehicle.vin.isEmpty())
            document.facts << qMakePair(Text(TextIndex::VinField, QStringLiteral("VIN")),
                                        request.vehicle.vin);
    }
    const QString unknown = Text(TextIndex::NotKnown, QStringLiteral("not known"));
    document.facts << qMakePair(Text(TextIndex::ReportControlUnit, QStringLiteral("Control unit")),
                                request.identity.isEmpty() ? unknown : request.identity);
    document.facts << qMakePair(Text(TextIndex::ReportFirmware, QStringLiteral("Firmware")),
                                request.firmware.isEmpty() ? unknown : request.firmware);
    if (!request.configurationFile.isEmpty())
        document.facts << qMakePair(
            Text(TextIndex::ReportConfigurationFile, QStringLiteral("Configuration file")),
            request.configurationFile);

    document.sections << SettingSections(request.values);
    document.sections << Changes(request) << RoadTest(request);
    document.signatures =
        QStringList{Text(TextIndex::FitterSignature, QStringLiteral("Fitter's signature")),
                    Text(TextIndex::CustomerSignature, QStringLiteral("Customer's signature"))};
    return document;
}
