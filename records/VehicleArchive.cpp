#include "records/VehicleArchive.h"

#include "records/RecordsDatabase.h"
#include "records/RecordsTransaction.h"
#include "records/VehicleStore.h"
#include "records/VehicleTimeline.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {

const QString Format = QStringLiteral("tzr582-vehicle-record");
constexpr int FormatVersion = 1;

QJsonObject EntryObject(const TTimelineEntry& entry)
{
    QJsonObject object{
        {QStringLiteral("at"), TRecordsDatabase::TimeText(entry.at)},
        {QStringLiteral("bench"), entry.bench},
        {QStringLiteral("kind"), TimelineKinds::Name(entry.kind)},
        {QStringLiteral("summary"), entry.summary},
        {QStringLiteral("identity"), entry.identity},
        {QStringLiteral("firmware"), entry.firmware},
        {QStringLiteral("file_name"), entry.fileName},
        {QStringLiteral("changes"), entry.changes},
    };
    if (entry.hasPayload)
        object.insert(QStringLiteral("payload"), QString::fromLatin1(entry.payload.toBase64()));
    return object;
}

bool EntryFromObject(const QJsonObject& object, TTimelineEntry& entry)
{
    entry.at = TRecordsDatabase::TimeFromText(object.value(QStringLiteral("at")).toString());
    entry.bench = object.value(QStringLiteral("bench")).toString();
    entry.summary = object.value(QStringLiteral("summary")).toString();
    entry.identity = object.value(QStringLiteral("identity")).toString();
    entry.firmware = object.value(QStringLiteral("firmware")).toString();
    entry.fileName = object.value(QStringLiteral("file_name")).toString();
    entry.changes = object.value(QStringLiteral("changes")).toString();
    if (object.contains(QStringLiteral("payload")))
        entry.payload = QByteArray::fromBase64(object.value(QStringLiteral("payload")).toString().toLatin1());
    return entry.at.isValid() && !entry.bench.isEmpty() &&
           TimelineKinds::FromName(object.value(QStringLiteral("kind")).toString(), entry.kind);
}

// What makes two entries the same, on import.
QString EntryKey(const TTimelineEntry& entry)
{
    return TRecordsDatabase::TimeText(entry.at) + u'\n' + entry.bench + u'\n' +
           TimelineKinds::Name(entry.kind) + u'\n' + entry.summary;
}

bool Fail(QString* error, const QString& problem)
{
    *error = problem;
    return false;
}

} // namespace

bool VehicleArchive::Export(TRecordsDatabase& database, const QString& plate, QByteArray& archive,
                            QString* error)
{
    TVehicleStore store(database);
    TVehicle vehicle;
    bool found = false;
    if (!store.Find(plate, vehicle, &found))
        return Fail(error, store.Error());
    if (!found)
        return Fail(error, QStringLiteral("no vehicle with the plate %1 is recorded").arg(plate));
    TVehicleTimeline timeline(database);
    bool ok = false;
    const QList<TTimelineEntry> entries = timeline.Entries(vehicle.id, {}, &ok);
    if (!ok)
        return Fail(error, timeline.Error());
    QJsonObject fields;
    for (const QString& name : VehicleFields::Names())
        fields.insert(name, VehicleFields::Value(vehicle, name));
    QJsonArray list;
    // Oldest first, the order an import adds them in.
    for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry) {
        TTimelineEntry whole = *entry;
        if (whole.hasPayload && !timeline.Read(whole.id, whole))
            return Fail(error, timeline.Error());
        list.append(EntryObject(whole));
    }
    const QJsonObject root{{QStringLiteral("format"), Format},
                           {QStringLiteral("version"), FormatVersion},
                           {QStringLiteral("vehicle"), fields},
                           {QStringLiteral("timeline"), list}};
    archive = QJsonDocument(root).toJson(QJsonDocument::Indented);
    return true;
}

bool VehicleArchive::Import(TRecordsDatabase& database, const QByteArray& archive, bool merge, QString* plate,
                            int* added, QString* error)
{
    *added = 0;
    const QJsonObject root = QJsonDocument::fromJson(archive).object();
    if (root.value(QStringLiteral("format")).toString() != Format)
        return Fail(error, QStringLiteral("the file is no vehicle record"));
    if (root.value(QStringLiteral("version")).toInt() > FormatVersion)
        return Fail(error,
                    QStringLiteral("the vehicle record was written by a newer version of the program"));
    TVehicle vehicle;
    const QJsonObject fields = root.value(QStringLiteral("vehicle")).toObject();
    for (const QString& name : VehicleFields::Names()) {
        if (!VehicleFields::SetValue(vehicle, name, fields.value(name).toString(), error))
            return false;
    }
    *plate = vehicle.plate;
    QList<TTimelineEntry> entries;
    const QJsonArray timelineEntries = root.value(QStringLiteral("timeline")).toArray();
    for (const auto& value : timelineEntries) {
        TTimelineEntry entry;
        if (!EntryFromObject(value.toObject(), entry))
            return Fail(error, QStringLiteral("the vehicle record holds an entry that cannot be read"));
        entries << entry;
    }

    TVehicleStore store(database);
    TVehicleTimeline timeline(database);
    TRecordsTransaction transaction(database);
    TVehicle recorded;
    bool found = false;
    if (!transaction.Began() || !store.Find(vehicle.plate, recorded, &found))
        return Fail(error, database.Error());
    if (found && !merge)
        return Fail(error,
                    QStringLiteral("a vehicle with the plate %1 is recorded already").arg(vehicle.plate));
    QSet<QString> present;
    if (found) {
        bool ok = false;
        for (const TTimelineEntry& entry : timeline.Entries(recorded.id, {}, &ok))
            present.insert(EntryKey(entry));
        if (!ok)
            return Fail(error, database.Error());
    } else if (!store.Insert(vehicle)) {
        return Fail(error, database.Error());
    }
    const qint64 vehicleId = found ? recorded.id : vehicle.id;
    for (TTimelineEntry& entry : entries) {
        if (present.contains(EntryKey(entry)))
            continue;
        entry.vehicleId = vehicleId;
        if (!timeline.Insert(entry))
            return Fail(error, database.Error());
        ++*added;
    }
    if (!transaction.Commit())
        return Fail(error, database.Error());
    return true;
}
