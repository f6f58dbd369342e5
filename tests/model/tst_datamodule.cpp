// The data module against the simulated unit: the factory content against the
// catalogue, the connect procedure, the parameter rules, and configuration
// files.

#include "../common/FolderWatch.h"
#include "../common/ModuleFixture.h"
#include "items/DataRefresher.h"
#include "items/OrvNumber.h"
#include "items/OrvPacketData.h"
#include "link/OrvConnection.h"
#include "model/Catalogue.h"
#include "model/SerialDataModule.h"
#include "support/ConfigurationFile.h"
#include "support/EncryptedContainer.h"
#include "support/PlainBuffer.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A configuration file holding plain, as the program writes it.
bool WriteContainer(const QString& fileName, const QByteArray& plain)
{
    return ConfigurationFile::Write(fileName, plain);
}

// The container of plain as it is, without the integrity section a save adds.
bool WriteBareContainer(const QString& fileName, const QByteArray& plain)
{
    return EncryptToFile(plain, fileName);
}

QByteArray Decrypt(const QString& fileName)
{
    TPlainBuffer buffer;
    return DecryptFileToBuffer(fileName, buffer) ? buffer.Content() : QByteArray();
}

} // namespace

class TestDataModule : public QObject, private ModuleFixture {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void factoryContentIsTheCatalogueDefaults();
    void connects();
    void connectResults_data();
    void connectResults();
    void connectTurnsOverSpeedOff();

    void ignitionTypeKeepsTheSpeeds_data();
    void ignitionTypeKeepsTheSpeeds();
    void tpsDirectionFollowsTheKind();
    void actuatorLimitsFollowEachOther();
    void releaseSpeedStaysBelowCutOff();
    void specialBytes();
    void windowRulesAreAnnounced();
    void stopRefresher();

    void saveAndLoadRoundTrip();
    void loadWritesTheIgnitionTypeBeforeTheSpeeds();
    void loadSkipsCommandsAndMissingKeys();
    void byte223TakesOnlyTheMeaningOfTheMode_data();
    void byte223TakesOnlyTheMeaningOfTheMode();
    void loadRefusesFilesItCannotUse_data();
    void loadRefusesFilesItCannotUse();
    void everyCutOfASavedFileIsRefused();
    void loadReportsWhatItCouldNotUse_data();
    void loadReportsWhatItCouldNotUse();
    void loadListsValuesTheUnitHoldsOtherwise();
    void loadListsEntriesTheUnitRefused();
    void saveLeavesAReadOnlyFileAlone();

    void saveThenLoadChangesNothing();
    void loadRefusesValuesOutOfRange_data();
    void loadRefusesValuesOutOfRange();
    void loadKeepsTheActuatorPositionsInsideTheLimits_data();
    void loadKeepsTheActuatorPositionsInsideTheLimits();
    void fileNeverErasesTheUnit();
    void loadReadsTextWithAByteOrderMark();
    void saveLeavesOutWhatCouldNotBeRead();
    void failedFollowOnWritesAreReported_data();
    void failedFollowOnWritesAreReported();
    void connectTellsWhyItFailed();
    void textsFallBackToTheBuiltInItalian();

private:
    int Connect();
    void MakeRandomValidMemory(QRandomGenerator& random);
    bool InRange(const Catalogue::NumberRow& row);
    QList<int> Memory() const;
    // The INI text of the connected unit's configuration as a save writes it.
    QByteArray SavedText();
    QString TempFile(const QString& name) const { return m_folder->filePath(name); }
};

void TestDataModule::init()
{
    QVERIFY(StartModule());
    m_module->RefreshMessageTexts();
    m_module->ApplyDefaults();
}

void TestDataModule::cleanup()
{
    StopModule();
}

int TestDataModule::Connect()
{
    const int result = m_module->ConnectToUnit(4, 0);
    m_sim->clearLog();
    m_prompts->waits.clear();
    return result;
}

void TestDataModule::factoryContentIsTheCatalogueDefaults()
{
    QList<int> expected(256, 0);
    for (TOrvSerialData* item : m_module->Items()) {
        auto* number = qobject_cast<TOrvNumber*>(item);
        // Byte 223 holds the changeover speed, not the priming time that shares it;
        // byte 226 a switch kind (below) rather than the 0 that matches none.
        if (!number || !number->ByAddress() || number->objectName() == "TempoDiCicchetto" ||
            number->objectName() == "TIPO_COMMUTATORE")
            continue;
        number->SetDisableLimits(true);
        const int raw = number->ConvertValueToEcu(number->DefaultValue(), nullptr);
        int& byte = expected[number->Address()];
        byte = (byte & ~number->DataMask()) | (raw & number->DataMask());
    }
    expected[226] = 5; // push button only
    for (int address = 0; address < 256; ++address)
        QVERIFY2(m_sim->factoryByte(address) == expected[address], qPrintable(QString::number(address)));
}

void TestDataModule::connects()
{
    QCOMPARE(Connect(), 0);
    QVERIFY(m_module->IsUnitConnected());
    QCOMPARE(m_module->Identity()[3], uint8_t(140));
    QCOMPARE(m_module->Number("GiriCutOff")->GetInt(), 1500);
    QVERIFY(SimLog(m_sim).isEmpty()); // everything was read during the connect
    QCOMPARE(m_prompts->waitWindows.size(), size_t(1));
    const FakeWaitWindowState& wait = m_prompts->waitWindows.front();
    QCOMPARE(wait.captions, QStringList{"T19"});
    QCOMPARE(wait.messages, QStringList{"T20"});
    QVERIFY(wait.progress.size() > 70);
    QVERIFY(wait.destroyed);
    QVERIFY(!CurrentWaitWindow);
    QCOMPARE(m_prompts->cursor, (QList<bool>{true, false}));

    QCOMPARE(m_module->ConnectToUnit(4, 0), 1); // already connected: nothing happens
    QCOMPARE(m_prompts->waitWindows.size(), size_t(1));
    QVERIFY(m_prompts->messages.isEmpty());
}

void TestDataModule::connectResults_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<int>("result");
    QTest::newRow("no answer") << "silent" << -1;
    QTest::newRow("another family") << "family 12" << -2;
    QTest::newRow("another model") << "model 26" << -2;
    QTest::newRow("connection refused") << "refused" << 0;
    QTest::newRow("no link library") << "no library" << int(TSerialDataModule::NoLinkLibrary);
    QTest::newRow("boot loader with our application") << "boot loader" << 0;
}

void TestDataModule::connectResults()
{
    QFETCH(QString, situation);
    QFETCH(int, result);
    uint8_t identity[8] = {11, 36, 25, 140, 0, 0, 0, 0};
    if (situation == "silent")
        m_sim->setIdentityUnanswered(true);
    if (situation == "family 12")
        identity[0] = 12;
    if (situation == "model 26")
        identity[2] = 26;
    m_sim->setIdentity(identity);
    if (situation == "refused")
        m_sim->setConnectRefused(true);
    if (situation == "boot loader")
        m_sim->setBootLoaderMode(true);
    if (situation == "no library") {
        m_module->OrvConnection()->UnloadDll();
        m_module->OrvConnection()->SetDllName("NoSuchLink.dll");
    }

    QCOMPARE(m_module->ConnectToUnit(4, 0), result);
    const bool connected = situation == "boot loader";
    QCOMPARE(m_module->IsUnitConnected(), connected);
    QCOMPARE(m_module->OrvConnection()->DllLoaded(), connected); // a failed connect releases the link
    QVERIFY(!CurrentWaitWindow);
}

void TestDataModule::connectTurnsOverSpeedOff()
{
    m_sim->writeMemory(225, 10); // 12000 RPM: above the limit, below "off"
    QCOMPARE(Connect(), 0);
    QCOMPARE(m_module->Number("GiriFuoriGiri")->GetInt(), 20000);
    QCOMPARE(m_sim->readMemory(225), 6);
    QVERIFY(!m_module->Number("GiriFuoriGiri")->DisableLimits());
}

void TestDataModule::ignitionTypeKeepsTheSpeeds_data()
{
    QTest::addColumn<int>("changeoverKind");
    QTest::addColumn<bool>("changeoverSpeedWritten");
    QTest::newRow("changeover on deceleration") << 0 << true;
    QTest::newRow("start on gas: byte 223 is the priming time") << 2 << false;
}

void TestDataModule::ignitionTypeKeepsTheSpeeds()
{
    QFETCH(int, changeoverKind);
    QFETCH(bool, changeoverSpeedWritten);
    m_sim->writeMemory(163, (m_sim->readMemory(163) & ~0x1F) | (changeoverKind << 3)); // ignition type 0
    QCOMPARE(Connect(), 0);
    QCOMPARE(m_sim->readMemory(204), 80);
    QCOMPARE(m_module->Number("GiriCutOff")->GetInt(), 1500);

    QVERIFY(m_module->Number("TIPO_ACCENSIONE")->SetData(3));
    QCOMPARE(m_sim->readMemory(163) & 7, 3);
    QCOMPARE(m_sim->readMemory(204), 40); // 60000 / 1500
    QCOMPARE(m_module->Number("GiriCutOff")->GetInt(), 1500);
    QVERIFY(m_prompts->waits.contains(1000));
    QCOMPARE(!SimLog(m_sim).filter("WriteAtAddress 0 223 ").isEmpty(), changeoverSpeedWritten);
}

void TestDataModule::tpsDirectionFollowsTheKind()
{
    m_sim->writeMemory(164, (m_sim->readMemory(164) & ~0xE0) | (1 << 5)); // 5-0 V sensor
    m_sim->writeMemory(166, 51);
    QCOMPARE(Connect(), 0);
    QCOMPARE(m_module->Number("TPS_PER_AFFONDATA")->GetDouble(), 4.0);
    QVERIFY(m_module->Number("TIPO_TPS")->SetData(0));
    QCOMPARE(m_module->Number("TPS_PER_AFFONDATA")->GetDouble(), 1.0);
    QCOMPARE(m_module->Item("VALOR_TPS")->CoeffA(), 5.0); // the live TPS always reads directly
}

void TestDataModule::actuatorLimitsFollowEachOther()
{
    m_sim->writeMemory(206, 200);
    QCOMPARE(Connect(), 0);
    QVERIFY(m_module->Number("MASSIMA_APERTURA_ATTUATORE")->SetData(150));
    QCOMPARE(m_sim->readMemory(206), 150);
    QCOMPARE(m_module->Number("MINIMA_APERTURA_ATTUATORE")->ValueMax(), 150.0);
    QCOMPARE(m_module->Number("POSIZIONE_DEFAULT")->ValueMax(), 150.0);
    QCOMPARE(m_module->Number("POSIZIONE_DEFAULT")->ValueMin(), 20.0);
    QVERIFY(m_prompts->waits.contains(100));
}

void TestDataModule::releaseSpeedStaysBelowCutOff()
{
    m_sim->writeMemory(193, 33); // 3500 RPM
    QCOMPARE(Connect(), 0);
    QCOMPARE(m_module->Number("GiriSgancioCutOffFiliGialli")->GetInt(), 3500);
    QVERIFY(m_module->Number("GiriCutOffFiliGialli")->SetData(3000));
    QCOMPARE(m_module->Number("GiriSgancioCutOffFiliGialli")->GetInt(), 2900);
    QCOMPARE(m_sim->readMemory(193), 40);
}

void TestDataModule::specialBytes()
{
    QCOMPARE(Connect(), 0);
    QVERIFY(m_module->Number("PosizioneASondaFredda")->SetData(-127));
    QCOMPARE(m_sim->readMemory(219), 255);
    QVERIFY(m_module->Number("FLAG_CONFIGURAZIONE_3")->SetData(0x12));
    QCOMPARE(m_sim->readMemory(165), 0x02);
    m_sim->clearLog();
    // The lambda probe kind shares byte 165: the flags are read again after it.
    QVERIFY(m_module->Number("TIPO_SONDA_LAMBDA")->SetData(2));
    QCOMPARE(m_sim->readMemory(165), 0x42);
    QCOMPARE(SimLog(m_sim).last(), QStringLiteral("ReadAtAddress 0 165"));
    QCOMPARE(m_module->Number("FLAG_CONFIGURAZIONE_3")->GetInt(), 0x52);
}

void TestDataModule::windowRulesAreAnnounced()
{
    QSignalSpy edits(m_module, &TSerialDataModule::DependentEditsUpdateRequested);
    QSignalSpy switchList(m_module, &TSerialDataModule::SwitchComboSyncRequested);
    QCOMPARE(Connect(), 0);
    QCOMPARE(switchList.count(), 1);
    QVERIFY(m_module->Number("FLAG_GONFIGURAZIONE")->SetData(36));
    QCOMPARE(edits.count(), 1);
    QCOMPARE(m_sim->readMemory(162), 36);
}

void TestDataModule::stopRefresher()
{
    QCOMPARE(m_module->ConnectToUnit(4, 2), 0); // bit 1: refresher on
    QVERIFY(m_module->DataRefresher()->GetEnabled());
    QVERIFY(m_module->StopRefresher());
    QVERIFY(!m_module->DataRefresher()->GetEnabled());
    QVERIFY(m_prompts->messages.isEmpty());
}

void TestDataModule::saveAndLoadRoundTrip()
{
    QCOMPARE(Connect(), 0);
    QVERIFY(m_module->Number("TEMPO_SOVRAPPOSIZIONE")->SetData(0.6));
    QVERIFY(m_module->Number("GiriCutOff")->SetData(2000));
    // No plain text touches the disk: nothing is made in the temporary folder,
    // not even for a moment.
    QVERIFY(QDir(m_folder->path()).mkdir("tmp"));
    const QByteArray tmpDir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(TempFile("tmp")));
    FolderWatch temporary(TempFile("tmp"));
    QVERIFY(temporary.IsValid());
    const QString file = TempFile("car.tcn");
    const bool saved = m_module->SaveConfiguration(file);
    qputenv("TMPDIR", tmpDir);
    QVERIFY(saved);
    QCOMPARE(temporary.Made(), QStringList());
    QVERIFY(m_prompts->messages.isEmpty());
    const QByteArray text = Decrypt(file);
    QVERIFY(text.startsWith("[CONFIGURAZIONE]\r\nTIPO ACCENSIONE=4\r\n"));
    QVERIFY(text.contains("\r\nTEMPO DI SOVRAPPOSIZIONE=0.6\r\n"));
    QVERIFY(text.contains("[COMANDI]\r\nRIPROGRAMMAZIONE=240\r\n"));
    QVERIFY(!text.contains("VALORE_LAMBDA"));
    QCOMPARE(m_prompts->waitWindows.back().captions, QStringList{"T93"});

    m_sim->resetToFactory();
    m_module->ReloadAllItems();
    QCOMPARE(m_module->Number("GiriCutOff")->GetInt(), 1500);
    QVERIFY(m_module->LoadConfiguration(file));
    QCOMPARE(m_sim->readMemory(216), 151); // 0.6 s
    QCOMPARE(m_sim->readMemory(204), 60);  // 2000 RPM
    QVERIFY(m_prompts->messages.isEmpty());
    QCOMPARE(m_prompts->waitWindows.back().captions, QStringList{"T92"});
}

void TestDataModule::loadWritesTheIgnitionTypeBeforeTheSpeeds()
{
    QCOMPARE(Connect(), 0);
    const QString file = TempFile("ignition.tcn");
    QVERIFY(WriteContainer(
        file, "[CONFIGURAZIONE]\r\nGIRI CUTOFF=1500\r\nGIRI FUORI GIRI=12000\r\nTIPO ACCENSIONE=3\r\n"));
    QVERIFY(m_module->LoadConfiguration(file));
    const QStringList writes = SimLog(m_sim).filter("WriteAtAddress");
    const int ignition = writes.indexOf(QRegularExpression("WriteAtAddress 0 163 .*"));
    const int cutOff = writes.indexOf(QRegularExpression("WriteAtAddress 0 204 .*"));
    QVERIFY(ignition >= 0 && cutOff > ignition);
    QCOMPARE(m_sim->readMemory(204), 40); // 1500 RPM on the new scale
    // 12000 RPM is above the limit but below "off": the load turns it off.
    QCOMPARE(m_module->Number("GiriFuoriGiri")->GetInt(), 20000);
    QCOMPARE(m_sim->readMemory(225), 3);
}

// Byte 223 is the changeover speed, or with start on gas (TIPO CAMBIO 2) the
// priming time: a priming time must never end up read as a speed.
void TestDataModule::byte223TakesOnlyTheMeaningOfTheMode_data()
{
    QTest::addColumn<QByteArray>("entries");
    QTest::addColumn<int>("byte"); // -1: the factory's
    QTest::newRow("priming time alone, speed mode: not written")
        << QByteArray("TEMPO DI CICCHETTO=0.2\r\n") << -1;
    QTest::newRow("priming time with start on gas")
        << QByteArray("TIPO CAMBIO=2\r\nTEMPO DI CICCHETTO=0.2\r\n") << 10;
    QTest::newRow("speed in speed mode")
        << QByteArray("RIFERIMENTO GIRI CAMBIO=3000\r\nTEMPO DI CICCHETTO=0.2\r\n") << 40;
}

void TestDataModule::byte223TakesOnlyTheMeaningOfTheMode()
{
    QFETCH(QByteArray, entries);
    QFETCH(int, byte);
    QCOMPARE(Connect(), 0);
    const QString file = TempFile("byte223.tcn");
    QVERIFY(WriteContainer(file, "[CONFIGURAZIONE]\r\n" + entries));
    QVERIFY(m_module->LoadConfiguration(file));
    QCOMPARE(m_sim->readMemory(223), byte < 0 ? m_sim->factoryByte(223) : byte); // -1: as the factory left it
}

void TestDataModule::loadSkipsCommandsAndMissingKeys()
{
    QCOMPARE(Connect(), 0);
    const QString file = TempFile("partial.tcn");
    QVERIFY(
        WriteContainer(file, "[CONFIGURAZIONE]\r\nMINIMO TPS=2\r\n[COMANDI]\r\nRIPROGRAMMAZIONE=123\r\n"));
    QVERIFY(m_module->LoadConfiguration(file));
    QCOMPARE(m_sim->readMemory(195), 102);
    QVERIFY(SimLog(m_sim).filter("WriteValue").isEmpty());
    QVERIFY(!m_sim->bootLoaderMode());
    QCOMPARE(SimLog(m_sim).filter("WriteAtAddress").size(), 1);
}

QByteArray TestDataModule::SavedText()
{
    const QString file = TempFile("saved.tcn");
    return m_module->SaveConfiguration(file) ? Decrypt(file) : QByteArray();
}

// Files a load refuses whole, before the backup, naming why (the text of the
// file's status); 0: the file loads.
void TestDataModule::loadRefusesFilesItCannotUse_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("text");
    QTest::newRow("missing") << "missing" << TextIndex::FileDoesNotExist;
    QTest::newRow("a folder") << "folder" << TextIndex::FileIsAFolder;
    QTest::newRow("unreadable") << "unreadable" << TextIndex::FileCannotBeRead;
    QTest::newRow("over 1 MiB") << "oversized" << TextIndex::FileTooLarge;
    QTest::newRow("no container") << "garbage" << TextIndex::FileNotAConfiguration;
    QTest::newRow("no configuration section") << "other section" << TextIndex::FileNotAConfiguration;
    QTest::newRow("earlier file cut at a line end") << "cut at a line end" << TextIndex::FileIncomplete;
    QTest::newRow("integrity entry cut short") << "cut in the integrity entry" << TextIndex::FileIncomplete;
    QTest::newRow("a value changed under the integrity entry") << "changed value" << TextIndex::FileDamaged;
    QTest::newRow("text after the integrity entry") << "appended" << TextIndex::FileDamaged;
    QTest::newRow("earlier file ending with the commands' entry") << "earlier file" << 0;
}

void TestDataModule::loadRefusesFilesItCannotUse()
{
    QFETCH(QString, kind);
    QFETCH(int, text);
    QCOMPARE(Connect(), 0);
    const QByteArray saved = SavedText();
    const QByteArray body = saved.left(saved.indexOf("[CONTROLLO]"));
    QVERIFY(body.endsWith("[COMANDI]\r\nRIPROGRAMMAZIONE=240\r\n\r\n"));
    QString file = TempFile("refused.tcn");
    if (kind == "missing") {
        file = TempFile("missing.tcn");
    } else if (kind == "folder") {
        QVERIFY(QDir(m_folder->path()).mkdir("folder.tcn"));
        file = TempFile("folder.tcn");
    } else if (kind == "unreadable") {
        file = "/proc/self/mem"; // opens, and every read of it at offset 0 fails
    } else if (kind == "oversized") {
        QFile big(file);
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(ConfigurationFile::MaxSize + 1));
    } else if (kind == "garbage") {
        QFile garbage(file);
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(400, 'x'));
    } else if (kind == "other section") {
        QVERIFY(WriteContainer(file, "[ALTRO]\r\nGIRI CUTOFF=2500\r\n"));
    } else if (kind == "cut at a line end") {
        QVERIFY(WriteBareContainer(file, body.left(body.indexOf("\r\n", body.size() / 2) + 2)));
    } else if (kind == "cut in the integrity entry") {
        QVERIFY(WriteBareContainer(file, saved.chopped(5)));
    } else if (kind == "changed value") {
        QVERIFY(saved.contains("\r\nGIRI CUTOFF=1500\r\n"));
        QVERIFY(WriteBareContainer(file, QByteArray(saved).replace("GIRI CUTOFF=1500", "GIRI CUTOFF=2500")));
    } else if (kind == "appended") {
        QVERIFY(WriteBareContainer(file, saved + "GIRI CUTOFF=2500\r\n"));
    } else if (kind == "earlier file") {
        QVERIFY(WriteBareContainer(file, body));
    }
    const qsizetype backups = m_module->Backups().List().size();
    m_sim->clearLog();
    m_prompts->messages.clear();

    const QString reason =
        text == 0 ? QString() : "T" + QString::number(text) + "\n" + QDir::toNativeSeparators(file);
    QCOMPARE(m_module->ConfigurationFileProblem(file), reason);
    QList<TConfigDifference> differences;
    QCOMPARE(m_module->CompareFiles(file, file, differences), text == 0);
    TLoadReport report;
    QCOMPARE(m_module->LoadConfiguration(file, {}, &report), text == 0);
    if (text == 0)
        return;
    QCOMPARE(m_prompts->MessageTexts(), QStringList{reason});
    QCOMPARE(m_prompts->messages.first().caption, QStringLiteral("T95"));
    QVERIFY(!report.started);
    QVERIFY(SimLog(m_sim).filter("Write").isEmpty());
    QCOMPARE(m_module->Backups().List().size(), backups);
}

// A saved file cut anywhere: only a cut that keeps every entry (it takes away
// the integrity section, or the line feed that ends the file) leaves a file
// that can be used.
void TestDataModule::everyCutOfASavedFileIsRefused()
{
    QCOMPARE(Connect(), 0);
    const QString saved = TempFile("whole.tcn");
    QVERIFY(m_module->SaveConfiguration(saved));
    QFile whole(saved);
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QByteArray container = whole.readAll();
    const QByteArray text = Decrypt(saved);
    constexpr int HeaderSize = 166;
    QCOMPARE(container.size(), HeaderSize + text.size());
    const qsizetype lastEntryEnd = text.indexOf("\r", text.indexOf("RIPROGRAMMAZIONE=")) + 1;
    const qsizetype integrity = text.indexOf("[CONTROLLO]");

    const QString file = TempFile("cut.tcn");
    int usable = 0;
    for (qsizetype size = 0; size < container.size(); ++size) {
        QFile cut(file);
        QVERIFY(cut.open(QIODevice::WriteOnly | QIODevice::Truncate));
        cut.write(container.left(size));
        cut.close();
        const qsizetype kept = size - HeaderSize;
        const bool whole = (kept >= lastEntryEnd && kept <= integrity) || kept == text.size() - 1;
        QVERIFY2(m_module->ConfigurationFileProblem(file).isEmpty() == whole,
                 qPrintable(QString::number(size)));
        usable += whole;
    }
    QCOMPARE(usable, 5); // "\r", "\r\n", "\r\n\r", "\r\n\r\n" after the last entry; the CR of the last line
}

// Files that load nothing, or only part: the load says what it wrote and names
// every entry it refused; a file with no entry it could write is refused before
// the backup.
void TestDataModule::loadReportsWhatItCouldNotUse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("started");
    QTest::addColumn<int>("written");
    QTest::addColumn<QString>("message"); // FILE: the file's name
    QTest::newRow("the section alone")
        << QByteArray("[CONFIGURAZIONE]\r\n") << false << false << 0 << "T407\nFILE";
    QTest::newRow("unknown keys only")
        << QByteArray("[CONFIGURAZIONE]\r\nNO SUCH KEY=1\r\n[ALTRO]\r\nGIRI CUTOFF=2\r\n") << false << false
        << 0 << "T407\nFILE\n\nT408\nNO SUCH KEY=1: T411\nGIRI CUTOFF=2: T411";
    QTest::newRow("no number") << QByteArray("[CONFIGURAZIONE]\r\nGIRI CUTOFF=abc\r\n") << false << false << 0
                               << "T407\nFILE\n\nT408\nGIRI CUTOFF=abc: T413";
    QTest::newRow("a line that is no entry")
        << QByteArray("[CONFIGURAZIONE]\r\nMINIMO TPS=2\r\nGIRI CUTOFF\r\n") << false << true << 1
        << "T408\nGIRI CUTOFF: T412";
    QTest::newRow("a key in a repeated section")
        << QByteArray(
               "[CONFIGURAZIONE]\r\nMINIMO TPS=2\r\n[CONFIGURAZIONE]\r\nMINIMO TPS=3\r\nMAX RICCO=1\r\n")
        << false << true << 1 << "T408\nMINIMO TPS: T414";
    QTest::newRow("a repeated section, each key once")
        << QByteArray("[CONFIGURAZIONE]\r\nMINIMO TPS=2\r\n[CONFIGURAZIONE]\r\nMAX RICCO=1\r\n") << true
        << true << 2 << "";
}

void TestDataModule::loadReportsWhatItCouldNotUse()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, loaded);
    QFETCH(bool, started);
    QFETCH(int, written);
    QFETCH(QString, message);
    QCOMPARE(Connect(), 0);
    const QString file = TempFile("partial.tcn");
    QVERIFY(WriteContainer(file, text));
    const qsizetype backups = m_module->Backups().List().size();

    TLoadReport report;
    QCOMPARE(m_module->LoadConfiguration(file, {}, &report), loaded);
    QCOMPARE(report.started, started);
    QCOMPARE(report.written, written);
    QCOMPARE(m_module->Backups().List().size(), backups + (started ? 1 : 0));
    QCOMPARE(SimLog(m_sim).filter("WriteAtAddress").size(), written);
    const QStringList expected = message.isEmpty()
                                     ? QStringList()
                                     : QStringList{message.replace("FILE", QDir::toNativeSeparators(file))};
    QCOMPARE(m_prompts->MessageTexts(), expected);
    if (loaded) {
        QCOMPARE(m_sim->readMemory(195), 102); // MINIMO TPS from the first of the two sections
        QCOMPARE(m_sim->readMemory(201), 51);  // MAX RICCO from the second
    }
}

// A value off the item's step is stored as the nearest one the unit holds: the
// load says so (and a comparison right after sees it).
void TestDataModule::loadListsValuesTheUnitHoldsOtherwise()
{
    QCOMPARE(Connect(), 0);
    const QString file = TempFile("rounded.tcn");
    QVERIFY(WriteContainer(file, "[CONFIGURAZIONE]\r\nGIRI CUTOFF=2550\r\nMINIMO TPS=2\r\n"));
    TLoadReport report;
    QVERIFY(m_module->LoadConfiguration(file, {}, &report));
    QCOMPARE(report.written, 2);
    QCOMPARE(report.differences.size(), 1);
    QCOMPARE(report.differences[0].item, QString("GiriCutOff"));
    QCOMPARE(report.differences[0].held, QString("2600 RPM"));
    QCOMPARE(m_prompts->MessageTexts(), QStringList{"T409\nGIRI CUTOFF=2550: T420 2600 RPM"});
    QCOMPARE(m_prompts->messages.first().icon, TMessageIcon::None);
    QList<TConfigDifference> differences;
    QVERIFY(m_module->CompareUnitWithFile(file, differences));
    const auto cutOff = std::find_if(differences.cbegin(), differences.cend(),
                                     [](const TConfigDifference& d) { return d.item == "GiriCutOff"; });
    QVERIFY(cutOff != differences.cend());
    QCOMPARE(cutOff->left, QString("2600 RPM"));
    QCOMPARE(cutOff->right, QString("2550 RPM"));
}

void TestDataModule::loadListsEntriesTheUnitRefused()
{
    QCOMPARE(Connect(), 0);
    const QString file = TempFile("refused.tcn");
    QVERIFY(WriteContainer(file, "[CONFIGURAZIONE]\r\nMINIMO TPS=2\r\nMAX RICCO=abc\r\n"));
    m_sim->failNext(LinkOp::WriteAtAddress, 1, SimError::Refused);
    QVERIFY(!m_module->LoadConfiguration(file));
    QCOMPARE(m_prompts->MessageTexts(), QStringList{"T408\nMAX RICCO=abc: T413\nMINIMO TPS=2: T416"});
    QCOMPARE(m_prompts->messages.first().icon, TMessageIcon::Error);
}

void TestDataModule::saveLeavesAReadOnlyFileAlone()
{
    const QString file = TempFile("locked.tcn");
    QFile locked(file);
    QVERIFY(locked.open(QIODevice::WriteOnly));
    locked.write("previous");
    locked.close();
    locked.setPermissions(QFile::ReadOwner);
    QVERIFY(!m_module->SaveConfiguration(file));
    QCOMPARE(m_prompts->MessageTexts(), QStringList{"T94"});
    QVERIFY(locked.open(QIODevice::ReadOnly));
    QCOMPARE(locked.readAll(), QByteArray("previous"));
}

QList<int> TestDataModule::Memory() const
{
    QList<int> bytes;
    for (int address = 0; address < 256; ++address)
        bytes << m_sim->readMemory(address);
    return bytes;
}

// Whether the item of the row shows a value inside its catalogue range.
bool TestDataModule::InRange(const Catalogue::NumberRow& row)
{
    const double value = m_module->Number(row.name)->GetDouble();
    const bool limited = !(row.limits.min == 0 && row.limits.max == 0);
    return !ConversionError::IsError(value) &&
           (!limited || (value >= row.limits.min && value <= row.limits.max));
}

// A unit memory with random content in which every item the load writes holds
// a value inside its range, and the actuator positions lie inside its limits.
void TestDataModule::MakeRandomValidMemory(QRandomGenerator& random)
{
    const QStringList unloaded = {"RIPROGRAMMAZIONE", "GiriCutOffFiliGialli", "GiriSgancioCutOffFiliGialli"};
    for (int address = 160; address < 230; ++address)
        m_sim->writeMemory(address, int(random.bounded(256)));
    m_module->ReloadAllItems();
    for (const Catalogue::NumberRow& row : Catalogue::Numbers()) {
        const QString name = row.name;
        // Byte 223 is the changeover speed or, with start on gas, the priming time.
        const bool startOnGas = m_module->Number("TIPO_CAMBIO")->GetInt() == 2;
        if (unloaded.contains(name) || name == (startOnGas ? "GiriPerCambio" : "TempoDiCicchetto"))
            continue;
        while (!InRange(row)) {
            const int byte = m_sim->readMemory(row.address);
            m_sim->writeMemory(row.address, (byte & ~row.mask) | (int(random.bounded(256)) & row.mask));
            m_module->Item(name)->Load();
        }
    }
    const int max = 20 + int(random.bounded(221));
    const int min = 20 + int(random.bounded(max - 19));
    m_sim->writeMemory(207, max);
    m_sim->writeMemory(208, min);
    m_sim->writeMemory(206, 20 + int(random.bounded(max - 19)));       // cut-off position
    m_sim->writeMemory(168, min + int(random.bounded(max - min + 1))); // default position
    m_sim->writeMemory(167, min + int(random.bounded(241 - min)));     // full-throttle position
    m_module->ReloadAllItems();
}

void TestDataModule::saveThenLoadChangesNothing()
{
    // Thousands of file writes: in memory, where the machine has a folder for
    // it, the rounds do not wait for the disk.
    const QTemporaryDir memoryFolder(QDir("/dev/shm").exists() ? "/dev/shm/tzr582-XXXXXX" : QString());
    QVERIFY(memoryFolder.isValid());
    m_sim->setDataFolder(memoryFolder.path().toStdString());
    m_module->Backups().SetFolder(memoryFolder.filePath("backups")); // one before each load
    QCOMPARE(Connect(), 0);
    QRandomGenerator random(582);
    const QString file = memoryFolder.filePath("same.tcn");
    int startOnGas = 0;
    for (int round = 0; round < 300; ++round) {
        MakeRandomValidMemory(random);
        startOnGas += ((m_sim->readMemory(163) >> 3) & 3) == 2;
        const QList<int> before = Memory();
        QVERIFY(m_module->SaveConfiguration(file));
        QVERIFY(m_module->LoadConfiguration(file));
        QCOMPARE(Memory(), before);
        QVERIFY2(m_prompts->messages.isEmpty(), qPrintable(m_prompts->MessageTexts().join('|')));
    }
    QVERIFY(startOnGas > 30);
}

void TestDataModule::loadRefusesValuesOutOfRange_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<int>("address");
    QTest::addColumn<QString>("item");
    QTest::newRow("below the minimum")
        << QByteArray("MINIMA APERTURA ATTUATORE=-5") << 208 << "MINIMA_APERTURA_ATTUATORE";
    QTest::newRow("zero below the minimum")
        << QByteArray("RITARDO LETTURA SONDA=0") << 205 << "RITARDO_LETTURA_SONDA";
    QTest::newRow("above the maximum") << QByteArray("TPS PER AFFONDATA=7") << 166 << "TPS_PER_AFFONDATA";
    QTest::newRow("speed the byte cannot hold") << QByteArray("GIRI CUTOFF=0") << 204 << "GiriCutOff";
    QTest::newRow("bits the mask cannot hold") << QByteArray("TIPO CAMBIO=5") << 163 << "TIPO_CAMBIO";
    QTest::newRow("over-speed between the off values")
        << QByteArray("GIRI FUORI GIRI=15000") << 225 << "GiriFuoriGiri";
}

void TestDataModule::loadRefusesValuesOutOfRange()
{
    QFETCH(QByteArray, entry);
    QFETCH(int, address);
    QFETCH(QString, item);
    QCOMPARE(Connect(), 0);
    const int before = m_sim->readMemory(address);
    const QString file = TempFile("range.tcn");
    QVERIFY(WriteContainer(file, "[CONFIGURAZIONE]\r\nMINIMO TPS=2\r\n" + entry + "\r\n"));
    TLoadReport report;
    QVERIFY(!m_module->LoadConfiguration(file, {}, &report));
    QCOMPARE(m_sim->readMemory(address), before);
    QCOMPARE(m_sim->readMemory(195), 102); // the other entries are loaded
    QCOMPARE(report.written, 1);
    QCOMPARE(report.refused.size(), 1);
    QCOMPARE(report.refused[0].item, item);
    QCOMPARE(m_prompts->MessageTexts(), QStringList{"T408\n" + entry + ": T415"});
}

void TestDataModule::loadKeepsTheActuatorPositionsInsideTheLimits_data()
{
    QTest::addColumn<QByteArray>("entries");
    QTest::addColumn<QList<int>>("bytes"); // MAX (207), MIN (208), cut-off (206), default (168)
    QTest::addColumn<QString>("listed");
    QTest::newRow("minimum above maximum")
        << QByteArray("MASSIMA APERTURA ATTUATORE=100\r\nMINIMA APERTURA ATTUATORE=150\r\n"
                      "POSIZIONE IN CUTOFF=200\r\nPOSIZIONE DEFAULT FISSO=30\r\n")
        << QList<int>{100, 100, 100, 100}
        << "T408\nMINIMA APERTURA ATTUATORE=150: T418\nPOSIZIONE DEFAULT FISSO=30: T418\n\n"
           "T409\nPOSIZIONE IN CUTOFF=200: T420 100";
    // The maximum may be as low as 0, the minimum and the positions not below 20.
    QTest::newRow("maximum below the minimum's lowest value")
        << QByteArray("MASSIMA APERTURA ATTUATORE=2\r\nMINIMA APERTURA ATTUATORE=20\r\n")
        << QList<int>{20, 20, 20, 20}
        << "T408\nMASSIMA APERTURA ATTUATORE=2: T418\nPOSIZIONE DEFAULT FISSO: T418";
}

void TestDataModule::loadKeepsTheActuatorPositionsInsideTheLimits()
{
    QFETCH(QByteArray, entries);
    QFETCH(QList<int>, bytes);
    QFETCH(QString, listed);
    QCOMPARE(Connect(), 0);
    const QString file = TempFile("actuator.tcn");
    QVERIFY(WriteContainer(file, "[CONFIGURAZIONE]\r\n" + entries));
    QVERIFY(!m_module->LoadConfiguration(file));
    const QList<int> held = {m_sim->readMemory(207), m_sim->readMemory(208), m_sim->readMemory(206),
                             m_sim->readMemory(168)};
    QCOMPARE(held, bytes);
    QCOMPARE(m_prompts->MessageTexts(), QStringList{listed});
}

void TestDataModule::fileNeverErasesTheUnit()
{
    QCOMPARE(Connect(), 0);
    const QString file = TempFile("erase.tcn");
    QVERIFY(WriteContainer(file, "[CONFIGURAZIONE]\r\nMINIMO TPS=2\r\nCHECKUP=8\r\nMAX RICCO=1\r\n"));
    QVERIFY(m_module->LoadConfiguration(file));
    QCOMPARE(m_sim->readMemory(195), 102);
    QCOMPARE(m_sim->readMemory(201), 51);
    QVERIFY(SimLog(m_sim).filter("WriteAtAddress 0 161").isEmpty());
}

void TestDataModule::loadReadsTextWithAByteOrderMark()
{
    QCOMPARE(Connect(), 0);
    const QString file = TempFile("bom.tcn");
    QVERIFY(WriteContainer(file, "\xEF\xBB\xBF[CONFIGURAZIONE]\r\nMINIMO TPS=2\r\n"));
    QVERIFY(m_module->LoadConfiguration(file));
    QCOMPARE(m_sim->readMemory(195), 102);
}

void TestDataModule::saveLeavesOutWhatCouldNotBeRead()
{
    m_sim->failNext(LinkOp::ReadAtAddress, 1, SimError::NoAnswer); // the ignition type, at the connect
    QCOMPARE(Connect(), 0);
    // The connect's backup read it again: it fails once more, and again at the save.
    m_sim->failNext(LinkOp::ReadAtAddress, 2, SimError::NoAnswer);
    QVERIFY(!m_module->Item("TIPO_ACCENSIONE")->Load());
    const QString file = TempFile("unread.tcn");
    QVERIFY(!m_module->SaveConfiguration(file));
    QCOMPARE(m_prompts->MessageTexts(),
             QStringList{"It was impossible to save the following data::\nTIPO_ACCENSIONE\n"});
    const QByteArray text = Decrypt(file);
    QVERIFY(!text.contains("TIPO ACCENSIONE="));
    QVERIFY(text.contains("\r\nTIPO CAMBIO=0\r\n"));
}

void TestDataModule::failedFollowOnWritesAreReported_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("failed");
    QTest::newRow("ignition rescale")
        << "TIPO_ACCENSIONE" << 1
        << QStringList{"GiriSbananata", "GiriCutOff", "GiriFuoriGiri", "GiriPerCambio"};
    QTest::newRow("actuator limit") << "MASSIMA_APERTURA_ATTUATORE" << 60
                                    << QStringList{"POSIZIONE_IN_CUTOFF"};
}

void TestDataModule::failedFollowOnWritesAreReported()
{
    QFETCH(QString, item);
    QFETCH(int, value);
    QFETCH(QStringList, failed);
    QCOMPARE(Connect(), 0);
    // Every write the rule makes after its wait fails.
    m_prompts->onWait = [this](int) { m_sim->failNext(LinkOp::WriteAtAddress, 10, SimError::NoAnswer); };
    QVERIFY(m_module->Number(item)->SetInt(value));
    m_prompts->onWait = nullptr;
    QCOMPARE(m_module->TakeFailedFollowOnWrites(), failed);
    QCOMPARE(m_prompts->MessageTexts(),
             QStringList{"It was impossible to write the following data::\n" + failed.join('\n') + "\n"});
    QVERIFY(m_module->TakeFailedFollowOnWrites().isEmpty());
}

void TestDataModule::connectTellsWhyItFailed()
{
    // The link is lost while the configuration is read.
    m_module->Item("GiriCutOff")->BeforeGetData = [this](QObject*) { m_sim->dropLink(); };
    QCOMPARE(m_module->ConnectToUnit(4, 0), int(TSerialDataModule::LinkLostReading));
    QVERIFY(!m_module->IsUnitConnected());
    m_module->Item("GiriCutOff")->BeforeGetData = nullptr;

    m_module->ReleaseLink(false);
    m_module->OrvConnection()->SetDllName(m_folder->filePath("NoSuchLibrary.dll"));
    QCOMPARE(m_module->ConnectToUnit(4, 0), int(TSerialDataModule::NoLinkLibrary));
}

void TestDataModule::textsFallBackToTheBuiltInItalian()
{
    TTranslator* translator = m_module->Translator();
    translator->SetDllName(m_folder->filePath("Missing/Languages.dll"));
    QVERIFY(!translator->LoadLanguageLibrary());
    QCOMPARE(translator->GetString(TextIndex::EraseEeprom), QStringLiteral("Cancella EPPROM"));
    QCOMPARE(translator->GetString(TextIndex::EraseConfigurationQuestion).isEmpty(), false);
}

QTEST_GUILESS_MAIN(TestDataModule)
#include "tst_datamodule.moc"
