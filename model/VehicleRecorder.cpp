#include "model/VehicleRecorder.h"

#include "backup/BackupStore.h"
#include "model/SerialDataModule.h"
#include "records/RecordsDatabase.h"
#include "records/RecordsTransaction.h"
#include "records/VehicleTimeline.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>

namespace {

// The byte of the identity record that holds the firmware version.
constexpr int FirmwareByte = 3;

} // namespace

TVehicleRecorder::TVehicleRecorder(TSerialDataModule& module, TRecordsDatabase& database)
    : m_module(module), m_database(database)
{
}

void TVehicleRecorder::Begin()
{
    m_begun = true;
    m_backupsBefore.clear();
    for (const TBackupEntry& backup : m_module.Backups().List())
        m_backupsBefore.insert(backup.fileName);
}

bool TVehicleRecorder::Record(TTimelineKind kind, const QString& fileName, const QString& summary)
{
    return AddEntries(kind, fileName, summary, true);
}

bool TVehicleRecorder::Attach(TTimelineKind kind, const QString& fileName, const QString& summary)
{
    return AddEntries(kind, fileName, summary, false);
}

bool TVehicleRecorder::RecordConnect()
{
    const QString summary = QStringLiteral("unit connected");
    return AddEntries(TTimelineKind::Connect, QString(), summary, false);
}

bool TVehicleRecorder::AddEntries(TTimelineKind kind, const QString& fileName, const QString& summary,
                                  bool withBackups)
{
    if (!HasVehicle()) {
        m_error = QStringLiteral("no vehicle is chosen");
        return false;
    }
    TVehicleTimeline timeline(m_database);
    TRecordsTransaction transaction(m_database);
    if (!transaction.Began()) {
        m_error = m_database.Error();
        return false;
    }
    if (withBackups && m_begun) {
        // The backups the operation made, the oldest first.
        const QList<TBackupEntry> made = m_module.Backups().List();
        for (auto backup = made.crbegin(); backup != made.crend(); ++backup) {
            if (!m_backupsBefore.contains(backup->fileName)) {
                TTimelineEntry entry;
                entry.vehicleId = m_vehicle.id;
                entry.kind = TTimelineKind::Backup;
                entry.summary = backup->reason;
                entry.identity = backup->identity;
                if (!AddFileEntry(timeline, entry, backup->fileName))
                    return false;
            }
        }
    }
    TTimelineEntry entry;
    entry.vehicleId = m_vehicle.id;
    entry.kind = kind;
    entry.summary = summary;
    // An operation on the unit, not a file made elsewhere.
    if (withBackups || kind == TTimelineKind::Connect)
        SignWithUnit(entry);
    const bool added = fileName.isEmpty() ? timeline.Insert(entry) : AddFileEntry(timeline, entry, fileName);
    if (!added || !transaction.Commit()) {
        m_error = m_error.isEmpty() ? m_database.Error() : m_error;
        return false;
    }
    m_begun = false;
    return true;
}

bool TVehicleRecorder::AddFileEntry(TVehicleTimeline& timeline, TTimelineEntry& entry,
                                    const QString& fileName)
{
    m_error.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot read '%1': %2").arg(fileName, file.errorString());
        return false;
    }
    entry.payload = file.readAll();
    entry.fileName = QFileInfo(fileName).fileName();
    if (TimelineKinds::HoldsConfiguration(entry.kind))
        entry.changes = ChangesAgainstPrevious(timeline, fileName);
    if (!timeline.Insert(entry)) {
        m_error = m_database.Error();
        return false;
    }
    return true;
}

QString TVehicleRecorder::ChangesAgainstPrevious(TVehicleTimeline& timeline, const QString& fileName)
{
    TTimelineEntry previous;
    bool found = false;
    // A fitter's configurations (saved, loaded, restored, attached) against
    // each other; the backups of the same visit would hide the change.
    if (!timeline.LatestConfiguration(m_vehicle.id, false, previous, &found) || !found)
        return QString();
    QTemporaryFile previousFile;
    if (!previousFile.open() || previousFile.write(previous.payload) != previous.payload.size() ||
        !previousFile.flush())
        return QString();
    QList<TConfigDifference> differences;
    if (!m_module.CompareFiles(previousFile.fileName(), fileName, differences))
        return QString();
    QStringList lines;
    for (const TConfigDifference& difference : differences)
        lines << QStringLiteral("%1\t%2\t%3").arg(difference.key, difference.left, difference.right);
    return lines.join(u'\n');
}

void TVehicleRecorder::SignWithUnit(TTimelineEntry& entry) const
{
    if (!m_module.IsUnitConnected())
        return;
    QStringList bytes;
    for (const uint8_t byte : m_module.Identity())
        bytes << QString::number(byte);
    entry.identity = bytes.join(u' ');
    entry.firmware = QString::number(m_module.Identity().at(FirmwareByte));
}
