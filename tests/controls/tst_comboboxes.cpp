// The bound combo box and the key combo box: the Return cycle, wrap-around in
// the open list, Escape, focus movement with the list closed, type-ahead and
// the immediate write of a change made with the list closed.

#include "ControlTestSupport.h"
#include "controls/KeyComboBox.h"
#include "controls/NumericEdit.h"
#include "controls/OrvComboBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int Address = 20;

// Sends the key where the keyboard would deliver it: to the open list's pop-up
// while it is shown, otherwise to the focused control.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    if (QWidget* popup = QApplication::activePopupWidget())
        target = popup->focusWidget() ? popup->focusWidget() : popup;
    QTest::keyClick(target, key, modifiers);
}

void Type(char character)
{
    QWidget* target = QApplication::focusWidget();
    if (QWidget* popup = QApplication::activePopupWidget())
        target = popup->focusWidget() ? popup->focusWidget() : popup;
    QTest::keyClick(target, character);
}

// A window with a field before the combo box and one after it, in that tab
// order; the combo box is bound to an item of the unit that holds 0.
struct ComboWindow {
    FakeUnit unit;
    QWidget window;
    QLineEdit* before = new QLineEdit(&window);
    TOrvComboBox* combo = new TOrvComboBox(&window);
    QLineEdit* after = new QLineEdit(&window);
    TOrvNumber item;

    ComboWindow()
    {
        before->move(200, 0);
        combo->setGeometry(200, 40, 160, 24);
        after->move(200, 80);
        combo->addItems({QStringLiteral("Decelerazione"), QStringLiteral("Accelerazione"),
                         QStringLiteral("Partenza a Gas")});
        unit.Bind(item, Address);
        combo->SetValue(&item);
        combo->InitData();
    }

    bool ShowAndEnter()
    {
        if (!ShowActive(window))
            return false;
        combo->setFocus();
        return QApplication::focusWidget() == combo;
    }
};

} // namespace

class TestComboBoxes : public QObject {
    Q_OBJECT

private slots:
    void valueMapsToEntry_data();
    void valueMapsToEntry();
    void itemMessagesShowTheEntry();
    void returnOpensThenConfirms();
    void openListWrapsAround_data();
    void openListWrapsAround();
    void escapeRestoresTheSavedEntry();
    void closedListArrowsMoveFocusOrChangeTheEntry();
    void pageAndSideKeys();
    void typeAheadWritesAtOnceOnlyWhenClosed();
    void typeAheadChoosesFromTheTop_data();
    void typeAheadChoosesFromTheTop();
    void tabOutOfOpenListLeavesTheItem();
    void mouseChoiceIsWrittenAtOnce();
    void refusedWriteShowsTheItemAgain();
    void confirmingNoEntryWritesNothing();
    void hidingHidesTheCaption();
    void keyComboBoxKeepsTheCycleWithoutItem();
    void keyComboBoxFollowsTheChain();
};

void TestComboBoxes::valueMapsToEntry_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("index");
    QTest::newRow("2") << 2.0 << 2;
    QTest::newRow("beyond the list") << 3.0 << -1;
    QTest::newRow("negative") << -1.0 << -1;
    QTest::newRow("0.5 rounds up") << 0.5 << 1;
    QTest::newRow("1.49") << 1.49 << 1;
    QTest::newRow("1.5") << 1.5 << 2;
}

void TestComboBoxes::valueMapsToEntry()
{
    QFETCH(double, value);
    QFETCH(int, index);
    ComboWindow w;
    QCOMPARE(w.combo->IndexOfValue(value), index);
}

void TestComboBoxes::itemMessagesShowTheEntry()
{
    ComboWindow w;
    w.unit.Poke(Address, 2);
    QVERIFY(w.combo->InitData());
    QCOMPARE(w.combo->currentText(), QStringLiteral("Partenza a Gas"));
    QCOMPARE(w.combo->SavedIndex(), 2);

    // A negative value shows no entry and InitData answers false.
    w.item.SetDataSigned(true);
    w.unit.Poke(Address, 0xFF);
    QVERIFY(!w.combo->InitData());
    QCOMPARE(w.combo->currentIndex(), -1);

    const int raw = 1;
    SendMessage(w.combo, WindowMessage::WMDataAvailable, reinterpret_cast<uintptr_t>(&raw), 0);
    QCOMPARE(w.combo->currentIndex(), 1);
}

void TestComboBoxes::returnOpensThenConfirms()
{
    ComboWindow w;
    QVERIFY(w.ShowAndEnter());
    QSignalSpy keyPresses(w.combo, &TConfirmComboBox::OnKeyPress);
    QSignalSpy changes(w.combo, &TConfirmComboBox::OnChange);

    Press(Qt::Key_Return);
    QVERIFY(w.combo->IsListOpen());
    QVERIFY(w.combo->ConfirmPending());
    Press(Qt::Key_Down);
    QCOMPARE(w.unit.Peek(Address), 0);
    Press(Qt::Key_Return);

    QVERIFY(!w.combo->IsListOpen());
    QVERIFY(!w.combo->ConfirmPending());
    QCOMPARE(w.unit.Peek(Address), 1);
    QCOMPARE(w.combo->currentIndex(), 1);
    QCOMPARE(w.combo->SavedIndex(), 1);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(keyPresses.size(), 2); // both Returns, before they are swallowed
    QCOMPARE(QApplication::focusWidget(), w.combo);
}

void TestComboBoxes::openListWrapsAround_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("written");
    QTest::newRow("Down on the last entry") << 2 << int(Qt::Key_Down) << 0;
    QTest::newRow("Up on the first entry") << 0 << int(Qt::Key_Up) << 2;
    QTest::newRow("Down inside the list") << 0 << int(Qt::Key_Down) << 1;
}

void TestComboBoxes::openListWrapsAround()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, written);
    ComboWindow w;
    w.unit.Poke(Address, start);
    w.combo->InitData();
    QVERIFY(w.ShowAndEnter());

    Press(Qt::Key_Return);
    Press(Qt::Key(key));
    Press(Qt::Key_Return);

    QCOMPARE(w.unit.Peek(Address), written);
    QCOMPARE(w.combo->currentIndex(), written);
}

void TestComboBoxes::escapeRestoresTheSavedEntry()
{
    ComboWindow w;
    QVERIFY(w.ShowAndEnter());
    QSignalSpy keyDowns(w.combo, &TConfirmComboBox::OnKeyDown);

    Press(Qt::Key_Return);
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    Press(Qt::Key_Escape);

    QVERIFY(!w.combo->IsListOpen());
    QVERIFY(!w.combo->ConfirmPending());
    QCOMPARE(w.combo->currentIndex(), 0);
    QCOMPARE(w.unit.Peek(Address), 0);
    QCOMPARE(keyDowns.last().at(0).toInt(), 0); // used by the list

    // The next Return opens the list again rather than confirming.
    Press(Qt::Key_Return);
    QVERIFY(w.combo->IsListOpen());
}

void TestComboBoxes::closedListArrowsMoveFocusOrChangeTheEntry()
{
    ComboWindow w;
    QVERIFY(w.ShowAndEnter());

    Press(Qt::Key_Down); // no NextControl: tab order
    QCOMPARE(QApplication::focusWidget(), w.after);
    w.combo->SetPrevControl(w.after);
    w.combo->setFocus();
    Press(Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), w.after);
    QCOMPARE(w.combo->currentIndex(), 0);

    // Without focus movement the arrows change the entry, written at once.
    w.combo->SetArrowMoveFocus(false);
    w.combo->setFocus();
    Press(Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), w.combo);
    QCOMPARE(w.unit.Peek(Address), 1);
    Press(Qt::Key_End);
    QCOMPARE(w.unit.Peek(Address), 2);
}

void TestComboBoxes::pageAndSideKeys()
{
    ComboWindow w;
    QVERIFY(w.ShowAndEnter());
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_PageDown, Qt::Key_PageUp})
        Press(key);
    QCOMPARE(w.combo->currentIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), w.combo);

    Press(Qt::Key_Return);
    Press(Qt::Key_Right);
    Press(Qt::Key_PageDown);
    Press(Qt::Key_Return);
    QCOMPARE(w.unit.Peek(Address), 2);
}

void TestComboBoxes::typeAheadWritesAtOnceOnlyWhenClosed()
{
    ComboWindow closed;
    QVERIFY(closed.ShowAndEnter());
    Type('p');
    QCOMPARE(closed.combo->currentIndex(), 2);
    QCOMPARE(closed.unit.Peek(Address), 2);
    QCOMPARE(closed.combo->currentText(), QStringLiteral("Partenza a Gas")); // the text is never typed into

    ComboWindow open;
    QVERIFY(open.ShowAndEnter());
    Press(Qt::Key_Return);
    Type('a');
    QCOMPARE(open.unit.Peek(Address), 0);
    Press(Qt::Key_Return);
    QCOMPARE(open.unit.Peek(Address), 1);
}

void TestComboBoxes::typeAheadChoosesFromTheTop_data()
{
    // typed: the characters, 100 ms apart; "|" is a pause of half a second.
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("writes");
    QTest::newRow("the start of the entry shown writes nothing") << 0 << "4" << 0 << 0;
    QTest::newRow("a later entry that begins so stays too") << 4 << "4" << 4 << 0;
    QTest::newRow("the same key again does not cycle") << 0 << "4|4|4" << 0 << 0;
    QTest::newRow("another entry: the first from the top") << 4 << "5" << 1 << 1;
    QTest::newRow("a longer prefix reaches the later entry") << 0 << "4 cilindri (" << 4 << 1;
    QTest::newRow("ignoring case") << 0 << "4 CILINDRI (S" << 5 << 2;
    QTest::newRow("after a pause a new prefix") << 0 << "8|4" << 0 << 2;
    QTest::newRow("within the interval one prefix") << 0 << "84" << 3 << 1;
    QTest::newRow("no entry begins so: nothing") << 2 << "x" << 2 << 0;
}

void TestComboBoxes::typeAheadChoosesFromTheTop()
{
    QFETCH(int, shown);
    QFETCH(QString, typed);
    QFETCH(int, chosen);
    QFETCH(int, writes);
    const QStringList ignition = {"4 cilindri",
                                  "5 cilindri",
                                  "6 cilindri",
                                  "8 cilindri",
                                  "4 cilindri (bobina statica)",
                                  "4 cilindri (segnale iniettore)"};

    // The bound list writes the item; the key list has the same type-ahead.
    ComboWindow w;
    TKeyComboBox* keys = new TKeyComboBox(&w.window);
    keys->setGeometry(200, 120, 160, 24);
    for (TConfirmComboBox* list :
         {static_cast<TConfirmComboBox*>(w.combo), static_cast<TConfirmComboBox*>(keys)}) {
        list->clear();
        list->addItems(ignition);
    }
    w.unit.Poke(Address, shown);
    w.combo->InitData();
    keys->setCurrentIndex(shown);
    QVERIFY(w.ShowAndEnter());

    for (TConfirmComboBox* list :
         {static_cast<TConfirmComboBox*>(w.combo), static_cast<TConfirmComboBox*>(keys)}) {
        qint64 now = 10000;
        list->SetTypeAheadClock([&now] { return now; });
        list->setFocus();
        QSignalSpy changes(list, &TConfirmComboBox::OnChange);
        for (QChar c : typed) {
            now += c == QLatin1Char('|') ? TTypeAhead::Interval : 100;
            if (c != QLatin1Char('|'))
                QTest::keyClick(list, c.toLatin1());
        }
        QCOMPARE(list->currentIndex(), chosen);
        QCOMPARE(changes.size(), writes);
    }
    QCOMPARE(w.unit.Peek(Address), chosen);
}

void TestComboBoxes::tabOutOfOpenListLeavesTheItem()
{
    ComboWindow w;
    QVERIFY(w.ShowAndEnter());
    QSignalSpy exits(w.combo, &TConfirmComboBox::OnExit);

    Press(Qt::Key_Return);
    Press(Qt::Key_Down);
    Press(Qt::Key_Tab);

    QVERIFY(!w.combo->IsListOpen());
    QCOMPARE(QApplication::focusWidget(), w.after);
    QCOMPARE(w.combo->currentIndex(), 0);
    QCOMPARE(w.unit.Peek(Address), 0);
    QCOMPARE(exits.size(), 1);
}

void TestComboBoxes::mouseChoiceIsWrittenAtOnce()
{
    ComboWindow w;
    QVERIFY(w.ShowAndEnter());
    const int interval = QApplication::doubleClickInterval();
    QApplication::setDoubleClickInterval(0); // the list ignores a release right after opening
    w.combo->showPopup();
    QCoreApplication::processEvents();
    QAbstractItemView* view = w.combo->view();
    const QPoint entry = view->visualRect(view->model()->index(2, 0)).center();

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, entry);
    QApplication::setDoubleClickInterval(interval);

    QVERIFY(!w.combo->IsListOpen());
    QCOMPARE(w.unit.Peek(Address), 2);
}

void TestComboBoxes::refusedWriteShowsTheItemAgain()
{
    ComboWindow w;
    QVERIFY(w.ShowAndEnter());
    w.unit.SetSwitches(false, true);

    Type('p');

    QCOMPARE(w.unit.Peek(Address), 0);
    QCOMPARE(w.combo->currentIndex(), 0);
}

void TestComboBoxes::confirmingNoEntryWritesNothing()
{
    ComboWindow w;
    w.unit.Poke(Address, 5);
    w.combo->InitData();
    QCOMPARE(w.combo->currentIndex(), -1);
    QVERIFY(w.ShowAndEnter());

    Press(Qt::Key_Return);
    Press(Qt::Key_Return);

    QCOMPARE(w.unit.Peek(Address), 5);
}

void TestComboBoxes::hidingHidesTheCaption()
{
    ComboWindow w;
    w.combo->ComboLabel()->SetCaption(QStringLiteral("Tipo"));
    QVERIFY(ShowActive(w.window));
    QVERIFY(w.combo->ComboLabel()->isVisible());
    w.combo->hide();
    QVERIFY(!w.combo->ComboLabel()->isVisible());
    w.combo->show();
    QVERIFY(w.combo->ComboLabel()->isVisible());
}

void TestComboBoxes::keyComboBoxKeepsTheCycleWithoutItem()
{
    QWidget window;
    auto* combo = new TKeyComboBox(&window);
    combo->addItems({QStringLiteral("Solo Pulsante"), QStringLiteral("Con Indicatore")});
    QVERIFY(ShowActive(window));
    combo->setFocus();
    QCOMPARE(combo->DataCode(), -1);
    QCOMPARE(combo->VisibilityLevel(), 90);

    Press(Qt::Key_Return);
    Press(Qt::Key_Down);
    Press(Qt::Key_Return);
    QCOMPARE(combo->currentIndex(), 1);
    QCOMPARE(combo->SavedIndex(), 1);

    Press(Qt::Key_Return);
    Press(Qt::Key_Down); // wraps to the first entry
    Press(Qt::Key_Escape);
    QCOMPARE(combo->currentIndex(), 1);
}

void TestComboBoxes::keyComboBoxFollowsTheChain()
{
    QWidget window;
    auto* combo = new TKeyComboBox(&window);
    auto* hidden = new TNumericEdit(&window);
    auto* target = new QLineEdit(&window);
    combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
    combo->SetNextControl(hidden);
    hidden->SetNextControl(target);
    hidden->hide();
    QVERIFY(ShowActive(window));
    combo->setFocus();

    Press(Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), target);

    // Without MoveFocus the key changes the entry.
    combo->SetMoveFocus(false);
    combo->setFocus();
    Press(Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), combo);
    QCOMPARE(combo->currentIndex(), 1);
    QCOMPARE(combo->SavedIndex(), 1);
}

QTEST_MAIN(TestComboBoxes)
#include "tst_comboboxes.moc"
