#include "records/RecordsDatabase.h"

#include "records/RecordsTransaction.h"
#include "records/SchemaMigrations.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QUuid>

namespace {

// How long a statement waits for another program's write to end, in ms.
constexpr int SqliteBusyTimeout = 15000;
constexpr int PostgresConnectTimeout = 10; // seconds

} // namespace

TRecordsDatabase::TRecordsDatabase(const TDatabaseUrl& url, const QString& bench)
    : m_url(url), m_dialect(url.backend), m_bench(bench.isEmpty() ? QSysInfo::machineHostName() : bench),
      m_name(QStringLiteral("tzr-records-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

TRecordsDatabase::~TRecordsDatabase()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase TRecordsDatabase::Connection() const
{
    return QSqlDatabase::database(m_name, false);
}

QSqlQuery TRecordsDatabase::Query() const
{
    return QSqlQuery(Connection());
}

bool TRecordsDatabase::IsOpen() const
{
    return Connection().isOpen();
}

QDateTime TRecordsDatabase::Now()
{
    return QDateTime::currentDateTimeUtc();
}

QString TRecordsDatabase::TimeText(const QDateTime& time)
{
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QDateTime TRecordsDatabase::TimeFromText(const QString& text)
{
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    time.setTimeSpec(Qt::UTC);
    return time;
}

bool TRecordsDatabase::Fail(const QString& what, const QSqlError& error)
{
    const QString why = error.text().trimmed();
    m_error = why.isEmpty() ? what : QStringLiteral("%1: %2").arg(what, why);
    return false;
}

bool TRecordsDatabase::Run(QSqlQuery& query, const QString& what)
{
    return query.exec() || Fail(what, query.lastError());
}

bool TRecordsDatabase::Run(const QString& statement, const QString& what)
{
    QSqlQuery query = Query();
    return query.exec(statement) || Fail(what, query.lastError());
}

bool TRecordsDatabase::Open()
{
    if (!Connect())
        return false;
    const QString where = m_url.Display();
    const int version = ReadVersion();
    if (version < 0)
        return false;
    if (version > SchemaMigrations::LatestVersion()) {
        m_error = QStringLiteral("the vehicle records in %1 were made by a newer version of the program "
                                 "(schema %2, this one knows up to %3); nothing was changed")
                      .arg(where)
                      .arg(version)
                      .arg(SchemaMigrations::LatestVersion());
        Connection().close();
        return false;
    }
    if (m_url.backend == TDatabaseUrl::Backend::Sqlite &&
        !Run(QStringLiteral("PRAGMA journal_mode = WAL"), QStringLiteral("cannot open %1").arg(where)))
        return false;
    return version == SchemaMigrations::LatestVersion() || Migrate(version);
}

bool TRecordsDatabase::Connect()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(m_dialect.DriverName(), m_name);
    const QString where = m_url.Display();
    if (!db.isValid()) {
        m_error = QStringLiteral("cannot open %1: the database driver %2 is missing")
                      .arg(where, m_dialect.DriverName());
        return false;
    }
    if (m_url.backend == TDatabaseUrl::Backend::Sqlite) {
        const QFileInfo file(m_url.path);
        if (!QDir().mkpath(file.absolutePath())) {
            m_error = QStringLiteral("cannot open %1: the folder %2 cannot be made")
                          .arg(where, QDir::toNativeSeparators(file.absolutePath()));
            return false;
        }
        db.setDatabaseName(m_url.path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(SqliteBusyTimeout));
    } else {
        db.setHostName(m_url.host);
        db.setPort(m_url.port);
        db.setUserName(m_url.user);
        db.setPassword(m_url.password);
        db.setDatabaseName(m_url.database);
        db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(PostgresConnectTimeout));
    }
    if (!db.open())
        return Fail(QStringLiteral("cannot open %1").arg(where), db.lastError());
    return m_url.backend == TDatabaseUrl::Backend::Postgres ||
           Run(QStringLiteral("PRAGMA foreign_keys = ON"), QStringLiteral("cannot open %1").arg(where));
}

int TRecordsDatabase::ReadVersion()
{
    const QString what = QStringLiteral("cannot read %1").arg(m_url.Display());
    // SQLite reads the file's header only when asked about it: a file that is
    // no database is told here.
    const bool sqlite = m_url.backend == TDatabaseUrl::Backend::Sqlite;
    QSqlQuery probe = Query();
    if (!probe.exec(sqlite ? QStringLiteral("PRAGMA schema_version") : QStringLiteral("SELECT 1"))) {
        Fail(what, probe.lastError());
        return -1;
    }
    probe.finish();
    if (!Connection().tables().contains(QStringLiteral("schema_version")))
        return 0;
    QSqlQuery query = Query();
    if (!query.exec(QStringLiteral("SELECT version FROM schema_version")) || !query.next()) {
        Fail(what, query.lastError());
        return -1;
    }
    return query.value(0).toInt();
}

bool TRecordsDatabase::Migrate(int from)
{
    const QString what = QStringLiteral("cannot bring %1 to the program's schema").arg(m_url.Display());
    TRecordsTransaction transaction(*this);
    if (!transaction.Began())
        return false;
    if (!m_dialect.MigrationLock().isEmpty() && !Run(m_dialect.MigrationLock(), what))
        return false;
    // Another program may have migrated meanwhile.
    const int version =
        Connection().tables().contains(QStringLiteral("schema_version")) ? ReadVersion() : from;
    if (version < 0)
        return false;
    const QList<QStringList>& steps = SchemaMigrations::Steps();
    for (int step = version; step < steps.size(); ++step) {
        for (const QString& statement : steps.at(step)) {
            if (!Run(m_dialect.Expand(statement), what))
                return false;
        }
        QSqlQuery done = Query();
        done.prepare(QStringLiteral("UPDATE schema_version SET version = :version"));
        done.bindValue(QStringLiteral(":version"), step + 1);
        if (!Run(done, what))
            return false;
    }
    return transaction.Commit();
}
