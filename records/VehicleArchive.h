#pragma once

// A vehicle's whole record in one file, to carry it to another bench or
// workshop: its data and its timeline with every configuration file and data
// log, as JSON (the files in base64).

#include <QByteArray>
#include <QString>

class TRecordsDatabase;

namespace VehicleArchive {

// The record of the vehicle with the plate; false with *error when it cannot be read.
bool Export(TRecordsDatabase& database, const QString& plate, QByteArray& archive, QString* error);
// Records the vehicle and the timeline of an archive, all or nothing. A plate
// recorded already is refused unless merge: then the recorded data stays and
// the entries the vehicle lacks (the same time, bench, kind and summary) are
// added. *plate receives the archive's plate, *added the entries added.
bool Import(TRecordsDatabase& database, const QByteArray& archive, bool merge, QString* plate, int* added,
            QString* error);

} // namespace VehicleArchive
