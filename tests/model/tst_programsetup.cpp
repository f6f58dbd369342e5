// The start-up shared by the windows and the command line: the language a first
// start speaks, taken from the user's environment, and kept once stored.

#include "model/ProgramSetup.h"
#include "support/OrvRegistryData.h"
#include "support/Translator.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestProgramSetup : public QObject {
    Q_OBJECT

private slots:
    void languageOfTheEnvironment_data();
    void languageOfTheEnvironment();
    void firstStartSpeaksTheSystemLanguage();

private:
    static void SetLocale(const QString& lcAll, const QString& lcMessages, const QString& lang);
    static int StartedLanguage(const QString& dataFolder);
};

void TestProgramSetup::SetLocale(const QString& lcAll, const QString& lcMessages, const QString& lang)
{
    const QList<std::pair<const char*, QString>> variables = {
        {"LC_ALL", lcAll}, {"LC_MESSAGES", lcMessages}, {"LANG", lang}};
    for (const auto& [name, value] : variables) {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value.toUtf8());
    }
}

// The language a start of the program finds in its settings.
int TestProgramSetup::StartedLanguage(const QString& dataFolder)
{
    TOrvRegistryData settings;
    TTranslator translator;
    ProgramSetup::LoadSettingsAndLibraries(translator, settings, dataFolder);
    return settings.GetIntData(QStringLiteral("Language"));
}

void TestProgramSetup::languageOfTheEnvironment_data()
{
    QTest::addColumn<QString>("lcAll");
    QTest::addColumn<QString>("lcMessages");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<int>("language");

    QTest::newRow("German") << ""
                            << ""
                            << "de_DE.UTF-8" << 4;
    QTest::newRow("Russian with a modifier") << ""
                                             << ""
                                             << "ru_UA.UTF-8@euro" << 5;
    QTest::newRow("language alone") << ""
                                    << ""
                                    << "en" << 1;
    QTest::newRow("LC_MESSAGES before LANG") << ""
                                             << "es_ES.UTF-8"
                                             << "de_DE.UTF-8" << 2;
    QTest::newRow("LC_ALL before both") << "fr_FR.UTF-8"
                                        << "es_ES.UTF-8"
                                        << "de_DE.UTF-8" << 3;
    QTest::newRow("Italian") << ""
                             << ""
                             << "it_CH.UTF-8" << 0;
    QTest::newRow("another language: Italian") << ""
                                               << ""
                                               << "pt_BR.UTF-8" << 0;
    QTest::newRow("C locale: Italian") << ""
                                       << ""
                                       << "C.UTF-8" << 0;
    QTest::newRow("nothing set: Italian") << ""
                                          << ""
                                          << "" << 0;
}

void TestProgramSetup::languageOfTheEnvironment()
{
    QFETCH(QString, lcAll);
    QFETCH(QString, lcMessages);
    QFETCH(QString, lang);
    QFETCH(int, language);

    SetLocale(lcAll, lcMessages, lang);
    QCOMPARE(ProgramSetup::SystemLanguage(), language);
}

void TestProgramSetup::firstStartSpeaksTheSystemLanguage()
{
    QTemporaryDir dataFolder;
    const QString data = dataFolder.path() + QLatin1Char('/');
    QFile::remove(ProgramSetup::SettingsFileName()); // a first start: no settings yet

    SetLocale({}, {}, QStringLiteral("de_DE.UTF-8"));
    QCOMPARE(StartedLanguage(data), 4);

    // The user's choice is stored and wins over the environment afterwards.
    {
        TOrvRegistryData settings;
        TTranslator translator;
        ProgramSetup::LoadSettingsAndLibraries(translator, settings, data);
        settings.SetIntData(QStringLiteral("Language"), 2);
    }
    SetLocale({}, {}, QStringLiteral("fr_FR.UTF-8"));
    QCOMPARE(StartedLanguage(data), 2);
}

QTEST_GUILESS_MAIN(TestProgramSetup)
#include "tst_programsetup.moc"
