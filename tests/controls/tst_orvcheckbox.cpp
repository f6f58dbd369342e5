// The bound check box: its conditions, the writes of a click (masked bits, and
// plain values written past the item's limits), and that showing the item
// never writes it back.

#include "ControlTestSupport.h"
#include "controls/OrvCheckBox.h"

#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

namespace {

constexpr int Address = 30;

// A shown window with a check box bound to an item of the unit.
struct BoxWindow {
    FakeUnit unit;
    QWidget window;
    TOrvCheckBox* box = new TOrvCheckBox(&window);
    TOrvNumber item;

    BoxWindow(int held, TOrvCheckBox::TCheckCondition condition, double conditionValue, double checked,
              double unchecked)
    {
        unit.Bind(item, Address);
        unit.Poke(Address, held);
        box->setText(QStringLiteral("Imposta Default Fisso"));
        box->SetCheckedValue(checked);
        box->SetUncheckedValue(unchecked);
        box->SetValue(&item);
        box->SetCondition(condition);
        box->SetConditionValue(conditionValue);
    }

    void Click() { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2)); }
};

// Where the style draws the parts of a check box.
struct BoxParts : TOrvCheckBox {
    QRect Part(QStyle::SubElement element) const
    {
        QStyleOptionButton option;
        initStyleOption(&option);
        return style()->subElementRect(element, &option, this);
    }
};

} // namespace

class TestOrvCheckBox : public QObject {
    Q_OBJECT

private slots:
    void startsAsAPlainBooleanBinding();
    void conditionChecksTheBox_data();
    void conditionChecksTheBox();
    void maskedClicksWriteOnlyTheMaskedBits_data();
    void maskedClicksWriteOnlyTheMaskedBits();
    void plainClicksWritePastTheLimits();
    void showingTheItemNeverWritesIt();
    void settingTheConditionRereadsTheUnit();
    void failedClickShowsTheItemAgain_data();
    void failedClickShowsTheItemAgain();
    void captionSideFollowsAlignment_data();
    void captionSideFollowsAlignment();
};

void TestOrvCheckBox::startsAsAPlainBooleanBinding()
{
    TOrvCheckBox box;
    QCOMPARE(box.Condition(), TOrvCheckBox::ccNotEqualTo);
    QCOMPARE(box.CheckedValue(), 1.0);
    QCOMPARE(box.UncheckedValue(), 0.0);
    QCOMPARE(box.ConditionValue(), 0.0);
    QVERIFY(!box.isChecked());
    QVERIFY(!box.isTristate());
    // Both names of a written value reach the same setting.
    box.setProperty("ValueChecked", 6000.0);
    box.setProperty("ValueUnchecked", 12000.0);
    QCOMPARE(box.CheckedValue(), 6000.0);
    QCOMPARE(box.property("UncheckedValue").toDouble(), 12000.0);
}

void TestOrvCheckBox::conditionChecksTheBox_data()
{
    QTest::addColumn<int>("condition");
    QTest::addColumn<double>("conditionValue");
    QTest::addColumn<double>("checkedValue");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("checked");
    const int masked = TOrvCheckBox::ccMaskedBit;
    QTest::newRow("bit 8 of 13") << masked << 8.0 << 8.0 << 13.0 << true;
    QTest::newRow("bit 8 of 5") << masked << 8.0 << 8.0 << 5.0 << false;
    QTest::newRow("mask 12 value 4") << masked << 12.0 << 4.0 << 4.0 << true;
    QTest::newRow("mask 12 value 12") << masked << 12.0 << 4.0 << 12.0 << false;
    QTest::newRow("mask 12 value 8") << masked << 12.0 << 4.0 << 8.0 << false;
    QTest::newRow("minor of 9000: 6000") << int(TOrvCheckBox::ccMinorOf) << 9000.0 << 1.0 << 6000.0 << true;
    QTest::newRow("minor of 9000: 9000") << int(TOrvCheckBox::ccMinorOf) << 9000.0 << 1.0 << 9000.0 << false;
    QTest::newRow("greater of 3: 3.5") << int(TOrvCheckBox::ccGreaterOf) << 3.0 << 1.0 << 3.5 << true;
    QTest::newRow("equal to 3: 3") << int(TOrvCheckBox::ccEqualTo) << 3.0 << 1.0 << 3.0 << true;
    QTest::newRow("default: 0") << int(TOrvCheckBox::ccNotEqualTo) << 0.0 << 1.0 << 0.0 << false;
    QTest::newRow("default: 0.5") << int(TOrvCheckBox::ccNotEqualTo) << 0.0 << 1.0 << 0.5 << true;
}

void TestOrvCheckBox::conditionChecksTheBox()
{
    QFETCH(int, condition);
    QFETCH(double, conditionValue);
    QFETCH(double, checkedValue);
    QFETCH(double, value);
    QFETCH(bool, checked);

    TOrvCheckBox box;
    box.SetCondition(TOrvCheckBox::TCheckCondition(condition));
    box.SetConditionValue(conditionValue);
    box.SetCheckedValue(checkedValue);
    box.setChecked(!checked);
    box.SetupCheckedState(value);
    QCOMPARE(box.isChecked(), checked);
}

void TestOrvCheckBox::maskedClicksWriteOnlyTheMaskedBits_data()
{
    QTest::addColumn<int>("held");
    QTest::addColumn<double>("mask");
    QTest::addColumn<double>("checkedValue");
    QTest::addColumn<int>("firstWrite");
    QTest::addColumn<int>("secondWrite");
    QTest::newRow("bit 8: 13 -> 5 -> 13") << 13 << 8.0 << 8.0 << 5 << 13;
    QTest::newRow("mask 12, checked 4: 8 -> 4 -> 0") << 8 << 12.0 << 4.0 << 4 << 0;
}

void TestOrvCheckBox::maskedClicksWriteOnlyTheMaskedBits()
{
    QFETCH(int, held);
    QFETCH(double, mask);
    QFETCH(double, checkedValue);
    QFETCH(int, firstWrite);
    QFETCH(int, secondWrite);

    BoxWindow w(held, TOrvCheckBox::ccMaskedBit, mask, checkedValue, 0);
    QVERIFY(ShowActive(w.window));
    const bool startsChecked = w.box->isChecked();

    w.Click();
    QCOMPARE(w.unit.Peek(Address), firstWrite);
    QCOMPARE(w.box->isChecked(), !startsChecked);
    w.Click();
    QCOMPARE(w.unit.Peek(Address), secondWrite);
    QCOMPARE(w.box->isChecked(), startsChecked);
}

void TestOrvCheckBox::plainClicksWritePastTheLimits()
{
    BoxWindow w(4000, TOrvCheckBox::ccMinorOf, 9000, 6000, 12000);
    w.item.SetDataLength(2);
    w.item.SetMaxValue(5000);
    w.item.SetMinValue(100);
    w.box->InitData();
    QVERIFY(ShowActive(w.window));
    QVERIFY(w.box->isChecked());
    // The click reaction follows the user's own click handling.
    int heldAtClick = -1;
    connect(w.box, &TOrvCheckBox::OnClick, w.box, [&] { heldAtClick = w.unit.Peek(Address); });

    w.Click();
    QCOMPARE(heldAtClick, 4000);
    QCOMPARE(w.unit.Peek(Address), 12000);
    QVERIFY(!w.box->isChecked());
    QVERIFY(!w.item.DisableLimits());
    w.Click();
    QCOMPARE(w.unit.Peek(Address), 6000);
    QVERIFY(w.box->isChecked());
}

void TestOrvCheckBox::showingTheItemNeverWritesIt()
{
    BoxWindow w(0, TOrvCheckBox::ccNotEqualTo, 0, 1, 0);
    QSignalSpy clicks(w.box, &TOrvCheckBox::OnClick);
    QVERIFY(!w.box->isChecked());

    w.unit.Poke(Address, 3);
    w.item.Load(); // the item's read announces the new value
    QVERIFY(w.box->isChecked());
    const int raw = 0;
    SendMessage(w.box, WindowMessage::WMDataAvailable, reinterpret_cast<uintptr_t>(&raw), 0);
    QVERIFY(!w.box->isChecked());

    QCOMPARE(w.unit.Peek(Address), 3);
    QCOMPARE(clicks.size(), 0);
}

void TestOrvCheckBox::settingTheConditionRereadsTheUnit()
{
    BoxWindow w(5, TOrvCheckBox::ccEqualTo, 5, 1, 0);
    QVERIFY(w.box->isChecked());
    w.unit.Poke(Address, 7); // the item's held value is still 5
    w.box->SetCondition(TOrvCheckBox::ccGreaterOf);
    QCOMPARE(w.item.GetDouble(), 7.0);
    QVERIFY(w.box->isChecked());
}

void TestOrvCheckBox::failedClickShowsTheItemAgain_data()
{
    QTest::addColumn<int>("condition");
    QTest::addColumn<bool>("failReads");
    QTest::addColumn<bool>("failWrites");
    QTest::newRow("masked bit, unit cannot be read") << int(TOrvCheckBox::ccMaskedBit) << true << false;
    QTest::newRow("masked bit, unit refuses the write") << int(TOrvCheckBox::ccMaskedBit) << false << true;
    QTest::newRow("plain value, unit refuses the write") << int(TOrvCheckBox::ccEqualTo) << false << true;
}

void TestOrvCheckBox::failedClickShowsTheItemAgain()
{
    QFETCH(int, condition);
    QFETCH(bool, failReads);
    QFETCH(bool, failWrites);

    BoxWindow w(0, TOrvCheckBox::TCheckCondition(condition), 8, 8, 0);
    QVERIFY(ShowActive(w.window));
    QVERIFY(!w.box->isChecked());
    w.unit.SetSwitches(failReads, failWrites);
    w.item.Load();

    w.Click();

    QCOMPARE(w.unit.Peek(Address), 0);
    QVERIFY(!w.box->isChecked());
}

void TestOrvCheckBox::captionSideFollowsAlignment_data()
{
    QTest::addColumn<bool>("leftJustify");
    QTest::newRow("right-justified (default): caption right of the box") << false;
    QTest::newRow("left-justified: caption left of the box") << true;
}

void TestOrvCheckBox::captionSideFollowsAlignment()
{
    QFETCH(bool, leftJustify);
    QWidget window;
    BoxParts& box = *new BoxParts;
    box.setParent(&window);
    QCOMPARE(box.Alignment(), TOrvCheckBox::taRightJustify);
    box.setText(QStringLiteral("Imposta Default Fisso:"));
    box.setGeometry(0, 0, 300, 27);
    if (leftJustify)
        box.setProperty("Alignment", QVariant::fromValue(TOrvCheckBox::taLeftJustify));

    const QRect indicator = box.Part(QStyle::SE_CheckBoxIndicator);
    const QRect caption = box.Part(QStyle::SE_CheckBoxContents);
    QCOMPARE(indicator.center().x() > caption.center().x(), leftJustify);
    QCOMPARE(indicator.right() > box.width() / 2, leftJustify);
    // The caption reads as written: the widget's own direction is unchanged.
    QCOMPARE(box.layoutDirection(), Qt::LeftToRight);

    // A click on the box switches it on either side.
    window.show();
    QTest::mouseClick(&box, Qt::LeftButton, {}, indicator.center());
    QVERIFY(box.isChecked());
}

QTEST_MAIN(TestOrvCheckBox)
#include "tst_orvcheckbox.moc"
