// The main window: construction and scaling, the language strip, the menu's
// keyboard and mouse, the link state, and the commands it owns.

#include "../common/FakePrompts.h"
#include "../common/SimUnit.h"
#include "FakeFileDialogs.h"
#include "app/AboutBox.h"
#include "app/FormAttesa.h"
#include "app/FormConfig.h"
#include "app/FormMain.h"
#include "app/FormOndaCostruita.h"
#include "app/FormScaling.h"
#include "app/LinkStatusBar.h"
#include "chart/FormChart.h"
#include "items/OrvNumber.h"
#include "link/OrvConnection.h"
#include "model/ProgramArguments.h"
#include "model/ResourceLibrary.h"
#include "model/SerialDataModule.h"
#include "support/EncryptedContainer.h"
#include "support/OrvRegistryData.h"
#include "support/PlainBuffer.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <utility>

namespace {

// The relative luminance and contrast ratio of the web content guidelines.
double Luminance(const QColor& colour)
{
    auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double Contrast(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

} // namespace

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
    void configurationWindowMadeAfterTheShowTakesTheLanguage();
    void statusBarNamesTheSerialPort();
    void menuEntriesReadOnTheirBackground();
    void arrowsMoveTheHighlightWhateverHasTheFocus();
    void languageButtonsWithoutFlagsShowTheNames();
    void everyWindowCarriesTheApplicationIcon();
    void standardButtonsSpeakTheLanguage_data();
    void standardButtonsSpeakTheLanguage();
    void keysStartNothingDuringAnOperation_data();
    void keysStartNothingDuringAnOperation();
    void commandsCalledDuringAnOperationAreRefused();
    void otherWindowsTakeNoInputDuringAnOperation();
    void keysWaitingWhenAnOperationEndsAreDropped();
    void firmwareUpdateAsksFirst_data();
    void firmwareUpdateAsksFirst();
    void loadWithoutAUnitSaysWhy_data();
    void loadWithoutAUnitSaysWhy();

private:
    void MakeWindow(int screenWidth = 800);
    void MakeActiveWindow();
    void RunOperation(const QString& operation);
    QString Text(int index) const { return m_module->Translator()->GetString(index, 0); }

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
    // The language is kept in the user's settings: the next test starts in Italian.
    if (m_window)
        m_window->OrvRegistryData()->SetIntData(QStringLiteral("Language"), 0);
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

void TestFormMain::MakeActiveWindow()
{
    MakeWindow();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

// A long operation as its command runs it: the firmware update (answered yes),
// a load (of a file saved from the connected unit) or a connect.
void TestFormMain::RunOperation(const QString& operation)
{
    if (operation == QLatin1String("firmware")) {
        m_prompts->answers = {true};
        m_window->Reprogram();
    } else if (operation == QLatin1String("load")) {
        m_window->LoadFile();
    } else {
        m_window->Connect();
    }
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
    // The menu bar keeps the system font's family and weight, not the form's
    // bold Tahoma (its size scales with the form).
    QCOMPARE(m_window->menuBar()->font().families(), QApplication::font().families());
    QCOMPARE(m_window->menuBar()->font().weight(), QApplication::font().weight());
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
    // The current language's button shows pressed from the start, and the
    // menus and their submenus read alike, each title with its access key.
    QVERIFY(buttons.first()->isChecked());
    const QFont menuFont = m_window->menuBar()->actions().first()->menu()->font();
    for (int language = 0; language < m_module->Translator()->MaxLanguages(); ++language) {
        m_window->SwitchLanguage(language);
        QVERIFY(buttons.at(language)->isChecked());
        for (const QAction* menu : m_window->menuBar()->actions())
            QVERIFY2(menu->text().contains(u'&'), qPrintable(menu->text()));
    }
    for (const QMenu* menu : m_window->findChildren<QMenu*>())
        QCOMPARE(menu->font(), menuFont);
    m_window->SwitchLanguage(0);
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
    QCOMPARE(m_prompts->MessageTexts(),
             QStringList{m_module->Translator()->GetString(TextIndex::LinkLibraryNotLoaded)});
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

    // Done, the status bar says, naming the file; the next dialog opens where it was saved.
    QStatusBar* status = m_window->statusBar();
    QCOMPARE(status->currentMessage(),
             "Configurazione salvata in " + QDir::toNativeSeparators(m_dialogs->answer));

    m_sim->writeMemory(204, 40);
    m_window->LoadFile();
    QCOMPARE(m_sim->readMemory(204), 80);
    QCOMPARE(m_dialogs->folders.last(), folder.path());
    QVERIFY2(QRegularExpression("^car\\.tcn caricato: [1-9][0-9]* valori scritti nella centralina$")
                 .match(status->currentMessage())
                 .hasMatch(),
             qPrintable(status->currentMessage()));

    m_dialogs->answer.clear(); // cancelled: nothing happens
    m_window->SaveFile();
    QVERIFY(m_prompts->messages.isEmpty());

    // A change of the link state is never hidden behind the message.
    m_window->Disconnect();
    QCoreApplication::sendPostedEvents();
    QVERIFY(status->currentMessage().isEmpty());
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
    QCOMPARE(m_window->Action("ActionBackups")->text(), QStringLiteral("Backups"));
    QVERIFY(m_window->findChild<QMenu*>("MenuFile")->actions().contains(m_window->Action("ActionBackups")));
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

// The program makes the configuration window once the main window shows.
void TestFormMain::configurationWindowMadeAfterTheShowTakesTheLanguage()
{
    MakeWindow();
    m_window->SwitchLanguage(1);
    TFormConfig config(m_module, m_window, 800);
    m_window->SetConfigurationWindow(&config);
    QCOMPARE(config.windowTitle(), QStringLiteral("Vehicle configuration"));
}

void TestFormMain::statusBarNamesTheSerialPort()
{
    TLinkStatusBar bar(800, nullptr);
    TOrvConnection connection;
    bar.ShowConnected(QStringLiteral("connected"), connection);
    QCOMPARE(bar.PanelText(1), QStringLiteral("PORT: USB"));
    connection.SetLinkPort(QStringLiteral("/dev/ttyUSB0"), 19200);
    bar.ShowConnected(QStringLiteral("connected"), connection);
    QCOMPARE(bar.PanelText(1), QStringLiteral("PORT: /dev/ttyUSB0"));
}

void TestFormMain::menuEntriesReadOnTheirBackground()
{
    MakeWindow();
    // The colour behind each entry as drawn (the entry's top-left corner, where
    // no glyph reaches), against the entry's text colour, with each entry
    // highlighted in turn.
    for (int highlighted = 0; highlighted < 4; ++highlighted) {
        QTest::mouseMove(m_window->MenuLabel(highlighted), QPoint(5, 5));
        QCOMPARE(m_window->HighlightedEntry(), highlighted);
        const QImage shown = m_window->grab().toImage();
        for (int entry = 0; entry < 4; ++entry) {
            const QLabel* label = m_window->MenuLabel(entry);
            const QPoint corner = label->mapTo(m_window, QPoint(1, 1)) * shown.devicePixelRatio();
            const QColor background = shown.pixelColor(corner);
            const QColor text = label->palette().color(QPalette::WindowText);
            const double contrast = Contrast(text, background);
            QVERIFY2(contrast >= 4.5, qPrintable(QStringLiteral("entry %1 (%2 highlighted): %3 on %4, %5:1")
                                                     .arg(entry)
                                                     .arg(highlighted)
                                                     .arg(text.name(), background.name())
                                                     .arg(contrast, 0, 'f', 2)));
        }
    }
    // The highlight keeps its yellow and its underline.
    QCOMPARE(m_window->MenuLabel(3)->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    QVERIFY(m_window->MenuLabel(3)->font().underline());
}

void TestFormMain::arrowsMoveTheHighlightWhateverHasTheFocus()
{
    MakeWindow();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    // A click on the language strip's background, below the buttons, gives it the focus.
    auto* strip = m_window->findChild<QScrollArea*>(QStringLiteral("ScrollLingue"));
    QTest::mouseClick(strip->viewport(), Qt::LeftButton, {}, QPoint(strip->width() / 2, strip->height() - 5));
    QCOMPARE(QApplication::focusWidget(), strip);
    const int first = m_window->HighlightedEntry(); // where the mouse left it
    QTest::keyClick(strip, Qt::Key_Down);
    QCOMPARE(m_window->HighlightedEntry(), (first + 1) % 4);
    QTest::keyClick(strip, Qt::Key_Up);
    QTest::keyClick(strip, Qt::Key_Up);
    QCOMPARE(m_window->HighlightedEntry(), (first + 3) % 4);
}

void TestFormMain::languageButtonsWithoutFlagsShowTheNames()
{
    // A program folder with the language store but no resource library.
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("Dizionario")));
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/Dizionario/Languages.lng"),
                        folder.filePath(QStringLiteral("Dizionario/Languages.lng"))));
    m_window = new TFormMain(m_module, 800, nullptr, folder.path());
    QVERIFY(!ResourceLibrary::IsLoaded());
    const QList<QToolButton*> buttons = m_window->LanguageButtons();
    QCOMPARE(buttons.size(), 6);
    for (int i = 0; i < buttons.size(); ++i) {
        const QToolButton* button = buttons.at(i);
        QVERIFY(button->icon().isNull());
        QCOMPARE(button->text(), m_module->Translator()->GetFirstString(i).remove(QLatin1Char('&')));
        QVERIFY(!button->autoRaise()); // framed, so that the button shows as one
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) < button->width(),
                 qPrintable(button->text()));
    }
}

void TestFormMain::everyWindowCarriesTheApplicationIcon()
{
    MakeWindow();
    const QIcon icon = QApplication::windowIcon();
    QVERIFY(!icon.isNull());
    TFormConfig config(m_module, m_window, 800);
    TFormOndaCostruita wave(m_module, 800, &config);
    TAboutBox about(m_window);
    TFormAttesa wait([] { return QString(); });
    QMessageBox box(QMessageBox::Critical, QString(), QString(), QMessageBox::Ok, m_window);
    for (QWidget* window :
         {static_cast<QWidget*>(m_window), static_cast<QWidget*>(&config), static_cast<QWidget*>(&wave),
          static_cast<QWidget*>(&about), static_cast<QWidget*>(&wait), static_cast<QWidget*>(&box)})
        QVERIFY2(window->windowIcon().cacheKey() == icon.cacheKey(), window->metaObject()->className());
}

void TestFormMain::standardButtonsSpeakTheLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("German") << 4 << "&Ja"
                            << "Abbrechen";
    QTest::newRow("Russian") << 5 << "&Да"
                             << "Отмена";
    QTest::newRow("Italian") << 0 << "&Sì"
                             << "Annulla";
    QTest::newRow("English") << 1 << "&Yes"
                             << "Cancel";
}

void TestFormMain::standardButtonsSpeakTheLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, yes);
    QFETCH(QString, cancel);
    MakeWindow();
    m_window->SwitchLanguage(4); // away first: the switch replaces the translation
    m_window->SwitchLanguage(language);
    QMessageBox box(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Yes | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), yes);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), cancel);
}

void TestFormMain::keysStartNothingDuringAnOperation_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    const struct {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {{"F3", Qt::Key_F3, Qt::NoModifier},
                {"Ctrl+C", Qt::Key_C, Qt::ControlModifier},
                {"F4", Qt::Key_F4, Qt::NoModifier},
                {"F2", Qt::Key_F2, Qt::NoModifier},
                {"F1", Qt::Key_F1, Qt::NoModifier}};
    for (const char* operation : {"firmware", "load", "connect"}) {
        for (const auto& key : keys)
            QTest::addRow("%s, %s", operation, key.name) << operation << key.key << key.modifiers;
    }
}

// A key pressed while the operation runs (at its first progress step) triggers
// no action of the window: no dialog, no question, no second wait window.
void TestFormMain::keysStartNothingDuringAnOperation()
{
    QFETCH(QString, operation);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    MakeActiveWindow();
    QTemporaryDir folder;
    m_module->Backups().SetFolder(folder.filePath("backups"));
    m_dialogs->answer = folder.filePath("car.tcn");
    if (operation == QLatin1String("load")) {
        m_window->Connect();
        m_window->SaveFile();
        QCoreApplication::processEvents();
    }

    QObject watcher;
    QStringList started;
    for (QAction* action : m_window->findChildren<QAction*>())
        connect(action, &QAction::triggered, &watcher,
                [&started, action] { started << action->objectName(); });
    int steps = 0;
    qsizetype dialogs = 0;
    qsizetype questions = 0;
    size_t waits = 0;
    m_prompts->onProgress = [&] {
        if (steps++ > 0)
            return;
        dialogs = m_dialogs->folders.size();
        questions = m_prompts->questions.size();
        waits = m_prompts->waitWindows.size();
        QTest::keyClick(m_window, Qt::Key(key), modifiers);
        dialogs = m_dialogs->folders.size() - dialogs;
        questions = m_prompts->questions.size() - questions;
        waits = m_prompts->waitWindows.size() - waits;
    };
    RunOperation(operation);
    m_prompts->onProgress = nullptr;
    QVERIFY(steps > 0);
    QCOMPARE(started, QStringList());
    QCOMPARE(dialogs, 0);
    QCOMPARE(questions, 0);
    QCOMPARE(waits, size_t(0));

    // Once the operation is over the key works again.
    QSignalSpy loadAction(m_window->Action("ActionCaricaFile"), &QAction::triggered);
    m_dialogs->answer.clear();
    QTest::keyClick(m_window, Qt::Key_F3);
    QCOMPARE(loadAction.count(), 1);
}

// What reaches a command other than through the keys (a queued message, a
// window's own call) is refused too while an operation runs.
void TestFormMain::commandsCalledDuringAnOperationAreRefused()
{
    MakeWindow();
    m_dialogs->answer = QStringLiteral("/cars/car.tcn");
    bool inside = false;
    m_prompts->onProgress = [&] {
        if (std::exchange(inside, true))
            return;
        m_window->LoadFile();
        m_window->SaveFile();
        m_window->Connect();
        m_window->Reprogram();
    };
    RunOperation(QStringLiteral("firmware"));
    QVERIFY(inside);
    QCOMPARE(m_dialogs->folders.size(), 0);
    QCOMPARE(m_prompts->questions.size(), 1); // the update's own
    QCOMPARE(m_prompts->waitWindows.size(), size_t(1));
    QVERIFY(!m_module->IsUnitConnected());
}

// The configuration window and the chart take no keys either, and the program
// does not close, while the operation runs; afterwards they answer again.
void TestFormMain::otherWindowsTakeNoInputDuringAnOperation()
{
    MakeActiveWindow();
    TFormConfig config(m_module, m_window, 800);
    m_window->SetConfigurationWindow(&config);
    config.show();
    m_window->ShowChart();
    TFormChart* chart = m_window->ChartWindow();
    QVERIFY(chart && chart->isVisible());
    bool closed = true;
    bool inside = false;
    m_prompts->onProgress = [&] {
        if (std::exchange(inside, true))
            return;
        QTest::keyClick(chart, Qt::Key_Space);    // pauses the chart
        QTest::keyClick(&config, Qt::Key_Escape); // closes the configuration window
        closed = m_window->close();
    };
    m_window->Connect();
    m_prompts->onProgress = nullptr;
    QVERIFY(inside);
    QVERIFY(!chart->IsPaused());
    QVERIFY(config.isVisible());
    QVERIFY(!closed);
    QVERIFY(m_window->isVisible());

    QTest::keyClick(chart, Qt::Key_Space);
    QVERIFY(chart->IsPaused());
    chart->close();
}

// Keys that arrived while the operation held the event loop do not run once it
// is over: Return on the highlighted load entry opens no dialog afterwards.
void TestFormMain::keysWaitingWhenAnOperationEndsAreDropped()
{
    MakeActiveWindow();
    QTest::mouseMove(m_window->MenuLabel(2), QPoint(5, 5));
    QCOMPARE(m_window->HighlightedEntry(), 2);
    bool posted = false;
    m_prompts->onProgress = [&] {
        if (!std::exchange(posted, true))
            QCoreApplication::postEvent(m_window,
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
    };
    m_window->Connect();
    m_prompts->onProgress = nullptr;
    QCoreApplication::processEvents();
    QVERIFY(posted);
    QVERIFY(m_module->IsUnitConnected());
    QCOMPARE(m_dialogs->folders.size(), 0);
}

void TestFormMain::firmwareUpdateAsksFirst_data()
{
    QTest::addColumn<bool>("connected");
    QTest::newRow("unit connected: the backup's folder is named") << true;
    QTest::newRow("no unit: no backup can be made") << false;
}

// F4 asks before anything reaches the unit, No being the default; No leaves
// the unit untouched and makes no backup. Yes runs the update, unasked again.
void TestFormMain::firmwareUpdateAsksFirst()
{
    QFETCH(bool, connected);
    MakeActiveWindow();
    QTemporaryDir folder;
    m_module->Backups().SetFolder(folder.filePath("backups"));
    if (connected)
        m_window->Connect();
    const qsizetype backups = m_module->Backups().List().size();
    const size_t waits = m_prompts->waitWindows.size();
    m_sim->clearLog();

    QTest::keyClick(m_window, Qt::Key_F4);
    QCOMPARE(m_prompts->questions.size(), 1);
    const FakePrompts::Message question = m_prompts->questions.first();
    QVERIFY(!question.defaultYes);
    QCOMPARE(question.caption, Text(TextIndex::ReprogramFirmware));
    const QString backupFolder = QDir::toNativeSeparators(m_module->Backups().Folder());
    QCOMPARE(question.text, connected
                                ? Text(TextIndex::ReprogramWithBackupQuestion).replace("%1", backupFolder)
                                : Text(TextIndex::ReprogramWithoutBackupQuestion));
    QVERIFY(question.text.contains(backupFolder) == connected);
    QCOMPARE(SimLog(m_sim), QStringList());
    QCOMPARE(m_module->Backups().List().size(), backups);
    QCOMPARE(m_prompts->waitWindows.size(), waits);

    m_prompts->answers = {true};
    QTest::keyClick(m_window, Qt::Key_F4);
    QCOMPARE(m_prompts->questions.size(), 2);
    QVERIFY(SimLog(m_sim).contains("WriteValue 0 123"));
    QCOMPARE(m_prompts->MessageTexts().last(), QStringLiteral("Programmazione avvenuta con successo!"));
    QCOMPARE(m_module->Backups().List().size(), backups + (connected ? 1 : 0));
}

void TestFormMain::loadWithoutAUnitSaysWhy_data()
{
    QTest::addColumn<bool>("library");
    QTest::newRow("link library, no unit") << true;
    QTest::newRow("no link library") << false;
}

// F3 without a unit still offers the file dialog and reads the file; then it
// says that nothing reached a unit, and why.
void TestFormMain::loadWithoutAUnitSaysWhy()
{
    QFETCH(bool, library);
    MakeWindow();
    QTemporaryDir folder;
    m_module->Backups().SetFolder(folder.filePath("backups"));
    m_dialogs->answer = folder.filePath("car.tcn");
    m_window->Connect();
    m_window->SaveFile();
    m_window->Disconnect();
    QCoreApplication::processEvents();
    if (!library) {
        m_module->ReleaseLink(false);
        m_module->OrvConnection()->SetDllName(QStringLiteral("NoSuchLibrary.dll"));
    }
    m_prompts->messages.clear();
    m_dialogs->folders.clear();

    m_window->LoadFile();
    QCOMPARE(m_dialogs->folders.size(), 1);
    QVERIFY(!m_prompts->messages.isEmpty());
    QCOMPARE(m_prompts->messages.last().text, Text(TextIndex::FileNotWrittenNoUnit));
    QVERIFY(!Text(TextIndex::FileNotWrittenNoUnit).isEmpty());
}

QTEST_MAIN(TestFormMain)
#include "tst_formmain.moc"
