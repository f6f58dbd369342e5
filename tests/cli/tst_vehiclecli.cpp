// The vehicle commands of tzr582-cli end to end, and unit commands recorded on a
// vehicle with --vehicle: against the simulated unit, on the default SQLite
// records and on a throw-away PostgreSQL server named by --database.

#include "tests/common/PostgresServer.h"
#include "tests/common/ToolRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Tool = QStringLiteral(TZR_CLI);

using Run = TToolRun;

// The timeline lines of 'vehicle show' (after its empty line), kinds only.
QStringList TimelineKinds(const QString& shown)
{
    QStringList kinds;
    const QStringList lines = shown.section("\n\n", 1).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        if (!line.startsWith('\t'))
            kinds << line.section('\t', 2, 2);
    }
    return kinds;
}

} // namespace

class TestVehicleCli : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    QProcessEnvironment m_environment;
    TPostgresServer m_server;
    bool m_serverUp = false;
    int m_made = 0;

    Run Start(const QStringList& args) const { return TToolRun::Of(Tool, args, m_environment); }
    QString FilePath(const QString& name) const { return m_folder->filePath(name); }
    void WriteFile(const QString& name, const QByteArray& content) const
    {
        QFile file(FilePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

private slots:
    void initTestCase()
    {
        m_serverUp = m_server.Start();
        if (!m_serverUp)
            qWarning("the PostgreSQL cases are skipped: %s", qPrintable(m_server.Problem()));
    }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert("XDG_DATA_HOME", FilePath("share"));
        m_environment.insert("XDG_CONFIG_HOME", FilePath("config"));
    }

    void cleanup() { m_folder.reset(); }

    void vehiclesAreAddedEditedListedAndShown_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::newRow("sqlite") << "sqlite";
        QTest::newRow("postgresql") << "postgresql";
    }
    void vehiclesAreAddedEditedListedAndShown()
    {
        QFETCH(QString, backend);
        QStringList database; // the default records, or the server's
        if (backend == "postgresql") {
            if (!m_serverUp)
                QSKIP(qPrintable("PostgreSQL server not available: " + m_server.Problem()));
            const QString url = m_server.NewDatabase(QString("cli%1").arg(++m_made));
            QVERIFY2(!url.isEmpty(), qPrintable(m_server.Problem()));
            database = QStringList{"--database", url};
        }
        Run run = Start(database + QStringList{"vehicle", "add", "--plate", "AB-123 CD", "--customer",
                                               "Mario Rossi", "--make", "Fiat", "--model", "Punto", "--vin",
                                               "zfa19900001234567", "--year", "2011"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(Start(QStringList{"vehicle", "add", "--plate", "XY987ZW", "--customer", "Anna Bianchi"} +
                       database)
                     .exitCode,
                 0);
        if (backend == "sqlite")
            QVERIFY(QFile::exists(FilePath("share/TZR582/vehicles.sqlite")));

        const QList<QPair<QStringList, QString>> refused = {
            {{"vehicle", "add", "--plate", "ab 123-cd"}, "recorded already"},
            {{"vehicle", "add", "--plate", "NEW1", "--vin", "ZFA199"}, "VIN"},
            {{"vehicle", "add", "--customer", "Nobody"}, "--plate"},
            {{"vehicle", "add", "--plate", "NEW2", "--year", "soon"}, "year"},
            {{"vehicle", "edit", "NOPE", "--phone", "1"}, "no vehicle with the plate NOPE"},
            {{"vehicle", "edit", "XY987ZW", "--plate", "AB123CD"}, "recorded already"},
        };
        for (const auto& [words, told] : refused) {
            run = Start(database + words);
            QCOMPARE(run.exitCode, 1);
            QVERIFY2(run.err.contains(told), qPrintable(run.err));
        }
        QCOMPARE(Start(database + QStringList{"vehicle", "show"}).exitCode, 2);

        run = Start(database + QStringList{"vehicle", "list"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QString("AB-123 CD\tZFA19900001234567\tMario Rossi\tFiat\tPunto\t\n"
                                  "XY987ZW\t\tAnna Bianchi\t\t\t\n"));
        run = Start(database + QStringList{"vehicle", "list", "--search", "ross"});
        QCOMPARE(run.out.section('\t', 0, 0), QString("AB-123 CD"));
        QCOMPARE(run.out.count('\n'), 1);

        QCOMPARE(
            Start(database + QStringList{"vehicle", "edit", "ab123cd", "--phone", "555 1234", "--kit", "K2"})
                .exitCode,
            0);
        QCOMPARE(Start(database + QStringList{"vehicle", "note", "AB123CD", "filter changed"}).exitCode, 0);
        run = Start(database + QStringList{"vehicle", "show", "AB123CD"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(
            run.out.startsWith("plate\tAB-123 CD\nvin\tZFA19900001234567\ncustomer\tMario Rossi\n"
                               "phone\t555 1234\nmake\tFiat\nmodel\tPunto\nengine\t\nyear\t2011\nkit\tK2\n"),
            qPrintable(run.out));
        QCOMPARE(TimelineKinds(run.out), QStringList({"note", "edit"}));
        QVERIFY2(run.out.contains("\tfilter changed\n") && run.out.contains("\n\tphone\t\t555 1234\n") &&
                     run.out.contains("\n\tkit\t\tK2\n"),
                 qPrintable(run.out));
        // The last visit is the newest entry's time.
        run = Start(database + QStringList{"vehicle", "list", "--search", "ab"});
        QVERIFY(!run.out.trimmed().section('\t', 5, 5).isEmpty());
    }

    void unitCommandsAreRecordedOnTheVehicle()
    {
        QCOMPARE(Start({"vehicle", "add", "--plate", "AB123CD"}).exitCode, 0);
        Run run = Start({"unit", "save", FilePath("first.tcn"), "--vehicle", "ab-123-cd"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(Start({"unit", "set", "GiriCutOff", "2500"}).exitCode, 0);
        QCOMPARE(Start({"unit", "save", FilePath("second.tcn"), "--vehicle", "AB123CD"}).exitCode, 0);
        run = Start({"unit", "load", FilePath("first.tcn"), "--vehicle", "AB123CD"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        run = Start(
            {"unit", "live", "--output", FilePath("road.csv"), "--duration", "0.5", "--vehicle", "AB123CD"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(Start({"unit", "erase", "--yes", "--vehicle", "AB123CD"}).exitCode, 0);
        // Not done, so not recorded.
        QCOMPARE(Start({"unit", "load", FilePath("missing.tcn"), "--vehicle", "AB123CD"}).exitCode, 1);

        run = Start({"vehicle", "show", "AB123CD"});
        QCOMPARE(run.exitCode, 0);
        // Each operation once, the backups it made below it (a connect's backup
        // only when the unit's configuration is new to the backups).
        QStringList operations = TimelineKinds(run.out);
        operations.removeAll("backup");
        QCOMPARE(operations, QStringList({"erase", "log", "load", "save", "save"}));
        QVERIFY2(run.out.contains("\terase\tunit erase\n") &&
                     run.out.section("\terase\tunit erase\n", 1)
                         .contains(QRegularExpression("^[^\n]*\tbackup\tbefore-erase\n")),
                 qPrintable(run.out));
        QCOMPARE(run.out.count("\tbackup\tbefore-load\n"), 1);
        // The second save names what changed against the first configuration,
        // the load what it put back.
        QVERIFY2(run.out.contains("\tsave second.tcn\n\tGIRI CUTOFF\t1500 RPM\t2500 RPM\n"),
                 qPrintable(run.out));
        QVERIFY2(run.out.contains("\tload first.tcn\n\tGIRI CUTOFF\t2500 RPM\t1500 RPM\n"),
                 qPrintable(run.out));
        QVERIFY2(run.out.contains("\tbackup\tbefore-erase\n"), qPrintable(run.out));
    }

    void anOperationCompletesWhenItCannotBeRecorded()
    {
        WriteFile("broken.sqlite", QByteArray(4096, 'x'));
        Run run = Start({"unit", "save", FilePath("saved.tcn"), "--vehicle", "AB123CD", "--database",
                         "sqlite:" + FilePath("broken.sqlite")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(QFile::exists(FilePath("saved.tcn")));
        QVERIFY2(run.err.contains("not recorded on the vehicle AB123CD: cannot"), qPrintable(run.err));

        run = Start({"unit", "save", FilePath("other.tcn"), "--vehicle", "AB123CD", "--database",
                     "postgresql://tzr@127.0.0.1:1/records"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains("not recorded on the vehicle AB123CD"), qPrintable(run.err));

        // The program's setting names the records when --database does not.
        QSettings settings(FilePath("config/orv srl/TZR582.conf"), QSettings::IniFormat);
        settings.setValue("VehicleDatabase", "sqlite:" + FilePath("set/records.sqlite"));
        settings.sync();
        QCOMPARE(Start({"vehicle", "add", "--plate", "AB123CD"}).exitCode, 0);
        QVERIFY(QFile::exists(FilePath("set/records.sqlite")));
        QVERIFY(!QFile::exists(FilePath("share/TZR582/vehicles.sqlite")));
        run = Start({"unit", "save", FilePath("other.tcn"), "--vehicle", "AB123CD"});
        QVERIFY2(run.exitCode == 0 && !run.err.contains("not recorded"), qPrintable(run.err));

        // A plate the records do not know is a mistake: nothing is done.
        run = Start({"unit", "save", FilePath("unknown.tcn"), "--vehicle", "ZZ000ZZ"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("no vehicle with the plate ZZ000ZZ"), qPrintable(run.err));
        QVERIFY(!QFile::exists(FilePath("unknown.tcn")));
    }

    void recordsTravelBetweenWorkshops()
    {
        QCOMPARE(Start({"vehicle", "add", "--plate", "AB123CD", "--customer", "Mario Rossi"}).exitCode, 0);
        QCOMPARE(Start({"unit", "save", FilePath("made.tcn")}).exitCode, 0);
        Run run = Start({"vehicle", "attach", "AB123CD", FilePath("made.tcn")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(Start({"unit", "live", "--output", FilePath("road.csv"), "--duration", "0.3"}).exitCode, 0);
        QCOMPARE(Start({"vehicle", "attach", "AB123CD", FilePath("road.csv")}).exitCode, 0);
        WriteFile("notes.txt", "neither");
        run = Start({"vehicle", "attach", "AB123CD", FilePath("notes.txt")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("neither a configuration file nor a data log"), qPrintable(run.err));
        QCOMPARE(Start({"vehicle", "note", "AB123CD", "all good"}).exitCode, 0);
        QCOMPARE(Start({"vehicle", "export", "AB123CD", FilePath("ab.json")}).exitCode, 0);
        const QString shown = Start({"vehicle", "show", "AB123CD"}).out;
        QCOMPARE(TimelineKinds(shown), QStringList({"note", "log", "configuration"}));

        const QStringList other = {"--database", "sqlite:" + FilePath("other/records.sqlite")};
        run = Start(other + QStringList{"vehicle", "import", FilePath("ab.json")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(Start(other + QStringList{"vehicle", "show", "AB123CD"}).out, shown);
        run = Start(other + QStringList{"vehicle", "import", FilePath("ab.json")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("recorded already"), qPrintable(run.err));
        run = Start(other + QStringList{"vehicle", "import", "--merge", FilePath("ab.json")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(TimelineKinds(Start(other + QStringList{"vehicle", "show", "AB123CD"}).out).size(), 3);
        // The files came along: the exported copy of the import exports the same record.
        QCOMPARE(Start(other + QStringList{"vehicle", "export", "AB123CD", FilePath("again.json")}).exitCode,
                 0);
        QFile first(FilePath("ab.json"));
        QFile again(FilePath("again.json"));
        QVERIFY(first.open(QIODevice::ReadOnly) && again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), first.readAll());

        WriteFile("sheet.csv", "Customer,PLATE,Year,Colour\r\n"
                               "Anna Bianchi,XY987ZW,2015,red\r\n"
                               "Nobody,,2010,blue\r\n"
                               "Carlo Verdi,FF000GG,old,green\r\n"
                               "Mario,ab-123-cd,2011,grey\r\n"
                               "\"Neri, Rosa\",GG111HH,,white\r\n");
        run = Start(other + QStringList{"vehicle", "import-csv", FilePath("sheet.csv")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("sheet.csv:3: a vehicle needs a plate") &&
                     run.err.contains("sheet.csv:4: the year") &&
                     run.err.contains("sheet.csv:5: a vehicle with the plate ab-123-cd is recorded already"),
                 qPrintable(run.err));
        run = Start(other + QStringList{"vehicle", "list"});
        QCOMPARE(run.out, QString("AB123CD\t\tMario Rossi\t\t\t%1\nGG111HH\t\tNeri, Rosa\t\t\t\n"
                                  "XY987ZW\t\tAnna Bianchi\t\t\t\n")
                              .arg(run.out.section('\n', 0, 0).section('\t', 5)));
    }
};

QTEST_GUILESS_MAIN(TestVehicleCli)
#include "tst_vehiclecli.moc"
