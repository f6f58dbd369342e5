#pragma once

// Access to the simulated unit from tests that link the link library.

#include "link/OrvConnection.h"
#include "simunit/SimUnitControl.h"

#include <QDir>
#include <QStandardPaths>
#include <QStringList>

extern "C" SimUnitControl* _GetSimUnitControl();

// The simulated unit, back to factory state: factory memory, default identity,
// no faults, empty log, not connected.
inline SimUnitControl* FreshSimUnit()
{
    // The unit keeps its memory in a file: never the user's own.
    QStandardPaths::setTestModeEnabled(true);
    SimUnitControl* sim = _GetSimUnitControl();
    sim->setDataFolder(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                           .filePath("TZR582")
                           .toStdString());
    if (sim->isConnected())
        sim->dropLink();
    sim->resetSimulation();
    sim->resetToFactory();
    sim->clearLog();
    return sim;
}

// The operations logged since the last clear, one line each ("WriteAtAddress 0 163 181").
inline QStringList SimLog(const SimUnitControl* sim)
{
    QStringList lines;
    for (const std::string& line : sim->logLines())
        lines << QString::fromStdString(line);
    return lines;
}

// Loads the link library into the connection and connects the unit; false when
// either fails.
inline bool ConnectSimUnit(TOrvConnection& connection)
{
    return connection.LoadDll() && connection.Instance()->ConnectUnit() != 0;
}
