#pragma once

// A throw-away PostgreSQL server for tests: a cluster made with initdb in a
// temporary folder, started on a free local port, stopped and removed at the
// end. The server refuses to run as root, so as root the cluster belongs to the
// "postgres" user the distribution's package makes. Start() says why when the
// server cannot be had (no server installed, no such user); a test then skips
// with that text, never silently.

#include <QDir>
#include <QProcess>
#include <QStringList>
#include <QTcpServer>
#include <QTemporaryDir>

#include <algorithm>

#include <pwd.h>
#include <unistd.h>

class TPostgresServer {
public:
    TPostgresServer() = default;
    TPostgresServer(const TPostgresServer&) = delete;
    TPostgresServer& operator=(const TPostgresServer&) = delete;
    ~TPostgresServer() { Stop(); }

    // Makes and starts the cluster; false with why in Problem().
    bool Start()
    {
        m_bin = ServerFolder();
        if (m_bin.isEmpty())
            return Refuse(
                "no PostgreSQL server is installed (initdb not found; scripts/install-deps installs it)");
        if (!m_folder.isValid())
            return Refuse("no temporary folder for the cluster");
        if (geteuid() == 0) {
            const passwd* user = getpwnam("postgres");
            if (!user)
                return Refuse("running as root, and there is no 'postgres' user to run the server as");
            if (chown(QFile::encodeName(m_folder.path()).constData(), user->pw_uid, user->pw_gid) != 0)
                return Refuse("cannot give the cluster's folder to the 'postgres' user");
            m_asPostgres = true;
        }
        m_port = FreePort();
        QString output;
        if (!RunServerTool(
                "initdb",
                {"-D", DataFolder(), "-A", "trust", "-U", User(), "-E", "UTF8", "--locale=C", "--no-sync"},
                &output))
            return Refuse("initdb failed: " + output);
        const QString options = QString("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off")
                                    .arg(m_port)
                                    .arg(m_folder.path());
        if (!RunServerTool("pg_ctl",
                           {"-D", DataFolder(), "-l", m_folder.filePath("server.log"), "-o", options, "-w",
                            "-t", "60", "start"},
                           &output))
            return Refuse("the server did not start: " + output + ServerLog());
        m_running = true;
        return true;
    }

    // Stops the server at once, as a server that goes away.
    void Stop()
    {
        if (!m_running)
            return;
        m_running = false;
        QString output;
        RunServerTool("pg_ctl", {"-D", DataFolder(), "-m", "immediate", "-w", "stop"}, &output);
    }

    QString Problem() const { return m_problem; }
    bool IsRunning() const { return m_running; }

    // Makes an empty database; its URL, empty (with Problem()) when it could not be made.
    QString NewDatabase(const QString& name)
    {
        QProcess create;
        create.start(m_bin + "/createdb",
                     {"-h", "127.0.0.1", "-p", QString::number(m_port), "-U", User(), name});
        if (!create.waitForFinished(60000) || create.exitCode() != 0) {
            m_problem = "createdb failed: " + QString::fromLocal8Bit(create.readAllStandardError());
            return QString();
        }
        return Url(name);
    }

    QString Url(const QString& database) const
    {
        return QString("postgresql://%1@127.0.0.1:%2/%3").arg(User()).arg(m_port).arg(database);
    }

private:
    static QString User() { return QStringLiteral("tzr"); }

    // The folder of the newest installed server's programs.
    static QString ServerFolder()
    {
        QStringList versions = QDir("/usr/lib/postgresql").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(versions.begin(), versions.end(),
                  [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
        for (const QString& version : versions) {
            const QString bin = "/usr/lib/postgresql/" + version + "/bin";
            if (QFile::exists(bin + "/initdb") && QFile::exists(bin + "/pg_ctl"))
                return bin;
        }
        return QString();
    }

    static int FreePort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }

    QString DataFolder() const { return m_folder.filePath("data"); }

    QString ServerLog() const
    {
        QFile log(m_folder.filePath("server.log"));
        return log.open(QIODevice::ReadOnly) ? "\n" + QString::fromLocal8Bit(log.readAll()) : QString();
    }

    bool RunServerTool(const QString& tool, const QStringList& arguments, QString* output) const
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setWorkingDirectory(m_folder.path());
        if (m_asPostgres)
            process.start("runuser", QStringList{"-u", "postgres", "--", m_bin + "/" + tool} + arguments);
        else
            process.start(m_bin + "/" + tool, arguments);
        const bool finished = process.waitForFinished(120000);
        *output = QString::fromLocal8Bit(process.readAll());
        return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    bool Refuse(const QString& problem)
    {
        m_problem = problem;
        return false;
    }

    QTemporaryDir m_folder;
    QString m_bin;
    QString m_problem;
    int m_port = 0;
    bool m_asPostgres = false;
    bool m_running = false;
};
