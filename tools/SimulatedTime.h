#pragma once

// Time the tools move themselves: a clock for the chart and the log, and the
// simulated unit beside the program, whose engine clock can be pinned, so that
// minutes of live values are made without waiting.

#include "datalog/LogClock.h"
#include "simunit/SimUnitControl.h"

#include <QCoreApplication>
#include <QLibrary>

class SteppedClock : public TLogClock {
public:
    qint64 MonotonicMs() const override { return ms; }
    QDateTime Now() const override { return start.addMSecs(ms); }
    QDateTime start = QDateTime::currentDateTime();
    qint64 ms = 0;
};

// The control of the simulated unit in the link library beside the program
// (loaded by library), or null when that library is not the simulated unit.
inline SimUnitControl* SimulatedUnitBesideProgram(QLibrary& library)
{
    library.setFileName(QCoreApplication::applicationDirPath() + QStringLiteral("/libSerOrvDL.so"));
    const auto control =
        reinterpret_cast<TGetSimUnitControl>(library.resolve(SimUnitControlExport::GetSimUnitControl));
    return control ? control() : nullptr;
}
