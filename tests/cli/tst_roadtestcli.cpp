// 'tzr582-cli log check' and 'tzr582-cli report' end to end: logs of the
// simulated engine's behaviours judged against a configuration file or the
// simulated unit, their exit statuses, and the report's PDF read back with
// pdftotext (poppler-utils).

#include "tests/common/EngineLog.h"
#include "tests/common/ToolRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Tool = QStringLiteral(TZR_CLI);
constexpr int LogMs = 150000;

using Run = TToolRun;

} // namespace

class TestRoadTestCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void checkJudgesALog_data();
    void checkJudgesALog();
    void checkTakesTheUnitsConfiguration();
    void reportInEveryLanguage_data();
    void reportInEveryLanguage();
    void reportOfTheUnit();
    void reportRefusals_data();
    void reportRefusals();
    void reportNamesTheVehicleAndIsRecorded();

private:
    Run Start(const QString& program, const QStringList& args) const;
    Run Tzr(const QStringList& args) const { return Start(Tool, args); }
    QString FilePath(const QString& name) const { return m_folder->filePath(name); }
    // The text of a PDF, as pdftotext reads it.
    QString PdfText(const QString& pdf) const;

    QTemporaryDir m_logs; // the logs, made once
    std::unique_ptr<QTemporaryDir> m_folder;
    QProcessEnvironment m_environment;
};

void TestRoadTestCli::initTestCase()
{
    QVERIFY(m_logs.isValid());
    for (const EngineBehaviour behaviour : {EngineBehaviour::Healthy, EngineBehaviour::Lean,
                                            EngineBehaviour::DeadSensor, EngineBehaviour::FarDefault}) {
        const QString name = QString::fromLatin1(EngineModel::BehaviourName(behaviour));
        QVERIFY(WriteEngineLog(m_logs.filePath(name + ".csv"), behaviour, LogMs));
    }
    QVERIFY(WriteEngineLog(m_logs.filePath("short.csv"), EngineBehaviour::Healthy, 40000));
    QFile notALog(m_logs.filePath("notes.csv"));
    QVERIFY(notALog.open(QIODevice::WriteOnly));
    notALog.write("date,km\n2026-12-10,120\n");
}

void TestRoadTestCli::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    // A fresh unit (factory content) and fresh settings; its configuration as a file.
    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert("XDG_DATA_HOME", FilePath("share"));
    m_environment.insert("XDG_CONFIG_HOME", FilePath("config"));
    // The tool's temporary files too, away from tests that watch the shared folder.
    QDir().mkpath(FilePath("tmp"));
    m_environment.insert("TMPDIR", FilePath("tmp"));
    QCOMPARE(Tzr({"unit", "save", FilePath("factory.tcn")}).exitCode, 0);
}

void TestRoadTestCli::cleanup()
{
    m_folder.reset();
}

Run TestRoadTestCli::Start(const QString& program, const QStringList& args) const
{
    return TToolRun::Of(program, args, m_environment);
}

QString TestRoadTestCli::PdfText(const QString& pdf) const
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        qWarning("pdftotext (poppler-utils) is needed: scripts/install-deps installs it");
    const Run run = Start(pdftotext, {"-enc", "UTF-8", pdf, "-"});
    // The layout breaks lines where the page does, and the font joins letters
    // such as "fi" into one glyph: words are what the tests look for.
    return run.exitCode == 0 ? run.out.normalized(QString::NormalizationForm_KC).simplified() : QString();
}

void TestRoadTestCli::checkJudgesALog_data()
{
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("config");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("lines"); // lines of stdout, or words of stderr when it is empty

    QTest::newRow("healthy") << "healthy.csv"
                             << "factory.tcn" << 0
                             << QStringList{"rpm-signal\tpass\t0 s\t< 1 s",
                                            "warm-up\tpass\t75 °C\t>= 25 °C",
                                            "lambda-switching\tpass",
                                            "mixture-balance\tpass",
                                            "actuator-authority\tpass\t0 %\t<= 10 %, fail > 30 %",
                                            "default-position\tpass",
                                            "coverage\tpass"};
    QTest::newRow("lean")
        << "lean.csv"
        << "factory.tcn" << 1
        << QStringList{"rpm-signal\tpass",
                       "warm-up\tpass",
                       "lambda-switching\tfail",
                       "mixture-balance\tfail",
                       "actuator-authority\tfail",
                       "default-position\twarn",
                       "coverage\tpass",
                       "inspect\tgas-supply\tThe actuator is held at its upper limit",
                       "suggest\tMassimaAperturaAlMinimo\t25\t47\tThe actuator is held at this upper limit"};
    QTest::newRow("dead sensor")
        << "dead-sensor.csv"
        << "factory.tcn" << 1
        << QStringList{"rpm-signal\tpass",         "warm-up\tpass",
                       "lambda-switching\tfail",   "mixture-balance\tpass",
                       "actuator-authority\tpass", "default-position\twarn\tno steady closed loop\t+/- 22",
                       "coverage\tpass",           "inspect\tlambda-sensor\tThe lambda sensor"};
    QTest::newRow("far default")
        << "far-default.csv"
        << "factory.tcn" << 1
        << QStringList{
               "rpm-signal\tpass",         "warm-up\tpass",
               "lambda-switching\tpass",   "mixture-balance\twarn",
               "actuator-authority\tfail", "default-position\twarn\t134 / 100\t+/- 22",
               "coverage\tpass",           "suggest\tPOSIZIONE_DEFAULT\t100\t134\tIn steady closed loop"};
    QTest::newRow("too short for a verdict")
        << "short.csv"
        << "factory.tcn" << 2 << QStringList{"Only 34 s of closed loop", "gives no verdict"};
    QTest::newRow("not a data log") << "notes.csv"
                                    << "factory.tcn" << 2 << QStringList{"is not a data log"};
    QTest::newRow("no such log") << "none.csv"
                                 << "factory.tcn" << 2 << QStringList{"is not a data log"};
    QTest::newRow("configuration not readable")
        << "healthy.csv"
        << "healthy.csv" << 2 << QStringList{"holds no configuration"};
}

void TestRoadTestCli::checkJudgesALog()
{
    QFETCH(QString, log);
    QFETCH(QString, config);
    QFETCH(int, exitCode);
    QFETCH(QStringList, lines);
    const QString configFile = config.endsWith(".tcn") ? FilePath(config) : m_logs.filePath(config);
    const Run run = Tzr({"log", "check", m_logs.filePath(log), "--config", configFile});
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 2) {
        QVERIFY(run.out.isEmpty());
        for (const QString& words : lines)
            QVERIFY2(run.err.contains(words), qPrintable(run.err));
        return;
    }
    const QStringList out = run.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(out.size(), lines.size());
    for (int i = 0; i < lines.size(); ++i)
        QVERIFY2(out.at(i).startsWith(lines.at(i)), qPrintable(out.at(i)));
}

// Without --config the unit's configuration counts: with the default position
// where the loop settles, that criterion passes and no new default is suggested.
void TestRoadTestCli::checkTakesTheUnitsConfiguration()
{
    const QString log = m_logs.filePath("far-default.csv");
    Run run = Tzr({"log", "check", log});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.out.contains("default-position\twarn\t134 / 100"), qPrintable(run.out));
    QCOMPARE(Tzr({"unit", "set", "POSIZIONE_DEFAULT", "134"}).exitCode, 0);
    run = Tzr({"log", "check", log});
    QVERIFY2(run.out.contains("default-position\tpass\t134 / 134"), qPrintable(run.out));
    QVERIFY(!run.out.contains("suggest\tPOSIZIONE_DEFAULT"));
}

void TestRoadTestCli::reportInEveryLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("words"); // the title, a criterion, a verdict, a reason, a signature
    QTest::newRow("it") << "it"
                        << QStringList{"Rapporto di configurazione", "Commutazione lambda", "Non superato",
                                       "Firma del cliente", "Posizione di default"};
    QTest::newRow("en") << "en"
                        << QStringList{"Configuration and road-test report", "Lambda switching", "Fail",
                                       "Customer's signature", "Default position"};
    QTest::newRow("es") << "es"
                        << QStringList{"Informe de configuración", "Conmutación lambda", "No superado",
                                       "Firma del cliente", "Posición por defecto"};
    QTest::newRow("fr") << "fr"
                        << QStringList{"Rapport de configuration", "Oscillation lambda", "Échec",
                                       "Signature du client", "Position par défaut"};
    QTest::newRow("de") << "de"
                        << QStringList{"Bericht über Konfiguration", "Lambda-Umschaltung", "Nicht bestanden",
                                       "Unterschrift des Kunden", "Standardposition"};
    QTest::newRow("ru") << "ru"
                        << QStringList{"Отчёт о настройке", "Переключение лямбда-зонда", "Не пройдено",
                                       "Подпись клиента", "Исходное положение"};
}

void TestRoadTestCli::reportInEveryLanguage()
{
    QFETCH(QString, language);
    QFETCH(QStringList, words);
    const QString pdf = FilePath("report.pdf");
    const Run run = Tzr({"report", "--config", FilePath("factory.tcn"), "--log", m_logs.filePath("lean.csv"),
                         "--out", pdf, "--language", language});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.isEmpty());
    const QString text = PdfText(pdf);
    QVERIFY2(!text.isEmpty(), "the report's text cannot be read (pdftotext)");
    for (const QString& word : words)
        QVERIFY2(text.contains(word), qPrintable(word));
    // From a file: the file named, the unit not known, the changes against the
    // factory values (none), the log named under its picture.
    QVERIFY(text.contains("factory.tcn"));
    QVERIFY(text.contains("lean.csv"));
    QVERIFY(!text.contains("11 36 25 140"));
}

// From the unit: its identity and firmware, the workshop of the settings, and
// the values changed since the previous configuration on record (the backup
// made at the first connect, before the change).
void TestRoadTestCli::reportOfTheUnit()
{
    QCOMPARE(Tzr({"unit", "set", "POSIZIONE_DEFAULT", "120"}).exitCode, 0);
    QFile settings(FilePath("config/orv srl/TZR582.conf"));
    QVERIFY(settings.open(QIODevice::Append));
    settings.write("WorkshopName=Officina Rossi\nWorkshopAddress=\"Via Roma 12\\n20100 Milano\"\n");
    settings.close();
    const QString pdf = FilePath("unit.pdf");
    const Run run = Tzr({"report", "--out", pdf, "--language", "en"});
    QCOMPARE(run.exitCode, 0);
    const QString text = PdfText(pdf);
    for (const char* word : {"Control unit 11 36 25 140 0 0 0 0", "Officina Rossi",
                             "Via Roma 12 20100 Milano", "Changes since the previous configuration on record",
                             "Fixed Default Position 100 120", "No road-test log was given."})
        QVERIFY2(text.contains(QString::fromUtf8(word)), qPrintable(QString::fromUtf8(word) + "\n" + text));
}

void TestRoadTestCli::reportRefusals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no output") << QStringList{"report"} << "missing --out";
    QTest::newRow("unknown language")
        << QStringList{"report", "--out", "r.pdf", "--language", "pt"} << "--language";
    QTest::newRow("not a log") << QStringList{"report", "--out", "r.pdf", "--log", "notes.csv"}
                               << "not a data log";
    QTest::newRow("not a configuration")
        << QStringList{"report", "--out", "r.pdf", "--config", "notes.csv"} << "cannot be deciphered";
}

void TestRoadTestCli::reportRefusals()
{
    QFETCH(QStringList, args);
    QFETCH(QString, shown);
    for (QString& arg : args) {
        if (arg.endsWith(".csv"))
            arg = m_logs.filePath(arg);
        else if (arg.endsWith(".pdf"))
            arg = FilePath(arg);
    }
    const Run run = Tzr(args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(shown), qPrintable(run.err));
    QVERIFY(!QFile::exists(FilePath("r.pdf")));
}

// --vehicle: the report names the recorded vehicle (its VIN too) and is
// recorded on its timeline; an unknown plate writes no report.
void TestRoadTestCli::reportNamesTheVehicleAndIsRecorded()
{
    QCOMPARE(Tzr({"vehicle", "add", "--plate", "AB-123 CD", "--make", "Fiat", "--model", "Punto", "--vin",
                  "ZFA19900001234567"})
                 .exitCode,
             0);
    const QString pdf = FilePath("car.pdf");
    Run run = Tzr({"report", "--config", FilePath("factory.tcn"), "--out", pdf, "--language", "en",
                   "--vehicle", "ab123cd"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const QString text = PdfText(pdf);
    for (const char* words : {"Vehicle AB-123 CD · Fiat · Punto", "VIN ZFA19900001234567"})
        QVERIFY2(text.contains(QString::fromUtf8(words)), qPrintable(QString::fromUtf8(words) + "\n" + text));
    run = Tzr({"vehicle", "show", "AB123CD"});
    QVERIFY(run.out.contains("\treport\treport car.pdf"));

    run = Tzr(
        {"report", "--config", FilePath("factory.tcn"), "--out", FilePath("other.pdf"), "--vehicle", "NOPE"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(!QFile::exists(FilePath("other.pdf")));
}

QTEST_GUILESS_MAIN(TestRoadTestCli)
#include "tst_roadtestcli.moc"
