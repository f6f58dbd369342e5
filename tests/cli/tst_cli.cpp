// tzr582-cli end to end: each command run as a script runs it, against the
// simulated unit, whose memory lives in a private data folder per test.

#include "../common/FolderWatch.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Tool = QStringLiteral(TZR_CLI);
const QString Programmed = QStringLiteral("Programmazione avvenuta con successo!");

// Bytes of the unit's memory the tests look at.
constexpr int CheckupByte = 161;
constexpr int CutOffByte = 204;
constexpr int FactoryCheckup = 172;
constexpr int FactoryCutOff = 80; // 1500 RPM on the scale of 120000

struct Run {
    int exitCode = -1; // -1 also when the tool crashed
    QByteArray out;
    QString err;
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void helpAndUsageErrors_data();
    void helpAndUsageErrors();
    void info();
    void dumpListsEveryItem();
    void getFindsItemsByNameOrFileKey();
    void setAppliesLimitsStepsAndRules_data();
    void setAppliesLimitsStepsAndRules();
    void setRefusesWhatIsNoParameter_data();
    void setRefusesWhatIsNoParameter();
    void configurationFilesRoundTrip();
    void fileFailures_data();
    void fileFailures();
    void refusedFilesNameWhy_data();
    void refusedFilesNameWhy();
    void loadSaysWhatItWroteAndWhatNeedsAttention();
    void liveWritesCsvWithAPoint();
    void liveRecordsALogThatPlots();
    void eraseNeedsConsent();
    void programReportsItsOutcome();
    void connectFailsWithoutTheLinkLibrary();
    void startUpTakesTheStoredLanguage();
    void diffBackupsAndRestore();
    void aBackupThatCannotBeMadeStopsUnlessNoBackup_data();
    void aBackupThatCannotBeMadeStopsUnlessNoBackup();
    void resultsThatCannotBeWrittenFail_data();
    void resultsThatCannotBeWrittenFail();
    void encryptRefusesATextWithoutSection_data();
    void encryptRefusesATextWithoutSection();
    void unreadUnitIsNeverCompared_data();
    void unreadUnitIsNeverCompared();
    void restoreGivesBackTheYellowWireSpeeds();

private:
    Run Start(const QStringList& args, const QString& tool = Tool) const;
    QString FilePath(const QString& name) const { return m_folder->filePath(name); }
    // A program folder holding a copy of the tool, with the link library when
    // withLink, and the files given (name in the folder -> source).
    QString ProgramFolder(bool withLink, const QList<QPair<QString, QString>>& files = {}) const;
    int MemoryByte(int address) const;
    // The words with "@name" replaced by the path of name in the test's folder.
    QStringList InFolder(QStringList words) const;
    // The language the tool starts with (1: English).
    void ChooseLanguage(int language) const;
    // A configuration file made by 'tcn encrypt' from text; empty when that failed.
    QString EncryptText(const QString& name, const QByteArray& text) const;

    std::unique_ptr<QTemporaryDir> m_folder;
    QProcessEnvironment m_environment;
    QString m_stdoutFile; // where the tool's standard output goes, when not read
};

void TestCli::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    // A fresh unit (no memory file: factory content) and fresh settings.
    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert("XDG_DATA_HOME", FilePath("share"));
    m_environment.insert("XDG_CONFIG_HOME", FilePath("config"));
    m_stdoutFile.clear();
}

void TestCli::cleanup()
{
    m_folder.reset();
}

Run TestCli::Start(const QStringList& args, const QString& tool) const
{
    QProcess process;
    process.setProcessEnvironment(m_environment);
    if (!m_stdoutFile.isEmpty())
        process.setStandardOutputFile(m_stdoutFile);
    process.start(tool, args);
    process.closeWriteChannel();
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString TestCli::ProgramFolder(bool withLink, const QList<QPair<QString, QString>>& files) const
{
    const QString folder = FilePath("program");
    QDir().mkpath(folder + "/Dizionario");
    QList<QPair<QString, QString>> copies = files;
    copies << qMakePair(QString("tzr582-cli"), Tool);
    if (withLink)
        copies << qMakePair(QString("libSerOrvDL.so"), QString(TZR_LINK_LIBRARY));
    for (const auto& [name, source] : copies) {
        if (!QFile::copy(source, folder + '/' + name))
            qWarning("cannot copy %s", qPrintable(source));
    }
    return folder + "/tzr582-cli";
}

int TestCli::MemoryByte(int address) const
{
    QFile memory(FilePath("share/TZR582/simunit-memory.bin"));
    if (!memory.open(QIODevice::ReadOnly))
        return -1;
    return quint8(memory.readAll().at(address));
}

QStringList TestCli::InFolder(QStringList words) const
{
    for (QString& word : words) {
        if (word.startsWith('@'))
            word = FilePath(word.mid(1));
    }
    return words;
}

void TestCli::ChooseLanguage(int language) const
{
    QSettings settings(FilePath("config/orv srl/TZR582.conf"), QSettings::IniFormat);
    settings.setValue("Language", language);
}

QString TestCli::EncryptText(const QString& name, const QByteArray& text) const
{
    QFile ini(FilePath(name + ".ini"));
    if (!ini.open(QIODevice::WriteOnly) || ini.write(text) != text.size())
        return QString();
    ini.close();
    const QString file = FilePath(name + ".tcn");
    return Start({"tcn", "encrypt", ini.fileName(), file}).exitCode == 0 ? file : QString();
}

void TestCli::helpAndUsageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("shown"); // on stdout for help, on stderr for an error

    QTest::newRow("tool help") << QStringList{"--help"} << 0 << "unit live [--count N] [--interval MS]";
    QTest::newRow("group help") << QStringList{"unit", "-h"} << 0 << "unit program [--yes]";
    QTest::newRow("command help") << QStringList{"unit", "set", "--help"} << 0
                                  << "Usage: tzr582-cli unit set ITEM VALUE";
    QTest::newRow("version, as the build sets it")
        << QStringList{"--version"} << 0 << QStringLiteral("tzr582-cli " TZR_EXPECTED_VERSION "\n");
    QTest::newRow("no command") << QStringList{} << 2 << "Usage: tzr582-cli COMMAND";
    QTest::newRow("missing argument")
        << QStringList{"tcn", "encrypt", "a.ini"} << 2 << "Usage: tzr582-cli tcn encrypt INI OUT";
    QTest::newRow("unknown item") << QStringList{"unit", "get", "NoSuchItem"} << 2 << "'NoSuchItem'";
    QTest::newRow("not a number") << QStringList{"unit", "set", "GiriCutOff", "1500rpm"} << 2 << "'1500rpm'";
    QTest::newRow("no lines") << QStringList{"unit", "live", "--count", "0"} << 2 << "--count";
    QTest::newRow("lines into a log")
        << QStringList{"unit", "live", "--output", "x.csv", "--count", "3"} << 2 << "--count";
    QTest::newRow("plot without picture") << QStringList{"log", "plot", "x.csv"} << 2 << "--png";
    QTest::newRow("plot of no such channel")
        << QStringList{"log", "plot", "x.csv", "--png", "x.png", "--channels", "VALORE_LAMBDA,RPM"} << 2
        << "'RPM'";
}

void TestCli::helpAndUsageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, shown);

    const Run run = Start(args);
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0) {
        QVERIFY2(run.out.contains(shown.toUtf8()), run.out);
        QVERIFY(run.err.isEmpty());
    } else {
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(shown), qPrintable(run.err));
        QVERIFY(run.err.contains("Usage: "));
    }
}

void TestCli::info()
{
    const Run run = Start({"unit", "info"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out,
             QByteArray("identity\t11 36 25 140 0 0 0 0\nport\tUSB\nfirmware\t140\nmode\tapplication\n"));
}

void TestCli::dumpListsEveryItem()
{
    const Run run = Start({"unit", "dump", "--raw"});
    QCOMPARE(run.exitCode, 0);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    QCOMPARE(lines.size(), 77);
    for (const QByteArray& line : lines)
        QCOMPARE(line.count('\t'), 3);
    QVERIFY(lines.contains("TPS_PER_AFFONDATA\tTPS PER AFFONDATA\t2.8 V\t143"));
    QVERIFY(lines.contains("TEMPERATURA_PER_CAMBIO\tTEMPERATURA PER CAMBIO\t25 °C\t128"));
    QVERIFY(lines.contains("RIPROGRAMMAZIONE\tRIPROGRAMMAZIONE\t240\t240"));
    // Live values have no file key; the engine is stopped for the first seconds.
    QVERIFY(lines.contains("VAL_GIRI\t\t0\t0"));

    // Without --raw the fourth field is left out.
    const Run plain = Start({"unit", "dump"});
    QCOMPARE(plain.exitCode, 0);
    QVERIFY(plain.out.contains("\nTPS_PER_AFFONDATA\tTPS PER AFFONDATA\t2.8 V\n"));
}

void TestCli::getFindsItemsByNameOrFileKey()
{
    QCOMPARE(Start({"unit", "get", "giricutoff"}).out, QByteArray("1500 RPM\n"));
    QCOMPARE(Start({"unit", "get", "tempo di sovrapposizione"}).out, QByteArray("0.4 s\n"));
}

void TestCli::setAppliesLimitsStepsAndRules_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("byte");

    QTest::newRow("held at its limit") << "GiriCutOff"
                                       << "9000" << QByteArray("8000 RPM") << CutOffByte << 15;
    QTest::newRow("comma, file key, step") << "TEMPO DI SOVRAPPOSIZIONE"
                                           << "0,25" << QByteArray("0.25 s") << 216 << 64;
    QTest::newRow("negative, sign and magnitude") << "PosizioneASondaFredda"
                                                  << "-5" << QByteArray("-5") << 219 << 133;
    // A new ignition type keeps the engine speeds: 1500 RPM is 40 on its scale.
    QTest::newRow("ignition rescales the speeds") << "TIPO_ACCENSIONE"
                                                  << "3" << QByteArray("3") << CutOffByte << 40;
}

void TestCli::setAppliesLimitsStepsAndRules()
{
    QFETCH(QString, item);
    QFETCH(QString, value);
    QFETCH(QByteArray, stored);
    QFETCH(int, address);
    QFETCH(int, byte);

    const Run run = Start({"unit", "set", item, value});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, stored + '\n');
    QCOMPARE(MemoryByte(address), byte);
}

void TestCli::setRefusesWhatIsNoParameter_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("value");

    QTest::newRow("live value") << "VAL_GIRI"
                                << "1000";
    // Writing it would leave the unit waiting for a new firmware.
    QTest::newRow("command") << "RIPROGRAMMAZIONE"
                             << "123";
    // Erasing goes through 'unit erase', which asks first.
    QTest::newRow("erase") << "CHECKUP"
                           << "8";
}

void TestCli::setRefusesWhatIsNoParameter()
{
    QFETCH(QString, item);
    QFETCH(QString, value);

    const Run run = Start({"unit", "set", item, value});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains(item), qPrintable(run.err));
}

void TestCli::configurationFilesRoundTrip()
{
    // No plain text goes to a temporary file, not even for a moment.
    QVERIFY(QDir().mkpath(FilePath("tmp")));
    m_environment.insert("TMPDIR", FilePath("tmp"));
    FolderWatch temporary(FilePath("tmp"));
    QVERIFY(temporary.IsValid());
    QCOMPARE(Start({"unit", "save", FilePath("saved.tcn")}).exitCode, 0);
    const Run decrypted = Start({"tcn", "decrypt", FilePath("saved.tcn")});
    QCOMPARE(decrypted.exitCode, 0);
    QVERIFY(decrypted.out.startsWith("[CONFIGURAZIONE]\r\n"));
    QVERIFY(decrypted.out.contains("\r\nGIRI CUTOFF=1500\r\n"));

    // Edited by hand, enciphered again and loaded into the unit.
    QByteArray edited = decrypted.out;
    edited.replace("\r\nGIRI CUTOFF=1500\r\n", "\r\nGIRI CUTOFF=2500\r\n");
    QFile ini(FilePath("edited.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(edited);
    ini.close();
    QCOMPARE(Start({"tcn", "encrypt", ini.fileName(), FilePath("edited.tcn")}).exitCode, 0);
    QCOMPARE(Start({"tcn", "decrypt", FilePath("edited.tcn")}).out, edited);
    QCOMPARE(Start({"unit", "load", FilePath("edited.tcn")}).exitCode, 0);
    QCOMPARE(Start({"unit", "get", "GiriCutOff"}).out, QByteArray("2500 RPM\n"));

    // A text from an editor: a byte-order mark first, no line end last.
    QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write("\xEF\xBB\xBF[CONFIGURAZIONE]\r\nGIRI CUTOFF=3000");
    ini.close();
    QCOMPARE(Start({"tcn", "encrypt", ini.fileName(), FilePath("editor.tcn")}).exitCode, 0);
    QVERIFY(Start({"tcn", "decrypt", FilePath("editor.tcn")}).out.endsWith("GIRI CUTOFF=3000\r\n"));
    QCOMPARE(Start({"unit", "load", FilePath("editor.tcn")}).exitCode, 0);
    QCOMPARE(Start({"unit", "get", "GiriCutOff"}).out, QByteArray("3000 RPM\n"));
    QCOMPARE(temporary.Made(), QStringList());
}

void TestCli::fileFailures_data()
{
    QTest::addColumn<QStringList>("args");

    QTest::newRow("decrypt a missing file") << QStringList{"tcn", "decrypt", "missing.tcn"};
    QTest::newRow("encrypt a missing file") << QStringList{"tcn", "encrypt", "missing.ini", "out.tcn"};
    QTest::newRow("load what is no configuration") << QStringList{"unit", "load", TZR_CLI};
    QTest::newRow("save where no file can be") << QStringList{"unit", "save", "no-such-folder/saved.tcn"};
}

void TestCli::fileFailures()
{
    QFETCH(QStringList, args);

    const Run run = Start(args);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY(run.err.startsWith("tzr582-cli: ") || run.err.contains("\ntzr582-cli: "));
    QVERIFY(!QFile::exists(FilePath("share/TZR582/simunit-memory.bin"))); // the unit was not written
}

// Every command that reads a configuration file refuses one it cannot use
// before touching the unit, and says why.
void TestCli::refusedFilesNameWhy_data()
{
    QTest::addColumn<QStringList>("command"); // the file follows (twice for a diff)
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");

    const QStringList decrypt = {"tcn", "decrypt"};
    QTest::newRow("decrypt a missing file") << decrypt << "missing" << 1 << "The file does not exist.";
    QTest::newRow("decrypt a folder") << decrypt << "folder" << 1 << "This is a folder, not a file.";
    QTest::newRow("decrypt an unreadable file") << decrypt << "unreadable" << 1 << "The file cannot be read";
    QTest::newRow("load a file over 1 MiB")
        << QStringList{"unit", "load"} << "oversized" << 1 << "The file is larger than 1 MiB";
    QTest::newRow("diff a file cut short")
        << QStringList{"tcn", "diff"} << "cut" << 2 << "The file is incomplete: it was cut short.";
    QTest::newRow("restore what is no configuration")
        << QStringList{"unit", "restore"} << "text" << 1 << "The file is not a configuration file.";
    QTest::newRow("load a file with nothing to load")
        << QStringList{"unit", "load"} << "empty" << 1 << "The file holds no value that can be loaded";
}

void TestCli::refusedFilesNameWhy()
{
    QFETCH(QStringList, command);
    QFETCH(QString, fixture);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    ChooseLanguage(1);
    QString file = FilePath("refused.tcn");
    if (fixture == "folder") {
        QVERIFY(QDir().mkpath(file));
    } else if (fixture == "unreadable") {
        file = "/proc/self/mem"; // opens, and every read of it at offset 0 fails
    } else if (fixture == "oversized") {
        QFile big(file);
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(1024 * 1024 + 1));
    } else if (fixture == "cut") {
        const QString whole = EncryptText("whole", "[CONFIGURAZIONE]\r\nGIRI CUTOFF=2500\r\n");
        QFile container(whole);
        QVERIFY(container.open(QIODevice::ReadOnly));
        QFile cut(file);
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write(container.readAll().chopped(5));
    } else if (fixture == "text") {
        QFile text(file);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("[CONFIGURAZIONE]\r\nGIRI CUTOFF=2500\r\n");
    } else if (fixture == "empty") {
        file = EncryptText("empty", "[CONFIGURAZIONE]\r\n");
        QVERIFY(!file.isEmpty());
    }
    QStringList args = command << file;
    if (command.contains("diff"))
        args << file;

    const Run run = Start(args);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains(said), qPrintable(run.err));
    QVERIFY2(run.err.contains(file), qPrintable(run.err));
    QVERIFY(!QFile::exists(FilePath("share/TZR582/simunit-memory.bin"))); // the unit was not written
    QVERIFY(QDir(FilePath("share/TZR582/backups")).entryList({"*-before-*"}).isEmpty());
}

// A load says how many values it wrote, and what needs attention: a value the
// unit holds otherwise (exit 0), an entry refused (exit 1, a partial load).
void TestCli::loadSaysWhatItWroteAndWhatNeedsAttention()
{
    ChooseLanguage(1);
    Run run = Start({"unit", "load", EncryptText("rounded", "[CONFIGURAZIONE]\r\nGIRI CUTOFF=2550\r\n")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains("1 value(s) written into the unit"), qPrintable(run.err));
    QVERIFY2(run.err.contains("GIRI CUTOFF=2550: stored as 2600 RPM"), qPrintable(run.err));
    QCOMPARE(Start({"unit", "get", "GiriCutOff"}).out, QByteArray("2600 RPM\n"));

    run = Start(
        {"unit", "load", EncryptText("partial", "[CONFIGURAZIONE]\r\nMINIMO TPS=2\r\nMAX RICCO=abc\r\n")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("MAX RICCO=abc: not a number"), qPrintable(run.err));
    QVERIFY2(run.err.contains("1 value(s) written into the unit"), qPrintable(run.err));
    QVERIFY2(run.err.contains("was loaded into the unit only in part"), qPrintable(run.err));
}

void TestCli::liveWritesCsvWithAPoint()
{
    // A locale with a decimal comma does not reach the machine output.
    m_environment.insert("LC_ALL", "de_DE.UTF-8");
    const Run run = Start({"unit", "live", "--count", "3", "--interval", "50"});
    QCOMPARE(run.exitCode, 0);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.at(0), QByteArray("VAL_GIRI,VALORE_LAMBDA,VALOR_TPS,VALORE_MINIMO_TPS,POSIZIONE_ATTUATORE,"
                                     "VALORE_POSIZIONE_DEFAULT,FASCIA_LAMBDA,FASCIA_TPS,VAL_TEMPERATURA"));
    const QRegularExpression number("^-?\\d+(\\.\\d+)?$");
    for (const QByteArray& line : lines.mid(1)) {
        const QList<QByteArray> values = line.split(',');
        QCOMPARE(values.size(), 9);
        for (const QByteArray& value : values)
            QVERIFY2(number.match(QString::fromLatin1(value)).hasMatch(), line);
        // The engine is stopped for the first seconds: its period byte 255 is 0 RPM.
        QCOMPARE(values.at(0), QByteArray("0"));
    }
    QVERIFY(lines.at(1).contains('.')); // the lambda voltage, for one
}

// A second of live values recorded to a log, then drawn: the picture has the
// size asked for; a file that is not a log draws nothing.
void TestCli::liveRecordsALogThatPlots()
{
    Run run = Start({"unit", "live", "--output", FilePath("live.csv"), "--duration", "1"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.isEmpty());
    QFile log(FilePath("live.csv"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    QVERIFY(lines.first().startsWith("elapsed [s],time,VAL_GIRI [RPM],VALORE_LAMBDA [V],"));
    QVERIFY2(lines.size() >= 6, QByteArray::number(lines.size())); // 10 packets a second, and the header
    QVERIFY(lines.at(1).startsWith("0.000,"));

    run = Start({"log", "plot", FilePath("live.csv"), "--png", FilePath("live.png"), "--channels",
                 "valore_lambda,FASCIA_LAMBDA", "--size", "640x480"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.isEmpty(), qPrintable(run.err)); // no toolkit noise
    const QImage picture(FilePath("live.png"));
    QCOMPARE(picture.size(), QSize(640, 480));

    run = Start({"log", "plot", Tool, "--png", FilePath("tool.png")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("is not a data log"), qPrintable(run.err));
    QVERIFY(!QFile::exists(FilePath("tool.png")));
}

void TestCli::eraseNeedsConsent()
{
    QCOMPARE(Start({"unit", "set", "GiriCutOff", "2500"}).exitCode, 0);
    const int changed = MemoryByte(CutOffByte);
    QVERIFY(changed != FactoryCutOff);

    // No terminal to ask: the answer is no.
    QCOMPARE(Start({"unit", "erase"}).exitCode, 1);
    QCOMPARE(MemoryByte(CutOffByte), changed);

    QCOMPARE(Start({"unit", "erase", "--yes"}).exitCode, 0);
    QCOMPARE(MemoryByte(CutOffByte), FactoryCutOff);
    QCOMPARE(MemoryByte(CheckupByte), FactoryCheckup);
}

void TestCli::programReportsItsOutcome()
{
    const Run programmed = Start({"unit", "program", "--yes"});
    QCOMPARE(programmed.exitCode, 0);
    QVERIFY2(programmed.err.contains(Programmed), qPrintable(programmed.err));

    // A resource library without the boot-loader image.
    const QString tool = ProgramFolder(true, {{"ConfigBase.rcc", TZR_NO_BOOTLOADER_RCC}});
    const Run failed = Start({"unit", "program", "--yes"}, tool);
    QCOMPARE(failed.exitCode, 1);
    QVERIFY(!failed.err.contains(Programmed));
}

void TestCli::connectFailsWithoutTheLinkLibrary()
{
    const Run run = Start({"unit", "info"}, ProgramFolder(false));
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains("link library could not be loaded"), qPrintable(run.err));
    // The folder has no language store either: said once, in the built-in Italian.
    QCOMPARE(run.err.count("File dei testi dell'interfaccia mancante o illeggibile"), 1);
}

void TestCli::startUpTakesTheStoredLanguage()
{
    QFile store(FilePath("Languages.lng"));
    QVERIFY(store.open(QIODevice::WriteOnly));
    store.write("languages=2\nstrings=100\n[0]\n0=Italiano\n22=Cancellare?\n[1]\n0=English\n22=Erase?\n");
    store.close();
    const QString tool = ProgramFolder(true, {{"Dizionario/Languages.lng", store.fileName()}});
    {
        QSettings settings(FilePath("config/orv srl/TZR582.conf"), QSettings::IniFormat);
        settings.setValue("Language", 1);
    }

    const Run run = Start({"unit", "erase"}, tool);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("Erase? [y/N] no"), qPrintable(run.err));
}

void TestCli::diffBackupsAndRestore()
{
    const QString a = FilePath("a.tcn");
    const QString b = FilePath("b.tcn");
    QCOMPARE(Start({"unit", "save", a}).exitCode, 0);
    QCOMPARE(Start({"unit", "set", "GiriCutOff", "2500"}).exitCode, 0);
    QCOMPARE(Start({"unit", "save", b}).exitCode, 0);

    // As diff: 0 the same, 1 different, 2 trouble.
    Run run = Start({"tcn", "diff", a, a});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.isEmpty());
    run = Start({"tcn", "diff", a, b});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QByteArray("GiriCutOff\tGIRI CUTOFF\t1500 RPM\t2500 RPM\n"));
    QCOMPARE(Start({"tcn", "diff", a, FilePath("missing.tcn")}).exitCode, 2);
    QCOMPARE(Start({"unit", "diff", b}).exitCode, 0);
    run = Start({"unit", "diff", a});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QByteArray("GiriCutOff\tGIRI CUTOFF\t2500 RPM\t1500 RPM\n"));

    // The load leaves a backup of the unit as it was; "latest" gives it back.
    QCOMPARE(Start({"unit", "load", a}).exitCode, 0);
    QCOMPARE(MemoryByte(CutOffByte), FactoryCutOff);
    run = Start({"unit", "backups"});
    QCOMPARE(run.exitCode, 0);
    // One line per backup: the closest to the unit (a connect's, 0 values apart) first.
    QVERIFY2(run.out.startsWith(FilePath("share/TZR582/backups/").toUtf8()), run.out.constData());
    QVERIFY(run.out.split('\n').first().contains("\tconnect\t0\t"));
    QVERIFY(QRegularExpression("-before-load\\.tcn\t[-0-9T:]+\tbefore-load\t1\t\n")
                .match(QString::fromUtf8(run.out))
                .hasMatch());
    QCOMPARE(Start({"unit", "restore", "latest"}).exitCode, 0);
    QCOMPARE(Start({"unit", "get", "GiriCutOff"}).out, QByteArray("2500 RPM\n"));
}

// --yes confirms an operation; going on without a backup takes --no-backup.
void TestCli::aBackupThatCannotBeMadeStopsUnlessNoBackup_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("programs"); // else it puts the factory cut-off back

    QTest::newRow("erase --yes") << QStringList{"unit", "erase", "--yes"} << false;
    QTest::newRow("program --yes") << QStringList{"unit", "program", "--yes"} << true;
    QTest::newRow("load") << QStringList{"unit", "load", "@factory.tcn"} << false;
}

void TestCli::aBackupThatCannotBeMadeStopsUnlessNoBackup()
{
    QFETCH(QStringList, args);
    QFETCH(bool, programs);
    args = InFolder(args);
    QCOMPARE(Start({"unit", "save", FilePath("factory.tcn")}).exitCode, 0);
    QCOMPARE(Start({"unit", "set", "GiriCutOff", "2500"}).exitCode, 0);
    // The backups folder cannot be made: a plain file has its name.
    const QString backups = FilePath("share/TZR582/backups");
    QVERIFY(QDir(backups).removeRecursively());
    QFile blocker(backups);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    Run run = Start(args);
    QCOMPARE(run.exitCode, 1);
    // The question names the folder; the hint names the option this command takes.
    QVERIFY2(
        run.err.contains(backups + "\nContinuare senza copia di sicurezza? [y/N] no (--no-backup goes on"),
        qPrintable(run.err));
    QVERIFY(!run.err.contains("--yes"));
    QVERIFY(!run.err.contains(Programmed));
    QVERIFY(MemoryByte(CutOffByte) != FactoryCutOff);

    run = Start(args << "--no-backup");
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains("? [y/N] yes (--no-backup)"), qPrintable(run.err));
    if (programs)
        QVERIFY2(run.err.contains(Programmed), qPrintable(run.err));
    else
        QCOMPARE(MemoryByte(CutOffByte), FactoryCutOff);
}

// A result that does not arrive whole is a failure: a script must not go on
// with an empty file.
void TestCli::resultsThatCannotBeWrittenFail_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("tcn decrypt") << QStringList{"tcn", "decrypt", "@saved.tcn"} << 1;
    QTest::newRow("unit dump") << QStringList{"unit", "dump"} << 1;
    QTest::newRow("--version") << QStringList{"--version"} << 1;
    QTest::newRow("unit diff, as diff's trouble") << QStringList{"unit", "diff", "@saved.tcn"} << 2;
}

void TestCli::resultsThatCannotBeWrittenFail()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    if (!QFile::exists("/dev/full"))
        QSKIP("this system has no /dev/full");
    QCOMPARE(Start({"unit", "save", FilePath("saved.tcn")}).exitCode, 0);
    QCOMPARE(Start({"unit", "set", "GiriCutOff", "2500"}).exitCode, 0);

    m_stdoutFile = "/dev/full";
    const Run run = Start(InFolder(args));
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains("tzr582-cli: cannot write to standard output"), qPrintable(run.err));
}

void TestCli::encryptRefusesATextWithoutSection_data()
{
    QTest::addColumn<QByteArray>("text");

    // What 'tcn decrypt car.tcn > car.ini' leaves on a full disk.
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("blank lines") << QByteArray("\r\n\r\n");
    QTest::newRow("no section") << QByteArray("; edited\r\nGIRI CUTOFF=2500\r\n");
}

void TestCli::encryptRefusesATextWithoutSection()
{
    QFETCH(QByteArray, text);
    QFile good(FilePath("good.ini"));
    QVERIFY(good.open(QIODevice::WriteOnly));
    good.write("[CONFIGURAZIONE]\r\nGIRI CUTOFF=1500\r\n");
    good.close();
    QCOMPARE(Start({"tcn", "encrypt", good.fileName(), FilePath("car.tcn")}).exitCode, 0);
    QFile car(FilePath("car.tcn"));
    QVERIFY(car.open(QIODevice::ReadOnly));
    const QByteArray container = car.readAll();
    car.close();
    QFile ini(FilePath("car.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(text);
    ini.close();

    const Run run = Start({"tcn", "encrypt", ini.fileName(), car.fileName()});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("holds no INI section"), qPrintable(run.err));
    QVERIFY(car.open(QIODevice::ReadOnly));
    QCOMPARE(car.readAll(), container);
}

void TestCli::unreadUnitIsNeverCompared_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("shown"); // on stdout

    // No value the module holds passes for the unit's: no difference, no
    // count, no value; the items are named on stderr.
    QTest::newRow("diff") << QStringList{"unit", "diff", "saved.tcn"} << QByteArray();
    QTest::newRow("dump") << QStringList{"unit", "dump", "--raw"}
                          << QByteArray("\nTPS_PER_AFFONDATA\tTPS PER AFFONDATA\t\t\n");
    QTest::newRow("backups") << QStringList{"unit", "backups"} << QByteArray("\tconnect\t-1\t");
    QTest::newRow("get") << QStringList{"unit", "get", "GiriCutOff"} << QByteArray();
}

// A unit left in its boot loader (its update cut short) answers, but gives no value.
void TestCli::unreadUnitIsNeverCompared()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, shown);
    QCOMPARE(Start({"unit", "save", FilePath("saved.tcn")}).exitCode, 0); // and the connect's backup

    QProcess unit;
    unit.start(TZR_UNIT_PROGRAM, {"--pty", "--boot-loader", "--data", FilePath("unit")});
    QVERIFY(unit.waitForStarted(5000));
    while (!unit.canReadLine())
        QVERIFY(unit.waitForReadyRead(5000));
    const QString port = QString::fromLocal8Bit(unit.readLine()).trimmed();

    for (QString& arg : args)
        arg.replace("saved.tcn", FilePath("saved.tcn"));
    const Run run = Start(args << "--port" << port);
    unit.terminate();
    unit.waitForFinished(5000);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("could not be read from the unit: "), qPrintable(run.err));
    QVERIFY2(run.err.contains("GiriCutOff"), qPrintable(run.err));
    if (shown.isEmpty())
        QCOMPARE(run.out, QByteArray());
    else
        QVERIFY2(run.out.contains(shown), run.out.constData());
}

// The yellow-wire cut-off speeds (bytes 192 and 193): an erase puts them back
// to the factory's, every comparison sees them, a restore writes them back.
void TestCli::restoreGivesBackTheYellowWireSpeeds()
{
    const QString factory = FilePath("factory.tcn");
    const QString yellow = FilePath("yellow.tcn");
    QCOMPARE(Start({"unit", "save", factory}).exitCode, 0);
    QCOMPARE(Start({"unit", "set", "GiriCutOffFiliGialli", "3000"}).exitCode, 0);
    QCOMPARE(Start({"unit", "set", "GiriSgancioCutOffFiliGialli", "2500"}).exitCode, 0);
    const QList<int> speeds = {MemoryByte(192), MemoryByte(193)};
    QCOMPARE(Start({"unit", "save", yellow}).exitCode, 0);

    Run run = Start({"tcn", "diff", factory, yellow});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out.count('\n'), 2);
    QVERIFY(run.out.contains("GiriCutOffFiliGialli\tGIRI CUTTOFF FILI GIALLI\t"));
    QVERIFY(run.out.contains("\t2500 RPM\n"));

    QCOMPARE(Start({"unit", "erase", "--yes"}).exitCode, 0);
    QVERIFY((QList<int>{MemoryByte(192), MemoryByte(193)}) != speeds);
    run = Start({"unit", "diff", yellow});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out.count('\n'), 2);

    run = Start({"unit", "restore", "latest"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE((QList<int>{MemoryByte(192), MemoryByte(193)}), speeds);
    QCOMPARE(Start({"unit", "diff", yellow}).exitCode, 0);
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
