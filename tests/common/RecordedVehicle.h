#pragma once

// A vehicle added to the records for a test of the windows that show them. A
// refusal is printed, and the vehicle then comes back without its id.

#include "records/VehicleStore.h"

#include <QtGlobal>

inline TVehicle AddRecordedVehicle(TRecordsDatabase& records, const QString& plate, const QString& make = {},
                                   const QString& model = {}, const QString& customer = {},
                                   const QString& vin = {})
{
    TVehicle vehicle;
    vehicle.plate = plate;
    vehicle.make = make;
    vehicle.model = model;
    vehicle.customer = customer;
    vehicle.vin = vin;
    TVehicleStore store(records);
    if (!store.Add(vehicle))
        qWarning("%s", qPrintable(store.Error()));
    return vehicle;
}
