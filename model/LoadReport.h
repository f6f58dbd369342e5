#pragma once

// What a load (or restore) of a configuration file did: whether the file could
// be used at all, how many values it wrote into the unit, and everything that
// needs the fitter's attention. The data module shows it; the command line
// prints the count and decides its exit status from it.

#include "support/ConfigurationFile.h"

#include <QList>
#include <QString>

struct TLoadNote {
    enum class Reason {
        UnknownEntry,      // the entry names no parameter
        NotAnEntry,        // a line without "="
        NotANumber,        // the value is no number
        Repeated,          // the file holds the parameter more than once: neither value is written
        OutOfRange,        // a value the parameter does not allow
        NotWritten,        // the unit did not take the write
        NotHeld,           // read back, the unit does not hold it as written
        Adjusted,          // changed afterwards to keep the actuator positions inside their limits
        FollowOnFailed,    // a write a rule made after another value failed
        StoredDifferently, // the unit holds another value than the file's (a step, a limit, a rule)
        LeftAlone,         // an ordinary load does not write it, and the unit holds another value
    };

    QString item;  // component name; empty when the entry names no parameter
    QString entry; // the entry as the file holds it (KEY=value), or the parameter's key
    QString held;  // StoredDifferently and LeftAlone: the unit's value with its unit
    Reason reason = Reason::UnknownEntry;
};

struct TLoadReport {
    TConfigFileStatus file = TConfigFileStatus::Ok; // why the file was refused unread
    bool noLoadableEntry = false;                   // refused: not one entry the load could write
    bool started = false;                           // the checks passed and the load began writing
    int written = 0;                                // values written into the unit from the file
    QList<TLoadNote> refused;                       // entries refused, unreadable or not held
    QList<TLoadNote> differences;                   // StoredDifferently and LeftAlone notes

    bool NeedsAttention() const { return !refused.isEmpty() || !differences.isEmpty(); }
};
