// Files the program writes: a write that the disk refuses part-way (a full disk,
// a file size limit) leaves the previous file exactly as it was and is reported.

#include "../common/FileSizeLimit.h"
#include "support/AtomicFile.h"
#include "support/EncryptedContainer.h"
#include "support/LanguageStore.h"
#include "support/MemIniData.h"
#include "support/PlainBuffer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using Writer = std::function<bool(const QString& target, const QString& folder)>;
Q_DECLARE_METATYPE(Writer)

namespace {

// More than the limit the test sets.
const QByteArray LongText = QByteArray(6000, 'x');

bool WriteContainer(const QString& target, const QString& folder)
{
    QFile plain(folder + "/plain.ini");
    if (!plain.open(QIODevice::WriteOnly) || plain.write(LongText) != LongText.size())
        return false;
    plain.close();
    return EncryptFile(plain.fileName(), target);
}

bool WriteIni(const QString& target, const QString&)
{
    TPlainBuffer buffer;
    TMemIniData ini(buffer);
    ini.WriteString("Section", "Key", QString::fromLatin1(LongText));
    return ini.SaveToFile(target);
}

bool WriteLanguages(const QString& target, const QString&)
{
    TLanguageStore store;
    store.SetString(0, QString::fromLatin1(LongText));
    return store.Save(target);
}

} // namespace

class TestAtomicFile : public QObject {
    Q_OBJECT

private slots:
    void refusedWriteKeepsTheOldFile_data();
    void refusedWriteKeepsTheOldFile();
};

void TestAtomicFile::refusedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<Writer>("write");
    QTest::newRow("plain") << Writer(
        [](const QString& target, const QString&) { return AtomicFile::Write(target, LongText); });
    QTest::newRow("configuration container") << Writer(&WriteContainer);
    QTest::newRow("INI store") << Writer(&WriteIni);
    QTest::newRow("language store") << Writer(&WriteLanguages);
}

void TestAtomicFile::refusedWriteKeepsTheOldFile()
{
    QFETCH(Writer, write);
    QTemporaryDir folder;
    const QString target = folder.filePath("target");
    QVERIFY(AtomicFile::Write(target, "previous content\n"));

    bool written = true;
    {
        const FileSizeLimit limit(2048);
        written = write(target, folder.path());
    }
    QVERIFY(!written);
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("previous content\n"));
    // No temporary file is left behind, and without the limit the write succeeds.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).filter("target"),
             QStringList{"target"});
    QVERIFY(write(target, folder.path()));
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
