// The vehicle records on both databases they run on: the same cases over an
// SQLite file and a PostgreSQL server. Vehicles found by what a fitter types,
// edits from two benches, timelines with their files, entries recorded at once
// from two connections, a database too new or not usable at all.

#include "records/RecordsDatabase.h"
#include "records/SchemaMigrations.h"
#include "records/VehicleStore.h"
#include "records/VehicleTimeline.h"
#include "tests/common/PostgresServer.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

#include <memory>
#include <thread>

namespace {

TVehicle MakeVehicle(const QString& plate, const QString& customer, const QString& make,
                     const QString& vin = {})
{
    TVehicle vehicle;
    vehicle.plate = plate;
    vehicle.customer = customer;
    vehicle.make = make;
    vehicle.model = "Punto";
    vehicle.vin = vin;
    vehicle.year = 2011;
    return vehicle;
}

std::unique_ptr<TRecordsDatabase> Connect(const QString& urlText, const QString& bench = "bench-a")
{
    TDatabaseUrl url;
    QString error;
    if (!TDatabaseUrl::Parse(urlText, url, &error))
        qWarning("%s", qPrintable(error));
    return std::make_unique<TRecordsDatabase>(url, bench);
}

QStringList Plates(const QList<TVehicle>& vehicles)
{
    QStringList plates;
    for (const TVehicle& vehicle : vehicles)
        plates << vehicle.plate;
    return plates;
}

QStringList Kinds(const QList<TTimelineEntry>& entries)
{
    QStringList kinds;
    for (const TTimelineEntry& entry : entries)
        kinds << TimelineKinds::Name(entry.kind);
    return kinds;
}

QByteArray FileBytes(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TstVehicleRecords : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;
    TPostgresServer m_server;
    bool m_serverUp = false;
    int m_made = 0;

    void Backends()
    {
        QTest::addColumn<QString>("backend");
        QTest::newRow("sqlite") << "sqlite";
        QTest::newRow("postgresql") << "postgresql";
    }

    // An empty database of the row's backend; empty when there is none to be had.
    QString FreshDatabase(const QString& backend)
    {
        const QString name = QString("records%1").arg(++m_made);
        if (backend == "sqlite")
            return "sqlite:" + m_folder.filePath(name + ".sqlite");
        return m_serverUp ? m_server.NewDatabase(name) : QString();
    }

    QString SkipText() const { return "PostgreSQL server not available: " + m_server.Problem(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        m_serverUp = m_server.Start();
        if (!m_serverUp)
            qWarning("the PostgreSQL cases are skipped: %s", qPrintable(m_server.Problem()));
    }

    void vehiclesAreFoundByWhatTheFitterTypes_data() { Backends(); }
    void vehiclesAreFoundByWhatTheFitterTypes()
    {
        QFETCH(QString, backend);
        const QString url = FreshDatabase(backend);
        if (url.isEmpty())
            QSKIP(qPrintable(SkipText()));
        auto database = Connect(url);
        QVERIFY2(database->Open(), qPrintable(database->Error()));
        TVehicleStore store(*database);
        for (TVehicle vehicle : {MakeVehicle("AB-123 CD", "Mario Rossi", "Fiat", "ZFA19900001234567"),
                                 MakeVehicle("XY 987 ZW", "Anna Bianchi", "Lancia"),
                                 MakeVehicle("FF000GG", "Rossella Neri", "Opel")})
            QVERIFY2(store.Add(vehicle), qPrintable(store.Error()));

        TVehicle twin = MakeVehicle("ab 123-cd", "Someone Else", "Ford");
        QVERIFY(!store.Add(twin));
        QVERIFY2(store.Error().contains("recorded already"), qPrintable(store.Error()));
        TVehicle badVin = MakeVehicle("NEW1", "Carlo", "Fiat", "ZFA1990000123456O");
        QVERIFY(!store.Add(badVin));
        QVERIFY2(store.Error().contains("VIN"), qPrintable(store.Error()));

        const QList<QPair<QString, QStringList>> searches = {
            {"ross", {"AB-123 CD", "FF000GG"}}, // a word of the customer's name
            {"mario ro", {"AB-123 CD"}},        // the name typed whole
            {"ab12", {"AB-123 CD"}},            // the plate without its dashes
            {"xy-98", {"XY 987 ZW"}},
            {"zfa199", {"AB-123 CD"}}, // the VIN
            {"LANC", {"XY 987 ZW"}},   // the make, in any case
            {"punto", {"AB-123 CD", "FF000GG", "XY 987 ZW"}},
            {"oss", {}}, // words are found by their beginning
            {"", {"AB-123 CD", "FF000GG", "XY 987 ZW"}},
        };
        for (const auto& search : searches) {
            bool ok = false;
            QCOMPARE(Plates(store.Search(search.first, 0, &ok)), search.second);
            QVERIFY(ok);
        }
        bool ok = false;
        QCOMPARE(store.Search("", 2, &ok).size(), 2);
        // NEW1 was refused whole.
        bool found = true;
        TVehicle vehicle;
        QVERIFY(store.Find("new1", vehicle, &found));
        QVERIFY(!found);

        // Another program opening the same records finds them as left.
        auto again = Connect(url, "bench-b");
        QVERIFY2(again->Open(), qPrintable(again->Error()));
        QVERIFY(TVehicleStore(*again).Find("ab123cd", vehicle, &found));
        QVERIFY(found);
        QCOMPARE(vehicle.customer, QString("Mario Rossi"));
        QCOMPARE(vehicle.vin, QString("ZFA19900001234567"));
        QCOMPARE(vehicle.year, 2011);
        QCOMPARE(vehicle.changedOn, QString("bench-a"));
    }

    // Records made before the words carried their plate keys are brought to
    // the newest schema; a search with a limit answers the first vehicles by
    // plate among those it finds, on records migrated and made anew alike.
    void aLimitedSearchAnswersByPlateAfterTheMigration_data() { Backends(); }
    void aLimitedSearchAnswersByPlateAfterTheMigration()
    {
        QFETCH(QString, backend);
        const QString url = FreshDatabase(backend);
        if (url.isEmpty())
            QSKIP(qPrintable(SkipText()));
        {
            auto database = Connect(url);
            QVERIFY2(database->Open(), qPrintable(database->Error()));
            TVehicleStore store(*database);
            for (TVehicle vehicle :
                 {MakeVehicle("ZZ111", "Mario Rossi", "Fiat"), MakeVehicle("CC222", "Anna Rossi", "Fiat"),
                  MakeVehicle("AA333", "Luca Rossi", "Fiat"), MakeVehicle("BB444", "Carla Neri", "Opel")})
                QVERIFY2(store.Add(vehicle), qPrintable(store.Error()));
            bool ok = false;
            QCOMPARE(Plates(store.Search("ross", 2, &ok)), QStringList({"AA333", "CC222"}));
            // Back to the first schema, the words without their plate keys.
            for (const char* statement :
                 {"DROP INDEX vehicle_terms_term", "ALTER TABLE vehicle_terms DROP COLUMN plate_key",
                  "CREATE INDEX vehicle_terms_term ON vehicle_terms (term, vehicle_id)",
                  "UPDATE schema_version SET version = 1"})
                QVERIFY2(database->Run(statement, "downgrade"), qPrintable(database->Error()));
        }
        auto migrated = Connect(url, "bench-b");
        QVERIFY2(migrated->Open(), qPrintable(migrated->Error()));
        TVehicleStore store(*migrated);
        bool ok = false;
        QCOMPARE(Plates(store.Search("ross", 2, &ok)), QStringList({"AA333", "CC222"}));
        QCOMPARE(Plates(store.Search("fiat", 1, &ok)), QStringList({"AA333"}));
        QCOMPARE(Plates(store.Search("", 3, &ok)), QStringList({"AA333", "BB444", "CC222"}));
        QVERIFY(ok);
        // A plate edited after the migration is found under its new order.
        TVehicle vehicle;
        bool found = false;
        QVERIFY(store.Find("aa333", vehicle, &found) && found);
        vehicle.plate = "DD333";
        QVERIFY2(store.Edit(vehicle), qPrintable(store.Error()));
        QCOMPARE(Plates(store.Search("ross", 2, &ok)), QStringList({"CC222", "DD333"}));
    }

    void anEditOverAnotherBenchsEditIsRefused_data() { Backends(); }
    void anEditOverAnotherBenchsEditIsRefused()
    {
        QFETCH(QString, backend);
        const QString url = FreshDatabase(backend);
        if (url.isEmpty())
            QSKIP(qPrintable(SkipText()));
        auto benchA = Connect(url, "bench-a");
        auto benchB = Connect(url, "bench-b");
        QVERIFY2(benchA->Open() && benchB->Open(), qPrintable(benchA->Error() + benchB->Error()));
        TVehicleStore storeA(*benchA);
        TVehicleStore storeB(*benchB);
        TVehicle added = MakeVehicle("AB123CD", "Mario Rossi", "Fiat");
        QVERIFY2(storeA.Add(added), qPrintable(storeA.Error()));

        TVehicle onA, onB;
        bool found = false;
        QVERIFY(storeA.Find("AB123CD", onA, &found) && storeB.Find("AB123CD", onB, &found));
        onA.customer = "Luigi Verdi";
        QVERIFY2(storeA.Edit(onA), qPrintable(storeA.Error()));
        onB.phone = "555 1234";
        QVERIFY(!storeB.Edit(onB));
        QVERIFY2(storeB.Error().contains("changed on bench-a at") && storeB.Error().contains("reload"),
                 qPrintable(storeB.Error()));

        TVehicle stored;
        QVERIFY(storeB.Find("AB123CD", stored, &found));
        QCOMPARE(stored.customer, QString("Luigi Verdi"));
        QCOMPARE(stored.phone, QString());
        // Reloaded, bench B's edit goes in, and both edits are in the history.
        stored.phone = "555 1234";
        QVERIFY2(storeB.Edit(stored), qPrintable(storeB.Error()));
        // A plate another vehicle has is refused on an edit too.
        TVehicle other = MakeVehicle("ZZ999ZZ", "Anna", "Opel");
        QVERIFY(storeA.Add(other));
        other.plate = "ab-123-cd";
        QVERIFY(!storeA.Edit(other));

        bool ok = false;
        const QList<TTimelineEntry> history =
            TVehicleTimeline(*benchA).Entries(stored.id, {TTimelineKind::Edit}, &ok);
        QVERIFY(ok);
        QCOMPARE(history.size(), 2);
        QCOMPARE(history.at(0).bench, QString("bench-b"));
        QCOMPARE(history.at(0).changes, QString("phone\t\t555 1234"));
        QCOMPARE(history.at(1).changes, QString("customer\tMario Rossi\tLuigi Verdi"));
    }

    void theTimelineKeepsItsFilesNewestFirst_data() { Backends(); }
    void theTimelineKeepsItsFilesNewestFirst()
    {
        QFETCH(QString, backend);
        const QString url = FreshDatabase(backend);
        if (url.isEmpty())
            QSKIP(qPrintable(SkipText()));
        auto database = Connect(url);
        QVERIFY2(database->Open(), qPrintable(database->Error()));
        TVehicle vehicle = MakeVehicle("AB123CD", "Mario Rossi", "Fiat");
        QVERIFY(TVehicleStore(*database).Add(vehicle));
        TVehicleTimeline timeline(*database);

        const QByteArray configuration("\x01\x02\x00\xff configuration", 17);
        const QByteArray log = QByteArray("elapsed [s],VALORE_LAMBDA [V]\n").repeated(500);
        const QList<QPair<TTimelineKind, QByteArray>> added = {
            {TTimelineKind::Connect, {}}, {TTimelineKind::Save, configuration},
            {TTimelineKind::Log, log},    {TTimelineKind::Backup, "older backup"},
            {TTimelineKind::Note, {}},
        };
        QDateTime at = QDateTime(QDate(2026, 12, 1), QTime(9, 0), Qt::UTC);
        QList<qint64> ids;
        for (const auto& [kind, payload] : added) {
            TTimelineEntry entry;
            entry.vehicleId = vehicle.id;
            entry.kind = kind;
            entry.payload = payload;
            entry.summary = TimelineKinds::Name(kind) + " summary";
            // The backup was made at the same time as the log: the one added later comes first.
            if (kind != TTimelineKind::Backup)
                at = at.addSecs(60);
            entry.at = at;
            QVERIFY2(timeline.Add(entry), qPrintable(timeline.Error()));
            ids << entry.id;
        }

        bool ok = false;
        const QList<TTimelineEntry> all = timeline.Entries(vehicle.id, {}, &ok);
        QVERIFY(ok);
        QCOMPARE(Kinds(all), QStringList({"note", "backup", "log", "save", "connect"}));
        QCOMPARE(all.at(0).bench, QString("bench-a"));
        QVERIFY(all.at(2).hasPayload && all.at(2).payload.isEmpty());
        QVERIFY(!all.at(0).hasPayload);
        QCOMPARE(Kinds(timeline.Entries(vehicle.id, TimelineKinds::InGroup(TTimelineGroup::Logs), &ok)),
                 QStringList({"log"}));
        QCOMPARE(
            Kinds(timeline.Entries(vehicle.id, TimelineKinds::InGroup(TTimelineGroup::Configurations), &ok)),
            QStringList({"save"}));

        TTimelineEntry read;
        QVERIFY2(timeline.Read(ids.at(2), read), qPrintable(timeline.Error()));
        QCOMPARE(read.payload, log);
        QVERIFY(timeline.Read(ids.at(1), read));
        QCOMPARE(read.payload, configuration);
        bool found = false;
        QVERIFY(timeline.LatestConfiguration(vehicle.id, true, read, &found));
        QVERIFY(found);
        QCOMPARE(read.kind, TTimelineKind::Backup);
        QCOMPARE(read.payload, QByteArray("older backup"));
        QVERIFY(timeline.LatestConfiguration(vehicle.id, false, read, &found));
        QCOMPARE(read.kind, TTimelineKind::Save);

        // A log is stored compressed.
        QSqlQuery stored = database->Query();
        QVERIFY(stored.exec(QString("SELECT payload FROM timeline WHERE id = %1").arg(ids.at(2))) &&
                stored.next());
        QVERIFY(stored.value(0).toByteArray().size() < log.size() / 10);
        stored.finish();

        // An entry for no vehicle is refused, and nothing is left of it.
        TTimelineEntry stray;
        stray.vehicleId = vehicle.id + 1000;
        QVERIFY(!timeline.Add(stray));
        QVERIFY(!timeline.Error().isEmpty());
        QVERIFY(stored.exec("SELECT COUNT(*) FROM timeline") && stored.next());
        QCOMPARE(stored.value(0).toInt(), added.size());
    }

    void benchesRecordingAtOnceLoseNothing_data() { Backends(); }
    void benchesRecordingAtOnceLoseNothing()
    {
        QFETCH(QString, backend);
        const QString url = FreshDatabase(backend);
        if (url.isEmpty())
            QSKIP(qPrintable(SkipText()));
        auto database = Connect(url);
        QVERIFY2(database->Open(), qPrintable(database->Error()));
        TVehicle vehicle = MakeVehicle("AB123CD", "Mario Rossi", "Fiat");
        QVERIFY(TVehicleStore(*database).Add(vehicle));

        constexpr int EntriesEach = 40;
        auto record = [&](const QString& bench, QStringList* errors) {
            auto own = Connect(url, bench);
            if (!own->Open()) {
                *errors << own->Error();
                return;
            }
            TVehicleTimeline timeline(*own);
            for (int i = 0; i < EntriesEach; ++i) {
                TTimelineEntry entry;
                entry.vehicleId = vehicle.id;
                entry.kind = TTimelineKind::Note;
                entry.summary = QString("%1 %2").arg(bench).arg(i);
                if (!timeline.Add(entry))
                    *errors << timeline.Error();
            }
        };
        QStringList errorsA, errorsB;
        std::thread first(record, QString("bench-a"), &errorsA);
        std::thread second(record, QString("bench-b"), &errorsB);
        first.join();
        second.join();
        QVERIFY2(errorsA.isEmpty() && errorsB.isEmpty(), qPrintable((errorsA + errorsB).join('\n')));
        bool ok = false;
        QCOMPARE(TVehicleTimeline(*database).Entries(vehicle.id, {}, &ok).size(), 2 * EntriesEach);
    }

    void aDatabaseOfANewerProgramIsLeftUntouched_data() { Backends(); }
    void aDatabaseOfANewerProgramIsLeftUntouched()
    {
        QFETCH(QString, backend);
        const QString url = FreshDatabase(backend);
        if (url.isEmpty())
            QSKIP(qPrintable(SkipText()));
        const int newer = SchemaMigrations::LatestVersion() + 1;
        {
            auto database = Connect(url);
            QVERIFY2(database->Open(), qPrintable(database->Error()));
            QVERIFY(database->Run(QString("UPDATE schema_version SET version = %1").arg(newer), "set"));
            QVERIFY(database->Run("DROP TABLE vehicle_terms", "drop"));
        }
        const QString file = url.mid(QString("sqlite:").size());
        const QByteArray before = backend == "sqlite" ? FileBytes(file) : QByteArray();

        auto refused = Connect(url);
        QVERIFY(!refused->Open());
        QVERIFY2(refused->Error().contains("newer version") &&
                     refused->Error().contains("nothing was changed"),
                 qPrintable(refused->Error()));
        refused.reset();

        if (backend == "sqlite") {
            QCOMPARE(FileBytes(file), before);
            QVERIFY(!QFile::exists(file + "-wal"));
        }
        // The dropped table was not made again, the version not lowered.
        TDatabaseUrl raw;
        QString error;
        QVERIFY(TDatabaseUrl::Parse(url, raw, &error));
        QSqlDatabase look = QSqlDatabase::addDatabase(backend == "sqlite" ? "QSQLITE" : "QPSQL", "look");
        look.setDatabaseName(backend == "sqlite" ? raw.path : raw.database);
        look.setHostName(raw.host);
        look.setPort(raw.port);
        look.setUserName(raw.user);
        QVERIFY(look.open());
        QVERIFY(!look.tables().contains("vehicle_terms"));
        {
            QSqlQuery version(look);
            QVERIFY(version.exec("SELECT version FROM schema_version") && version.next());
            QCOMPARE(version.value(0).toInt(), newer);
        }
        look.close();
        look = QSqlDatabase();
        QSqlDatabase::removeDatabase("look");
    }

    void anUnusableDatabaseIsToldClearly_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("told");
        QTest::newRow("not a database") << "sqlite:{folder}/garbage.sqlite"
                                        << "not a database";
        QTest::newRow("folder cannot be made") << "sqlite:{folder}/garbage.sqlite/records.sqlite"
                                               << "cannot be made";
        QTest::newRow("no server") << "postgresql://tzr@127.0.0.1:1/records"
                                   << "cannot open postgresql://";
        QTest::newRow("no such database") << "server:missing"
                                          << "cannot open postgresql://";
    }
    void anUnusableDatabaseIsToldClearly()
    {
        QFETCH(QString, url);
        QFETCH(QString, told);
        QFile garbage(m_folder.filePath("garbage.sqlite"));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(4096, 'x'));
        garbage.close();
        url.replace("{folder}", m_folder.path());
        if (url.startsWith("server:")) {
            if (!m_serverUp)
                QSKIP(qPrintable(SkipText()));
            url = m_server.Url(url.mid(7));
        }
        auto database = Connect(url);
        QVERIFY(!database->Open());
        QVERIFY2(database->Error().contains(told), qPrintable(database->Error()));
        QCOMPARE(FileBytes(garbage.fileName()), QByteArray(4096, 'x'));
    }

    // Last: it stops a server of its own.
    void aServerThatGoesAwayIsToldNotCrashed()
    {
        TPostgresServer server;
        if (!server.Start())
            QSKIP(qPrintable("PostgreSQL server not available: " + server.Problem()));
        const QString url = server.NewDatabase("gone");
        QVERIFY2(!url.isEmpty(), qPrintable(server.Problem()));
        auto database = Connect(url);
        QVERIFY2(database->Open(), qPrintable(database->Error()));
        TVehicle vehicle = MakeVehicle("AB123CD", "Mario Rossi", "Fiat");
        TVehicleStore store(*database);
        QVERIFY(store.Add(vehicle));
        server.Stop();
        TTimelineEntry entry;
        entry.vehicleId = vehicle.id;
        QVERIFY(!TVehicleTimeline(*database).Add(entry));
        QVERIFY2(database->Error().startsWith("cannot"), qPrintable(database->Error()));
        vehicle.customer = "Luigi";
        QVERIFY(!store.Edit(vehicle));
    }
};

QTEST_GUILESS_MAIN(TstVehicleRecords)
#include "tst_vehiclerecords.moc"
