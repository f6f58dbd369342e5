#pragma once

// A vehicle of the workshop's records, its checks, and its fields by the names
// the command line and a spreadsheet's header use.

#include <QDateTime>
#include <QString>
#include <QStringList>

struct TVehicle {
    qint64 id = 0; // 0 until stored
    QString plate;
    QString vin;
    QString customer;
    QString phone;
    QString make;
    QString model;
    QString engine;
    int year = 0; // 0 when not known
    QString kit;
    QString notes;
    // The stored version this copy was read as, and who made it when: an edit
    // saved over a newer version is refused.
    int revision = 0;
    QString changedOn;
    QDateTime changedAt;
    // The time of the newest timeline entry; null when none.
    QDateTime lastVisit;
};

namespace VehicleFields {

// plate, vin, customer, phone, make, model, engine, year, kit, notes.
const QStringList& Names();
QString Value(const TVehicle& vehicle, const QString& name);
// Sets the field name from text; false, with why in *error, for an unknown
// field or a year that is no year.
bool SetValue(TVehicle& vehicle, const QString& name, const QString& value, QString* error);

} // namespace VehicleFields

// The form text is compared and searched in: case folded, without blanks and
// dashes ("AB-123 cd" and "ab123CD" are the same plate).
QString RecordKey(const QString& text);
// What is wrong with the vehicle's data (no plate, a VIN that is not one, a year
// that is not one), empty when nothing. A VIN is optional: 17 letters and
// digits, without I, O and Q.
QString VehicleProblem(const TVehicle& vehicle);
// The words a vehicle is found by: each searched field whole and each word of it.
QStringList SearchTerms(const TVehicle& vehicle);
