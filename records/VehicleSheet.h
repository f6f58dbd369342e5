#pragma once

// Vehicles from a spreadsheet saved as CSV: a header row naming the columns
// (the vehicle's fields: plate, vin, customer, ... in any order and case;
// others are ignored), then one vehicle a row.

#include "records/Vehicle.h"

#include <QByteArray>
#include <QList>

struct TSheetRow {
    int line = 0; // where the row begins in the file, from 1
    TVehicle vehicle;
    QString problem; // why the row cannot be a vehicle; empty when it can
};

namespace VehicleSheet {

// The rows of the sheet; false with *error when the file as a whole cannot be
// read (no header naming a plate column, quotes not closed).
bool Read(const QByteArray& text, QList<TSheetRow>& rows, QString* error);

} // namespace VehicleSheet
