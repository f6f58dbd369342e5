#pragma once

// TVehicleTimeline adds entries to the vehicles' timelines and reads them back,
// newest first. Entries are only ever added, each in one statement, so benches
// recording on the same vehicle at once never lose one another's. A data log is
// stored compressed; an entry's file is read only when asked for.

#include "records/TimelineEntry.h"

#include <QList>
#include <QString>

class TRecordsDatabase;

class TVehicleTimeline {
public:
    explicit TVehicleTimeline(TRecordsDatabase& database) : m_database(database) {}

    // Adds the entry in a transaction of its own; the time and bench are filled
    // in when empty, the entry's id set. False with Error() when not recorded.
    bool Add(TTimelineEntry& entry);
    // The same inside a transaction the caller holds.
    bool Insert(TTimelineEntry& entry);

    // The vehicle's entries of these kinds (all when none), newest first, without
    // their files; ok false with Error() when they could not be read.
    QList<TTimelineEntry> Entries(qint64 vehicleId, const QList<TTimelineKind>& kinds, bool* ok);
    // The entry with its file; false with Error() when there is none.
    bool Read(qint64 entryId, TTimelineEntry& entry);
    // The vehicle's newest entry holding a configuration file (an automatic
    // backup too when withBackups), with the file; *found false when it has none.
    bool LatestConfiguration(qint64 vehicleId, bool withBackups, TTimelineEntry& entry, bool* found);

    QString Error() const;

private:
    TRecordsDatabase& m_database;
};
