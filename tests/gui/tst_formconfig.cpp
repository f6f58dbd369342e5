// The vehicle configuration window against the simulated unit: showing it from
// the main window, the limits hint, the dependent fields, the switch-type list,
// the emulation list and its dialog, the erase command, the keys, the link
// state, the live panel and the texts.

#include "../common/FakePrompts.h"
#include "../common/SimUnit.h"
#include "app/FormConfig.h"
#include "app/FormMain.h"
#include "app/FormOndaCostruita.h"
#include "app/FormScaling.h"
#include "app/HistoryPanel.h"
#include "app/LinkStatusBar.h"
#include "controls/OrvCheckBox.h"
#include "controls/OrvComboBox.h"
#include "controls/OrvLabel.h"
#include "controls/ProgressFill.h"
#include "controls/ValueEditEx.h"
#include "items/DataRefresher.h"
#include "items/OrvNumber.h"
#include "link/OrvConnection.h"
#include "model/ResourceLibrary.h"
#include "model/SerialDataModule.h"
#include "support/OrvRegistryData.h"
#include "support/TextIndex.h"
#include "support/Translator.h"
#include "undo/UndoRecorder.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>
#include <array>

namespace {

// Unit addresses the tests look at.
constexpr int CheckUp = 161;
constexpr int OptionFlags = 162;
constexpr int IgnitionByte = 163; // ignition type 0x07, changeover 0x18, emulation 0x60
constexpr int CutOffSpeed = 204;
constexpr int ProbeDelay = 205;
constexpr int MinimumOpening = 208;
constexpr int SwitchKind = 226;

// How far the program has come towards the unit.
constexpr int NoLibrary = 0;
constexpr int NoUnit = 1;
constexpr int Unit = 2;

} // namespace

class TestFormConfig : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void f1ShowsTheWindowWhileTheRefresherRuns();
    void constructionAtTheScreenWidth_data();
    void constructionAtTheScreenWidth();
    void limitsHintBesideTheEditedField_data();
    void limitsHintBesideTheEditedField();
    void valueConfirmedWithReturnIsWrittenAndShownAtOnce();
    void checkingAnOptionShowsItsFieldsAtOnce();
    void ignitionTypeKeepsTheShownSpeeds();
    void switchListShowsTheUnitsPattern_data();
    void switchListShowsTheUnitsPattern();
    void choosingASwitchEntryWritesItsPattern();
    void constructedWaveEntryOpensTheWaveDialog();
    void eraseRestoresTheFactoryConfiguration_data();
    void eraseRestoresTheFactoryConfiguration();
    void pageKeysWrapOverTheVisiblePages();
    void connectAndDisconnectKeys();
    void connectKeyAfterAFailedConnect();
    void liveValuesAndLampsFollowThePacket();
    void languageEntriesRefreshEveryText();
    void escapeUndoesTypingBeforeItCloses();
    void startUpWaitsForNoUnit();
    void checkBoxCaptionsStandLeftOfTheirBoxes();
    void historyClosesWithTheWindow();
    void historyTellsChangesInTheChosenLanguage();
    void undoAnswersOnlyWithAUnit();
    void editWithoutAUnitSaysWhy_data();
    void editWithoutAUnitSaysWhy();

private:
    void MakeWindows(int screenWidth = 800);
    void Connect();
    void ShowActive();
    template <class Control> Control* Find(const char* name) const
    {
        auto* control = m_config->findChild<Control*>(QLatin1String(name));
        if (!control)
            qFatal("no control %s", name);
        return control;
    }
    void FocusOnItsPage(QWidget* control);
    bool RefresherSuspends() const;
    QTabWidget* Pages() const { return Find<QTabWidget>("PageControl"); }

    SimUnitControl* m_sim = nullptr;
    FakePrompts* m_prompts = nullptr;
    TSerialDataModule* m_module = nullptr;
    TFormMain* m_main = nullptr;
    TFormConfig* m_config = nullptr;
};

void TestFormConfig::init()
{
    m_sim = FreshSimUnit();
    m_prompts = new FakePrompts;
    m_module = new TSerialDataModule;
    m_module->SetPrompts(m_prompts);
}

void TestFormConfig::cleanup()
{
    delete m_config;
    m_config = nullptr;
    delete m_main;
    m_main = nullptr;
    delete m_module;
    delete m_prompts;
    ResourceLibrary::Free();
}

void TestFormConfig::MakeWindows(int screenWidth)
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^TFormConfig: cannot bind")));
    m_main = new TFormMain(m_module, screenWidth);
    m_config = new TFormConfig(m_module, m_main, screenWidth);
    m_main->SetConfigurationWindow(m_config);
    m_main->OrvRegistryData()->SetIntData(QStringLiteral("Language"), 0);
    m_main->ApplyLanguage();
}

void TestFormConfig::Connect()
{
    m_main->Connect();
    QCoreApplication::processEvents(); // the link state arrives through the queue
}

void TestFormConfig::ShowActive()
{
    m_config->show();
    m_config->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_config));
}

void TestFormConfig::FocusOnItsPage(QWidget* control)
{
    QWidget* page = control;
    while (page && Pages()->indexOf(page) < 0)
        page = page->parentWidget();
    Pages()->setCurrentWidget(page);
    control->setFocus(Qt::TabFocusReason);
    QVERIFY(control->hasFocus());
}

// A disabled refresher suspends its thread when the thread next wakes; this
// polls for it as the erase and file commands do.
bool TestFormConfig::RefresherSuspends() const
{
    QElapsedTimer waited;
    waited.start();
    while (m_module->DataRefresher()->GetEnabled()) {
        if (waited.elapsed() > 2000)
            return false;
        QThread::yieldCurrentThread();
    }
    return true;
}

void TestFormConfig::f1ShowsTheWindowWhileTheRefresherRuns()
{
    MakeWindows();
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main));
    bool shownModal = false;
    bool refreshing = false;
    QTimer::singleShot(0, this, [&] {
        shownModal = QApplication::activeModalWidget() == m_config;
        refreshing = m_module->DataRefresher()->GetEnabled();
        QCOMPARE(Pages()->currentWidget(), Find<QWidget>("TabSheet1"));
        QTest::keyClick(Find<QWidget>("OrvValEditRitardoSonda"), Qt::Key_Escape); // Escape closes the window
    });
    m_main->Action("ActionConfVett")->trigger();
    QVERIFY(shownModal);
    QVERIFY(refreshing);
    QVERIFY(!m_config->isVisible());
    QVERIFY(RefresherSuspends());
}

void TestFormConfig::constructionAtTheScreenWidth_data()
{
    QTest::addColumn<int>("screenWidth");
    QTest::newRow("800: as designed") << 800;
    QTest::newRow("1024") << 1024;
}

void TestFormConfig::constructionAtTheScreenWidth()
{
    QFETCH(int, screenWidth);
    MakeWindows(screenWidth);
    // Captions stay in one column at the scaled caption spacing.
    const int captionColumn = Find<TValueEditEx>("OrvValEditRitardoSonda")->EditLabel()->x();
    for (const char* name : {"OrvValEditTempCambio", "OrvValEditNGiriCambio", "OrvValEditTempSovr"})
        QVERIFY(qAbs(Find<TValueEditEx>(name)->EditLabel()->x() - captionColumn) <= 1);
    QVERIFY(qAbs(Find<TOrvComboBox>("OrvComboTipoAcc")->ComboLabel()->x() - captionColumn) <= 1);
    QVERIFY(qAbs(captionColumn - Scaled(24, screenWidth)) <= 1);
    QCOMPARE(m_config->font().pixelSize(), Scaled(16, screenWidth));

    // The boot-loader page is never shown; its box is read by reprogramming.
    QTabWidget* pages = Pages();
    QVERIFY(!pages->isTabVisible(pages->indexOf(Find<QWidget>("TabSheet4"))));
    QVERIFY(m_config->UpgradeBootLoaderChecked());

    // The pop-up menu: connect, disconnect, the live chart, a separator, one
    // entry per language, a separator, undo, redo and the change history.
    QList<QAction*> entries = m_config->PopupMenuConfig()->actions();
    const int languages = m_module->Translator()->MaxLanguages();
    QCOMPARE(entries.size(), 4 + languages + 4);
    QVERIFY(entries.at(4 + languages)->isSeparator());
    const QStringList undoEntries = {entries.at(5 + languages)->text(), entries.at(6 + languages)->text(),
                                     entries.at(7 + languages)->text()};
    QCOMPARE(undoEntries, (QStringList{"Annulla", "Ripeti", "Cronologia modifiche"}));
    entries = entries.mid(0, 4 + languages);
    QCOMPARE(entries.at(0), m_main->Action("ActionConnect"));
    QCOMPARE(entries.at(1), m_main->Action("ActionDisconnect"));
    QCOMPARE(entries.at(2), m_main->Action("ActionChart"));
    QVERIFY(entries.at(3)->isSeparator());
    QCOMPARE(entries.last()->objectName(), QStringLiteral("MenuLingua%1").arg(languages - 1));
    QCOMPARE(entries.last()->property("Tag").toInt(), languages - 1);
    QCOMPARE(entries.at(4)->text(), QStringLiteral("&Italiano"));

    // The defaults are in the fields before any unit is read.
    QCOMPARE(Find<TValueEditEx>("OrvValEditGiriCutOff")->text(), QStringLiteral("1500"));
    QVERIFY(!Find<QPushButton>("ButtonReset")->isEnabled());
}

void TestFormConfig::limitsHintBesideTheEditedField_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("link");
    QTest::addColumn<QString>("hint");
    QTest::newRow("probe delay") << "OrvValEditRitardoSonda" << NoUnit << "(5;1275 s)";
    QTest::newRow("maximum opening, no link library") << "OrvValEditMaxPos" << NoLibrary << "(0;240)";
    // With the library loaded the actuator rule has run on the defaults: the
    // minimum opening's 20 bounds the maximum, and once a unit is read its own
    // minimum (30 here).
    QTest::newRow("maximum opening, no unit") << "OrvValEditMaxPos" << NoUnit << "(20;240)";
    QTest::newRow("maximum opening, unit") << "OrvValEditMaxPos" << Unit << "(30;240)";
    QTest::newRow("in the lambda panel") << "ValueEditExRifLambdaMin" << NoUnit << "(0.5;5 V)";
}

void TestFormConfig::limitsHintBesideTheEditedField()
{
    QFETCH(QString, edit);
    QFETCH(int, link);
    QFETCH(QString, hint);
    m_sim->writeMemory(MinimumOpening, 30);
    if (link == NoLibrary) {
        m_module->ReleaseLink(false);
        m_module->OrvConnection()->SetDllName(QStringLiteral("NoSuchLibrary.dll"));
    }
    MakeWindows();
    if (link == Unit)
        Connect();
    ShowActive();
    auto* field = Find<TValueEditEx>(qPrintable(edit));
    auto* label = Find<QLabel>("LabelLimite");
    QVERIFY(!label->isVisible());

    FocusOnItsPage(field);
    QVERIFY(label->isVisible());
    QCOMPARE(label->text(), hint);
    QCOMPARE(label->parentWidget(), field->parentWidget());
    QCOMPARE(label->x(), field->x() + field->width() + 15);
    QCOMPARE(label->y(), field->y() + (field->height() - label->height()) / 2);

    Pages()->setFocus();
    QVERIFY(!label->isVisible());
}

void TestFormConfig::valueConfirmedWithReturnIsWrittenAndShownAtOnce()
{
    MakeWindows();
    Connect();
    ShowActive();
    auto* delay = Find<TValueEditEx>("OrvValEditRitardoSonda");
    FocusOnItsPage(delay);
    QTest::keyClicks(delay, "12");
    QTest::keyClick(delay, Qt::Key_Return);
    // 12 s is stored as 2 steps of 5 s and shown as stored, with no event in between.
    QCOMPARE(m_sim->readMemory(ProbeDelay), 2);
    QCOMPARE(delay->text(), QStringLiteral("10"));
    QVERIFY(!delay->hasFocus());
}

void TestFormConfig::checkingAnOptionShowsItsFieldsAtOnce()
{
    m_sim->writeMemory(OptionFlags, 0x20);
    MakeWindows();
    Connect();
    ShowActive();
    auto* cutOff = Find<TOrvCheckBox>("OrvCheckBoxCutOff");
    auto* speed = Find<TValueEditEx>("OrvValEditGiriCutOff");
    auto* position = Find<TValueEditEx>("OrvValEditPosCutOff");
    Pages()->setCurrentWidget(Find<QWidget>("TabSheet2"));
    QVERIFY(!speed->isVisible());
    QVERIFY(!position->EditLabel()->isVisible());

    QTest::mouseClick(cutOff, Qt::LeftButton, {}, QPoint(8, cutOff->height() / 2));
    QCOMPARE(m_sim->readMemory(OptionFlags), 0x24);
    QVERIFY(speed->isVisible());
    QVERIFY(position->isVisible());
    QVERIFY(position->EditLabel()->isVisible());

    QTest::mouseClick(cutOff, Qt::LeftButton, {}, QPoint(8, cutOff->height() / 2));
    QCOMPARE(m_sim->readMemory(OptionFlags), 0x20);
    QVERIFY(!speed->isVisible());

    // A flag read from the unit shows the fields of the option it sets.
    m_sim->writeMemory(OptionFlags, 0x29);
    m_module->ReloadAllItems();
    QVERIFY(Find<TOrvCheckBox>("OrvCheckBoxAff")->isChecked());
    QVERIFY(!Find<TValueEditEx>("OrvValEditPosAff")->isHidden());
    QVERIFY(!Find<TValueEditEx>("OrvValEditPosDef")->isHidden());
    QVERIFY(speed->isHidden());
}

void TestFormConfig::ignitionTypeKeepsTheShownSpeeds()
{
    m_sim->writeMemory(IgnitionByte, 0x40); // ignition type 0: B = 120000
    MakeWindows();
    Connect();
    ShowActive();
    QCOMPARE(Find<TValueEditEx>("OrvValEditGiriCutOff")->text(), QStringLiteral("1500"));
    auto* ignition = Find<TOrvComboBox>("OrvComboTipoAcc");
    FocusOnItsPage(ignition);
    QTest::keyClick(ignition, Qt::Key_8); // type-ahead: "8 cilindri", entry 3, written at once
    QCOMPARE(m_sim->readMemory(IgnitionByte) & 0x07, 3);
    QCOMPARE(m_sim->readMemory(CutOffSpeed), 40); // 60000 / 1500
    QCOMPARE(Find<TValueEditEx>("OrvValEditGiriCutOff")->text(), QStringLiteral("1500"));
}

void TestFormConfig::switchListShowsTheUnitsPattern_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<int>("entry");
    QTest::newRow("0x85, no pattern, unit") << 0x85 << true << -1;
    QTest::newRow("0x85, no pattern, no unit") << 0x85 << false << 0;
    QTest::newRow("0x45: push button only") << 0x45 << true << 0;
    QTest::newRow("0xFC: with indicator") << 0xFC << true << 1;
    QTest::newRow("0xFC: with indicator, no unit") << 0xFC << false << 1;
    QTest::newRow("factory unit") << -1 << true << 0;
}

void TestFormConfig::switchListShowsTheUnitsPattern()
{
    QFETCH(int, kind);
    QFETCH(bool, connected);
    QFETCH(int, entry);
    MakeWindows();
    auto* list = Find<TOrvComboBox>("OrvComboCommutatore");
    if (connected) {
        if (kind >= 0)
            m_sim->writeMemory(SwitchKind, kind);
        Connect(); // reading the unit selects the entry
    } else {
        m_module->Number(QStringLiteral("TIPO_COMMUTATORE"))->InitData(&kind);
        list->setCurrentIndex(1 - qMax(entry, 0));
        m_config->show(); // showing the window selects it
    }
    QCOMPARE(list->currentIndex(), entry);
}

void TestFormConfig::choosingASwitchEntryWritesItsPattern()
{
    m_sim->writeMemory(SwitchKind, 0x7D);
    MakeWindows();
    Connect();
    ShowActive();
    auto* list = Find<TOrvComboBox>("OrvComboCommutatore");
    QCOMPARE(list->currentIndex(), 0);
    FocusOnItsPage(list);
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(m_sim->readMemory(SwitchKind), 0xFC);
    QTest::keyClick(list, Qt::Key_Home);
    QCOMPARE(m_sim->readMemory(SwitchKind), 0x7D);
}

void TestFormConfig::constructedWaveEntryOpensTheWaveDialog()
{
    m_sim->writeMemory(IgnitionByte, 0x04); // emulation 0
    MakeWindows();
    Connect();
    ShowActive();
    auto* emulation = Find<TOrvComboBox>("OrvComboTipoEmul");
    FocusOnItsPage(emulation);
    int opened = 0;
    auto closeTheWaveDialog = [&] {
        QTimer::singleShot(0, this, [&] {
            if (auto* wave = qobject_cast<TFormOndaCostruita*>(QApplication::activeModalWidget())) {
                ++opened;
                wave->close();
            }
        });
    };

    closeTheWaveDialog();
    QTest::keyClick(emulation, Qt::Key_End);
    QCOMPARE(opened, 1);
    QCOMPARE(m_sim->readMemory(IgnitionByte) & 0x60, 0x40);

    closeTheWaveDialog();
    QTest::keyClick(emulation, Qt::Key_Home);
    QCoreApplication::processEvents();
    QCOMPARE(opened, 1);
    QCOMPARE(m_sim->readMemory(IgnitionByte) & 0x60, 0);
}

void TestFormConfig::eraseRestoresTheFactoryConfiguration_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("yes: erased") << true;
    QTest::newRow("no: nothing written") << false;
}

void TestFormConfig::eraseRestoresTheFactoryConfiguration()
{
    QFETCH(bool, answer);
    MakeWindows();
    Connect();
    ShowActive();
    m_sim->writeMemory(CutOffSpeed, 40);
    m_sim->writeMemory(OptionFlags, 0x24);
    m_module->ReloadAllItems();
    m_sim->clearLog();
    m_prompts->cursor.clear();
    m_prompts->answers = {answer};

    auto* erase = Find<QPushButton>("ButtonReset");
    QVERIFY(erase->isEnabled());
    erase->click();

    QCOMPARE(m_prompts->questions.size(), 1);
    QCOMPARE(m_prompts->questions.first().caption, m_config->windowTitle());
    QCOMPARE(m_prompts->questions.first().text, m_module->MessageText(TextIndex::EraseConfigurationQuestion));
    QCOMPARE(m_prompts->questions.first().icon, TMessageIcon::None);
    const QRegularExpression eraseWrite(QStringLiteral("^WriteAtAddress \\d+ %1 8$").arg(CheckUp));
    QCOMPARE(SimLog(m_sim).filter(eraseWrite).size(), answer ? 1 : 0);
    const int factorySpeed = m_sim->factoryByte(CutOffSpeed);
    QCOMPARE(m_sim->readMemory(CutOffSpeed), answer ? factorySpeed : 40);
    QCOMPARE(m_prompts->waits.contains(1000), answer);
    // The fields show what the unit now holds, the option's fields with it.
    const QString speedShown = answer ? QStringLiteral("1500") : QStringLiteral("3000");
    QCOMPARE(Find<TValueEditEx>("OrvValEditGiriCutOff")->text(), speedShown);
    QCOMPARE(Find<TValueEditEx>("OrvValEditGiriCutOff")->isHidden(), answer);
    QCOMPARE(m_module->DataRefresher()->GetEnabled(), answer);
    const QList<bool> busyThenDefault = {true, false};
    QCOMPARE(m_prompts->cursor, answer ? busyThenDefault : QList<bool>());
}

void TestFormConfig::pageKeysWrapOverTheVisiblePages()
{
    MakeWindows();
    ShowActive();
    const QStringList order = {"TabSheet3", "TabSheet2", "TabSheet1"};
    // A closed list would use Page Down itself; the window sees it first.
    auto* list = Find<TOrvComboBox>("OrvComboTipoAcc");
    FocusOnItsPage(list);
    for (const QString& page : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
        QCOMPARE(Pages()->currentWidget()->objectName(), page);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
    QCOMPARE(Pages()->currentWidget()->objectName(), QStringLiteral("TabSheet2"));
    QTest::keyClick(m_config, Qt::Key_PageUp);
    QCOMPARE(Pages()->currentWidget()->objectName(), QStringLiteral("TabSheet3"));
}

void TestFormConfig::connectAndDisconnectKeys()
{
    MakeWindows();
    ShowActive();
    QSignalSpy connects(m_main->Action("ActionConnect"), &QAction::triggered);
    auto* delay = Find<TValueEditEx>("OrvValEditRitardoSonda");
    FocusOnItsPage(delay);

    QTest::keyClick(delay, Qt::Key_C, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QVERIFY(m_sim->isConnected());
    QCOMPARE(connects.count(), 1);
    QVERIFY(m_module->DataRefresher()->GetEnabled()); // the window shows: live values run
    QVERIFY(Find<QPushButton>("ButtonReset")->isEnabled());
    QCOMPARE(m_config->StatusBar()->PanelText(0), m_module->ConnectedText());
    QCOMPARE(m_config->StatusBar()->PanelTextColor(0), QColor(0, 128, 0));
    QCOMPARE(m_config->StatusBar()->PanelText(1), QStringLiteral("PORT: USB"));
    // The fixed default position lies within the unit's actuator opening.
    TOrvNumber* defaultPosition = m_module->Number(QStringLiteral("POSIZIONE_DEFAULT"));
    QCOMPARE(defaultPosition->ValueMin(), double(m_sim->readMemory(MinimumOpening)));

    QTest::keyClick(delay, Qt::Key_C, Qt::ControlModifier); // connected: nothing happens
    QCOMPARE(connects.count(), 1);

    m_sim->pinPacket(std::array<uint8_t, 9>{60, 51, 102, 30, 120, 100, 1, 2, 128}.data());
    m_module->DataRefresher()->ReloadAll();
    QCOMPARE(Find<TOrvLabel>("OrvLabelLambda")->text(), QStringLiteral("1.00 V"));
    QTest::keyClick(delay, Qt::Key_D, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QVERIFY(!m_sim->isConnected());
    QVERIFY(RefresherSuspends());
    QVERIFY(!Find<QPushButton>("ButtonReset")->isEnabled());
    QCOMPARE(Find<TOrvLabel>("OrvLabelLambda")->text(), QString()); // no reading without a unit
    QCOMPARE(Find<TOrvLabel>("OrvLabelGiri")->text(), QString());
    QCOMPARE(m_config->StatusBar()->PanelText(0), m_module->NotConnectedText());
    QCOMPARE(m_config->StatusBar()->PanelTextColor(0), QColor(255, 0, 0));
    QCOMPARE(m_config->StatusBar()->PanelText(1), QString());
}

// A failed connect unloads the link library; the key still connects afterwards.
void TestFormConfig::connectKeyAfterAFailedConnect()
{
    MakeWindows();
    ShowActive();
    m_sim->setIdentityUnanswered(true);
    QTest::keyClick(m_config, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(m_prompts->messages.size(), 1);
    m_sim->setIdentityUnanswered(false);
    QTest::keyClick(m_config, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(m_sim->isConnected());
}

void TestFormConfig::liveValuesAndLampsFollowThePacket()
{
    MakeWindows();
    ShowActive();
    Connect();
    // Engine speed byte 60 (ignition type 4: 120000 / 60), lambda 51, TPS 102,
    // TPS minimum 30, actuator 120, default 100, lambda band 1, TPS band 2,
    // temperature byte 128.
    m_sim->pinPacket(std::array<uint8_t, 9>{60, 51, 102, 30, 120, 100, 1, 2, 128}.data());
    m_module->DataRefresher()->ReloadAll();
    QCOMPARE(Find<TOrvLabel>("OrvLabelGiri")->text(), QStringLiteral("2000 RPM"));
    QCOMPARE(Find<TOrvLabel>("OrvLabelLambda")->text(), QStringLiteral("1.00 V"));
    QCOMPARE(Find<TOrvLabel>("OrvLabelTPS")->text(), QStringLiteral("2.00 V"));
    QCOMPARE(Find<TOrvLabel>("OrvLabelMinTPS")->text(), QStringLiteral("0.59 V"));
    QCOMPARE(Find<TOrvLabel>("OrvLabelMotore")->text(), QStringLiteral("120"));
    QCOMPARE(Find<TOrvLabel>("OrvLabelDefault")->text(), QStringLiteral("100"));
    QCOMPARE(Find<TOrvLabel>("OrvLabelTemperatura")->text(), QStringLiteral("25 °C"));
    auto lit = [this](const QString& prefix, int count) {
        QString on;
        for (int i = 0; i < count; ++i) {
            const auto* lamp = m_config->findChild<TProgressFill*>(prefix + QString::number(i));
            on += lamp->Percent() == 100 ? QLatin1Char('1') : QLatin1Char('0');
        }
        return on;
    };
    QCOMPARE(lit(QStringLiteral("LMDProgressFillLambda"), 3), QStringLiteral("010"));
    QCOMPARE(lit(QStringLiteral("LMDProgressFillTPS"), 4), QStringLiteral("0010"));

    // A band without a lamp leaves the lamps as they are.
    m_sim->pinPacket(std::array<uint8_t, 9>{255, 51, 102, 30, 120, 100, 0, 5, 128}.data());
    m_module->DataRefresher()->ReloadAll();
    QCOMPARE(lit(QStringLiteral("LMDProgressFillLambda"), 3), QStringLiteral("100"));
    QCOMPARE(lit(QStringLiteral("LMDProgressFillTPS"), 4), QStringLiteral("0010"));
    QCOMPARE(Find<TOrvLabel>("OrvLabelGiri")->text(), QStringLiteral("0 RPM")); // engine stopped

    // Without a unit there is nothing to show: values and lamps are cleared.
    m_main->Disconnect();
    QCoreApplication::processEvents();
    QCOMPARE(lit(QStringLiteral("LMDProgressFillLambda"), 3), QStringLiteral("000"));
    QCOMPARE(lit(QStringLiteral("LMDProgressFillTPS"), 4), QStringLiteral("0000"));
    for (const char* name : {"OrvLabelGiri", "OrvLabelLambda", "OrvLabelTemperatura"})
        QCOMPARE(Find<TOrvLabel>(name)->text(), QString());
    m_main->ApplyLanguage(); // every control redraws: still nothing
    QCOMPARE(Find<TOrvLabel>("OrvLabelGiri")->text(), QString());
}

void TestFormConfig::languageEntriesRefreshEveryText()
{
    MakeWindows();
    Connect();
    auto* ignition = Find<TOrvComboBox>("OrvComboTipoAcc");
    const int ignitionEntry = ignition->currentIndex();
    QVERIFY(ignitionEntry >= 0);
    auto* changeover = Find<TOrvComboBox>("OrvComboTipoCambio");
    QCOMPARE(changeover->count(), 2); // the design list had three entries

    auto* english = m_config->PopupMenuConfig()->findChild<QAction*>(QStringLiteral("MenuLingua1"));
    QVERIFY(english);
    english->trigger();
    QCOMPARE(m_config->windowTitle(), QStringLiteral("Vehicle configuration"));
    QCOMPARE(Pages()->tabText(0), QStringLiteral("Vehicle Configuration"));
    QCOMPARE(Find<QPushButton>("ButtonReset")->text(), QStringLiteral("Erase EEPROM"));
    QCOMPARE(Find<TValueEditEx>("OrvValEditRitardoSonda")->EditLabel()->Caption(),
             QStringLiteral("Lambda Probe Reading Delay"));
    QCOMPARE(Find<TOrvLabel>("OrvLabelGiri")->ChildLabel()->Caption(), QStringLiteral("RPM"));
    QCOMPARE(Find<TOrvCheckBox>("OrvCheckBoxCutOff")->text(), QStringLiteral("Cut-Off"));
    QCOMPARE(changeover->itemText(1), QStringLiteral("Acceleration"));
    QCOMPARE(m_config->StatusBar()->PanelText(0), QStringLiteral("Control unit connected"));
    // The lists show their items' entries again, the switch list its pattern
    // (the factory's push button only).
    QCOMPARE(ignition->currentIndex(), ignitionEntry);
    QCOMPARE(Find<TOrvComboBox>("OrvComboCommutatore")->currentIndex(), 0);

    // Switching twice gives the texts of switching once.
    english->trigger();
    QCOMPARE(changeover->count(), 2);
    QCOMPARE(Find<TOrvComboBox>("OrvComboTipoSensore")->count(), 3);
    m_main->SwitchLanguage(0);
    QCOMPARE(changeover->itemText(1), QStringLiteral("Accelerazione"));
}

void TestFormConfig::escapeUndoesTypingBeforeItCloses()
{
    MakeWindows();
    ShowActive();
    auto* edit = Find<TValueEditEx>("OrvValEditRitardoSonda");
    FocusOnItsPage(edit);
    const QString shown = edit->text();
    QTest::keyClicks(edit, "9");
    QVERIFY(edit->text() != shown);

    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(edit->text(), shown);
    QVERIFY(m_config->isVisible());
    QTest::keyClick(edit, Qt::Key_Escape);
    QVERIFY(!m_config->isVisible());
}

void TestFormConfig::startUpWaitsForNoUnit()
{
    // The windows built as at start-up: the defaults are applied with the link
    // library loaded and no unit, so no rule pauses for one.
    MakeWindows();
    QVERIFY(m_module->OrvConnection()->DllLoaded());
    QCOMPARE(m_prompts->waits, QList<int>());
    // With a unit, the actuator rule keeps its pause.
    Connect();
    m_prompts->waits.clear();
    QVERIFY(m_module->Number(QStringLiteral("MASSIMA_APERTURA_ATTUATORE"))->SetData(150));
    QVERIFY(m_prompts->waits.contains(100));
}

void TestFormConfig::checkBoxCaptionsStandLeftOfTheirBoxes()
{
    MakeWindows();
    for (TOrvCheckBox* box : m_config->findChildren<TOrvCheckBox*>())
        QCOMPARE(box->Alignment(), TOrvCheckBox::taLeftJustify);
}

void TestFormConfig::historyClosesWithTheWindow()
{
    MakeWindows();
    Connect();
    ShowActive();
    QTest::keyClick(m_config, Qt::Key_H, Qt::ControlModifier);
    QVERIFY(m_config->HistoryPanel()->isVisible());
    QTest::keyClick(m_config, Qt::Key_Escape);
    QVERIFY(!m_config->isVisible());
    QVERIFY(!m_config->HistoryPanel()->isVisible());
}

// The history in the program's text size, each change in the fitter's words,
// the engine speeds the ignition type's rule rewrote under it, told again in
// a language chosen afterwards.
void TestFormConfig::historyTellsChangesInTheChosenLanguage()
{
    MakeWindows(1280);
    Connect();
    m_main->SwitchLanguage(1);
    QVERIFY(m_module->Number(QStringLiteral("TIPO_ACCENSIONE"))->SetInt(2));
    QTreeWidget* tree = m_config->HistoryPanel()->Tree();
    QCOMPARE(tree->font().pixelSize(), Scaled(13, 1280));
    QCOMPARE(tree->topLevelItemCount(), 2); // the state before any change, then the change
    const QTreeWidgetItem* change = tree->topLevelItem(1);
    QCOMPARE(change->text(1), QString("Ignition Type: 4 cylinders (static coil) → 6 cylinders"));
    QCOMPARE(change->childCount(), 4);
    QCOMPARE(change->child(0)->text(1), QString("Changeover RPM: 2000 RPM (same value, new scale)"));

    m_main->SwitchLanguage(4);
    QCOMPARE(tree->topLevelItem(1)->text(1),
             QString("Zündungsart: 4 Zylinder (statische Spule) → 6 Zylinder"));
    QCOMPARE(tree->topLevelItem(1)->child(2)->text(1),
             QString("Drehzahl Schubabschaltung: 1500 RPM (gleicher Wert, neue Skala)"));
}

// A change made with a unit, then the unit disconnected: undo and redo are
// shut, Ctrl+Z writes and moves nothing, the history takes no clicks.
void TestFormConfig::undoAnswersOnlyWithAUnit()
{
    MakeWindows();
    Connect();
    ShowActive();
    auto* delay = Find<TValueEditEx>("OrvValEditRitardoSonda");
    FocusOnItsPage(delay);
    QTest::keyClicks(delay, "20");
    QTest::keyClick(delay, Qt::Key_Return);
    QUndoStack* stack = m_config->UndoRecorder()->Stack();
    QCOMPARE(stack->index(), 1);
    QAction* undo = nullptr;
    for (QAction* action : m_config->PopupMenuConfig()->actions()) {
        if (action->shortcut() == QKeySequence::Undo)
            undo = action;
    }
    QVERIFY(undo && undo->isEnabled());
    QVERIFY(m_config->HistoryPanel()->isEnabled());

    m_main->Disconnect();
    QCoreApplication::processEvents();
    m_prompts->messages.clear();
    QTest::keyClick(m_config, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(stack->index(), 1);
    QVERIFY(!undo->isEnabled());
    QVERIFY(!m_config->HistoryPanel()->isEnabled());
    QCOMPARE(m_prompts->messages.size(), 0);
}

void TestFormConfig::editWithoutAUnitSaysWhy_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("a value typed") << "OrvValEditRitardoSonda";
    QTest::newRow("an option box clicked") << "OrvCheckBoxCutOff";
    QTest::newRow("a list entry chosen") << "OrvComboCommutatore";
}

// Without a unit an edit reaches nothing: the window says so, once per edit.
void TestFormConfig::editWithoutAUnitSaysWhy()
{
    QFETCH(QString, control);
    MakeWindows();
    ShowActive();
    auto* widget = Find<QWidget>(qPrintable(control));
    FocusOnItsPage(widget);
    if (auto* box = qobject_cast<TOrvCheckBox*>(widget)) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    } else if (qobject_cast<TOrvComboBox*>(widget)) {
        QTest::keyClick(widget, Qt::Key_End);
    } else {
        QTest::keyClicks(widget, "20");
        QTest::keyClick(widget, Qt::Key_Return);
    }
    QCoreApplication::processEvents();
    QCOMPARE(m_prompts->MessageTexts(),
             QStringList{m_module->Translator()->GetString(TextIndex::ChangeNotWrittenNoUnit, 0)});
    QCOMPARE(m_prompts->messages.first().caption, m_config->windowTitle());
}

QTEST_MAIN(TestFormConfig)
#include "tst_formconfig.moc"
