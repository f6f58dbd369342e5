// The backup store on its own: which backups the retention keeps, and the names
// of backups made at the same second by two programs sharing the folder.

#include "backup/BackupStore.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime Start(QDate(2026, 12, 10), QTime(14, 22, 33));

// "load A": a backup made before a load of unit A; "connect" the one made at a
// connect; the unit is A unless named.
TBackupEntry Facts(const QString& shorthand, const QDateTime& when)
{
    const QStringList words = shorthand.split(' ');
    TBackupEntry facts;
    facts.created = when;
    facts.reason = words.at(0) == "connect" ? TBackupStore::ConnectReason : "before-" + words.at(0);
    facts.identity = words.value(1, "A");
    return facts;
}

// Writes a backup over its claimed name as the data module does (the container's
// QSaveFile renames its new file over the claim) and records its facts.
bool WriteOver(TBackupStore& store, const QString& name, const TBackupEntry& facts, const QByteArray& content)
{
    QFile file(name + ".new");
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return false;
    file.close();
    return QFile::remove(name) && file.rename(name) && store.Record(name, facts);
}

QString Make(TBackupStore& store, const TBackupEntry& facts)
{
    const QString name = store.Claim(facts.reason, facts.created);
    return !name.isEmpty() && WriteOver(store, name, facts, "[CONFIGURAZIONE]\r\n") ? name : QString();
}

QByteArray Content(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestBackupStore : public QObject {
    Q_OBJECT

private slots:
    void retentionKeepsWhatARestoreNeeds_data();
    void retentionKeepsWhatARestoreNeeds();
    void twoProgramsClaimDifferentNames();
};

void TestBackupStore::retentionKeepsWhatARestoreNeeds_data()
{
    QTest::addColumn<int>("kept");         // the setting BackupsKept
    QTest::addColumn<QStringList>("made"); // oldest first, one a second
    QTest::addColumn<QList<int>>("left");  // indices into made, newest first

    QTest::newRow("the newest of one reason") << 3 << QStringList(5, "load") << QList<int>{4, 3, 2};
    QTest::newRow("connects go before an older load")
        << 5 << (QStringList{"load"} << QStringList(8, "connect")) << QList<int>{8, 7, 6, 5, 0};
    QTest::newRow("older loads outlive connects")
        << 3 << QStringList{"load", "load", "connect", "connect", "connect"} << QList<int>{4, 1, 0};
    QTest::newRow("the newest of each reason stays beyond the retention")
        << 1 << QStringList{"load", "erase", "firmware", "restore", "connect", "connect"}
        << QList<int>{5, 3, 2, 1, 0};
    QTest::newRow("another unit's connects do not evict this unit's load")
        << 2 << QStringList{"load A", "connect B", "connect B", "connect B", "load B"} << QList<int>{4, 0};
    QTest::newRow("a connect just made stays")
        << 2 << QStringList{"load", "erase", "connect"} << QList<int>{2, 1, 0};
}

void TestBackupStore::retentionKeepsWhatARestoreNeeds()
{
    QFETCH(int, kept);
    QFETCH(QStringList, made);
    QFETCH(QList<int>, left);

    QTemporaryDir folder;
    TBackupStore store;
    store.SetFolder(folder.path());
    store.SetRetention(kept);
    QStringList files;
    for (int i = 0; i < made.size(); ++i)
        files << Make(store, Facts(made.at(i), Start.addSecs(i)));
    QVERIFY(!files.contains(QString()));

    QStringList expected;
    for (int index : left)
        expected << files.at(index);
    QStringList listed;
    for (const TBackupEntry& entry : store.List())
        listed << entry.fileName;
    QCOMPARE(listed, expected);
    for (const QString& file : files)
        QCOMPARE(QFile::exists(BackupFactsFileName(file)), expected.contains(file));
}

// Two programs make a backup at the same second, each looking before the other
// wrote: each writes its own file and facts.
void TestBackupStore::twoProgramsClaimDifferentNames()
{
    QTemporaryDir folder;
    TBackupStore first;
    TBackupStore second;
    first.SetFolder(folder.path());
    second.SetFolder(folder.path());

    const QString mine = first.Claim("before-load", Start);
    const QString theirs = second.Claim("before-load", Start);
    QVERIFY(!mine.isEmpty() && !theirs.isEmpty());
    QVERIFY(mine != theirs);
    QVERIFY(BackupFactsFileName(mine) != BackupFactsFileName(theirs));
    // A claim not written yet is no backup: not listed, not the latest.
    QVERIFY(first.List().isEmpty());
    QVERIFY(first.Latest().isEmpty());

    QVERIFY(WriteOver(first, mine, Facts("load A", Start), "mine"));
    QVERIFY(WriteOver(second, theirs, Facts("load B", Start), "theirs"));
    QCOMPARE(Content(mine), QByteArray("mine"));
    QCOMPARE(Content(theirs), QByteArray("theirs"));
    const QList<TBackupEntry> listed = first.List();
    QCOMPARE(listed.size(), 2);
    QCOMPARE(listed.at(0).identity, QString("B")); // the same second: the higher running number first
    QCOMPARE(listed.at(1).identity, QString("A"));

    // A claim its program left empty when it ended goes at the next backup after
    // an hour; a fresh one stays.
    const QString abandoned = first.Claim("before-erase", Start);
    const QString fresh = first.Claim("before-firmware", Start);
    QFile old(abandoned);
    QVERIFY(old.open(QIODevice::ReadWrite));
    const QDateTime twoHoursAgo = QDateTime::currentDateTime().addSecs(-2 * 3600);
    QVERIFY(old.setFileTime(twoHoursAgo, QFileDevice::FileModificationTime));
    old.close();
    QVERIFY(!Make(first, Facts("connect", Start.addSecs(1))).isEmpty());
    QVERIFY(!QFile::exists(abandoned));
    QVERIFY(QFile::exists(fresh));
}

QTEST_GUILESS_MAIN(TestBackupStore)
#include "tst_backupstore.moc"
