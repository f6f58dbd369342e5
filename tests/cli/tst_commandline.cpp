// Parsing the tool's command line: which command, its arguments and options,
// help, and the usage errors a script can make.

#include "app/cli/CommandLine.h"

#include <QTest>

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void parses_data();
    void parses();
    void usageErrors_data();
    void usageErrors();
};

void TestCommandLine::parses_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("options"); // name=value

    QTest::newRow("arguments") << QStringList{"tcn", "encrypt", "a.ini", "a.tcn"} << "encrypt"
                               << QStringList{"a.ini", "a.tcn"} << QStringList{};
    QTest::newRow("flag") << QStringList{"unit", "dump", "--raw"} << "dump" << QStringList{}
                          << QStringList{"raw="};
    QTest::newRow("option values both ways")
        << QStringList{"unit", "live", "--count=3", "--interval", "50"} << "live" << QStringList{}
        << QStringList{"count=3", "interval=50"};
    QTest::newRow("negative number is an argument")
        << QStringList{"unit", "set", "PosizioneASondaFredda", "-5"} << "set"
        << QStringList{"PosizioneASondaFredda", "-5"} << QStringList{};
    QTest::newRow("words after -- are arguments")
        << QStringList{"unit", "save", "--", "--yes"} << "save" << QStringList{"--yes"} << QStringList{};
    QTest::newRow("option before the command") << QStringList{"--port", "/dev/pts/3", "unit", "info"}
                                               << "info" << QStringList{} << QStringList{"port=/dev/pts/3"};
    QTest::newRow("options on both sides")
        << QStringList{"--count=3", "--port", "/dev/pts/3", "unit", "live", "--interval", "50"} << "live"
        << QStringList{} << QStringList{"count=3", "interval=50", "port=/dev/pts/3"};
    QTest::newRow("flag before the command")
        << QStringList{"--yes", "unit", "erase"} << "erase" << QStringList{} << QStringList{"yes="};
}

void TestCommandLine::parses()
{
    QFETCH(QStringList, words);
    QFETCH(QString, command);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, options);

    const TParsedCommand parsed = TCommandLine::Parse(words);
    QCOMPARE(parsed.outcome, TParsedCommand::Outcome::Run);
    QVERIFY(parsed.command);
    QCOMPARE(parsed.command->name, command);
    QCOMPARE(parsed.arguments, arguments);
    QStringList given;
    for (auto it = parsed.options.cbegin(); it != parsed.options.cend(); ++it)
        given << it.key() + '=' + it.value();
    given.sort();
    QCOMPARE(given, options);
}

void TestCommandLine::usageErrors_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("error");

    QTest::newRow("nothing") << QStringList{} << "missing command";
    QTest::newRow("unknown group") << QStringList{"ecu", "info"} << "unknown command 'ecu'";
    QTest::newRow("no command") << QStringList{"unit"} << "missing unit command";
    QTest::newRow("unknown command") << QStringList{"unit", "reset"} << "unknown command 'unit reset'";
    QTest::newRow("missing argument") << QStringList{"unit", "set", "GiriCutOff"} << "missing VALUE";
    QTest::newRow("extra argument") << QStringList{"unit", "info", "now"} << "unexpected argument 'now'";
    QTest::newRow("option of another command")
        << QStringList{"unit", "dump", "--yes"} << "unknown option '--yes'";
    QTest::newRow("flag with a value")
        << QStringList{"unit", "dump", "--raw=1"} << "option '--raw' takes no value";
    QTest::newRow("option without its value")
        << QStringList{"unit", "live", "--count"} << "option '--count' needs a value N";
    QTest::newRow("unknown option before the command")
        << QStringList{"--bogus", "unit", "info"} << "unknown option '--bogus'";
    QTest::newRow("option of another command before it")
        << QStringList{"--raw", "unit", "info"} << "unknown option '--raw'";
    QTest::newRow("only an option") << QStringList{"--port", "/dev/pts/3"} << "missing command";
}

void TestCommandLine::usageErrors()
{
    QFETCH(QStringList, words);
    QFETCH(QString, error);

    const TParsedCommand parsed = TCommandLine::Parse(words);
    QCOMPARE(parsed.outcome, TParsedCommand::Outcome::UsageError);
    QCOMPARE(parsed.error, error);
    // Once the words name a command, its help wins over whatever else is wrong.
    if (parsed.command)
        QCOMPARE(TCommandLine::Parse(words + QStringList{"--help"}).outcome, TParsedCommand::Outcome::Help);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
