#pragma once

// TVehicleRecorder records what the data module does to the current vehicle's
// unit on that vehicle's timeline: connects, configurations saved, loaded,
// restored or attached (the file itself, with the values that changed against
// the vehicle's previous configuration), the automatic backups the operation
// made, data logs, erases and firmware updates. The windows and tzr582-cli call
// it around the module's operations; the module itself knows nothing of it.
//
// Recording never stands in an operation's way: an operation is run whatever
// becomes of its record, and a record that fails says why in Error().

#include "records/TimelineEntry.h"
#include "records/Vehicle.h"

#include <QSet>
#include <QString>

class TRecordsDatabase;
class TSerialDataModule;
class TVehicleTimeline;

class TVehicleRecorder {
public:
    TVehicleRecorder(TSerialDataModule& module, TRecordsDatabase& database);

    TRecordsDatabase& Database() { return m_database; }
    bool HasVehicle() const { return m_vehicle.id != 0; }
    const TVehicle& Vehicle() const { return m_vehicle; }
    void SetVehicle(const TVehicle& vehicle) { m_vehicle = vehicle; }
    void ClearVehicle() { m_vehicle = TVehicle(); }

    // An operation is about to run: the backups made from now on are its own.
    // Those of another program running meanwhile on the same folder would count
    // too; a bench runs one operation on a unit at a time.
    void Begin();
    // Records the operation that ran since Begin (the file it saved, loaded,
    // restored or recorded, when it has one) and the backups it made, in one
    // transaction. False with Error() when nothing was recorded.
    bool Record(TTimelineKind kind, const QString& fileName, const QString& summary);
    // Records a file made elsewhere (a configuration or a data log) without a unit.
    bool Attach(TTimelineKind kind, const QString& fileName, const QString& summary);
    // Records a connect with the unit's identity and firmware.
    bool RecordConnect();

    QString Error() const { return m_error; }

private:
    bool AddEntries(TTimelineKind kind, const QString& fileName, const QString& summary, bool withBackups);
    bool AddFileEntry(TVehicleTimeline& timeline, TTimelineEntry& entry, const QString& fileName);
    // The configuration file's values that differ from the vehicle's newest
    // configuration on record (not a backup), one "key<TAB>old<TAB>new" line each.
    QString ChangesAgainstPrevious(TVehicleTimeline& timeline, const QString& fileName);
    void SignWithUnit(TTimelineEntry& entry) const;

    TSerialDataModule& m_module;
    TRecordsDatabase& m_database;
    TVehicle m_vehicle;
    bool m_begun = false;
    QSet<QString> m_backupsBefore; // the backup files there were at Begin

    QString m_error;
};
