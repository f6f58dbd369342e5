#include "app/cli/RoadTestCommands.h"

#include "app/cli/MachineText.h"
#include "chart/LogPlot.h"
#include "datalog/LogReader.h"
#include "items/OrvNumber.h"
#include "model/ProgramSetup.h"
#include "model/SerialDataModule.h"
#include "records/Vehicle.h"
#include "report/ReportBuilder.h"
#include "report/ReportWriter.h"
#include "roadtest/ConfigurationEntries.h"
#include "roadtest/RoadTestCheck.h"
#include "roadtest/RoadTestText.h"
#include "support/NumberText.h"
#include "support/OrvRegistryData.h"
#include "support/Translator.h"

#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// What an inspection is about, for machines.
QString InspectionName(TSuggestionKind kind)
{
    switch (kind) {
    case TSuggestionKind::InspectSpeedSignal:
        return QStringLiteral("speed-signal");
    case TSuggestionKind::InspectLambdaSensor:
        return QStringLiteral("lambda-sensor");
    case TSuggestionKind::InspectLambdaWiring:
        return QStringLiteral("lambda-wiring");
    case TSuggestionKind::InspectGasSupply:
        return QStringLiteral("gas-supply");
    case TSuggestionKind::InspectRichMixture:
        return QStringLiteral("reducer");
    default:
        return QString();
    }
}

} // namespace

TRoadTestCommands::TRoadTestCommands(const TParsedCommand& command, TConsole console)
    : m_command(command), m_console(std::move(console))
{
}

QString TRoadTestCommands::Option(const QString& name) const
{
    return m_command.options.value(name);
}

int TRoadTestCommands::Trouble(const QString& message)
{
    m_console.error(message);
    return ExitStatus::Usage;
}

bool TRoadTestCommands::ReadSettings(TRoadTestSettings& settings)
{
    TSerialDataModule& module = m_console.module();
    const auto item = [&module](const QString& name) { return module.Number(name); };
    if (m_command.Has(QStringLiteral("config"))) {
        QHash<QString, double> entries;
        QString error;
        if (!ConfigurationEntries::Read(Option(QStringLiteral("config")), entries, error)) {
            m_console.error(error);
            return false;
        }
        settings = TRoadTestSettings::FromFileEntries(item, entries);
    } else {
        if (!m_console.connect())
            return false;
        settings = TRoadTestSettings::FromItems(item);
    }
    if (!settings.Complete()) {
        m_console.error(
            QStringLiteral("the configuration lacks %1").arg(settings.Missing().join(QStringLiteral(", "))));
        return false;
    }
    return true;
}

int TRoadTestCommands::Check(const QString& logFile)
{
    TLogData log;
    QString error;
    if (!LogReader::Read(logFile, log, error))
        return Trouble(QStringLiteral("'%1' is not a data log: %2").arg(logFile, error));
    TRoadTestSettings settings;
    if (!ReadSettings(settings))
        return ExitStatus::Usage;

    const TRoadTestResult result = TRoadTestCheck(settings).Run(log.samples);
    const TRoadTestText text;
    if (!result.judged)
        return Trouble(text.NoVerdict(result));
    for (const TCriterionResult& criterion : result.criteria)
        m_console.print(QStringList{TRoadTestText::Identifier(criterion.id),
                                    TRoadTestText::Identifier(criterion.verdict), text.Figure(criterion),
                                    text.Threshold(criterion)}
                            .join(u'\t'));
    for (const TSuggestion& suggestion : result.suggestions) {
        if (suggestion.Changes())
            m_console.print(QStringList{QStringLiteral("suggest"), suggestion.item,
                                        MachineText::Number(suggestion.current),
                                        MachineText::Number(suggestion.proposed), text.Reason(suggestion)}
                                .join(u'\t'));
        else
            m_console.print(QStringList{QStringLiteral("inspect"), InspectionName(suggestion.kind),
                                        text.Reason(suggestion)}
                                .join(u'\t'));
    }
    return result.Fails() ? ExitStatus::Failure : ExitStatus::Success;
}

// The language codes of --language, in the order of the language store.
namespace {
const QStringList LanguageCodes = {QStringLiteral("it"), QStringLiteral("en"), QStringLiteral("es"),
                                   QStringLiteral("fr"), QStringLiteral("de"), QStringLiteral("ru")};
// The picture of the log in the report, in pixels.
const QSize PlotSize(1600, 1000);
} // namespace

int TRoadTestCommands::Report()
{
    if (m_command.Has(QStringLiteral("vehicle")))
        return m_console.onVehicle([this](const TVehicle& vehicle) { return WriteReport(vehicle); });
    return WriteReport(TVehicle());
}

int TRoadTestCommands::WriteReport(const TVehicle& vehicle)
{
    const QString out = Option(QStringLiteral("out"));
    if (out.isEmpty())
        return Trouble(QStringLiteral("missing --out FILE"));
    const int language = LanguageCodes.indexOf(Option(QStringLiteral("language")).toLower());
    if (m_command.Has(QStringLiteral("language")) && language < 0)
        return Trouble(
            QStringLiteral("--language needs one of %1").arg(LanguageCodes.join(QStringLiteral(", "))));

    TSerialDataModule& module = m_console.module();
    if (language >= 0)
        module.Translator()->SetLinguaCorrente(language);
    TReportRequest request;
    request.date = QDateTime::currentDateTime();
    request.workshopName =
        m_console.settings().GetStringData(QLatin1String(ProgramSetup::WorkshopSetting::Name));
    request.workshopAddress =
        m_console.settings().GetStringData(QLatin1String(ProgramSetup::WorkshopSetting::Address));
    if (!ReadReportedConfiguration(request) || !AddRoadTest(request))
        return ExitStatus::Usage;
    request.vehicle = {vehicle.plate, vehicle.make, vehicle.model, vehicle.vin};

    QString error;
    if (!ReportWriter::WritePdf(TReportBuilder(module).Build(request), out, error)) {
        m_console.error(error);
        return ExitStatus::Failure;
    }
    return ExitStatus::Success;
}

bool TRoadTestCommands::ReadReportedConfiguration(TReportRequest& request)
{
    TSerialDataModule& module = m_console.module();
    if (m_command.Has(QStringLiteral("config"))) {
        const QString file = Option(QStringLiteral("config"));
        QString error;
        if (!ConfigurationEntries::Read(file, request.values, error)) {
            m_console.error(error);
            return false;
        }
        request.configurationFile = QFileInfo(file).fileName();
        return true;
    }
    if (!m_console.connect())
        return false;
    TReportBuilder::TakeUnit(module, request);
    return true;
}

bool TRoadTestCommands::AddRoadTest(TReportRequest& request)
{
    if (!m_command.Has(QStringLiteral("log")))
        return true;
    const QString logFile = Option(QStringLiteral("log"));
    TLogData log;
    QString error;
    if (!LogReader::Read(logFile, log, error)) {
        m_console.error(QStringLiteral("'%1' is not a data log: %2").arg(logFile, error));
        return false;
    }
    TSerialDataModule& module = m_console.module();
    const auto item = [&module](const QString& name) { return module.Number(name); };
    const TRoadTestSettings settings = m_command.Has(QStringLiteral("config"))
                                           ? TRoadTestSettings::FromFileEntries(item, request.values)
                                           : TRoadTestSettings::FromItems(item);
    if (!settings.Complete()) {
        m_console.error(
            QStringLiteral("the configuration lacks %1").arg(settings.Missing().join(QStringLiteral(", "))));
        return false;
    }
    request.roadTest = true;
    request.result = TRoadTestCheck(settings).Run(log.samples);
    request.logName = QFileInfo(logFile).fileName();

    QTemporaryDir folder;
    LogPlot::TOptions options;
    options.size = PlotSize;
    const QString png = folder.filePath(QStringLiteral("log.png"));
    if (!folder.isValid() || !LogPlot::Render(log, request.logName, options, png, error)) {
        m_console.error(QStringLiteral("the picture of the log could not be drawn: %1").arg(error));
        return false;
    }
    request.plot = QImage(png);
    return true;
}
