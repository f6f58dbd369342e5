#pragma once

// One entry of a vehicle's timeline: when, on which bench, what happened, and
// for a configuration or a data log the file itself.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

enum class TTimelineKind {
    Connect,       // a unit connected: its identity and firmware
    Save,          // the unit's configuration saved to a file
    Load,          // a configuration file written into the unit
    Restore,       // a backup written back into the unit
    Backup,        // an automatic backup of the unit's configuration
    Erase,         // the unit's configuration erased
    Log,           // a data log recorded
    Firmware,      // the firmware reprogrammed
    Check,         // a road test judged
    Report,        // a customer's report written
    Note,          // the fitter's note
    Edit,          // the vehicle's data changed: what, from what to what
    Configuration, // a configuration file made elsewhere, attached
};

// The groups the timeline is filtered by.
enum class TTimelineGroup { Configurations, Logs, Backups, Checks, Notes, Other };

struct TTimelineEntry {
    qint64 id = 0;
    qint64 vehicleId = 0;
    QDateTime at; // UTC
    QString bench;
    TTimelineKind kind = TTimelineKind::Note;
    QString summary;  // one line: the file, the outcome, the note's text
    QString identity; // the unit's identity record, for entries made with a unit
    QString firmware;
    QString fileName; // the file's own name, for an entry that holds one
    // For a configuration: one line per value that changed against the vehicle's
    // previous configuration ("KEY<TAB>old<TAB>new").
    QString changes;
    QByteArray payload; // the file; read only when asked for
    bool hasPayload = false;
};

namespace TimelineKinds {

// "connect", "save", ... as stored and as the command line shows them.
QString Name(TTimelineKind kind);
// False for a name that is no kind.
bool FromName(const QString& name, TTimelineKind& kind);
TTimelineGroup Group(TTimelineKind kind);
// The kinds whose entries hold a configuration file.
bool HoldsConfiguration(TTimelineKind kind);
QList<TTimelineKind> InGroup(TTimelineGroup group);

} // namespace TimelineKinds
