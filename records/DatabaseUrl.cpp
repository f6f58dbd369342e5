#include "records/DatabaseUrl.h"

#include <QDir>
#include <QStandardPaths>
#include <QUrl>

namespace {

const QString SqlitePrefix = QStringLiteral("sqlite:");
constexpr int DefaultPostgresPort = 5432;

bool ParsePostgres(const QString& text, TDatabaseUrl& url, QString* error)
{
    const QUrl parsed(text, QUrl::StrictMode);
    const QString database = parsed.path().mid(1);
    if (!parsed.isValid() || parsed.host().isEmpty() || database.isEmpty() || database.contains(u'/')) {
        *error = QStringLiteral("'%1' is no database URL: postgresql://user@host/database").arg(text);
        return false;
    }
    url.backend = TDatabaseUrl::Backend::Postgres;
    url.host = parsed.host();
    url.port = parsed.port(DefaultPostgresPort);
    url.user = parsed.userName();
    url.password = parsed.password();
    url.database = database;
    return true;
}

} // namespace

bool TDatabaseUrl::Parse(const QString& text, TDatabaseUrl& url, QString* error)
{
    url = TDatabaseUrl();
    if (text.startsWith(SqlitePrefix)) {
        url.path = text.mid(SqlitePrefix.size());
        if (url.path.isEmpty()) {
            *error = QStringLiteral("'%1' names no database file: sqlite:PATH").arg(text);
            return false;
        }
        return true;
    }
    if (text.startsWith(QLatin1String("postgresql://")) || text.startsWith(QLatin1String("postgres://")))
        return ParsePostgres(text, url, error);
    *error =
        QStringLiteral("'%1' is no database URL: sqlite:PATH or postgresql://user@host/database").arg(text);
    return false;
}

TDatabaseUrl TDatabaseUrl::Default()
{
    TDatabaseUrl url;
    url.path = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                   .filePath(QStringLiteral("TZR582/vehicles.sqlite"));
    return url;
}

QString TDatabaseUrl::Display() const
{
    if (backend == Backend::Sqlite)
        return SqlitePrefix + path;
    const QString who = user.isEmpty() ? QString() : user + u'@';
    return QStringLiteral("postgresql://%1%2:%3/%4").arg(who, host).arg(port).arg(database);
}
