#pragma once

// The few words in which SQLite and PostgreSQL differ, for the one schema and the
// one set of statements the records use on both.

#include "records/DatabaseUrl.h"

#include <QString>

class TSqlDialect {
public:
    explicit TSqlDialect(TDatabaseUrl::Backend backend) : m_backend(backend) {}

    TDatabaseUrl::Backend Backend() const { return m_backend; }
    QString DriverName() const;
    // The statement that begins a transaction that will write: SQLite takes the
    // write lock at once, so two writers wait for each other instead of one of
    // them failing when it moves from reading to writing.
    QString BeginWrite() const;
    // A statement, run first in the migrating transaction, that keeps a second
    // program from migrating at the same time; empty when BeginWrite does it.
    QString MigrationLock() const;
    // The schema's text with its placeholders replaced: ${ID} an integer key
    // made by the database, ${BLOB} bytes, ${KEY} text compared byte by byte
    // (so a prefix is a range an index serves).
    QString Expand(QString sql) const;

private:
    TDatabaseUrl::Backend m_backend;
};
