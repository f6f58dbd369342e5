#pragma once

// TRecordsDatabase is one connection to the vehicle records: it opens the
// database a TDatabaseUrl names (an SQLite file is made at first use, in WAL mode
// with foreign keys on), refuses one made by a newer program without writing to
// it, and brings an older one to the newest schema in one transaction. The
// stores run their statements over it; each says what went wrong in Error().
//
// A connection belongs to the thread that opened it.

#include "records/DatabaseUrl.h"
#include "records/SqlDialect.h"

#include <QDateTime>
#include <QString>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

class TRecordsDatabase {
public:
    // bench: the name entries and edits are signed with (the host's name by default).
    explicit TRecordsDatabase(const TDatabaseUrl& url, const QString& bench = QString());
    ~TRecordsDatabase();
    TRecordsDatabase(const TRecordsDatabase&) = delete;
    TRecordsDatabase& operator=(const TRecordsDatabase&) = delete;

    // Connects, checks the schema and migrates; false with Error() when the
    // records cannot be used.
    bool Open();
    bool IsOpen() const;

    const TDatabaseUrl& Url() const { return m_url; }
    const TSqlDialect& Dialect() const { return m_dialect; }
    QString Bench() const { return m_bench; }
    QSqlDatabase Connection() const;
    // A query on this connection.
    QSqlQuery Query() const;

    // The time entries and edits are stamped with, and its stored text: ISO 8601
    // in UTC with milliseconds, whose order is the text's.
    static QDateTime Now();
    static QString TimeText(const QDateTime& time);
    static QDateTime TimeFromText(const QString& text);

    // Text to bind to a column that holds no null: a null text as an empty one.
    static QString Text(const QString& text) { return text.isNull() ? QStringLiteral("") : text; }

    QString Error() const { return m_error; }
    void SetError(const QString& error) { m_error = error; }
    // Notes what failed and why; false, for returning.
    bool Fail(const QString& what, const QSqlError& error);
    // Runs a prepared query; false, noting what failed, when it did.
    bool Run(QSqlQuery& query, const QString& what);
    // Runs one statement of text.
    bool Run(const QString& statement, const QString& what);

private:
    bool Connect();
    // The schema version; 0 for an empty database, -1 (with Error()) when unreadable.
    int ReadVersion();
    bool Migrate(int from);

    const TDatabaseUrl m_url;
    const TSqlDialect m_dialect;
    const QString m_bench;
    const QString m_name;
    QString m_error;
};
