#include "records/VehicleTimeline.h"

#include "records/RecordsDatabase.h"
#include "records/RecordsTransaction.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

const QString EntryColumns = QStringLiteral(
    "id, vehicle_id, at, bench, kind, summary, identity, firmware, file_name, changes, payload IS NOT NULL");

TTimelineEntry EntryFromQuery(const QSqlQuery& query)
{
    TTimelineEntry entry;
    entry.id = query.value(0).toLongLong();
    entry.vehicleId = query.value(1).toLongLong();
    entry.at = TRecordsDatabase::TimeFromText(query.value(2).toString());
    entry.bench = query.value(3).toString();
    TimelineKinds::FromName(query.value(4).toString(), entry.kind);
    entry.summary = query.value(5).toString();
    entry.identity = query.value(6).toString();
    entry.firmware = query.value(7).toString();
    entry.fileName = query.value(8).toString();
    entry.changes = query.value(9).toString();
    entry.hasPayload = query.value(10).toBool();
    return entry;
}

// The stored payload: a data log compressed.
QByteArray StoredPayload(const TTimelineEntry& entry)
{
    return entry.kind == TTimelineKind::Log ? qCompress(entry.payload) : entry.payload;
}

// The kinds as a list of quoted names for an IN clause; the names are the
// program's own words, never a user's text.
QString KindList(const QList<TTimelineKind>& kinds)
{
    QStringList names;
    for (TTimelineKind kind : kinds)
        names << u'\'' + TimelineKinds::Name(kind) + u'\'';
    return names.join(u',');
}

} // namespace

QString TVehicleTimeline::Error() const
{
    return m_database.Error();
}

bool TVehicleTimeline::Add(TTimelineEntry& entry)
{
    TRecordsTransaction transaction(m_database);
    return transaction.Began() && Insert(entry) && transaction.Commit();
}

bool TVehicleTimeline::Insert(TTimelineEntry& entry)
{
    if (!entry.at.isValid())
        entry.at = TRecordsDatabase::Now();
    if (entry.bench.isEmpty())
        entry.bench = m_database.Bench();
    QSqlQuery query = m_database.Query();
    query.prepare(QStringLiteral(
        "INSERT INTO timeline (vehicle_id, at, bench, kind, summary, identity, firmware, file_name, changes,"
        " payload, compressed) VALUES (:vehicle, :at, :bench, :kind, :summary, :identity, :firmware, :file,"
        " :changes, :payload, :compressed) RETURNING id"));
    query.bindValue(QStringLiteral(":vehicle"), entry.vehicleId);
    query.bindValue(QStringLiteral(":at"), TRecordsDatabase::TimeText(entry.at));
    query.bindValue(QStringLiteral(":bench"), TRecordsDatabase::Text(entry.bench));
    query.bindValue(QStringLiteral(":kind"), TimelineKinds::Name(entry.kind));
    query.bindValue(QStringLiteral(":summary"), TRecordsDatabase::Text(entry.summary));
    query.bindValue(QStringLiteral(":identity"), TRecordsDatabase::Text(entry.identity));
    query.bindValue(QStringLiteral(":firmware"), TRecordsDatabase::Text(entry.firmware));
    query.bindValue(QStringLiteral(":file"), TRecordsDatabase::Text(entry.fileName));
    query.bindValue(QStringLiteral(":changes"), TRecordsDatabase::Text(entry.changes));
    entry.hasPayload = !entry.payload.isNull();
    query.bindValue(QStringLiteral(":payload"), entry.hasPayload
                                                    ? QVariant(StoredPayload(entry))
                                                    : QVariant(QMetaType::fromType<QByteArray>()));
    query.bindValue(QStringLiteral(":compressed"), entry.kind == TTimelineKind::Log ? 1 : 0);
    if (!m_database.Run(query, QStringLiteral("cannot record on %1").arg(m_database.Url().Display())))
        return false;
    query.next();
    entry.id = query.value(0).toLongLong();
    query.finish();
    return true;
}

QList<TTimelineEntry> TVehicleTimeline::Entries(qint64 vehicleId, const QList<TTimelineKind>& kinds, bool* ok)
{
    QList<TTimelineEntry> entries;
    QSqlQuery query = m_database.Query();
    query.setForwardOnly(true);
    const QString filter =
        kinds.isEmpty() ? QString() : QStringLiteral(" AND kind IN (%1)").arg(KindList(kinds));
    query.prepare(
        QStringLiteral("SELECT %1 FROM timeline WHERE vehicle_id = :vehicle%2 ORDER BY at DESC, id DESC")
            .arg(EntryColumns, filter));
    query.bindValue(QStringLiteral(":vehicle"), vehicleId);
    *ok = m_database.Run(query, QStringLiteral("cannot read %1").arg(m_database.Url().Display()));
    while (*ok && query.next())
        entries << EntryFromQuery(query);
    return entries;
}

bool TVehicleTimeline::Read(qint64 entryId, TTimelineEntry& entry)
{
    QSqlQuery query = m_database.Query();
    query.prepare(
        QStringLiteral("SELECT %1, payload, compressed FROM timeline WHERE id = :id").arg(EntryColumns));
    query.bindValue(QStringLiteral(":id"), entryId);
    if (!m_database.Run(query, QStringLiteral("cannot read %1").arg(m_database.Url().Display())))
        return false;
    if (!query.next()) {
        m_database.SetError(QStringLiteral("no timeline entry %1 is recorded").arg(entryId));
        return false;
    }
    entry = EntryFromQuery(query);
    const QByteArray stored = query.value(11).toByteArray();
    entry.payload = query.value(12).toInt() != 0 ? qUncompress(stored) : stored;
    return true;
}

bool TVehicleTimeline::LatestConfiguration(qint64 vehicleId, bool withBackups, TTimelineEntry& entry,
                                           bool* found)
{
    QList<TTimelineKind> kinds = TimelineKinds::InGroup(TTimelineGroup::Configurations);
    if (withBackups)
        kinds << TTimelineKind::Backup;
    QSqlQuery query = m_database.Query();
    query.prepare(QStringLiteral("SELECT id FROM timeline WHERE vehicle_id = :vehicle AND kind IN (%1)"
                                 " AND payload IS NOT NULL ORDER BY at DESC, id DESC LIMIT 1")
                      .arg(KindList(kinds)));
    query.bindValue(QStringLiteral(":vehicle"), vehicleId);
    if (!m_database.Run(query, QStringLiteral("cannot read %1").arg(m_database.Url().Display())))
        return false;
    *found = query.next();
    if (!*found)
        return true;
    const qint64 id = query.value(0).toLongLong();
    query.finish();
    return Read(id, entry);
}
