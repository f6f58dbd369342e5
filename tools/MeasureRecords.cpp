// Measures the vehicle records on SQLite files in a temporary folder, for
// scripts/bench:
//
//   tzr582-measure-records [VEHICLES]
//
// Prints, one "name<TAB>value" a line: the median time of a search as a fitter
// types it over 100 vehicles and over VEHICLES (100000 unless told), the time
// to read a timeline of 1000 entries, and the time to record one entry holding
// a configuration-sized file.

#include "records/RecordsDatabase.h"
#include "records/RecordsTransaction.h"
#include "records/VehicleStore.h"
#include "records/VehicleTimeline.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

const QStringList Surnames = {"Rossi",   "Bianchi", "Verdi",   "Neri",  "Esposito", "Romano",
                              "Colombo", "Ricci",   "Marino",  "Greco", "Bruno",    "Gallo",
                              "Conti",   "De Luca", "Mancini", "Costa"};
const QStringList Makes = {"Fiat", "Lancia", "Opel", "Ford", "Renault", "Peugeot", "Volkswagen", "Toyota"};

QString RandomPlate(QRandomGenerator& random)
{
    QString plate;
    for (int i = 0; i < 7; ++i)
        plate +=
            i == 2 || i == 3 || i == 4 ? QChar(u'0' + random.bounded(10)) : QChar(u'A' + random.bounded(26));
    return plate;
}

// Fills the records with count vehicles in one transaction; false when that failed.
bool Fill(TRecordsDatabase& database, int count)
{
    QRandomGenerator random(26);
    TVehicleStore store(database);
    TRecordsTransaction transaction(database);
    int made = 0;
    while (made < count) {
        TVehicle vehicle;
        vehicle.plate = RandomPlate(random);
        vehicle.customer =
            QStringLiteral("Customer%1 %2").arg(made).arg(Surnames.at(random.bounded(Surnames.size())));
        vehicle.make = Makes.at(random.bounded(Makes.size()));
        vehicle.model = QStringLiteral("Model%1").arg(random.bounded(200));
        if (store.Insert(vehicle))
            ++made;
        else if (!store.Error().contains(QLatin1String("recorded already")))
            return false;
    }
    return transaction.Commit();
}

double Median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// The median time of the searches a fitter's typing makes: each prefix of a
// few plates, names and makes, one key at a time.
double SearchMs(TRecordsDatabase& database)
{
    TVehicleStore store(database);
    QList<double> times;
    for (const QString typed : {"AB1", "rossi", "Customer42", "fiat", "Model12", "ZZ999"}) {
        for (int length = 1; length <= typed.size(); ++length) {
            QElapsedTimer timer;
            timer.start();
            bool ok = false;
            store.Search(typed.left(length), TVehicleStore::DefaultSearchLimit, &ok);
            times << timer.nsecsElapsed() / 1e6;
        }
    }
    return Median(times);
}

bool Open(TRecordsDatabase& database)
{
    if (database.Open())
        return true;
    std::fprintf(stderr, "%s\n", qPrintable(database.Error()));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int many = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QTemporaryDir folder;
    TDatabaseUrl smallUrl;
    smallUrl.path = folder.filePath(QStringLiteral("small.sqlite"));
    TDatabaseUrl largeUrl;
    largeUrl.path = folder.filePath(QStringLiteral("large.sqlite"));
    TRecordsDatabase small(smallUrl, QStringLiteral("bench"));
    TRecordsDatabase large(largeUrl, QStringLiteral("bench"));
    if (!Open(small) || !Open(large) || !Fill(small, 100) || !Fill(large, many))
        return 1;
    std::printf("search-100-ms\t%.3f\n", SearchMs(small));
    std::printf("search-%d-ms\t%.3f\n", many, SearchMs(large));

    TVehicle vehicle;
    vehicle.plate = QStringLiteral("TL000TL");
    TVehicleStore(small).Add(vehicle);
    TVehicleTimeline timeline(small);
    const QByteArray configuration(2048, 'c');
    QList<double> recordTimes;
    for (int i = 0; i < 1000; ++i) {
        TTimelineEntry entry;
        entry.vehicleId = vehicle.id;
        entry.kind = i % 3 == 0 ? TTimelineKind::Save : TTimelineKind::Note;
        entry.summary = QStringLiteral("entry %1").arg(i);
        if (entry.kind == TTimelineKind::Save)
            entry.payload = configuration;
        QElapsedTimer timer;
        timer.start();
        // What recording a configuration costs: the previous one read, the new one added.
        TTimelineEntry previous;
        bool found = false;
        timeline.LatestConfiguration(vehicle.id, false, previous, &found);
        if (!timeline.Add(entry))
            return 1;
        recordTimes << timer.nsecsElapsed() / 1e6;
    }
    std::printf("record-entry-ms\t%.3f\n", Median(recordTimes));
    QList<double> readTimes;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        bool ok = false;
        const int entries = timeline.Entries(vehicle.id, {}, &ok).size();
        readTimes << timer.nsecsElapsed() / 1e6;
        if (!ok || entries != 1000)
            return 1;
    }
    std::printf("timeline-1000-ms\t%.3f\n", Median(readTimes));
    return 0;
}
