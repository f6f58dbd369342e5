// The value edit: its key filter, the commit on Return, Escape, the arrows,
// leaving the field, and its reactions to the item's messages.

#include "ControlTestSupport.h"
#include "controls/ValueEditEx.h"
#include "items/OrvNumber.h"
#include "link/LinkInstance.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

constexpr int Address = 10;

// A window with a plain field before the value edit and two after it, in that
// tab order, and an item of the unit, holding 7, that the edit is bound to.
struct EditWindow {
    FakeUnit unit;
    QWidget window;
    QLineEdit* before = new QLineEdit(&window);
    TValueEditEx* edit = new TValueEditEx(&window);
    QLineEdit* after = new QLineEdit(&window);
    QLineEdit* last = new QLineEdit(&window);
    TOrvNumber item;

    EditWindow()
    {
        int y = 0;
        for (QWidget* w : {static_cast<QWidget*>(before), static_cast<QWidget*>(edit),
                           static_cast<QWidget*>(after), static_cast<QWidget*>(last)}) {
            w->move(200, y);
            y += 40;
        }
        unit.Bind(item, Address);
        unit.Poke(Address, 7);
        edit->SetValue(&item);
        edit->InitData();
    }
};

void Type(QWidget* widget, const QString& keys)
{
    for (const QChar c : keys) {
        if (c == QLatin1Char('\b'))
            QTest::keyClick(widget, Qt::Key_Backspace);
        else if (c == QLatin1Char('\r'))
            QTest::keyClick(widget, Qt::Key_Return);
        else
            QTest::keyClick(widget, c.toLatin1());
    }
}

} // namespace

class TestValueEditEx : public QObject {
    Q_OBJECT

private slots:
    void startsAsSpecified();
    void keyFilter_data();
    void keyFilter();
    void clipboardShortcutsAndSwallowedKeysRaiseNoKeyPress();
    void returnCommitsAndMovesFocus_data();
    void returnCommitsAndMovesFocus();
    void returnOnRefusedTextSoundsAndRestores_data();
    void returnOnRefusedTextSoundsAndRestores();
    void keyDownSeesReturnBeforeTheCommit();
    void escapeIsUsedUpOnlyWhenItUndidTyping_data();
    void escapeIsUsedUpOnlyWhenItUndidTyping();
    void arrowsMoveFocusOnlyWhenAsked();
    void leavingWithAndWithoutValidation();
    void messagesDriveTextAndAspect();
    void switchingAspectToNoneShowsTheField();
    void liveValueWithoutBufferIsIgnored();
    void initDataRereadsTheItem();
};

void TestValueEditEx::startsAsSpecified()
{
    TValueEditEx edit;
    QCOMPARE(edit.text(), QStringLiteral("0"));
    QCOMPARE(edit.width(), 96);
    QVERIFY(edit.alignment() & Qt::AlignRight);
    QVERIFY(edit.Validation());
    QVERIFY(edit.ArrowMoveFocus());
    QVERIFY(edit.EditLabel());
    QVERIFY(edit.Resizer()->LockControl());
    QCOMPARE(edit.height(), edit.fontMetrics().height() + 8);
}

void TestValueEditEx::keyFilter_data()
{
    QTest::addColumn<bool>("comma");
    QTest::addColumn<bool>("bound");
    QTest::addColumn<double>("precision");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    // Separators.
    QTest::newRow("comma locale: point types comma")
        << true << true << 0.01 << 0.0 << 0.0 << "12" << 2 << 0 << "."
        << "12,";
    QTest::newRow("comma locale: comma types comma")
        << true << true << 0.01 << 0.0 << 0.0 << "12" << 2 << 0 << ","
        << "12,";
    QTest::newRow("point locale: comma types point")
        << false << true << 0.01 << 0.0 << 0.0 << "12" << 2 << 0 << ","
        << "12.";
    QTest::newRow("second separator swallowed")
        << true << true << 0.01 << 0.0 << 0.0 << "1,2" << 3 << 0 << "."
        << "1,2";
    QTest::newRow("selection holding the separator")
        << true << true << 0.01 << 0.0 << 0.0 << "1,2" << 1 << 2 << "."
        << "1,";
    QTest::newRow("whole step swallows separator")
        << true << true << 1.0 << 0.0 << 0.0 << "12" << 2 << 0 << ","
        << "12";
    QTest::newRow("no step accepts separator") << true << true << 0.0 << 0.0 << 0.0 << "12" << 2 << 0 << ","
                                               << "12,";
    QTest::newRow("tiny step accepts separator")
        << false << true << 1e-5 << 0.0 << 0.0 << "12" << 2 << 0 << "."
        << "12.";
    // Minus.
    QTest::newRow("limits 0..100 swallow minus")
        << true << true << 0.0 << 0.0 << 100.0 << "5" << 0 << 0 << "-"
        << "5";
    QTest::newRow("negative limit accepts minus at 0")
        << true << true << 0.0 << -10.0 << 0.0 << "5" << 0 << 0 << "-"
        << "-5";
    QTest::newRow("minus after the first character")
        << true << true << 0.0 << -10.0 << 0.0 << "5" << 1 << 0 << "-"
        << "5";
    QTest::newRow("minus only once") << true << true << 0.0 << -10.0 << 0.0 << "-5" << 0 << 0 << "-"
                                     << "-5";
    QTest::newRow("selected minus replaced") << true << true << 0.0 << -10.0 << 0.0 << "-5" << 0 << 2 << "-"
                                             << "-";
    QTest::newRow("no limits accept minus") << true << true << 0.0 << 0.0 << 0.0 << "5" << 0 << 0 << "-"
                                            << "-5";
    QTest::newRow("unbound: minus at 0") << true << false << 1.0 << 0.0 << 100.0 << "5" << 0 << 0 << "-"
                                         << "-5";
    QTest::newRow("unbound: separator") << true << false << 1.0 << 0.0 << 0.0 << "5" << 1 << 0 << "."
                                        << "5,";
    // Everything else.
    QTest::newRow("digits and backspace") << true << true << 0.0 << 0.0 << 0.0 << "12" << 2 << 0 << "3\b\b4"
                                          << "14";
    QTest::newRow("letters, plus and blanks swallowed")
        << true << true << 0.0 << 0.0 << 0.0 << "12" << 2 << 0 << "a+ Z"
        << "12";
}

void TestValueEditEx::keyFilter()
{
    QFETCH(bool, comma);
    QFETCH(bool, bound);
    QFETCH(double, precision);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(QString, text);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    LocaleScope locale(comma);
    TOrvNumber item;
    item.SetPrecision(precision);
    item.SetMaxValue(max);
    item.SetMinValue(min);
    TValueEditEx edit;
    if (bound)
        edit.SetValue(&item);
    edit.setText(text);
    if (selectionLength > 0)
        edit.setSelection(selectionStart, selectionLength);
    else
        edit.setCursorPosition(selectionStart);

    Type(&edit, typed);
    QCOMPARE(edit.text(), expected);
}

void TestValueEditEx::clipboardShortcutsAndSwallowedKeysRaiseNoKeyPress()
{
    LocaleScope locale(false);
    EditWindow w;
    w.edit->setText(QStringLiteral("12"));
    w.edit->setCursorPosition(2);
    QApplication::clipboard()->setText(QStringLiteral("99"));
    QSignalSpy keyPresses(w.edit, &TValueEditEx::OnKeyPress);

    QTest::keyClick(w.edit, Qt::Key_V, Qt::ControlModifier);
    Type(w.edit, QStringLiteral("x+3"));
    QTest::keyClick(w.edit, Qt::Key_Return);

    QCOMPARE(w.unit.Peek(Address), 123);
    QCOMPARE(keyPresses.size(), 1); // only the digit
    QCOMPARE(keyPresses.at(0).at(0).value<QChar>(), QLatin1Char('3'));
}

void TestValueEditEx::returnCommitsAndMovesFocus_data()
{
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("focused");
    QTest::newRow("next control") << "last"
                                  << "last";
    QTest::newRow("hidden next control: tab order") << "hidden"
                                                    << "after";
    QTest::newRow("disabled next control: tab order") << "disabled"
                                                      << "after";
    QTest::newRow("no next control: tab order") << "none"
                                                << "after";
}

void TestValueEditEx::returnCommitsAndMovesFocus()
{
    QFETCH(QString, next);
    QFETCH(QString, focused);

    LocaleScope locale(true);
    SoundCounter sounds;
    EditWindow w;
    w.item.SetMaxValue(200);
    w.item.SetMinValue(5);
    QVERIFY(ShowActive(w.window));
    if (next != QLatin1String("none"))
        w.edit->SetNextControl(w.last);
    if (next == QLatin1String("hidden"))
        w.last->hide();
    if (next == QLatin1String("disabled"))
        w.last->setEnabled(false);
    w.edit->setFocus();

    // The item clamps to its limits; the field then shows the value as stored.
    w.edit->selectAll();
    Type(w.edit, QStringLiteral("2000\r"));

    QCOMPARE(w.unit.Peek(Address), 200);
    QCOMPARE(w.edit->text(), QStringLiteral("200"));
    QCOMPARE(sounds.count, 0);
    QCOMPARE(QApplication::focusWidget(), focused == QLatin1String("last") ? w.last : w.after);
}

void TestValueEditEx::returnOnRefusedTextSoundsAndRestores_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("shown");
    QTest::newRow("lone minus") << "-"
                                << ""
                                << "7";
    QTest::newRow("empty text") << ""
                                << ""
                                << "7";
    QTest::newRow("thousands separator") << "1.000"
                                         << ""
                                         << "7";
    QTest::newRow("read-only item") << "12"
                                    << "read-only"
                                    << "7";
    QTest::newRow("write refused before it is made") << "12"
                                                     << "abort"
                                                     << "7";
    QTest::newRow("unit refuses the write") << "12"
                                            << "unit"
                                            << "7";
    QTest::newRow("no item") << "12"
                             << "unbound"
                             << "12";
}

void TestValueEditEx::returnOnRefusedTextSoundsAndRestores()
{
    QFETCH(QString, text);
    QFETCH(QString, refusal);
    QFETCH(QString, shown);

    LocaleScope locale(true);
    SoundCounter sounds;
    EditWindow w;
    w.item.SetReadOnly(refusal == QLatin1String("read-only"));
    if (refusal == QLatin1String("abort"))
        w.item.BeforeSetData = [](QObject*, double*, double, int, int, bool& cancel) { cancel = true; };
    if (refusal == QLatin1String("unit"))
        w.unit.SetSwitches(false, true);
    if (refusal == QLatin1String("unbound"))
        w.edit->SetValue(nullptr);
    QVERIFY(ShowActive(w.window));
    w.edit->setFocus();
    w.edit->setText(text);

    QTest::keyClick(w.edit, Qt::Key_Return);

    QCOMPARE(sounds.count, 1);
    QCOMPARE(w.unit.Peek(Address), 7);
    QCOMPARE(w.edit->text(), shown);
    QCOMPARE(w.edit->selectedText(), shown);
    QCOMPARE(QApplication::focusWidget(), w.edit);
}

void TestValueEditEx::keyDownSeesReturnBeforeTheCommit()
{
    EditWindow w;
    QStringList journal;
    w.item.BeforeSetData = [&journal](QObject*, double* value, double, int, int, bool&) {
        journal << QStringLiteral("write %1").arg(*value);
    };
    // A window turns 0 into 1 on the key-down, before the field commits.
    connect(w.edit, &TValueEditEx::OnKeyDown, w.edit, [&](int key, Qt::KeyboardModifiers) {
        journal << QStringLiteral("key-down %1").arg(key);
        if (key == Qt::Key_Return && w.edit->text() == QLatin1String("0"))
            w.edit->setText(QStringLiteral("1"));
    });
    w.edit->setText(QStringLiteral("0"));

    QTest::keyClick(w.edit, Qt::Key_Return);

    QCOMPARE(journal, QStringList({QStringLiteral("key-down %1").arg(int(Qt::Key_Return)), "write 1"}));
}

void TestValueEditEx::escapeIsUsedUpOnlyWhenItUndidTyping_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("keyDown");
    QTest::addColumn<bool>("passedOn");
    QTest::newRow("typing undone: used up") << "123" << 0 << false;
    QTest::newRow("nothing to undo: on to the window") << "7" << int(Qt::Key_Escape) << true;
}

void TestValueEditEx::escapeIsUsedUpOnlyWhenItUndidTyping()
{
    QFETCH(QString, typed);
    QFETCH(int, keyDown);
    QFETCH(bool, passedOn);
    EditWindow w;
    QSignalSpy keyDowns(w.edit, &TValueEditEx::OnKeyDown);
    w.edit->setText(typed);

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(w.edit, &escape);

    QCOMPARE(w.edit->text(), QStringLiteral("7"));
    QCOMPARE(w.edit->selectedText(), QStringLiteral("7"));
    QCOMPARE(keyDowns.size(), 1);
    QCOMPARE(keyDowns.at(0).at(0).toInt(), keyDown);
    QCOMPARE(!escape.isAccepted(), passedOn);
}

void TestValueEditEx::arrowsMoveFocusOnlyWhenAsked()
{
    EditWindow w;
    QVERIFY(ShowActive(w.window));
    QSignalSpy keyDowns(w.edit, &TValueEditEx::OnKeyDown);
    w.edit->SetPrevControl(w.last);

    w.edit->setFocus();
    QTest::keyClick(w.edit, Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), w.last); // PrevControl
    w.edit->setFocus();
    QTest::keyClick(w.edit, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), w.after); // no NextControl: tab order
    QCOMPARE(keyDowns.at(0).at(0).toInt(), 0);      // used by the field

    w.edit->SetArrowMoveFocus(false);
    w.edit->setFocus();
    QTest::keyClick(w.edit, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), w.edit);
    QCOMPARE(keyDowns.last().at(0).toInt(), int(Qt::Key_Down));
}

void TestValueEditEx::leavingWithAndWithoutValidation()
{
    EditWindow w;
    QVERIFY(ShowActive(w.window));
    QSignalSpy enters(w.edit, &TValueEditEx::OnEnter);
    QSignalSpy exits(w.edit, &TValueEditEx::OnExit);

    w.edit->setFocus();
    QCOMPARE(w.edit->selectedText(), QStringLiteral("7")); // entering selects the text
    Type(w.edit, QStringLiteral("12"));
    QTest::keyClick(w.edit, Qt::Key_Tab);
    QCOMPARE(w.unit.Peek(Address), 7);
    QCOMPARE(w.edit->text(), QStringLiteral("7"));

    w.edit->SetValidation(false);
    w.edit->setFocus();
    Type(w.edit, QStringLiteral("12"));
    QTest::keyClick(w.edit, Qt::Key_Tab);
    QCOMPARE(w.unit.Peek(Address), 12);
    QCOMPARE(enters.size(), 2);
    QCOMPARE(exits.size(), 2);

    // The window losing and regaining activation is neither an exit nor an entry.
    w.edit->setFocus();
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(w.edit, &out);
    QCOMPARE(exits.size(), 2);
}

void TestValueEditEx::messagesDriveTextAndAspect()
{
    LocaleScope locale(true);
    EditWindow w;
    QVERIFY(ShowActive(w.window));
    TChildLabel* label = w.edit->EditLabel();
    label->SetCaption(QStringLiteral("Caption"));
    QVERIFY(label->isVisible());

    w.edit->SetDataNotDefinedAspect(TValueEditEx::ddInvisible);
    SendMessage(w.edit, WindowMessage::WMComError, 0, 1);
    QVERIFY(w.edit->isVisible()); // other flags change nothing
    SendMessage(w.edit, WindowMessage::WMComError, 0, LinkError::NoValue | 1);
    QVERIFY(!w.edit->isVisible());
    QVERIFY(!label->isVisible());
    QVERIFY(!w.edit->DataDefined());

    const int raw = 25;
    SendMessage(w.edit, WindowMessage::WMDataAvailable, reinterpret_cast<uintptr_t>(&raw), 0);
    QCOMPARE(w.item.GetDouble(), 25.0);
    QCOMPARE(w.edit->text(), QStringLiteral("25"));
    QVERIFY(w.edit->isVisible());
    QVERIFY(label->isVisible());

    w.edit->SetDataNotDefinedAspect(TValueEditEx::ddDisabled);
    SendMessage(w.edit, WindowMessage::WMComError, 0, LinkError::NoValue);
    QVERIFY(w.edit->isVisible());
    QVERIFY(!w.edit->isEnabled());
    w.item.SetData(2.5);
    QVERIFY(w.edit->isEnabled());
    QCOMPARE(w.edit->text(), QStringLiteral("2"));
}

void TestValueEditEx::switchingAspectToNoneShowsTheField()
{
    EditWindow w;
    QVERIFY(ShowActive(w.window));
    w.edit->SetDataNotDefinedAspect(TValueEditEx::ddInvisible);
    SendMessage(w.edit, WindowMessage::WMComError, 0, LinkError::NoValue);
    QVERIFY(!w.edit->isVisible());

    w.edit->SetDataNotDefinedAspect(TValueEditEx::ddNone);
    QVERIFY(w.edit->isVisible());
    QVERIFY(w.edit->isEnabled());
}

void TestValueEditEx::liveValueWithoutBufferIsIgnored()
{
    EditWindow w;
    SendMessage(w.edit, WindowMessage::WMDataAvailable, 0, 0);
    QCOMPARE(w.item.GetDouble(), 7.0);
    QCOMPARE(w.edit->text(), QStringLiteral("7"));
}

void TestValueEditEx::initDataRereadsTheItem()
{
    EditWindow w;
    w.edit->setText(QStringLiteral("99"));
    QVERIFY(w.edit->InitData());
    QCOMPARE(w.edit->text(), QStringLiteral("7"));

    TValueEditEx unbound;
    QVERIFY(unbound.InitData());
    QCOMPARE(unbound.text(), QStringLiteral("0"));
}

QTEST_MAIN(TestValueEditEx)
#include "tst_valueeditex.moc"
