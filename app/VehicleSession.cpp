#include "app/VehicleSession.h"

#include "chart/FormChart.h"
#include "chart/RoadTestPane.h"
#include "model/ProgramSetup.h"
#include "model/SerialDataModule.h"
#include "model/VehicleRecorder.h"
#include "records/RecordsDatabase.h"
#include "support/OrvRegistryData.h"
#include "support/TextIndex.h"
#include "support/Translator.h"
#include "support/UserPrompts.h"

#include <QFileInfo>

TVehicleSession::TVehicleSession(TSerialDataModule& module, const TOrvRegistryData& settings, QObject* parent)
    : QObject(parent), m_module(module), m_settings(settings)
{
}

TVehicleSession::~TVehicleSession() = default;

QString TVehicleSession::Text(int index) const
{
    return m_module.Translator()->GetString(index, 0);
}

TRecordsDatabase* TVehicleSession::Database()
{
    // Once open, the same records serve the program's life (the windows hold
    // them); a server that went away answers each statement with its error.
    if (m_database)
        return m_database.get();
    const QString named =
        m_settings.GetStringData(QLatin1String(ProgramSetup::RecordsSetting::Database)).trimmed();
    TDatabaseUrl url = TDatabaseUrl::Default();
    if (!named.isEmpty() && !TDatabaseUrl::Parse(named, url, &m_error))
        return nullptr;
    auto database = std::make_unique<TRecordsDatabase>(url);
    if (!database->Open()) {
        m_error = database->Error();
        return nullptr;
    }
    m_database = std::move(database);
    return m_database.get();
}

TRecordsDatabase* TVehicleSession::DatabaseOrTell()
{
    TRecordsDatabase* database = Database();
    if (!database && m_module.Prompts())
        m_module.Prompts()->ShowMessage(
            TMessageIcon::Error, Text(TextIndex::VehicleRecords),
            Text(TextIndex::RecordsCannotBeOpened).replace(QLatin1String("%1"), m_error));
    return database;
}

TVehicleRecorder* TVehicleSession::Recorder()
{
    TRecordsDatabase* database = Database();
    if (!database)
        return nullptr;
    if (!m_recorder)
        m_recorder = std::make_unique<TVehicleRecorder>(m_module, *database);
    m_recorder->SetVehicle(m_vehicle);
    return m_recorder.get();
}

void TVehicleSession::SetVehicle(const TVehicle& vehicle)
{
    m_vehicle = vehicle;
    if (m_recorder)
        m_recorder->SetVehicle(vehicle);
    emit VehicleChanged();
}

QString TVehicleSession::VehicleText() const
{
    if (!HasVehicle())
        return Text(TextIndex::NoVehicle);
    QStringList words = {m_vehicle.plate};
    for (const QString& word : {m_vehicle.make, m_vehicle.model}) {
        if (!word.isEmpty())
            words << word;
    }
    return Text(TextIndex::CurrentVehicle).replace(QLatin1String("%1"), words.join(u' '));
}

bool TVehicleSession::Run(TTimelineKind kind, const QString& fileName, const std::function<bool()>& operation)
{
    if (!HasVehicle())
        return operation();
    // The records are opened before the operation, so that its backups are told apart.
    TVehicleRecorder* recorder = Recorder();
    if (recorder)
        recorder->Begin();
    const bool done = operation();
    if (!done)
        return false;
    const QString file = QFileInfo(fileName).fileName();
    const QString summary = TimelineKinds::Name(kind) + (file.isEmpty() ? QString() : u' ' + file);
    if (!recorder)
        TellNotRecorded(m_error);
    else if (!recorder->Record(kind, fileName, summary))
        TellNotRecorded(recorder->Error());
    return true;
}

bool TVehicleSession::RunOn(TVehicleSession* session, TTimelineKind kind, const QString& fileName,
                            const std::function<bool()>& operation)
{
    return session ? session->Run(kind, fileName, operation) : operation();
}

void TVehicleSession::RecordFile(TTimelineKind kind, const QString& fileName)
{
    if (!HasVehicle() || fileName.isEmpty())
        return;
    TVehicleRecorder* recorder = Recorder();
    const QString summary = TimelineKinds::Name(kind) + u' ' + QFileInfo(fileName).fileName();
    if (!recorder)
        TellNotRecorded(m_error);
    else if (!recorder->Attach(kind, fileName, summary))
        TellNotRecorded(recorder->Error());
}

void TVehicleSession::WatchChart(TFormChart* chart)
{
    TRoadTestPane* roadTest = chart->RoadTest();
    const auto nameVehicle = [this, roadTest] {
        roadTest->SetVehicle({m_vehicle.plate, m_vehicle.make, m_vehicle.model, m_vehicle.vin});
    };
    nameVehicle();
    connect(this, &TVehicleSession::VehicleChanged, roadTest, nameVehicle);
    connect(chart, &TFormChart::LogRecorded, this,
            [this](const QString& log) { RecordFile(TTimelineKind::Log, log); });
    connect(roadTest, &TRoadTestPane::ReportWritten, this,
            [this](const QString& report) { RecordFile(TTimelineKind::Report, report); });
}

void TVehicleSession::BeginConnect()
{
    // The question after the connect needs the records: opened now, they tell
    // the connect's own backup from those before it.
    if (TVehicleRecorder* recorder = Recorder())
        recorder->Begin();
}

void TVehicleSession::RecordConnect()
{
    if (!HasVehicle())
        return;
    TVehicleRecorder* recorder = Recorder();
    if (!recorder)
        TellNotRecorded(m_error);
    else if (!recorder->Record(TTimelineKind::Connect, QString(), QStringLiteral("unit connected")))
        TellNotRecorded(recorder->Error());
}

bool TVehicleSession::Candidates(QList<TVehicleCandidate>& candidates)
{
    TRecordsDatabase* database = Database();
    return database && VehicleCloseness::Candidates(m_module, *database, candidates, &m_error);
}

void TVehicleSession::TellNotRecorded(const QString& reason) const
{
    if (TUserPrompts* prompts = m_module.Prompts())
        prompts->ShowMessage(TMessageIcon::Error, Text(TextIndex::VehicleRecords),
                             Text(TextIndex::NotRecordedOnVehicle)
                                 .replace(QLatin1String("%1"), m_vehicle.plate)
                                 .replace(QLatin1String("%2"), reason));
}
