// The program as the desktop starts it: its command line answered without a
// display, and a second start handing its file to the program already running.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestProgramStart : public QObject {
    Q_OBJECT

private slots:
    void answersWithoutDisplay_data();
    void answersWithoutDisplay();
    void secondStartHandsOverItsFile();
};

namespace {

// Runs the program to its end; false when it did not end by itself.
bool RunToEnd(QProcess& process, const QStringList& arguments)
{
    process.start(QStringLiteral(TZR_PROGRAM), arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
}

} // namespace

void TestProgramStart::answersWithoutDisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutText");
    QTest::addColumn<QString>("stderrText");

    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << ""
                                    << "Usage: tzr582";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: tzr582"
                          << "";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "tzr582 "
                             << "";
}

void TestProgramStart::answersWithoutDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutText);
    QFETCH(QString, stderrText);

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    QVERIFY(RunToEnd(process, arguments));
    QCOMPARE(process.exitCode(), exitCode);
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    QVERIFY2(out.contains(stdoutText) && (stdoutText.isEmpty() || err.isEmpty()), qPrintable(out + err));
    QVERIFY2(err.contains(stderrText), qPrintable(err));
}

// The running program reports what it is handed on its log category, which the
// test turns on.
void TestProgramStart::secondStartHandsOverItsFile()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("tzr582.instance.info=true"));
    QProcess first;
    first.setProcessEnvironment(environment);
    first.setProcessChannelMode(QProcess::MergedChannels);
    QByteArray log;
    const auto logged = [&first, &log](const QByteArray& text) {
        log += first.readAll();
        return log.contains(text);
    };
    first.start(QStringLiteral(TZR_PROGRAM), QStringList{});
    QTRY_VERIFY2_WITH_TIMEOUT(logged("listening on"), log.constData(), 60000);

    const QString file = QDir::current().absoluteFilePath(QStringLiteral("car.lce"));
    QProcess second;
    second.setProcessEnvironment(environment);
    QVERIFY(RunToEnd(second, {QStringLiteral("car.lce")}));
    QCOMPARE(second.exitCode(), 0);
    QTRY_VERIFY2_WITH_TIMEOUT(logged("handed over: " + file.toUtf8()), log.constData(), 10000);
    QCOMPARE(first.state(), QProcess::Running);

    first.kill();
    QVERIFY(first.waitForFinished(10000));
}

QTEST_GUILESS_MAIN(TestProgramStart)
#include "tst_programstart.moc"
