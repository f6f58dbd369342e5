#pragma once

// TVehicleStore keeps the vehicles of the records: added, found by plate or by
// what a fitter types, and edited. An edit is saved only over the version it was
// read as: a vehicle changed meanwhile on another bench is not overwritten, the
// edit is refused ("changed on BENCH at TIME, reload"). Every edit is kept as an
// entry of the vehicle's timeline naming what changed.

#include "records/Vehicle.h"

#include <QList>
#include <QString>

class TRecordsDatabase;

class TVehicleStore {
public:
    // The most vehicles a search answers unless told.
    static constexpr int DefaultSearchLimit = 50;

    explicit TVehicleStore(TRecordsDatabase& database) : m_database(database) {}

    // Stores a new vehicle; its id, revision and signature are set. Refused
    // (false with Error()) for bad data or a plate recorded already.
    bool Add(TVehicle& vehicle);
    // The same inside a transaction the caller holds.
    bool Insert(TVehicle& vehicle);
    // Saves the vehicle's data over the version it was read as; on success the
    // copy becomes the stored version. Nothing changed is no edit.
    bool Edit(TVehicle& vehicle);
    // The vehicle with the plate (compared without blanks, dashes and case);
    // *found false when there is none.
    bool Find(const QString& plate, TVehicle& vehicle, bool* found);
    // The vehicles one of whose plate, VIN, customer, make or model, or a word of
    // it, begins with text (blanks and dashes left out, any case); every vehicle
    // for an empty text. By plate; at most limit (no limit when 0 or less):
    // with a limit, a text many vehicles match answers some of them.
    QList<TVehicle> Search(const QString& text, int limit, bool* ok);

    QString Error() const;

private:
    bool ReadVehicle(qint64 id, TVehicle& vehicle, bool* found);
    bool PlateTaken(const TVehicle& vehicle, bool* taken);
    bool PlateFree(const TVehicle& vehicle);
    TVehicle Stamped(const TVehicle& vehicle, int revision) const;
    bool WriteTerms(const TVehicle& vehicle);
    bool Refuse(const QString& problem);

    TRecordsDatabase& m_database;
};
