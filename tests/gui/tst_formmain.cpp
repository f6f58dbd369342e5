// The main window: construction and scaling, the language strip, the menu's
// keyboard and mouse, the link state, and the commands it owns.

#include "../common/FakePrompts.h"
#include "../common/SimUnit.h"
#include "FakeFileDialogs.h"
#include "app/AboutBox.h"
#include "app/FormMain.h"
#include "app/FormScaling.h"
#include "app/LinkStatusBar.h"
#include "app/ProgramArguments.h"
#include "app/ResourceLibrary.h"
#include "app/SerialDataModule.h"
#include "items/OrvNumber.h"
#include "support/PlainBuffer.h"
#include "support/EncryptedContainer.h"
#include "support/OrvRegistryData.h"
#include "support/Translator.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

class TestFormMain : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void scalesByTheScreenWidth_data();
    void scalesByTheScreenWidth();
    void wideScreensScaleByTheirHeight_data();
    void wideScreensScaleByTheirHeight();
    void languageStrip();
    void menuKeys();
    void mouseHighlightsAndRuns();
    void connectTurnsTheStatusBarGreen();
    void connectReportsUnitsThatCannotBeUsed();
    void saveAndLoadThroughTheDialogs();
    void fileOnTheCommandLineIsOfferedOnceConnected();
    void droppedConfigurationFileIsOffered();
    void aboutBoxShowsTheVersion();
    void languageButtonsSwitchEveryText();

private:
    void MakeWindow(int screenWidth = 800);

    SimUnitControl* m_sim = nullptr;
    FakePrompts* m_prompts = nullptr;
    FakeFileDialogs* m_dialogs = nullptr;
    TSerialDataModule* m_module = nullptr;
    TFormMain* m_window = nullptr;
};

void TestFormMain::init()
{
    m_sim = FreshSimUnit();
    m_prompts = new FakePrompts;
    m_dialogs = new FakeFileDialogs;
    m_module = new TSerialDataModule;
    m_module->SetPrompts(m_prompts);
}

void TestFormMain::cleanup()
{
    delete m_window;
    m_window = nullptr;
    delete m_module;
    delete m_dialogs;
    delete m_prompts;
    ResourceLibrary::Free();
}

void TestFormMain::MakeWindow(int screenWidth)
{
    m_window = new TFormMain(m_module, screenWidth);
    m_window->SetFileDialogs(m_dialogs);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestFormMain::scalesByTheScreenWidth_data()
{
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<int>("entryTop");
    QTest::addColumn<int>("margin");
    QTest::newRow("800: as designed") << 800 << 89 << 20;
    QTest::newRow("1024") << 1024 << 113 << 25;
}

void TestFormMain::scalesByTheScreenWidth()
{
    QFETCH(int, screenWidth);
    QFETCH(int, entryTop);
    QFETCH(int, margin);
    MakeWindow(screenWidth);
    QCOMPARE(m_window->MenuLabel(0)->y(), entryTop);
    QCOMPARE(m_window->font().pixelSize(), 32 * screenWidth / 800);
    const QToolButton* first = m_window->LanguageButtons().first();
    QCOMPARE(first->y(), margin);
    // The exit entry sits one row pitch below the load entry.
    QCOMPARE(m_window->MenuLabel(3)->y() - m_window->MenuLabel(2)->y(),
             m_window->MenuLabel(1)->y() - m_window->MenuLabel(0)->y());
}

void TestFormMain::wideScreensScaleByTheirHeight_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("freeHeight");
    QTest::addColumn<int>("scalingWidth");
    QTest::newRow("4:3 screen") << 1024 << 740 << 986;
    QTest::newRow("4:3 screen, whole height free") << 1024 << 768 << 1024;
    QTest::newRow("16:9 screen") << 1920 << 1040 << 1386;
    QTest::newRow("small screen keeps the design") << 640 << 480 << 800;
}

void TestFormMain::wideScreensScaleByTheirHeight()
{
    QFETCH(int, width);
    QFETCH(int, freeHeight);
    QFETCH(int, scalingWidth);
    QCOMPARE(ScalingWidthFor(width, freeHeight), scalingWidth);
}

void TestFormMain::languageStrip()
{
    MakeWindow();
    const QList<QToolButton*> buttons = m_window->LanguageButtons();
    QCOMPARE(buttons.size(), m_module->Translator()->MaxLanguages());
    QCOMPARE(buttons.first()->objectName(), QStringLiteral("ButtonLingua0"));
    QCOMPARE(buttons.first()->size(), QSize(60, 44));
    // The flags come from the resource library beside the program.
    QCOMPARE(buttons.first()->icon().isNull(), !ResourceLibrary::IsLoaded());
    QCOMPARE(buttons.first()->property("Tag").toInt(), 0);
}

void TestFormMain::menuKeys()
{
    MakeWindow();
    QCOMPARE(m_window->HighlightedEntry(), 0);
    QTest::keyClick(m_window, Qt::Key_Up);
    QCOMPARE(m_window->HighlightedEntry(), 3);
    QTest::keyClick(m_window, Qt::Key_Down);
    QCOMPARE(m_window->HighlightedEntry(), 0);
    QTest::keyClick(m_window, Qt::Key_Down);
    QCOMPARE(m_window->HighlightedEntry(), 1);
    QCOMPARE(m_window->MenuLabel(1)->font().underline(), true);
    QCOMPARE(m_window->MenuLabel(0)->font().underline(), false);

    // Return runs the entry's action: the save command asks for a file.
    QSignalSpy save(m_window->Action("ActionSalvaFile"), &QAction::triggered);
    QTest::keyClick(m_window, Qt::Key_Return);
    QCOMPARE(save.count(), 1);
    QCOMPARE(m_dialogs->folders.size(), 1);
    QVERIFY(m_dialogs->folders.first().endsWith("/Configurazioni"));

    QTest::keyClick(m_window, Qt::Key_Q, Qt::AltModifier);
    QVERIFY(!m_window->isVisible());
}

void TestFormMain::mouseHighlightsAndRuns()
{
    MakeWindow();
    QLabel* load = m_window->MenuLabel(2);
    QTest::mouseMove(load, QPoint(5, 5));
    QCOMPARE(m_window->HighlightedEntry(), 2);
    QSignalSpy loadAction(m_window->Action("ActionCaricaFile"), &QAction::triggered);
    QTest::mouseClick(load, Qt::LeftButton);
    QCOMPARE(loadAction.count(), 1);
}

void TestFormMain::connectTurnsTheStatusBarGreen()
{
    MakeWindow();
    m_window->Action("ActionConnect")->trigger();
    QCoreApplication::processEvents(); // the link state arrives through the queue
    TStatusBar* status = m_window->StatusBar();
    QCOMPARE(status->PanelText(1), QStringLiteral("PORT: USB"));
    QCOMPARE(status->PanelTextColor(0), QColor(0, 128, 0));
    QVERIFY(!m_window->Action("ActionConnect")->isEnabled());
    QVERIFY(m_window->Action("ActionDisconnect")->isEnabled());

    m_window->Action("ActionDisconnect")->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(status->PanelText(1), QString());
    QCOMPARE(status->PanelTextColor(0), QColor(255, 0, 0));
    QVERIFY(m_window->Action("ActionConnect")->isEnabled());
    QVERIFY(m_prompts->messages.isEmpty());
}

void TestFormMain::connectReportsUnitsThatCannotBeUsed()
{
    MakeWindow();
    m_sim->setIdentityUnanswered(true);
    m_window->Connect();
    uint8_t other[8] = {12, 36, 25, 140};
    m_sim->setIdentityUnanswered(false);
    m_sim->setIdentity(other);
    m_window->Connect();
    QCOMPARE(m_prompts->messages.size(), 2);
    QVERIFY(m_prompts->messages.at(0).text.endsWith("\n(ERR.CODE: C01)"));
    QCOMPARE(m_prompts->messages.at(0).caption, m_window->windowTitle());
    QCOMPARE(m_prompts->messages.at(1).icon, TMessageIcon::Error);

    // Without the link library the connect says so, in the chosen language.
    m_prompts->messages.clear();
    m_module->OrvConnection()->SetDllName(QStringLiteral("NoSuchLibrary.dll"));
    m_window->Connect();
    QCOMPARE(m_prompts->MessageTexts(), QStringList{m_module->Translator()->GetString(200)});
    QVERIFY(!m_prompts->messages.first().text.isEmpty());
    m_window->SwitchLanguage(0);
    const QString italian = m_window->StatusBar()->PanelText(0);
    m_window->SwitchLanguage(1);
    QVERIFY(m_window->StatusBar()->PanelText(0) != italian); // the link text follows the language
    m_window->SwitchLanguage(0);
}

void TestFormMain::saveAndLoadThroughTheDialogs()
{
    MakeWindow();
    m_window->Connect();
    QTemporaryDir folder;
    m_dialogs->answer = folder.filePath("car.tcn");
    m_window->SaveFile();
    TPlainBuffer saved;
    QVERIFY(DecryptFileToBuffer(m_dialogs->answer, saved));
    QVERIFY(saved.Content().startsWith("[CONFIGURAZIONE]"));

    m_sim->writeMemory(204, 40);
    m_window->LoadFile();
    QCOMPARE(m_sim->readMemory(204), 80);

    m_dialogs->answer.clear(); // cancelled: nothing happens
    m_window->SaveFile();
    QVERIFY(m_prompts->messages.isEmpty());
}

// 'tzr582 car.tcn' (or a double click on car.tcn): the file waits for a unit,
// is offered through the prompts once one is connected, and is then among the
// recently used files.
void TestFormMain::fileOnTheCommandLineIsOfferedOnceConnected()
{
    MakeWindow();
    m_window->Connect();
    QTemporaryDir folder;
    m_dialogs->answer = folder.filePath("car.tcn");
    m_window->SaveFile();
    m_window->Disconnect();
    QCoreApplication::processEvents();
    m_sim->writeMemory(204, 40);

    m_window->OfferConfigurationFile(TProgramArguments::Parse({m_dialogs->answer}).file);
    QCOMPARE(m_prompts->messages.size(), 1);
    QVERIFY(m_prompts->messages.first().text.contains(QDir::toNativeSeparators(m_dialogs->answer)));
    QVERIFY(m_prompts->questions.isEmpty());

    m_prompts->answers = {true};
    m_window->Connect();
    QCoreApplication::processEvents(); // the link state arrives through the queue
    QCOMPARE(m_prompts->questions.size(), 1);
    QVERIFY(m_prompts->questions.first().text.contains(QDir::toNativeSeparators(m_dialogs->answer)));
    QCOMPARE(m_sim->readMemory(204), 80);
    QCOMPARE(m_prompts->messages.size(), 1);

    // The File menu offers it again.
    emit m_window->RecentFilesMenu()->aboutToShow();
    QAction* recent = m_window->RecentFilesMenu()->actions().value(0);
    QVERIFY(recent);
    QCOMPARE(recent->toolTip(), QDir::toNativeSeparators(m_dialogs->answer));
    m_sim->writeMemory(204, 40);
    m_window->Disconnect();
    QCoreApplication::processEvents();
    m_window->Connect();
    QCoreApplication::processEvents();
    recent->trigger();
    QCOMPARE(m_sim->readMemory(204), 80);
    QCOMPARE(m_prompts->questions.size(), 1); // chosen from the menu: loaded unasked
}

void TestFormMain::droppedConfigurationFileIsOffered()
{
    MakeWindow();
    QMimeData notes;
    notes.setUrls({QUrl::fromLocalFile("/cars/notes.txt")});
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &notes, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window, &refused);
    QVERIFY(!refused.isAccepted());

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/cars/notes.txt"), QUrl::fromLocalFile("/cars/car.TCN")});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window, &drop);
    QVERIFY(m_prompts->messages.isEmpty()); // told once the drop is over
    QCoreApplication::processEvents();
    QCOMPARE(m_prompts->messages.size(), 1);
    QVERIFY(m_prompts->messages.first().text.contains(QDir::toNativeSeparators("/cars/car.TCN")));
}

void TestFormMain::aboutBoxShowsTheVersion()
{
    TAboutBox box;
    box.SetVersionText(ProgramVersionText());
    QCOMPARE(box.VersionLabel(), QStringLiteral("Version:  1.0.0.0"));
    QVERIFY(box.HasPicture());
}

void TestFormMain::languageButtonsSwitchEveryText()
{
    MakeWindow();
    QCOMPARE(m_window->MenuLabel(0)->text(), QStringLiteral("Configurazione vettura"));
    m_window->LanguageButtons().at(1)->click();
    QCOMPARE(m_window->MenuLabel(0)->text(), QStringLiteral("Vehicle configuration"));
    QCOMPARE(m_window->Action("ActionConnect")->text(), QStringLiteral("Connect"));
    QCOMPARE(m_module->NotConnectedText(), QStringLiteral("Control unit not connected"));
    QCOMPARE(m_window->StatusBar()->PanelText(0), m_module->NotConnectedText());
    QCOMPARE(m_window->OrvRegistryData()->GetIntData("Language"), 1);
    // The hint is the language's name without its accelerator.
    QCOMPARE(m_window->LanguageButtons().at(1)->toolTip(), QStringLiteral("English"));
    // Switching twice gives the same texts as switching once.
    m_window->SwitchLanguage(1);
    QCOMPARE(m_window->MenuLabel(0)->text(), QStringLiteral("Vehicle configuration"));
    m_window->SwitchLanguage(0);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("TZR582 - Configuratore"));
}

QTEST_MAIN(TestFormMain)
#include "tst_formmain.moc"
