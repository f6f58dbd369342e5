#include "app/cli/CliCommands.h"

#include "app/cli/ConsoleOutput.h"
#include "app/cli/ConsolePrompts.h"
#include "app/cli/MachineText.h"
#include "app/cli/PlotRequest.h"
#include "app/cli/RoadTestCommands.h"
#include "app/cli/VehicleCommands.h"
#include "chart/LogPlot.h"
#include "datalog/LiveChannels.h"
#include "datalog/LogClock.h"
#include "datalog/LogReader.h"
#include "datalog/LogWriter.h"
#include "items/DataRefresher.h"
#include "items/OrvNumber.h"
#include "items/OrvPacketData.h"
#include "link/OrvConnection.h"
#include "model/FirmwareUpdate.h"
#include "model/LiveSampler.h"
#include "model/ProgramSetup.h"
#include "model/ResourceLibrary.h"
#include "model/SerialDataModule.h"
#include "model/UnitIdentity.h"
#include "support/ConfigurationFile.h"
#include "support/EncryptedContainer.h"
#include "support/MemIniData.h"
#include "support/NumberText.h"
#include "support/OrvRegistryData.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QTimer>

namespace {

// The live values of 'unit live', in the order of its columns.
const QStringList LiveItems = {
    QStringLiteral("VAL_GIRI"),
    QStringLiteral("VALORE_LAMBDA"),
    QStringLiteral("VALOR_TPS"),
    QStringLiteral("VALORE_MINIMO_TPS"),
    QStringLiteral("POSIZIONE_ATTUATORE"),
    QStringLiteral("VALORE_POSIZIONE_DEFAULT"),
    QStringLiteral("FASCIA_LAMBDA"),
    QStringLiteral("FASCIA_TPS"),
    QStringLiteral("VAL_TEMPERATURA"),
};

// The command datum: writing it puts the unit into reprogramming, which only the
// reprogramming itself may do.
const QString CommandItem = QStringLiteral("RIPROGRAMMAZIONE");
const QString EraseItem = QStringLiteral("CHECKUP");

// A recording to a log: its length unless told, its longest (a day), and how
// often the link is checked meanwhile.
constexpr double DefaultRecordingSeconds = 10;
constexpr double MaxRecordingSeconds = 86400;
constexpr int LinkWatchInterval = 50;

// Whether INI text holds at least one section.
bool HasSection(const QByteArray& text)
{
    TPlainBuffer buffer(text);
    const TMemIniData store(buffer);
    QStringList sections;
    store.ReadSections(sections);
    return !sections.isEmpty();
}

// The message of a dump, get or comparison that met items the unit did not give.
QString UnreadText(const QStringList& unread)
{
    return QStringLiteral("these items could not be read from the unit: ") +
           unread.join(QStringLiteral(", "));
}

// The port names of the status bar; a port beyond the four serial ones is USB.
QString PortName(int port)
{
    return port >= 0 && port < LinkPort::Usb ? QStringLiteral("COM%1").arg(port + 1) : QStringLiteral("USB");
}

// A whole number of at least 1 from an option, or its default when not given.
bool PositiveOption(const TParsedCommand& command, const QString& name, int defaultValue, int& value)
{
    if (!command.Has(name)) {
        value = defaultValue;
        return true;
    }
    bool ok = false;
    value = command.options.value(name).toInt(&ok);
    return ok && value >= 1;
}

} // namespace

TCliCommands::TCliCommands(TConsolePrompts& prompts, TConsoleOutput& errors, QIODevice& out,
                           const QString& dataFolder)
    : m_prompts(prompts), m_errors(errors), m_out(out), m_dataFolder(dataFolder)
{
}

TCliCommands::~TCliCommands()
{
    // The module releases the link; the settings are saved after it.
    m_module.reset();
    m_settings.reset();
    ResourceLibrary::Free();
}

int TCliCommands::Run(const TParsedCommand& command)
{
    const int status = RunCommand(command);
    if (auto* file = qobject_cast<QFileDevice*>(&m_out); file && !file->flush())
        m_outputLost = true;
    if (!m_outputLost)
        return status;
    // A result that did not arrive whole (a full disk, a closed pipe) must not
    // pass for one: a script would go on with an empty or cut file.
    Fail(QStringLiteral("cannot write to standard output: %1").arg(m_out.errorString()));
    const TCommandId id = command.command->id;
    return id == TCommandId::TcnDiff || id == TCommandId::UnitDiff ? ExitStatus::Usage : ExitStatus::Failure;
}

int TCliCommands::RunCommand(const TParsedCommand& command)
{
    m_command = &command;
    const QStringList& args = command.arguments;
    switch (command.command->id) {
    case TCommandId::TcnEncrypt:
        return Encrypt(args.at(0), args.at(1));
    case TCommandId::LogPlot:
        return Plot(args.at(0));
    case TCommandId::LogCheck:
        return RoadTestCommands().Check(args.at(0));
    case TCommandId::Report:
        return RoadTestCommands().Report();
    default:
        break;
    }

    StartModule();
    TVehicleCommands vehicles = VehicleCommands();
    if (command.command->group == QLatin1String("vehicle"))
        return vehicles.Run();
    const bool recorded = command.Has(QStringLiteral("vehicle"));
    if (recorded && !vehicles.BeginRecording())
        return ExitStatus::Failure;
    const int status = RunModuleCommand(command);
    if (recorded)
        vehicles.EndRecording(status);
    return status;
}

int TCliCommands::RunModuleCommand(const TParsedCommand& command)
{
    const QStringList& args = command.arguments;
    switch (command.command->id) {
    case TCommandId::TcnDecrypt:
        return Decrypt(args.at(0));
    case TCommandId::UnitInfo:
        return Info();
    case TCommandId::UnitDump:
        return Dump(command.Has(QStringLiteral("raw")));
    case TCommandId::UnitGet:
        return Get(args.at(0));
    case TCommandId::UnitSet:
        return Set(args.at(0), args.at(1));
    case TCommandId::UnitSave:
        return Save(args.at(0));
    case TCommandId::UnitLoad:
        return Load(args.at(0));
    case TCommandId::UnitLive:
        return Live();
    case TCommandId::UnitErase:
        return Erase();
    case TCommandId::UnitProgram:
        return Program();
    case TCommandId::TcnDiff:
        return Diff(args.at(0), args.at(1));
    case TCommandId::UnitDiff:
        return Diff(QString(), args.at(0));
    case TCommandId::UnitBackups:
        return Backups();
    case TCommandId::UnitRestore:
        return Restore(args.at(0));
    default:
        return ExitStatus::Usage;
    }
}

// --- configuration files without a unit ---------------------------------------

// The module's texts say why a file is refused, in the chosen language.
int TCliCommands::Decrypt(const QString& fileName)
{
    TPlainBuffer text;
    const TConfigFileStatus status = ConfigurationFile::Read(fileName, text);
    if (status != TConfigFileStatus::Ok)
        return Fail(FileProblem(m_module->FileStatusText(status, fileName)));
    WriteOut(text.Content());
    return ExitStatus::Success;
}

// The text gets its integrity section (and a line end last, when it has none),
// in memory: the program refuses a configuration file cut short.
int TCliCommands::Encrypt(const QString& iniFileName, const QString& fileName)
{
    QFile ini(iniFileName);
    if (!ini.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("cannot read '%1'").arg(iniFileName));
    const QByteArray text = ini.readAll();
    if (ini.error() != QFileDevice::NoError)
        return Fail(QStringLiteral("cannot read '%1'").arg(iniFileName));
    // An empty text, or one without a section, is what a failed 'tcn decrypt
    // > FILE' leaves (a full disk); it would replace a good configuration file
    // with one that holds nothing.
    if (!HasSection(text))
        return Fail(QStringLiteral("'%1' holds no INI section: it is no configuration").arg(iniFileName));
    const QByteArray complete = text.endsWith('\n') || text.endsWith('\r') ? text : text + "\r\n";
    if (!ConfigurationFile::Write(fileName, complete, &m_prompts))
        return Fail(
            QStringLiteral("cannot make the configuration file '%1' from '%2'").arg(fileName, iniFileName));
    return ExitStatus::Success;
}

// --- data logs without a unit ----------------------------------------------------

int TCliCommands::Plot(const QString& logFile)
{
    TPlotRequest request(*m_command);
    QString error;
    if (!request.Read(error))
        return UsageError(error);
    TLogData data;
    if (!LogReader::Read(logFile, data, error))
        return Fail(QStringLiteral("'%1' is not a data log: %2").arg(logFile, error));
    if (!LogPlot::Render(data, QFileInfo(logFile).fileName(), request.Options(), request.PngFile(), error))
        return Fail(error);
    return ExitStatus::Success;
}

// --- the unit -------------------------------------------------------------------

void TCliCommands::StartModule()
{
    m_settings = std::make_unique<TOrvRegistryData>();
    m_module = std::make_unique<TSerialDataModule>();
    m_module->SetPrompts(&m_prompts);
    ProgramSetup::Start(*m_module, *m_settings, m_dataFolder);
    if (m_command && m_command->Has(QStringLiteral("port"))) {
        const int baud = m_settings->GetIntData(QLatin1String(ProgramSetup::LinkSetting::BaudRate));
        m_module->OrvConnection()->SetLinkPort(m_command->options.value(QStringLiteral("port")),
                                               baud > 0 ? baud : ProgramSetup::LinkSetting::DefaultBaudRate);
    }
    m_module->ApplyDefaults();
}

bool TCliCommands::Connect()
{
    const QString caption = TCommandLine::ProgramName();
    switch (m_module->ConnectToUnit(LinkPort::Usb, 0)) {
    case TSerialDataModule::NoAnswer: {
        QStringList lines = {Text(TextIndex::UnitDoesNotAnswer, QStringLiteral("the unit does not answer")),
                             Text(TextIndex::CheckCableAndIgnition, QString()),
                             QStringLiteral("(ERR.CODE: C01)")};
        lines.removeAll(QString());
        m_prompts.ShowMessage(TMessageIcon::Error, caption, lines.join(u'\n'));
        return false;
    }
    case TSerialDataModule::OtherUnit:
        m_prompts.ShowMessage(
            TMessageIcon::Error, caption,
            Text(TextIndex::UnsupportedUnitKind, QStringLiteral("the unit is not of the supported kind")));
        return false;
    case TSerialDataModule::NoLinkLibrary:
        Fail(QStringLiteral("the link library could not be loaded"));
        return false;
    case TSerialDataModule::LinkLostReading:
        Fail(QStringLiteral("the link to the unit was lost while its configuration was read"));
        return false;
    case TSerialDataModule::InUse:
        m_prompts.ShowMessage(TMessageIcon::Error, caption,
                              Text(TextIndex::UnitInUseByOtherProgram,
                                   QStringLiteral("the unit is in use by another program")));
        return false;
    default:
        if (m_module->IsUnitConnected())
            return true;
        Fail(QStringLiteral("the unit refused the connection"));
        return false;
    }
}

int TCliCommands::Info()
{
    if (!Connect())
        return ExitStatus::Failure;
    const auto& identity = m_module->Identity();
    QStringList bytes;
    for (const uint8_t byte : identity)
        bytes << QString::number(byte);
    Print(QStringLiteral("identity\t") + bytes.join(u' '));
    const int port = m_module->OrvConnection()->Instance()->GetPort();
    const QString serialPort = m_module->OrvConnection()->LinkPortPath();
    Print(QStringLiteral("port\t") +
          (port == LinkPort::Usb && !serialPort.isEmpty() ? serialPort : PortName(port)));
    Print(QStringLiteral("firmware\t") + QString::number(identity[3]));
    Print(QStringLiteral("mode\t") + (identity[1] == UnitIdentity::BootLoaderKind
                                          ? QStringLiteral("boot-loader")
                                          : QStringLiteral("application")));
    return ExitStatus::Success;
}

int TCliCommands::Dump(bool raw)
{
    if (!Connect())
        return ExitStatus::Failure;
    QStringList unread;
    for (TOrvSerialData* item : m_module->Items()) {
        // The connection has read every parameter; live values are read now.
        const bool read = qobject_cast<TOrvPacketData*>(item) ? item->Load() : item->IsDataLoaded();
        if (!read)
            unread << item->objectName();
        // An item the unit did not give has no value to show: what the module
        // holds is a default, not the unit's.
        QStringList fields = {item->objectName(), item->FileKeyName(),
                              read ? MachineText::Value(item) : QString()};
        if (raw)
            fields << (read ? QString::number(MachineText::RawValue(item)) : QString());
        Print(fields.join(u'\t'));
    }
    if (!unread.isEmpty())
        return Trouble(UnreadText(unread));
    return ExitStatus::Success;
}

int TCliCommands::Get(const QString& itemName)
{
    TOrvSerialData* item = FindItem(itemName);
    if (!item)
        return UsageError(QStringLiteral("no item is called '%1'").arg(itemName));
    if (!Connect())
        return ExitStatus::Failure;
    if (!item->Load())
        return Trouble(UnreadText({item->objectName()}));
    Print(MachineText::Value(item));
    return ExitStatus::Success;
}

int TCliCommands::Set(const QString& itemName, const QString& valueText)
{
    TOrvSerialData* item = FindItem(itemName);
    if (!item)
        return UsageError(QStringLiteral("no item is called '%1'").arg(itemName));
    double value = 0;
    if (!IsFloatValue(valueText, value))
        return UsageError(QStringLiteral("'%1' is not a number").arg(valueText));
    auto* number = qobject_cast<TOrvNumber*>(item);
    if (!number || number->ReadOnly())
        return Fail(QStringLiteral("%1 is read-only").arg(item->objectName()));
    if (number->objectName() == CommandItem)
        return Fail(QStringLiteral("%1 is a command, not a parameter: 'unit program' reprograms the unit")
                        .arg(CommandItem));
    if (number->objectName() == EraseItem)
        return Fail(
            QStringLiteral("%1 is a command, not a parameter: 'unit erase' erases the unit after asking")
                .arg(EraseItem));
    if (!Connect())
        return ExitStatus::Failure;
    if (!number->SetData(value))
        return Fail(QStringLiteral("%1 was not written").arg(number->objectName()));
    // A rule's writes that failed leave the unit half changed; the data module
    // has named them.
    if (!m_module->TakeFailedFollowOnWrites().isEmpty())
        return ExitStatus::Failure;
    if (!number->Load())
        return Fail(QStringLiteral("%1 could not be read back from the unit").arg(number->objectName()));
    Print(MachineText::Value(number));
    return ExitStatus::Success;
}

int TCliCommands::Save(const QString& fileName)
{
    if (!Connect())
        return ExitStatus::Failure;
    if (!m_module->SaveConfiguration(fileName))
        return Fail(QStringLiteral("the configuration was not saved to '%1'").arg(fileName));
    return ExitStatus::Success;
}

int TCliCommands::Load(const QString& fileName)
{
    if (!Connect())
        return ExitStatus::Failure;
    TLoadReport report;
    const bool loaded = m_module->LoadConfiguration(fileName, {}, &report);
    return LoadOutcome(loaded, report, QStringLiteral("the configuration in '%1'").arg(fileName));
}

// The module has shown why a file was refused, and what needs attention; the
// count of values written is said once anything was written.
int TCliCommands::LoadOutcome(bool loaded, const TLoadReport& report, const QString& what)
{
    if (report.started)
        m_errors.WriteLine(TCommandLine::ProgramName() +
                           QStringLiteral(": %1 value(s) written into the unit").arg(report.written));
    if (loaded)
        return ExitStatus::Success;
    if (report.started)
        return Fail(what + QStringLiteral(" was loaded into the unit only in part"));
    return Fail(what + QStringLiteral(" was not loaded into the unit"));
}

int TCliCommands::Live()
{
    if (m_command->Has(QStringLiteral("output")))
        return RecordLog(m_command->options.value(QStringLiteral("output")));
    if (m_command->Has(QStringLiteral("duration")))
        return UsageError(QStringLiteral("--duration is the length of a recording to --output"));
    int count = 0;
    int interval = 0;
    if (!PositiveOption(*m_command, QStringLiteral("count"), 10, count))
        return UsageError(QStringLiteral("--count needs a whole number from 1 up"));
    if (!PositiveOption(*m_command, QStringLiteral("interval"), 500, interval))
        return UsageError(QStringLiteral("--interval needs a whole number of milliseconds from 1 up"));
    if (!Connect())
        return ExitStatus::Failure;

    QList<TOrvPacketData*> items;
    for (const QString& name : LiveItems)
        items << m_module->Packet(name);
    const auto printValues = [&] { Print(MachineText::CsvLine(items)); };

    Print(LiveItems.join(u','));
    TDataRefresher* refresher = m_module->DataRefresher();
    refresher->SetEnabled(true);
    refresher->ReloadAll(); // the first line at once
    printValues();

    // The refresher hands its passes to this thread, so the loop runs them
    // between two lines.
    int printed = 1;
    bool linkLost = false;
    QEventLoop loop;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        linkLost = !m_module->IsUnitConnected();
        if (!linkLost)
            printValues();
        // Stopped at once: stopping the refresher below processes events, and a
        // timer still running there would print a line more than asked for.
        if (linkLost || ++printed >= count) {
            timer.stop();
            loop.quit();
        }
    });
    if (printed < count) {
        timer.start(interval);
        loop.exec();
    }
    m_module->StopRefresher();
    return linkLost ? Fail(QStringLiteral("the link to the unit was lost")) : ExitStatus::Success;
}

// Every packet the refresher reads goes to the log, for the duration.
int TCliCommands::RecordLog(const QString& fileName)
{
    if (m_command->Has(QStringLiteral("count")) || m_command->Has(QStringLiteral("interval")))
        return UsageError(QStringLiteral("--count and --interval pace printed lines, not a recording"));
    double duration = DefaultRecordingSeconds;
    if (m_command->Has(QStringLiteral("duration")) &&
        (!IsFloatValue(m_command->options.value(QStringLiteral("duration")), duration) || duration <= 0 ||
         duration > MaxRecordingSeconds))
        return UsageError(QStringLiteral("--duration needs a number of seconds above 0"));
    if (!Connect())
        return ExitStatus::Failure;

    TLogWriter writer;
    QString error;
    if (!writer.Open(fileName, LiveChannels(), error))
        return Fail(QStringLiteral("cannot write the log '%1': %2").arg(fileName, error));
    TSystemClock clock;
    TLiveSampler sampler(m_module.get(), &clock);
    bool writeFailed = false;
    QEventLoop loop;
    QObject::connect(&sampler, &TLiveSampler::Sampled, &loop, [&](const TLogSample& sample) {
        if (!writer.Write(sample)) {
            writeFailed = true;
            loop.quit();
        }
    });
    bool linkLost = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        linkLost = !m_module->IsUnitConnected();
        if (linkLost || clock.MonotonicMs() >= duration * 1000)
            loop.quit();
    });
    TDataRefresher* refresher = m_module->DataRefresher();
    refresher->SetEnabled(true);
    refresher->ReloadAll(); // the first row at once
    watch.start(LinkWatchInterval);
    loop.exec();
    m_module->StopRefresher();
    writer.Close();
    if (writeFailed)
        return Fail(QStringLiteral("writing the log '%1' failed").arg(fileName));
    if (linkLost)
        return Fail(QStringLiteral("the link to the unit was lost"));
    return ExitStatus::Success;
}

int TCliCommands::Erase()
{
    // Asked before connecting: "no" leaves the unit untouched.
    if (!m_prompts.AskYesNo(TMessageIcon::None, TCommandLine::ProgramName(),
                            Text(TextIndex::EraseConfigurationQuestion,
                                 QStringLiteral("Erase the configuration stored in the unit?")),
                            false))
        return Fail(QStringLiteral("the configuration was not erased"));
    if (!Connect() || !m_module->StopRefresher())
        return ExitStatus::Failure;
    if (!m_module->EraseConfiguration())
        return Fail(QStringLiteral("the configuration was not erased"));
    return ExitStatus::Success;
}

int TCliCommands::Program()
{
    if (!Connect())
        return ExitStatus::Failure;
    m_module->ReprogramFirmware();
    if (!m_prompts.MessageTexts().contains(TFirmwareUpdate::ProgrammedText()))
        return Fail(QStringLiteral("the firmware was not reprogrammed"));
    return ExitStatus::Success;
}

// --- the safety net ----------------------------------------------------------------

// left empty: the connected unit.
int TCliCommands::Diff(const QString& left, const QString& right)
{
    QList<TConfigDifference> differences;
    QStringList unread;
    if (left.isEmpty()) {
        if (!Connect())
            return ExitStatus::Usage;
        if (!m_module->CompareUnitWithFile(right, differences, &unread))
            return Trouble(FileProblem(m_module->ConfigurationFileProblem(right),
                                       QStringLiteral("cannot read the configuration file '%1'").arg(right)));
    } else if (!m_module->CompareFiles(left, right, differences)) {
        const QString problem = m_module->ConfigurationFileProblem(left);
        return Trouble(FileProblem(
            problem.isEmpty() ? m_module->ConfigurationFileProblem(right) : problem,
            QStringLiteral("cannot read the configuration files '%1' and '%2'").arg(left, right)));
    }
    // The items the unit did not give are named on the error stream, not listed as differences.
    for (const TConfigDifference& difference : std::as_const(differences)) {
        if (!unread.contains(difference.item))
            Print(
                QStringList{difference.item, difference.key, difference.left, difference.right}.join(u'\t'));
    }
    if (!unread.isEmpty())
        return Trouble(UnreadText(unread));
    return differences.isEmpty() ? ExitStatus::Success : ExitStatus::Failure;
}

int TCliCommands::Backups()
{
    if (!Connect())
        return ExitStatus::Failure;
    QStringList unread;
    for (const TBackupEntry& entry : m_module->BackupsByCloseness(&unread))
        Print(QStringList{entry.fileName, entry.created.toString(Qt::ISODate), entry.reason,
                          QString::number(entry.differences), entry.note}
                  .join(u'\t'));
    if (!unread.isEmpty())
        return Trouble(UnreadText(unread));
    return ExitStatus::Success;
}

int TCliCommands::Restore(const QString& fileName)
{
    const QString file = fileName == QLatin1String("latest") ? m_module->Backups().Latest() : fileName;
    if (file.isEmpty())
        return Fail(QStringLiteral("there is no backup made before a risky operation"));
    if (!Connect())
        return ExitStatus::Failure;
    TLoadReport report;
    const bool restored = m_module->RestoreBackup(file, &report);
    const int status = LoadOutcome(restored, report, QStringLiteral("the backup '%1'").arg(file));
    if (restored)
        Print(file);
    return status;
}

// --- road tests -----------------------------------------------------------------

TVehicleCommands TCliCommands::VehicleCommands()
{
    TVehicleCommands::TConsole console;
    console.module = [this]() -> TSerialDataModule& { return *m_module; };
    console.databaseSetting = [this] {
        return m_settings->GetStringData(QLatin1String(ProgramSetup::RecordsSetting::Database));
    };
    console.print = [this](const QString& line) { Print(line); };
    console.error = [this](const QString& message) { Fail(message); };
    return TVehicleCommands(*m_command, console);
}

TRoadTestCommands TCliCommands::RoadTestCommands()
{
    TRoadTestCommands::TConsole console;
    console.module = [this]() -> TSerialDataModule& {
        if (!m_module)
            StartModule();
        return *m_module;
    };
    console.settings = [this]() -> TOrvRegistryData& {
        if (!m_module)
            StartModule();
        return *m_settings;
    };
    console.connect = [this] { return Connect(); };
    console.print = [this](const QString& line) { Print(line); };
    console.error = [this](const QString& message) { Fail(message); };
    console.onVehicle = [this](const std::function<int(const TVehicle&)>& run) {
        if (!m_module)
            StartModule();
        return VehicleCommands().Recorded(run);
    };
    return TRoadTestCommands(*m_command, console);
}

// --- helpers --------------------------------------------------------------------

TOrvSerialData* TCliCommands::FindItem(const QString& name) const
{
    const QList<TOrvSerialData*> items = m_module->Items();
    for (TOrvSerialData* item : items) {
        if (item->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return item;
    }
    for (TOrvSerialData* item : items) {
        if (!item->FileKeyName().isEmpty() && item->FileKeyName().compare(name, Qt::CaseInsensitive) == 0)
            return item;
    }
    return nullptr;
}

QString TCliCommands::Text(int index, const QString& fallback) const
{
    return m_module->Translator()->GetString(index, fallback);
}

void TCliCommands::Print(const QString& line)
{
    WriteOut((line + u'\n').toUtf8());
}

void TCliCommands::WriteOut(const QByteArray& bytes)
{
    if (m_out.write(bytes) != bytes.size())
        m_outputLost = true;
}

QString TCliCommands::FileProblem(const QString& problem, const QString& otherwise)
{
    return problem.isEmpty() ? otherwise : QString(problem).replace(u'\n', QStringLiteral(": "));
}

int TCliCommands::Fail(const QString& message)
{
    m_errors.WriteLine(TCommandLine::ProgramName() + QStringLiteral(": ") + message);
    return ExitStatus::Failure;
}

int TCliCommands::Trouble(const QString& message)
{
    Fail(message);
    return ExitStatus::Usage;
}

int TCliCommands::UsageError(const QString& message)
{
    m_errors.WriteLine(TCommandLine::UsageErrorText(*m_command, message));
    return ExitStatus::Usage;
}
