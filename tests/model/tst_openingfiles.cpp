// How configuration files reach the program from outside: the command line of
// tzr582, the offer to load a file once a unit is connected, and the list of
// recently used files.

#include "../common/TestModule.h"
#include "link/OrvConnection.h"
#include "model/ConfigurationFileOffer.h"
#include "model/ConfigurationFileTypes.h"
#include "model/ProgramArguments.h"
#include "model/RecentFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestOpeningFiles : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void offerWaitsForAConnectedUnit();
    void offerAnsweredOnce_data();
    void offerAnsweredOnce();
    void recentFilesKeepTheLatestFirst();
    void configurationFileNames_data();
    void configurationFileNames();
};

void TestOpeningFiles::commandLine_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("file"); // relative to the current folder, as given
    QTest::addColumn<QString>("error");

    using O = TProgramArguments::Outcome;
    QTest::newRow("nothing") << QStringList{} << int(O::Run) << ""
                             << "";
    QTest::newRow("a file") << QStringList{"car.tcn"} << int(O::Run) << "car.tcn"
                            << "";
    QTest::newRow("a file after --") << QStringList{"--", "-car.tcn"} << int(O::Run) << "-car.tcn"
                                     << "";
    QTest::newRow("help") << QStringList{"car.tcn", "--help"} << int(O::Help) << ""
                          << "";
    QTest::newRow("short help") << QStringList{"-h"} << int(O::Help) << ""
                                << "";
    QTest::newRow("version") << QStringList{"--version"} << int(O::Version) << ""
                             << "";
    QTest::newRow("unknown option") << QStringList{"--load", "car.tcn"} << int(O::UsageError) << ""
                                    << "unknown option '--load'";
    QTest::newRow("two files") << QStringList{"a.tcn", "b.tcn"} << int(O::UsageError) << ""
                               << "one configuration file at a time";
    // Parsed before the application object takes its own options out.
    QTest::newRow("toolkit options pass")
        << QStringList{"-platform", "offscreen", "--style=Fusion", "-reverse", "car.tcn"} << int(O::Run)
        << "car.tcn"
        << "";
    QTest::newRow("new instance") << QStringList{"--new-instance", "car.lce"} << int(O::Run) << "car.lce"
                                  << "";
}

void TestOpeningFiles::commandLine()
{
    QFETCH(QStringList, words);
    QFETCH(int, outcome);
    QFETCH(QString, file);
    QFETCH(QString, error);

    const TProgramArguments parsed = TProgramArguments::Parse(words);
    QCOMPARE(int(parsed.outcome), outcome);
    QCOMPARE(parsed.file, file.isEmpty() ? QString() : QDir::current().absoluteFilePath(file));
    QCOMPARE(parsed.error, error);
    if (!error.isEmpty())
        QVERIFY(parsed.UsageErrorText().contains("Usage: tzr582 [--new-instance] [FILE]"));
    QCOMPARE(parsed.newInstance, words.contains("--new-instance"));
}

// A file handed over before a unit is connected is not loaded; the user is
// told, and asked once the unit is there.
void TestOpeningFiles::offerWaitsForAConnectedUnit()
{
    TestModule t;
    QVERIFY(t.textsLoaded);
    QStringList loaded;
    TConfigurationFileOffer offer(t.module, [&loaded](const QString& file) { loaded << file; });

    offer.Offer("/cars/old.tcn");
    offer.Offer("/cars/new.tcn"); // the newer file takes the place of the older
    QCOMPARE(t.prompts.MessageTexts(), QStringList({"T301", "T301"}));

    QCOMPARE(t.module.ConnectToUnit(4, 0), 0);
    QVERIFY(t.module.IsUnitConnected());
    t.prompts.answers = {true};
    offer.UnitConnected();
    QCOMPARE(t.prompts.questions.size(), 1);
    QCOMPARE(t.prompts.questions.first().text, QStringLiteral("T300"));
    QCOMPARE(loaded, QStringList{"/cars/new.tcn"});
    QVERIFY(offer.Waiting().isEmpty());
}

void TestOpeningFiles::offerAnsweredOnce_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes: loaded") << true;
    QTest::newRow("no: left alone") << false;
}

// With a unit connected the file is offered at once; whatever the answer, a
// later connection does not ask again.
void TestOpeningFiles::offerAnsweredOnce()
{
    QFETCH(bool, yes);
    TestModule t;
    QCOMPARE(t.module.ConnectToUnit(4, 0), 0);
    QVERIFY(t.module.IsUnitConnected());
    QStringList loaded;
    TConfigurationFileOffer offer(t.module, [&loaded](const QString& file) { loaded << file; });

    t.prompts.answers = {yes};
    offer.Offer("/cars/car.tcn");
    offer.UnitConnected();
    QCOMPARE(t.prompts.questions.size(), 1);
    QVERIFY(t.prompts.messages.isEmpty());
    QCOMPARE(loaded, yes ? QStringList{"/cars/car.tcn"} : QStringList{});
}

void TestOpeningFiles::recentFilesKeepTheLatestFirst()
{
    QTemporaryDir folder;
    const QString settings = folder.filePath("TZR582.conf");
    TRecentFiles recent(settings);
    QVERIFY(recent.Files().isEmpty());
    for (int i = 1; i <= TRecentFiles::MaxCount + 2; ++i)
        recent.Add(QStringLiteral("/cars/%1.tcn").arg(i));
    recent.Add("/cars/5.tcn"); // used again: moves up

    // Kept in the settings file: another list on the same file sees it.
    const QStringList files = TRecentFiles(settings).Files();
    QCOMPARE(files.size(), TRecentFiles::MaxCount);
    QCOMPARE(files.mid(0, 3), QStringList({"/cars/5.tcn", "/cars/10.tcn", "/cars/9.tcn"}));
    QCOMPARE(files.last(), QStringLiteral("/cars/3.tcn"));
    QCOMPARE(files.count("/cars/5.tcn"), 1);

    recent.Remove("/cars/10.tcn");
    QCOMPARE(recent.Files().mid(0, 2), QStringList({"/cars/5.tcn", "/cars/9.tcn"}));
    // A relative name is kept as the absolute file it names.
    recent.Add("car.tcn");
    QCOMPARE(recent.Files().first(), QDir::current().absoluteFilePath("car.tcn"));
}

// The name a file saved from the windows gets ("car" becomes "car.lce") is one
// the dialogs' filter and a drop on the window take again.
void TestOpeningFiles::configurationFileNames_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("taken");

    QTest::newRow("tcn") << "/cars/car.tcn" << true;
    QTest::newRow("saved without extension")
        << "/cars/car." + ConfigurationFileTypes::DefaultSuffix() << true;
    QTest::newRow("upper case") << "/cars/CAR.LCE" << true;
    QTest::newRow("other file") << "/cars/car.ini" << false;
    QTest::newRow("extension as part of a name") << "/cars/cartcn" << false;
}

void TestOpeningFiles::configurationFileNames()
{
    QFETCH(QString, file);
    QFETCH(bool, taken);

    QCOMPARE(ConfigurationFileTypes::IsConfigurationFile(file), taken);
    const QString extension = QFileInfo(file).suffix().toLower();
    if (!extension.isEmpty())
        QCOMPARE(ConfigurationFileTypes::DialogFilter().contains("*." + extension), taken);
}

QTEST_GUILESS_MAIN(TestOpeningFiles)
#include "tst_openingfiles.moc"
