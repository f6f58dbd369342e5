#pragma once

// The vehicles of the records in the order a fitter is asked for the one on the
// bench: those whose newest configuration on record (a backup too) is closest
// to the connected unit's first, as the backups are sorted, then those that
// could not be compared (no configuration, or a unit that did not give every
// value), the most recently seen first.

#include "records/Vehicle.h"

#include <QList>
#include <QString>

class TRecordsDatabase;
class TSerialDataModule;

struct TVehicleCandidate {
    TVehicle vehicle;
    int differences = -1; // values that differ from the unit; -1 when not compared
};

namespace VehicleCloseness {

// The most vehicles compared: those seen most recently.
constexpr int MostCompared = 200;

// The candidates; false with *error when the records could not be read.
bool Candidates(TSerialDataModule& module, TRecordsDatabase& database, QList<TVehicleCandidate>& candidates,
                QString* error);

} // namespace VehicleCloseness
