#pragma once

// TVehicleSession is the windows' current vehicle: the car on the bench, whose
// timeline records what the windows do to its unit. The records are those the
// settings name ("VehicleDatabase"; the default SQLite file in the data folder
// when empty), opened at first use. While a vehicle is current, every save,
// load, restore, erase and firmware update run through Run(), with the backups
// it made, and every data log the chart recorded, are recorded on it without a
// further question; without one they run as they always did. A record that
// fails never fails the operation: the fitter is told it was not recorded, and
// why, through the prompts.

#include "model/VehicleCloseness.h"
#include "records/TimelineEntry.h"
#include "records/Vehicle.h"

#include <QObject>
#include <functional>
#include <memory>

class TFormChart;
class TOrvRegistryData;
class TRecordsDatabase;
class TSerialDataModule;
class TVehicleRecorder;

class TVehicleSession : public QObject {
    Q_OBJECT

public:
    TVehicleSession(TSerialDataModule& module, const TOrvRegistryData& settings, QObject* parent = nullptr);
    ~TVehicleSession() override;

    TSerialDataModule& Module() const { return m_module; }
    // The records, opened at first use and kept from then on (a change of the
    // setting takes effect at the next start); null, with Error(), when they
    // cannot be opened.
    TRecordsDatabase* Database();
    QString Error() const { return m_error; }
    // The same, telling the fitter why when they cannot be opened.
    TRecordsDatabase* DatabaseOrTell();

    bool HasVehicle() const { return m_vehicle.id != 0; }
    const TVehicle& Vehicle() const { return m_vehicle; }
    // Makes the vehicle current (an empty one: no vehicle).
    void SetVehicle(const TVehicle& vehicle);
    void ClearVehicle() { SetVehicle(TVehicle()); }
    // The current vehicle as the status bar names it: plate, make and model.
    QString VehicleText() const;

    // Runs an operation on the unit; when it succeeded and a vehicle is
    // current, records it as kind (with the file it saved, loaded or restored,
    // when it has one) and the backups it made. Answers the operation's outcome.
    bool Run(TTimelineKind kind, const QString& fileName, const std::function<bool()>& operation);
    // Run() on the session when there is one; the operation alone when not.
    static bool RunOn(TVehicleSession* session, TTimelineKind kind, const QString& fileName,
                      const std::function<bool()>& operation);
    // Records a file made meanwhile (a data log) on the current vehicle, if any.
    void RecordFile(TTimelineKind kind, const QString& fileName);
    // Records the data logs the chart records and the reports it writes, and
    // has its reports name the current vehicle.
    void WatchChart(TFormChart* chart);
    // Records a connect on the vehicle just chosen, with the backup the connect made.
    void RecordConnect();
    // Marks the start of a connect: its backups go with the connect's record.
    void BeginConnect();

    // The recorded vehicles, the closest to the connected unit first; false with
    // Error() when the records cannot be read.
    bool Candidates(QList<TVehicleCandidate>& candidates);

signals:
    void VehicleChanged();

private:
    TVehicleRecorder* Recorder();
    void TellNotRecorded(const QString& reason) const;
    QString Text(int index) const;

    TSerialDataModule& m_module;
    const TOrvRegistryData& m_settings;
    std::unique_ptr<TRecordsDatabase> m_database;
    std::unique_ptr<TVehicleRecorder> m_recorder;
    TVehicle m_vehicle;
    QString m_error;
};
