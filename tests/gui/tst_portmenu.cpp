// The communication menu's port choice: the simulated unit, a listed or typed
// serial port; kept in the settings and given to the connection.

#include "../common/TestLanguageStore.h"
#include "FakeFileDialogs.h"
#include "app/PortMenu.h"
#include "link/OrvConnection.h"
#include "model/ProgramSetup.h"
#include "support/OrvRegistryData.h"
#include "support/Translator.h"

#include <QAction>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestPortMenu : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void choiceIsKeptAndGivenToTheConnection();
};

namespace {

QAction* CheckedEntry(const QMenu& menu)
{
    for (QAction* action : menu.actions())
        if (action->isChecked())
            return action;
    return nullptr;
}

} // namespace

void TestPortMenu::choiceIsKeptAndGivenToTheConnection()
{
    QTemporaryDir folder;
    QVERIFY(WriteTestLanguageStore(folder.path()));
    TTranslator translator;
    translator.SetDllName(folder.filePath("Languages.dll"));
    QVERIFY(translator.LoadLanguageLibrary());
    TOrvRegistryData settings;
    ProgramSetup::LoadSettingsAndLibraries(translator, settings, folder.path() + QLatin1Char('/'));
    translator.SetDllName(folder.filePath("Languages.dll"));
    QVERIFY(translator.LoadLanguageLibrary());
    settings.DeleteStringValue(QStringLiteral("Port"), true); // whatever an earlier run left
    TOrvConnection connection;
    FakeFileDialogs dialogs;
    TPortMenu menu(&connection, &settings, &dialogs, &translator);

    QCOMPARE(menu.title(), QStringLiteral("T371"));
    emit menu.aboutToShow();
    QCOMPARE(CheckedEntry(menu)->text(), QStringLiteral("T372")); // the simulated unit by default

    // A path typed by hand.
    dialogs.portAnswer = QStringLiteral(" /tmp/tzr582-unit ");
    menu.ChooseOtherPort();
    QCOMPARE(settings.GetStringData(QStringLiteral("Port")), QStringLiteral("/tmp/tzr582-unit"));
    QCOMPARE(connection.LinkPortPath(), QStringLiteral("/tmp/tzr582-unit"));
    QCOMPARE(CheckedEntry(menu)->data().toString(), QStringLiteral("/tmp/tzr582-unit"));

    // Cancelling the typed path changes nothing.
    dialogs.portAnswer.clear();
    menu.ChooseOtherPort();
    QCOMPARE(connection.LinkPortPath(), QStringLiteral("/tmp/tzr582-unit"));

    // Kept for the next start.
    TOrvRegistryData reread;
    TTranslator unused;
    ProgramSetup::LoadSettingsAndLibraries(unused, reread, folder.path() + QLatin1Char('/'));
    QCOMPARE(reread.GetStringData(QStringLiteral("Port")), QStringLiteral("/tmp/tzr582-unit"));

    // Back to the simulated unit through its entry.
    menu.actions().first()->trigger();
    QVERIFY(settings.GetStringData(QStringLiteral("Port")).isEmpty());
    QVERIFY(connection.LinkPortPath().isEmpty());
    QCOMPARE(CheckedEntry(menu)->text(), QStringLiteral("T372"));
    TOrvRegistryData again;
    ProgramSetup::LoadSettingsAndLibraries(unused, again, folder.path() + QLatin1Char('/'));
    QVERIFY(again.GetStringData(QStringLiteral("Port")).isEmpty());
}

QTEST_MAIN(TestPortMenu)
#include "tst_portmenu.moc"
