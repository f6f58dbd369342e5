#include "app/cli/VehicleCommands.h"

#include "datalog/LogReader.h"
#include "model/SerialDataModule.h"
#include "model/VehicleRecorder.h"
#include "records/DatabaseUrl.h"
#include "records/RecordsDatabase.h"
#include "records/VehicleArchive.h"
#include "records/VehicleSheet.h"
#include "records/VehicleStore.h"
#include "records/VehicleTimeline.h"
#include "support/ConfigurationFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString TimeText(const QDateTime& time)
{
    return time.isValid() ? time.toLocalTime().toString(Qt::ISODate) : QString();
}

// One line of fields separated by tabs; a tab or line end inside a field
// becomes a blank, so that the line stays one record.
QString TabLine(QStringList fields)
{
    for (QString& field : fields) {
        field.replace(u'\t', u' ');
        field.replace(u'\n', u' ');
    }
    return fields.join(u'\t');
}

bool ReadFile(const QString& fileName, QByteArray& bytes, QString* error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read '%1': %2").arg(fileName, file.errorString());
        return false;
    }
    bytes = file.readAll();
    return true;
}

} // namespace

TVehicleCommands::TVehicleCommands(const TParsedCommand& command, TConsole console)
    : m_command(command), m_console(std::move(console))
{
}

TVehicleCommands::~TVehicleCommands()
{
    // The recorder refers to the database.
    m_recorder.reset();
    m_database.reset();
}

int TVehicleCommands::Fail(const QString& message)
{
    m_console.error(message);
    return ExitStatus::Failure;
}

bool TVehicleCommands::OpenRecords()
{
    // --database, else the program's setting, else the default file.
    const QString named = m_command.Has(QStringLiteral("database"))
                              ? m_command.options.value(QStringLiteral("database"))
                              : m_console.databaseSetting();
    TDatabaseUrl url = TDatabaseUrl::Default();
    QString error;
    if (!named.isEmpty() && !TDatabaseUrl::Parse(named, url, &error)) {
        m_notRecorded = error;
        return false;
    }
    m_database = std::make_unique<TRecordsDatabase>(url);
    if (m_database->Open())
        return true;
    m_notRecorded = m_database->Error();
    return false;
}

bool TVehicleCommands::FindVehicle(const QString& plate, TVehicle& vehicle)
{
    TVehicleStore store(*m_database);
    bool found = false;
    if (!store.Find(plate, vehicle, &found)) {
        Fail(store.Error());
        return false;
    }
    if (!found)
        Fail(QStringLiteral("no vehicle with the plate %1 is recorded").arg(plate));
    return found;
}

int TVehicleCommands::Run()
{
    if (!OpenRecords())
        return Fail(m_notRecorded);
    const QStringList& args = m_command.arguments;
    switch (m_command.command->id) {
    case TCommandId::VehicleAdd:
        return Add();
    case TCommandId::VehicleEdit:
        return Edit(args.at(0));
    case TCommandId::VehicleList:
        return List();
    case TCommandId::VehicleShow:
        return Show(args.at(0));
    case TCommandId::VehicleNote:
        return Note(args.at(0), args.at(1));
    case TCommandId::VehicleAttach:
        return Attach(args.at(0), args.at(1));
    case TCommandId::VehicleExport:
        return Export(args.at(0), args.at(1));
    case TCommandId::VehicleImport:
        return Import(args.at(0));
    case TCommandId::VehicleImportCsv:
        return ImportCsv(args.at(0));
    default:
        return ExitStatus::Usage;
    }
}

bool TVehicleCommands::ApplyFieldOptions(TVehicle& vehicle)
{
    for (const QString& name : VehicleFields::Names()) {
        QString error;
        if (m_command.Has(name) &&
            !VehicleFields::SetValue(vehicle, name, m_command.options.value(name), &error)) {
            Fail(error);
            return false;
        }
    }
    return true;
}

int TVehicleCommands::Add()
{
    if (!m_command.Has(QStringLiteral("plate")))
        return Fail(QStringLiteral("a vehicle needs a plate: --plate P"));
    TVehicle vehicle;
    if (!ApplyFieldOptions(vehicle))
        return ExitStatus::Failure;
    TVehicleStore store(*m_database);
    return store.Add(vehicle) ? ExitStatus::Success : Fail(store.Error());
}

int TVehicleCommands::Edit(const QString& plate)
{
    TVehicle vehicle;
    if (!FindVehicle(plate, vehicle) || !ApplyFieldOptions(vehicle))
        return ExitStatus::Failure;
    TVehicleStore store(*m_database);
    return store.Edit(vehicle) ? ExitStatus::Success : Fail(store.Error());
}

int TVehicleCommands::List()
{
    TVehicleStore store(*m_database);
    bool ok = false;
    const QList<TVehicle> vehicles = store.Search(m_command.options.value(QStringLiteral("search")), 0, &ok);
    if (!ok)
        return Fail(store.Error());
    for (const TVehicle& vehicle : vehicles)
        m_console.print(TabLine({vehicle.plate, vehicle.vin, vehicle.customer, vehicle.make, vehicle.model,
                                 TimeText(vehicle.lastVisit)}));
    return ExitStatus::Success;
}

int TVehicleCommands::Show(const QString& plate)
{
    TVehicle vehicle;
    if (!FindVehicle(plate, vehicle))
        return ExitStatus::Failure;
    for (const QString& name : VehicleFields::Names())
        m_console.print(TabLine({name, VehicleFields::Value(vehicle, name)}));
    m_console.print(QString());
    TVehicleTimeline timeline(*m_database);
    bool ok = false;
    const QList<TTimelineEntry> entries = timeline.Entries(vehicle.id, {}, &ok);
    if (!ok)
        return Fail(timeline.Error());
    for (const TTimelineEntry& entry : entries) {
        m_console.print(
            TabLine({TimeText(entry.at), entry.bench, TimelineKinds::Name(entry.kind), entry.summary}));
        for (const QString& change : entry.changes.split(u'\n', Qt::SkipEmptyParts))
            m_console.print(u'\t' + change);
    }
    return ExitStatus::Success;
}

int TVehicleCommands::Note(const QString& plate, const QString& text)
{
    TVehicle vehicle;
    if (!FindVehicle(plate, vehicle))
        return ExitStatus::Failure;
    TTimelineEntry entry;
    entry.vehicleId = vehicle.id;
    entry.kind = TTimelineKind::Note;
    entry.summary = text;
    TVehicleTimeline timeline(*m_database);
    return timeline.Add(entry) ? ExitStatus::Success : Fail(timeline.Error());
}

int TVehicleCommands::Attach(const QString& plate, const QString& fileName)
{
    TVehicle vehicle;
    if (!FindVehicle(plate, vehicle))
        return ExitStatus::Failure;
    TPlainBuffer text;
    TLogData log;
    QString logProblem;
    TTimelineKind kind = TTimelineKind::Configuration;
    if (ConfigurationFile::Read(fileName, text) != TConfigFileStatus::Ok) {
        if (!LogReader::Read(fileName, log, logProblem))
            return Fail(QStringLiteral("'%1' is neither a configuration file nor a data log").arg(fileName));
        kind = TTimelineKind::Log;
    }
    TVehicleRecorder recorder(m_console.module(), *m_database);
    recorder.SetVehicle(vehicle);
    const QString summary = QStringLiteral("attached %1").arg(QFileInfo(fileName).fileName());
    return recorder.Attach(kind, fileName, summary) ? ExitStatus::Success : Fail(recorder.Error());
}

int TVehicleCommands::Export(const QString& plate, const QString& fileName)
{
    QByteArray archive;
    QString error;
    if (!VehicleArchive::Export(*m_database, plate, archive, &error))
        return Fail(error);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(archive) != archive.size() || !file.commit())
        return Fail(QStringLiteral("cannot write '%1': %2").arg(fileName, file.errorString()));
    return ExitStatus::Success;
}

int TVehicleCommands::Import(const QString& fileName)
{
    QByteArray archive;
    QString error;
    QString plate;
    int added = 0;
    if (!ReadFile(fileName, archive, &error) ||
        !VehicleArchive::Import(*m_database, archive, m_command.Has(QStringLiteral("merge")), &plate, &added,
                                &error))
        return Fail(error);
    m_console.error(QStringLiteral("%1: %2 timeline entries recorded").arg(plate).arg(added));
    return ExitStatus::Success;
}

int TVehicleCommands::ImportCsv(const QString& fileName)
{
    QByteArray text;
    QString error;
    QList<TSheetRow> rows;
    if (!ReadFile(fileName, text, &error) || !VehicleSheet::Read(text, rows, &error))
        return Fail(QStringLiteral("%1: %2").arg(fileName, error));
    TVehicleStore store(*m_database);
    int refused = 0;
    int recorded = 0;
    for (TSheetRow& row : rows) {
        if (row.problem.isEmpty() && !store.Add(row.vehicle))
            row.problem = store.Error();
        if (!row.problem.isEmpty()) {
            ++refused;
            m_console.error(QStringLiteral("%1:%2: %3").arg(fileName).arg(row.line).arg(row.problem));
        } else {
            ++recorded;
        }
    }
    m_console.error(QStringLiteral("%1 vehicles recorded, %2 rows refused").arg(recorded).arg(refused));
    return refused == 0 ? ExitStatus::Success : ExitStatus::Failure;
}

// --- unit commands recorded on a vehicle ------------------------------------------

bool TVehicleCommands::BeginRecording()
{
    if (!OpenRecords())
        return true; // the command runs, unrecorded
    TVehicle vehicle;
    if (!FindVehicle(m_command.options.value(QStringLiteral("vehicle")), vehicle))
        return false;
    m_recorder = std::make_unique<TVehicleRecorder>(m_console.module(), *m_database);
    m_recorder->SetVehicle(vehicle);
    m_recordedFile = RecordedFile();
    m_recorder->Begin();
    return true;
}

void TVehicleCommands::EndRecording(int status)
{
    // Live values only printed leave nothing to record.
    if (status != ExitStatus::Success ||
        (m_command.command->id == TCommandId::UnitLive && m_recordedFile.isEmpty()))
        return;
    const QString plate = m_command.options.value(QStringLiteral("vehicle"));
    if (!m_recorder) {
        m_console.error(QStringLiteral("not recorded on the vehicle %1: %2").arg(plate, m_notRecorded));
        return;
    }
    const TTimelineKind kind = RecordedKind();
    const QString file = QFileInfo(m_recordedFile).fileName();
    const QString summary = file.isEmpty() ? m_command.command->group + u' ' + m_command.command->name
                                           : QStringLiteral("%1 %2").arg(RecordedVerb(), file);
    if (!m_recorder->Record(kind, m_recordedFile, summary))
        m_console.error(QStringLiteral("not recorded on the vehicle %1: %2").arg(plate, m_recorder->Error()));
}

int TVehicleCommands::Recorded(const std::function<int(const TVehicle&)>& run)
{
    if (!BeginRecording())
        return ExitStatus::Failure;
    const int status = run(m_recorder ? m_recorder->Vehicle() : TVehicle());
    EndRecording(status);
    return status;
}

QString TVehicleCommands::RecordedVerb() const
{
    // 'report' is a group of one command without a name of its own.
    return m_command.command->name.isEmpty() ? m_command.command->group : m_command.command->name;
}

TTimelineKind TVehicleCommands::RecordedKind() const
{
    switch (m_command.command->id) {
    case TCommandId::Report:
        return TTimelineKind::Report;
    case TCommandId::UnitSave:
        return TTimelineKind::Save;
    case TCommandId::UnitLoad:
        return TTimelineKind::Load;
    case TCommandId::UnitRestore:
        return TTimelineKind::Restore;
    case TCommandId::UnitLive:
        return TTimelineKind::Log;
    case TCommandId::UnitErase:
        return TTimelineKind::Erase;
    default:
        return TTimelineKind::Firmware;
    }
}

QString TVehicleCommands::RecordedFile() const
{
    switch (m_command.command->id) {
    case TCommandId::UnitSave:
    case TCommandId::UnitLoad:
        return m_command.arguments.at(0);
    case TCommandId::UnitRestore:
        return m_command.arguments.at(0) == QLatin1String("latest") ? m_console.module().Backups().Latest()
                                                                    : m_command.arguments.at(0);
    case TCommandId::UnitLive:
        return m_command.options.value(QStringLiteral("output"));
    case TCommandId::Report:
        return m_command.options.value(QStringLiteral("out"));
    default:
        return QString();
    }
}
