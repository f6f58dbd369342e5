#include "records/VehicleStore.h"

#include "records/RecordsDatabase.h"
#include "records/RecordsTransaction.h"
#include "records/VehicleTimeline.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

// The most words of one vehicle a search can match by (its five searched
// fields, whole and by word, are rarely more).
constexpr int TermsPerVehicle = 8;

const QString VehicleColumns =
    QStringLiteral("v.id, v.plate, v.vin, v.customer, v.phone, v.make, v.model, v.engine, v.year, v.kit,"
                   " v.notes, v.revision, v.changed_on, v.changed_at,"
                   " (SELECT MAX(t.at) FROM timeline t WHERE t.vehicle_id = v.id)");

TVehicle VehicleFromQuery(const QSqlQuery& query)
{
    TVehicle vehicle;
    vehicle.id = query.value(0).toLongLong();
    vehicle.plate = query.value(1).toString();
    vehicle.vin = query.value(2).toString();
    vehicle.customer = query.value(3).toString();
    vehicle.phone = query.value(4).toString();
    vehicle.make = query.value(5).toString();
    vehicle.model = query.value(6).toString();
    vehicle.engine = query.value(7).toString();
    vehicle.year = query.value(8).toInt();
    vehicle.kit = query.value(9).toString();
    vehicle.notes = query.value(10).toString();
    vehicle.revision = query.value(11).toInt();
    vehicle.changedOn = query.value(12).toString();
    vehicle.changedAt = TRecordsDatabase::TimeFromText(query.value(13).toString());
    const QString lastVisit = query.value(14).toString();
    if (!lastVisit.isEmpty())
        vehicle.lastVisit = TRecordsDatabase::TimeFromText(lastVisit);
    return vehicle;
}

void BindData(QSqlQuery& query, const TVehicle& vehicle)
{
    query.bindValue(QStringLiteral(":plate_key"), RecordKey(vehicle.plate));
    for (const QString& name : VehicleFields::Names()) {
        if (name != QLatin1String("year"))
            query.bindValue(u':' + name, TRecordsDatabase::Text(VehicleFields::Value(vehicle, name)));
    }
    query.bindValue(QStringLiteral(":year"),
                    vehicle.year > 0 ? QVariant(vehicle.year) : QVariant(QMetaType::fromType<int>()));
    query.bindValue(QStringLiteral(":changed_on"), TRecordsDatabase::Text(vehicle.changedOn));
    query.bindValue(QStringLiteral(":changed_at"), TRecordsDatabase::TimeText(vehicle.changedAt));
}

// One line per field that differs: the field, its old and its new value.
QString ChangedFields(const TVehicle& before, const TVehicle& after)
{
    QStringList lines;
    for (const QString& name : VehicleFields::Names()) {
        const QString old = VehicleFields::Value(before, name);
        const QString now = VehicleFields::Value(after, name);
        if (old != now)
            lines << QStringLiteral("%1\t%2\t%3").arg(name, old, now);
    }
    return lines.join(u'\n');
}

// The first text after every text that begins with prefix, in the order of
// code points (and so of UTF-8 bytes).
QString PrefixEnd(QString prefix)
{
    const qsizetype last = prefix.size() - 1;
    prefix[last] = QChar(static_cast<char16_t>(prefix.at(last).unicode() + 1));
    return prefix;
}

} // namespace

QString TVehicleStore::Error() const
{
    return m_database.Error();
}

bool TVehicleStore::Refuse(const QString& problem)
{
    m_database.SetError(problem);
    return false;
}

bool TVehicleStore::Add(TVehicle& vehicle)
{
    TRecordsTransaction transaction(m_database);
    return transaction.Began() && Insert(vehicle) && transaction.Commit();
}

bool TVehicleStore::Insert(TVehicle& vehicle)
{
    const QString problem = VehicleProblem(vehicle);
    if (!problem.isEmpty())
        return Refuse(problem);
    vehicle.id = 0;
    if (!PlateFree(vehicle))
        return false;
    TVehicle stored = Stamped(vehicle, 1);
    QSqlQuery query = m_database.Query();
    query.prepare(QStringLiteral(
        "INSERT INTO vehicles (plate_key, plate, vin, customer, phone, make, model, engine, year, kit, notes,"
        " revision, changed_on, changed_at) VALUES (:plate_key, :plate, :vin, :customer, :phone, :make, "
        ":model,"
        " :engine, :year, :kit, :notes, 1, :changed_on, :changed_at) RETURNING id"));
    BindData(query, stored);
    if (!m_database.Run(query, QStringLiteral("cannot record the vehicle %1").arg(vehicle.plate)))
        return false;
    query.next();
    stored.id = query.value(0).toLongLong();
    query.finish();
    if (!WriteTerms(stored))
        return false;
    vehicle = stored;
    return true;
}

// False (with Error()) when the plate cannot be looked up or another vehicle has it.
bool TVehicleStore::PlateFree(const TVehicle& vehicle)
{
    bool taken = false;
    if (!PlateTaken(vehicle, &taken))
        return false;
    return !taken ||
           Refuse(QStringLiteral("a vehicle with the plate %1 is recorded already").arg(vehicle.plate));
}

// The vehicle as this bench stores it now, at the given revision.
TVehicle TVehicleStore::Stamped(const TVehicle& vehicle, int revision) const
{
    TVehicle stamped = vehicle;
    stamped.revision = revision;
    stamped.changedOn = m_database.Bench();
    stamped.changedAt = TRecordsDatabase::Now();
    return stamped;
}

bool TVehicleStore::Edit(TVehicle& vehicle)
{
    const QString problem = VehicleProblem(vehicle);
    if (!problem.isEmpty())
        return Refuse(problem);
    TRecordsTransaction transaction(m_database);
    TVehicle stored;
    bool found = false;
    if (!transaction.Began() || !ReadVehicle(vehicle.id, stored, &found))
        return false;
    if (!found)
        return Refuse(QStringLiteral("the vehicle %1 is no longer recorded").arg(vehicle.plate));
    const QString changedOn = QStringLiteral("the vehicle %1 was changed on %2 at %3, reload it");
    if (stored.revision != vehicle.revision)
        return Refuse(changedOn.arg(stored.plate, stored.changedOn,
                                    stored.changedAt.toLocalTime().toString(Qt::ISODate)));
    const QString changes = ChangedFields(stored, vehicle);
    if (changes.isEmpty())
        return true;
    if (!PlateFree(vehicle))
        return false;
    const TVehicle edited = Stamped(vehicle, stored.revision + 1);
    QSqlQuery query = m_database.Query();
    query.prepare(QStringLiteral(
        "UPDATE vehicles SET plate_key = :plate_key, plate = :plate, vin = :vin, customer = :customer,"
        " phone = :phone, make = :make, model = :model, engine = :engine, year = :year, kit = :kit,"
        " notes = :notes, revision = revision + 1, changed_on = :changed_on, changed_at = :changed_at"
        " WHERE id = :id AND revision = :revision"));
    BindData(query, edited);
    query.bindValue(QStringLiteral(":id"), vehicle.id);
    query.bindValue(QStringLiteral(":revision"), stored.revision);
    if (!m_database.Run(query, QStringLiteral("cannot record the vehicle %1").arg(vehicle.plate)))
        return false;
    // Another bench saved between the read and the update (a server lets the
    // update wait for it, then finds the revision moved on).
    if (query.numRowsAffected() != 1) {
        ReadVehicle(vehicle.id, stored, &found);
        return Refuse(changedOn.arg(stored.plate, stored.changedOn,
                                    stored.changedAt.toLocalTime().toString(Qt::ISODate)));
    }
    TTimelineEntry entry;
    entry.vehicleId = edited.id;
    entry.kind = TTimelineKind::Edit;
    entry.at = edited.changedAt;
    entry.summary = QStringLiteral("vehicle data changed");
    entry.changes = changes;
    if (!WriteTerms(edited) || !TVehicleTimeline(m_database).Insert(entry) || !transaction.Commit())
        return false;
    vehicle = edited;
    return true;
}

bool TVehicleStore::Find(const QString& plate, TVehicle& vehicle, bool* found)
{
    QSqlQuery query = m_database.Query();
    query.prepare(QStringLiteral("SELECT %1 FROM vehicles v WHERE v.plate_key = :key").arg(VehicleColumns));
    query.bindValue(QStringLiteral(":key"), RecordKey(plate));
    if (!m_database.Run(query, QStringLiteral("cannot read %1").arg(m_database.Url().Display())))
        return false;
    *found = query.next();
    if (*found)
        vehicle = VehicleFromQuery(query);
    return true;
}

QList<TVehicle> TVehicleStore::Search(const QString& text, int limit, bool* ok)
{
    const QString key = RecordKey(text);
    QString sql;
    if (key.isEmpty()) {
        sql = QStringLiteral("SELECT %1 FROM vehicles v").arg(VehicleColumns);
    } else {
        // The matching words straight from their index, as many as the answer
        // can use (a vehicle matches by a few words at most), with the plate
        // keys the index holds beside them; the vehicles the answer names
        // chosen from those alone; then only they are read (CROSS JOIN keeps
        // that order in SQLite). A short text typed over many vehicles reads
        // no more vehicles than over a few.
        const QString enough =
            limit > 0 ? QStringLiteral(" ORDER BY term LIMIT %1").arg(limit * TermsPerVehicle) : QString();
        const QString answered =
            limit > 0 ? QStringLiteral(" ORDER BY plate_key LIMIT %1").arg(limit) : QString();
        sql = QStringLiteral(
                  "SELECT %1 FROM (SELECT DISTINCT vehicle_id, plate_key FROM (SELECT vehicle_id,"
                  " plate_key FROM vehicle_terms WHERE term >= :from AND term < :to%2) words%3) found"
                  " CROSS JOIN vehicles v WHERE v.id = found.vehicle_id")
                  .arg(VehicleColumns, enough, answered);
    }
    sql += QStringLiteral(" ORDER BY v.plate_key");
    if (limit > 0)
        sql += QStringLiteral(" LIMIT %1").arg(limit);
    QSqlQuery query = m_database.Query();
    query.setForwardOnly(true);
    query.prepare(sql);
    if (!key.isEmpty()) {
        query.bindValue(QStringLiteral(":from"), key);
        query.bindValue(QStringLiteral(":to"), PrefixEnd(key));
    }
    QList<TVehicle> vehicles;
    *ok = m_database.Run(query, QStringLiteral("cannot read %1").arg(m_database.Url().Display()));
    while (*ok && query.next())
        vehicles << VehicleFromQuery(query);
    return vehicles;
}

bool TVehicleStore::ReadVehicle(qint64 id, TVehicle& vehicle, bool* found)
{
    QSqlQuery query = m_database.Query();
    query.prepare(QStringLiteral("SELECT %1 FROM vehicles v WHERE v.id = :id").arg(VehicleColumns));
    query.bindValue(QStringLiteral(":id"), id);
    if (!m_database.Run(query, QStringLiteral("cannot read %1").arg(m_database.Url().Display())))
        return false;
    *found = query.next();
    if (*found)
        vehicle = VehicleFromQuery(query);
    return true;
}

bool TVehicleStore::PlateTaken(const TVehicle& vehicle, bool* taken)
{
    QSqlQuery query = m_database.Query();
    query.prepare(QStringLiteral("SELECT id FROM vehicles WHERE plate_key = :key AND id <> :id"));
    query.bindValue(QStringLiteral(":key"), RecordKey(vehicle.plate));
    query.bindValue(QStringLiteral(":id"), vehicle.id);
    if (!m_database.Run(query, QStringLiteral("cannot read %1").arg(m_database.Url().Display())))
        return false;
    *taken = query.next();
    return true;
}

bool TVehicleStore::WriteTerms(const TVehicle& vehicle)
{
    const QString what = QStringLiteral("cannot record the vehicle %1").arg(vehicle.plate);
    QSqlQuery clear = m_database.Query();
    clear.prepare(QStringLiteral("DELETE FROM vehicle_terms WHERE vehicle_id = :id"));
    clear.bindValue(QStringLiteral(":id"), vehicle.id);
    if (!m_database.Run(clear, what))
        return false;
    QSqlQuery insert = m_database.Query();
    insert.prepare(QStringLiteral(
        "INSERT INTO vehicle_terms (vehicle_id, plate_key, term) VALUES (:id, :plate_key, :term)"));
    for (const QString& term : SearchTerms(vehicle)) {
        insert.bindValue(QStringLiteral(":id"), vehicle.id);
        insert.bindValue(QStringLiteral(":plate_key"), RecordKey(vehicle.plate));
        insert.bindValue(QStringLiteral(":term"), term);
        if (!m_database.Run(insert, what))
            return false;
    }
    return true;
}
