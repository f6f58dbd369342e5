#include "records/SchemaMigrations.h"

namespace {

// Version 1: vehicles, the words they are found by, and their timelines. Times
// are ISO 8601 texts in UTC with milliseconds, so their order is the text's.
const QStringList FirstSchema = {
    QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"),
    QStringLiteral("INSERT INTO schema_version (version) VALUES (0)"),
    QStringLiteral("CREATE TABLE vehicles ("
                   " id ${ID},"
                   " plate_key ${KEY} NOT NULL UNIQUE,"
                   " plate TEXT NOT NULL,"
                   " vin TEXT NOT NULL DEFAULT '',"
                   " customer TEXT NOT NULL DEFAULT '',"
                   " phone TEXT NOT NULL DEFAULT '',"
                   " make TEXT NOT NULL DEFAULT '',"
                   " model TEXT NOT NULL DEFAULT '',"
                   " engine TEXT NOT NULL DEFAULT '',"
                   " year INTEGER,"
                   " kit TEXT NOT NULL DEFAULT '',"
                   " notes TEXT NOT NULL DEFAULT '',"
                   " revision INTEGER NOT NULL,"
                   " changed_on TEXT NOT NULL,"
                   " changed_at TEXT NOT NULL)"),
    QStringLiteral("CREATE TABLE vehicle_terms ("
                   " vehicle_id BIGINT NOT NULL REFERENCES vehicles(id) ON DELETE CASCADE,"
                   " term ${KEY} NOT NULL)"),
    QStringLiteral("CREATE INDEX vehicle_terms_term ON vehicle_terms (term, vehicle_id)"),
    QStringLiteral("CREATE INDEX vehicle_terms_vehicle ON vehicle_terms (vehicle_id)"),
    QStringLiteral("CREATE TABLE timeline ("
                   " id ${ID},"
                   " vehicle_id BIGINT NOT NULL REFERENCES vehicles(id) ON DELETE CASCADE,"
                   " at TEXT NOT NULL,"
                   " bench TEXT NOT NULL,"
                   " kind TEXT NOT NULL,"
                   " summary TEXT NOT NULL DEFAULT '',"
                   " identity TEXT NOT NULL DEFAULT '',"
                   " firmware TEXT NOT NULL DEFAULT '',"
                   " file_name TEXT NOT NULL DEFAULT '',"
                   " changes TEXT NOT NULL DEFAULT '',"
                   " payload ${BLOB},"
                   " compressed INTEGER NOT NULL DEFAULT 0)"),
    QStringLiteral("CREATE INDEX timeline_vehicle_at ON timeline (vehicle_id, at, id)"),
};

// Version 2: each word carries its vehicle's plate key, and the words' index
// holds it, so that a search picks the vehicles it answers (by plate) from the
// index alone and reads only those from the vehicles' table.
const QStringList PlateKeyInTerms = {
    QStringLiteral("ALTER TABLE vehicle_terms ADD COLUMN plate_key ${KEY} NOT NULL DEFAULT ''"),
    QStringLiteral("UPDATE vehicle_terms SET plate_key ="
                   " (SELECT v.plate_key FROM vehicles v WHERE v.id = vehicle_terms.vehicle_id)"),
    QStringLiteral("DROP INDEX vehicle_terms_term"),
    QStringLiteral("CREATE INDEX vehicle_terms_term ON vehicle_terms (term, plate_key, vehicle_id)"),
};

} // namespace

const QList<QStringList>& SchemaMigrations::Steps()
{
    static const QList<QStringList> steps = {FirstSchema, PlateKeyInTerms};
    return steps;
}

int SchemaMigrations::LatestVersion()
{
    return static_cast<int>(Steps().size());
}
