// Firmware reprogramming against the simulated unit: the identification
// checks, which images go to the unit, retries, and the program's own images
// against those of the resource library.

#include "../common/ModuleFixture.h"
#include "model/ResourceLibrary.h"
#include "model/SerialDataModule.h"
#include "support/PlainBuffer.h"
#include "support/Translator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Success = QStringLiteral("Programmazione avvenuta con successo!");
const QString MicroError = QStringLiteral("Errore nella riprogrammazione del Micro!");

} // namespace

class TestFirmware : public QObject, private ModuleFixture {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void programsTheImagesOfTheUnitsGeneration_data();
    void programsTheImagesOfTheUnitsGeneration();
    void refusesUnitsItCannotProgram_data();
    void refusesUnitsItCannotProgram();
    void newerFirmwareNeedsConsent();
    void retriesOnRequest();
    void declinedBootLoaderRetryEndsTheProcedure();
    void imagesComeFromTheResourceLibraryWhenLoaded();

private:
    QList<int> ProgrammedSizes() const;
    QStringList Texts() const { return m_prompts->MessageTexts(); }
};

void TestFirmware::init()
{
    QVERIFY(StartModule());
}

void TestFirmware::cleanup()
{
    StopModule();
    ResourceLibrary::Free();
}

// The content sizes of the images the unit was given, in order.
QList<int> TestFirmware::ProgrammedSizes() const
{
    QList<int> sizes;
    for (const SimLogEntry& entry : m_sim->log()) {
        if (entry.op == LinkOp::ProgramFirmware)
            sizes << int(entry.args.at(0));
    }
    return sizes;
}

void TestFirmware::programsTheImagesOfTheUnitsGeneration_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<bool>("upgradeBootLoader");
    QTest::addColumn<QList<int>>("sizes");
    QTest::addColumn<int>("newVersion");
    QTest::newRow("older generation") << 139 << true << QList<int>{3960, 21410, 21410} << 139;
    QTest::newRow("newer generation") << 140 << true << QList<int>{3960, 21406, 21406} << 142;
    QTest::newRow("one pass") << 141 << false << QList<int>{3960, 21406} << 142;
    QTest::newRow("current boot loader") << 5 << true << QList<int>{21410, 21410} << 139;
}

void TestFirmware::programsTheImagesOfTheUnitsGeneration()
{
    QFETCH(int, version);
    QFETCH(bool, upgradeBootLoader);
    QFETCH(QList<int>, sizes);
    QFETCH(int, newVersion);
    m_sim->setFirmwareVersion(version);
    m_prompts->upgradeBootLoader = upgradeBootLoader;
    m_module->ReprogramFirmware();

    QCOMPARE(Texts(), QStringList{Success});
    QCOMPARE(m_prompts->messages.first().icon, TMessageIcon::None);
    QVERIFY(m_prompts->questions.isEmpty());
    QCOMPARE(ProgrammedSizes(), sizes);
    QVERIFY(SimLog(m_sim).contains("WriteValue 0 123"));
    uint8_t identity[8];
    m_sim->identity(identity);
    QCOMPARE(int(identity[3]), newVersion);
    QVERIFY(!m_sim->isConnected());
    QCOMPARE(m_module->OldFirmware(), version < 140);

    // The wait window: placed at the top, shown while programming, fed by the
    // unit's progress messages, destroyed at the end.
    const FakeWaitWindowState& wait = m_prompts->waitWindows.front();
    QCOMPARE(wait.top, 40);
    QVERIFY(wait.progress.contains(100));
    QVERIFY(wait.messages.contains("T151"));
    QCOMPARE(wait.messages.contains("T152"), upgradeBootLoader);
    QVERIFY(wait.destroyed);
    QVERIFY(!CurrentWaitWindow);
}

void TestFirmware::refusesUnitsItCannotProgram_data()
{
    QTest::addColumn<QByteArray>("identity");
    QTest::addColumn<QString>("text");
    QTest::newRow("another family") << QByteArray("\x0c\x24\x19\x8c", 4) << "T102";
    QTest::newRow("boot loader running") << QByteArray("\x0b\x03\x19\x02\x24\x19", 6) << "T153";
    QTest::newRow("another firmware kind") << QByteArray("\x0b\x25\x19\x8c", 4) << "T102";
    QTest::newRow("another model") << QByteArray("\x0b\x24\x1a\x8c", 4) << "T102";
    QTest::newRow("no answer") << QByteArray() << "T17";
}

void TestFirmware::refusesUnitsItCannotProgram()
{
    QFETCH(QByteArray, identity);
    QFETCH(QString, text);
    if (identity.isEmpty()) {
        m_sim->setIdentityUnanswered(true);
    } else {
        uint8_t record[8] = {};
        std::copy(identity.cbegin(), identity.cend(), record);
        m_sim->setIdentity(record);
    }
    m_module->ReprogramFirmware();
    QCOMPARE(Texts(), QStringList{text});
    QCOMPARE(m_prompts->messages.first().caption, QStringLiteral("T143"));
    QVERIFY(ProgrammedSizes().isEmpty());
    QVERIFY(SimLog(m_sim).filter("ConnectUnit").isEmpty());
    QVERIFY(SimLog(m_sim).filter("WriteValue").isEmpty()); // never sent to its boot loader
}

void TestFirmware::newerFirmwareNeedsConsent()
{
    m_sim->setFirmwareVersion(143);
    m_module->ReprogramFirmware(); // "no"
    QCOMPARE(m_prompts->questions.size(), 1);
    QCOMPARE(m_prompts->questions.first().text, QStringLiteral("T146"));
    QCOMPARE(SimLog(m_sim), QStringList{"ReadIdentity"});

    m_prompts->answers = {true};
    m_module->ReprogramFirmware();
    QCOMPARE(Texts(), QStringList{Success});
}

void TestFirmware::retriesOnRequest()
{
    m_sim->setFirmwareVersion(5);
    m_sim->failNext(LinkOp::ProgramFirmware, 3, 2);
    m_prompts->answers = {true, true};
    m_module->ReprogramFirmware();
    QCOMPARE(ProgrammedSizes().size(), 3);
    QCOMPARE(m_prompts->questions.size(), 2);
    QCOMPARE(m_prompts->questions.at(0).caption, QStringLiteral("T143"));
    QCOMPARE(m_prompts->questions.at(1).caption, QStringLiteral("Riprogrammazione firmware -> Tentativo 2"));
    QCOMPARE(m_prompts->waitWindows.front().captions.last(),
             QStringLiteral("Riprogrammazione firmware -> Tentativo 3"));
    QCOMPARE(Texts(), QStringList{MicroError});
    QCOMPARE(m_prompts->messages.first().caption, QStringLiteral("Riprogrammazione firmware"));
}

void TestFirmware::declinedBootLoaderRetryEndsTheProcedure()
{
    m_sim->failNext(LinkOp::ProgramFirmware, 1, 2);
    m_module->ReprogramFirmware(); // "no" to the first retry
    QCOMPARE(ProgrammedSizes(), QList<int>{3960});
    QCOMPARE(Texts(), QStringList{"T145"});
}

void TestFirmware::imagesComeFromTheResourceLibraryWhenLoaded()
{
    TPlainBuffer image;
    QVERIFY(m_module->LoadFirmwareImage(10012, image)); // the program's own copy
    QCOMPARE(image.Length(), 21406);
    QVERIFY(!m_module->LoadFirmwareImage(10013, image));

    // A resource library without the boot-loader image.
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/NoBootLoader.rcc",
                        m_folder->filePath("ConfigBase.rcc")));
    QVERIFY(ResourceLibrary::Load(m_folder->path()));
    QVERIFY(!m_module->LoadFirmwareImage(10010, image));
    // Found missing before the unit leaves its application.
    m_module->ReprogramFirmware();
    QCOMPARE(Texts(), QStringList{"T149"});
    QVERIFY(SimLog(m_sim).filter("WriteValue").isEmpty());
    QVERIFY(!m_sim->bootLoaderMode());
    // A unit whose boot loader needs no update does not need that image.
    m_prompts->messages.clear();
    m_sim->setFirmwareVersion(5);
    m_module->ReprogramFirmware();
    QCOMPARE(Texts(), QStringList{Success});
}

QTEST_GUILESS_MAIN(TestFirmware)
#include "tst_firmware.moc"
