// The safety net of the data module against the simulated unit: a backup before
// every load, erase and firmware update that gives the unit back exactly; the
// retention; a backup that cannot be made stops the operation; the comparison
// of configurations and the ticked-rows load; the read-back after a load; the
// values a file load leaves alone, which a restore writes and comparisons see.

#include "../common/ModuleFixture.h"
#include "items/OrvNumber.h"
#include "model/SerialDataModule.h"

#include <QFile>
#include <QTest>

class TestSafetyNet : public QObject, private ModuleFixture {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void riskyOperationsLeaveABackupThatGivesTheUnitBack_data();
    void riskyOperationsLeaveABackupThatGivesTheUnitBack();
    void theNewestBackupsAreKept();
    void aBackupThatCannotBeMadeStopsTheOperation_data();
    void aBackupThatCannotBeMadeStopsTheOperation();
    void compareListsTheDifferencesAndLoadsTickedOnes();
    void verifyCatchesAValueTheUnitChanged();
    void restoreAndComparisonsTakeTheYellowWireSpeeds();

private:
    QList<int> Memory() const;
    // Non-factory values in several items, the ignition type among them.
    void ChangeTheConfiguration();
    QString BackupFile(const QString& reason) const;
    QString TempFile(const QString& name) const { return m_test->folder.filePath(name); }
};

void TestSafetyNet::init()
{
    QVERIFY(StartModule());
    m_module->RefreshMessageTexts();
    m_module->ApplyDefaults();
    QCOMPARE(m_module->ConnectToUnit(4, 0), 0);
}

void TestSafetyNet::cleanup()
{
    StopModule();
}

QList<int> TestSafetyNet::Memory() const
{
    QList<int> bytes;
    for (int address = 0; address < 256; ++address)
        bytes << m_sim->readMemory(address);
    return bytes;
}

void TestSafetyNet::ChangeTheConfiguration()
{
    QVERIFY(m_module->Number("TIPO_ACCENSIONE")->SetInt(3));
    QVERIFY(m_module->Number("GiriCutOff")->SetInt(2500));
    QVERIFY(m_module->Number("MASSIMA_APERTURA_ATTUATORE")->SetInt(180));
    QVERIFY(m_module->Number("TIPO_CAMBIO")->SetInt(1));
    QVERIFY(m_module->TakeFailedFollowOnWrites().isEmpty());
}

QString TestSafetyNet::BackupFile(const QString& reason) const
{
    for (const TBackupEntry& entry : m_module->Backups().List()) {
        if (entry.reason == reason)
            return entry.fileName;
    }
    return QString();
}

void TestSafetyNet::riskyOperationsLeaveABackupThatGivesTheUnitBack_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("load") << "load";
    QTest::newRow("erase") << "erase";
    QTest::newRow("firmware") << "firmware";
}

void TestSafetyNet::riskyOperationsLeaveABackupThatGivesTheUnitBack()
{
    QFETCH(QString, operation);
    const QString factoryFile = TempFile("factory.tcn");
    QVERIFY(m_module->SaveConfiguration(factoryFile));
    ChangeTheConfiguration();
    const QList<int> before = Memory();
    QVERIFY(before != QList<int>(before.size(), 0));

    if (operation == "load") {
        QVERIFY(m_module->LoadConfiguration(factoryFile));
    } else if (operation == "erase") {
        QVERIFY(m_module->EraseConfiguration());
    } else {
        m_module->ReprogramFirmware();
        QVERIFY2(m_test->prompts.MessageTexts().contains("Programmazione avvenuta con successo!"),
                 qPrintable(m_test->prompts.MessageTexts().join('|')));
        QVERIFY(m_module->IsUnitConnected());
        m_sim->resetToFactory();
        m_module->ReloadAllItems();
    }
    QVERIFY(Memory() != before);

    const QString backup = BackupFile("before-" + operation);
    QVERIFY(!backup.isEmpty());
    QVERIFY(QFileInfo(backup).fileName().contains("-before-" + operation));
    QVERIFY2(m_module->RestoreBackup(backup), qPrintable(m_test->prompts.MessageTexts().join('|')));
    QCOMPARE(Memory(), before);
    QVERIFY2(m_test->prompts.messages.size() <= 1, qPrintable(m_test->prompts.MessageTexts().join('|')));
}

void TestSafetyNet::theNewestBackupsAreKept()
{
    m_module->Backups().SetRetention(3);
    QStringList made;
    for (int i = 0; i < 5; ++i)
        made << m_module->MakeBackup("before-load");
    QVERIFY(!made.contains(QString()));
    QStringList kept;
    for (const TBackupEntry& entry : m_module->Backups().List()) {
        kept << entry.fileName;
        QCOMPARE(entry.identity, QString("11 36 25 140 0 0 0 0"));
        QVERIFY(QFile::exists(BackupFactsFileName(entry.fileName)));
    }
    QCOMPARE(kept, QStringList({made[4], made[3], made[2]}));
    QVERIFY(!QFile::exists(made[0]) && !QFile::exists(BackupFactsFileName(made[0])));
    QCOMPARE(m_module->Backups().Latest(), made[4]);
}

void TestSafetyNet::aBackupThatCannotBeMadeStopsTheOperation_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("goOn");
    QTest::newRow("load, stopped") << "load" << false;
    QTest::newRow("load, gone on") << "load" << true;
    QTest::newRow("erase, stopped") << "erase" << false;
    QTest::newRow("erase, gone on") << "erase" << true;
}

void TestSafetyNet::aBackupThatCannotBeMadeStopsTheOperation()
{
    QFETCH(QString, operation);
    QFETCH(bool, goOn);
    const QString factoryFile = TempFile("factory.tcn");
    QVERIFY(m_module->SaveConfiguration(factoryFile));
    ChangeTheConfiguration();
    const QList<int> before = Memory();
    // A folder inside a plain file cannot be made.
    QFile blocker(TempFile("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_module->Backups().SetFolder(blocker.fileName() + "/backups");
    m_test->prompts.answers = {goOn};

    const bool done =
        operation == "load" ? m_module->LoadConfiguration(factoryFile) : m_module->EraseConfiguration();
    QCOMPARE(done, goOn);
    QCOMPARE(Memory() == before, !goOn);
    QCOMPARE(m_test->prompts.questions.size(), 1);
    QVERIFY(m_test->prompts.questions.first().text.contains(blocker.fileName()));
}

void TestSafetyNet::compareListsTheDifferencesAndLoadsTickedOnes()
{
    const QString a = TempFile("a.tcn");
    const QString b = TempFile("b.tcn");
    QVERIFY(m_module->SaveConfiguration(a));
    QVERIFY(m_module->Number("GiriCutOff")->SetInt(2500));
    QVERIFY(m_module->Number("TIPO_CAMBIO")->SetInt(1));
    QVERIFY(m_module->SaveConfiguration(b));

    QList<TConfigDifference> differences;
    QVERIFY(m_module->CompareFiles(a, a, differences));
    QVERIFY(differences.isEmpty());
    QVERIFY(m_module->CompareFiles(a, b, differences));
    QCOMPARE(differences.size(), 2);
    QCOMPARE(differences[0].item, QString("TIPO_CAMBIO"));
    QCOMPARE(differences[0].left, QString("0"));
    QCOMPARE(differences[0].right, QString("1"));
    QCOMPARE(differences[1].item, QString("GiriCutOff"));
    QCOMPARE(differences[1].key, QString("GIRI CUTOFF"));
    QCOMPARE(differences[1].left, QString("1500 RPM"));
    QCOMPARE(differences[1].right, QString("2500 RPM"));
    QCOMPARE(differences[1].leftRaw, 80);
    QCOMPARE(differences[1].rightRaw, 48);
    QVERIFY(!m_module->CompareFiles(a, TempFile("missing.tcn"), differences));

    // The unit holds b: loading only the ticked row of a leaves the other difference.
    QVERIFY(m_module->LoadConfiguration(a, {"GiriCutOff"}));
    QCOMPARE(m_sim->readMemory(204), 80);
    QVERIFY(m_module->CompareUnitWithFile(a, differences));
    QCOMPARE(differences.size(), 1);
    QCOMPARE(differences[0].item, QString("TIPO_CAMBIO"));

    // The backups list the closest to the unit first: the one made before that load.
    const QList<TBackupEntry> backups = m_module->BackupsByCloseness();
    QVERIFY(backups.size() >= 2);
    QCOMPARE(backups.first().reason, QString("before-load"));
    QCOMPARE(backups.first().differences, 1);
}

void TestSafetyNet::verifyCatchesAValueTheUnitChanged()
{
    QVERIFY(m_module->Number("GiriCutOff")->SetInt(2500));
    const QString file = TempFile("cutoff.tcn");
    QVERIFY(m_module->SaveConfiguration(file));
    m_sim->resetToFactory();
    m_module->ReloadAllItems();
    // The unit takes the speed, then puts another in its place unasked.
    m_test->prompts.onWait = [this](int) { m_sim->writeMemory(204, 90); };

    QVERIFY(!m_module->LoadConfiguration(file));
    QCOMPARE(m_test->prompts.messages.size(), 1);
    QCOMPARE(m_test->prompts.messages.first().text, QString("T408\nGIRI CUTOFF=2500: T417"));
}

// An ordinary load leaves the yellow-wire speeds as the unit holds them (and
// says where they differ from the file); a restore puts back everything the
// backup holds, and every comparison compares them.
void TestSafetyNet::restoreAndComparisonsTakeTheYellowWireSpeeds()
{
    const QString factory = TempFile("factory.tcn");
    QVERIFY(m_module->SaveConfiguration(factory));
    QVERIFY(m_module->Number("GiriCutOffFiliGialli")->SetInt(3000));
    QVERIFY(m_module->Number("GiriSgancioCutOffFiliGialli")->SetInt(2500));
    const QList<int> before = Memory();
    const QList<int> factoryBytes = {m_sim->factoryByte(192), m_sim->factoryByte(193)};
    QVERIFY(before.mid(192, 2) != factoryBytes);
    const QString yellow = TempFile("yellow.tcn");
    QVERIFY(m_module->SaveConfiguration(yellow));

    QList<TConfigDifference> differences;
    QVERIFY(m_module->CompareFiles(factory, yellow, differences));
    QCOMPARE(differences.size(), 2);
    QCOMPARE(differences[0].key, QString("GIRI CUTTOFF FILI GIALLI"));
    QCOMPARE(differences[1].key, QString("GIRI SGANCIO CUTOFF FILI GIALLI"));

    QVERIFY(m_module->EraseConfiguration());
    QCOMPARE(Memory().mid(192, 2), factoryBytes);
    QVERIFY(m_module->CompareUnitWithFile(yellow, differences));
    QCOMPARE(differences.size(), 2);
    QCOMPARE(differences[0].right, QString("3000 RPM"));
    QCOMPARE(differences[1].right, QString("2500 RPM"));
    const QString factorySpeed = differences[0].left; // "off", as the unit reads its factory byte

    m_test->prompts.messages.clear();
    QVERIFY(m_module->LoadConfiguration(yellow));
    QCOMPARE(Memory().mid(192, 2), factoryBytes);
    QCOMPARE(m_test->prompts.MessageTexts(),
             QStringList{"T410\nGIRI CUTTOFF FILI GIALLI=3000: T421 " + factorySpeed +
                         "\nGIRI SGANCIO CUTOFF FILI GIALLI=2500: T421 " + factorySpeed});

    m_test->prompts.messages.clear();
    QVERIFY(m_module->RestoreBackup(BackupFile("before-erase")));
    QCOMPARE(Memory(), before);
    QVERIFY2(m_test->prompts.messages.isEmpty(), qPrintable(m_test->prompts.MessageTexts().join('|')));
    QVERIFY(m_module->CompareUnitWithFile(yellow, differences));
    QVERIFY(differences.isEmpty());

    // A backup of the factory speeds, which lie above their range, goes back too.
    QVERIFY(m_module->RestoreBackup(factory));
    QCOMPARE(Memory().mid(192, 2), factoryBytes);
    QVERIFY2(m_test->prompts.messages.isEmpty(), qPrintable(m_test->prompts.MessageTexts().join('|')));
}

QTEST_GUILESS_MAIN(TestSafetyNet)
#include "tst_safetynet.moc"
