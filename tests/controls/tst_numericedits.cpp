// The unbound numeric edits: limits and step, the key filter, Return, Escape,
// entering and leaving, the focus chain, and the labeled edit's own move and
// resize handling.

#include "ControlTestSupport.h"
#include "controls/KeyComboBox.h"
#include "controls/NumericEdit.h"
#include "controls/OrvLabeledEdit.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

void Type(QWidget* widget, const QString& keys)
{
    for (const QChar c : keys) {
        if (c == QLatin1Char('\r'))
            QTest::keyClick(widget, Qt::Key_Return);
        else
            QTest::keyClick(widget, c.toLatin1());
    }
}

std::unique_ptr<TNumberEditBase> MakeEdit(bool labeled)
{
    if (labeled)
        return std::make_unique<TOrvLabeledEdit>();
    return std::make_unique<TNumericEdit>();
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

class TestNumericEdits : public QObject {
    Q_OBJECT

private slots:
    void startsEmptyOfRules();
    void returnAppliesLimitsAndStep_data();
    void returnAppliesLimitsAndStep();
    void keyFilter_data();
    void keyFilter();
    void readingAndSettingKeepTheLimits();
    void wholeNumbersFollowTheRules_data();
    void wholeNumbersFollowTheRules();
    void limitsKeepTheirOrder();
    void escapeEnterAndLeave();
    void focusChainSkipsHiddenLinks();
    void arrowsAreUsedUpWithoutNeighbours();
    void labeledEditMovesInTabOrder();
    void labeledEditMovesAndResizesItself();
};

void TestNumericEdits::startsEmptyOfRules()
{
    TNumericEdit edit;
    QCOMPARE(edit.text(), QStringLiteral("0"));
    QCOMPARE(edit.DataCode(), -1);
    QCOMPARE(edit.DataIndex(), -1);
    QCOMPARE(edit.VisibilityLevel(), 90);
    QVERIFY(edit.Validation());
    QVERIFY(!edit.DisableLimit());

    TOrvLabeledEdit labeled;
    QCOMPARE(labeled.text(), QStringLiteral("0"));
    QCOMPARE(labeled.ResizingBorder(), 8);
    QVERIFY(!labeled.LockControl());
    QCOMPARE(labeled.EditLabel()->LabelPosition(), TChildLabel::lpAbove);
}

void TestNumericEdits::returnAppliesLimitsAndStep_data()
{
    QTest::addColumn<double>("precision");
    QTest::addColumn<double>("max");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("above the maximum") << 0.01 << 600.0 << "700"
                                       << "600";
    QTest::newRow("step 0.01") << 0.01 << 600.0 << "1.234"
                               << "1,23";
    QTest::newRow("step 0.5, tie goes up") << 0.5 << 0.0 << "0.25"
                                           << "0,5";
    QTest::newRow("step 0.5, down") << 0.5 << 0.0 << "0.24"
                                    << "0";
    QTest::newRow("step 0.5, up") << 0.5 << 0.0 << "0.75"
                                  << "1";
}

void TestNumericEdits::returnAppliesLimitsAndStep()
{
    QFETCH(double, precision);
    QFETCH(double, max);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    LocaleScope locale(true);
    TNumericEdit edit;
    edit.SetPrecision(precision);
    edit.SetMaxValue(max);
    QSignalSpy keyPresses(&edit, &TNumberEditBase::OnKeyPress);
    edit.selectAll();

    Type(&edit, typed + QLatin1Char('\r'));

    QCOMPARE(edit.text(), shown);
    QCOMPARE(edit.LastValue(), edit.GetDouble());
    QCOMPARE(edit.selectedText(), shown); // no next control: the text is selected
    QCOMPARE(keyPresses.last().at(0).value<QChar>(), QLatin1Char('\r'));
}

void TestNumericEdits::keyFilter_data()
{
    QTest::addColumn<bool>("labeled");
    QTest::addColumn<double>("precision");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<bool>("disableLimit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    // The text starts as "5" with the caret at 0 (comma locale).
    QTest::newRow("minus swallowed with limits 0..600") << false << 0.01 << 0.0 << 600.0 << false << "-"
                                                        << "5";
    QTest::newRow("minus with a negative limit") << false << 0.0 << -10.0 << 0.0 << false << "-"
                                                 << "-5";
    QTest::newRow("minus with limits switched off") << false << 0.0 << 0.0 << 600.0 << true << "-"
                                                    << "-5";
    QTest::newRow("labeled: minus with a negative limit") << true << 0.0 << -10.0 << 0.0 << false << "-"
                                                          << "-5";
    QTest::newRow("thousands separator types decimal") << false << 0.01 << 0.0 << 0.0 << false << "1."
                                                       << "1,5";
    QTest::newRow("labeled: thousands separator swallowed") << true << 0.01 << 0.0 << 0.0 << false << "1."
                                                            << "15";
    QTest::newRow("no step allows a decimal") << false << 0.0 << 0.0 << 0.0 << false << "1,"
                                              << "1,5";
    QTest::newRow("labeled: no step swallows a decimal") << true << 0.0 << 0.0 << 0.0 << false << "1,"
                                                         << "15";
    QTest::newRow("whole step swallows a decimal") << false << 1.0 << 0.0 << 0.0 << false << "1,"
                                                   << "15";
    QTest::newRow("letters swallowed") << false << 0.0 << 0.0 << 0.0 << false << "a+ "
                                       << "5";
}

void TestNumericEdits::keyFilter()
{
    QFETCH(bool, labeled);
    QFETCH(double, precision);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(bool, disableLimit);
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    LocaleScope locale(true);
    const std::unique_ptr<TNumberEditBase> edit = MakeEdit(labeled);
    edit->SetPrecision(precision);
    edit->SetMaxValue(max);
    edit->SetMinValue(min);
    if (auto* numeric = qobject_cast<TNumericEdit*>(edit.get()))
        numeric->SetDisableLimit(disableLimit);
    edit->setText(QStringLiteral("5"));
    edit->setCursorPosition(0);

    Type(edit.get(), typed);
    QCOMPARE(edit->text(), expected);
}

void TestNumericEdits::readingAndSettingKeepTheLimits()
{
    LocaleScope locale(false);
    TNumericEdit edit;
    edit.SetMaxValue(0);
    edit.SetMinValue(-10);
    edit.setText(QStringLiteral("5"));
    QCOMPARE(edit.GetDouble(), 0.0);

    edit.SetMaxValue(100);
    edit.SetMinValue(0);
    edit.SetDouble(-5);
    QCOMPARE(edit.text(), QStringLiteral("0"));
    QCOMPARE(edit.LastValue(), 0.0);
    // Text that reached the field by pasting reads within the limits too.
    edit.setText(QStringLiteral("-5"));
    QCOMPARE(edit.GetDouble(), 0.0);
    edit.setText(QStringLiteral("abc"));
    QCOMPARE(edit.GetDouble(), 0.0); // LastValue

    edit.SetDisableLimit(true);
    edit.SetDouble(700);
    QCOMPARE(edit.text(), QStringLiteral("700"));
}

void TestNumericEdits::wholeNumbersFollowTheRules_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("precision");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("shown");
    QTest::newRow("above the limits 3..5") << 3.0 << 5.0 << 0.0 << "7" << 5 << "5";
    QTest::newRow("below a lower limit of 0") << 0.0 << 100.0 << 0.0 << "-4" << 0 << "0";
    QTest::newRow("cut to the step") << 0.0 << 0.0 << 2.0 << "7" << 6 << "6";
    QTest::newRow("within the rules") << 3.0 << 5.0 << 0.0 << "4" << 4 << "4";
    QTest::newRow("not a number: LastValue within the limits") << 3.0 << 5.0 << 0.0 << "x" << 3 << "3";
}

void TestNumericEdits::wholeNumbersFollowTheRules()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, precision);
    QFETCH(QString, text);
    QFETCH(int, result);
    QFETCH(QString, shown);

    TNumericEdit edit;
    edit.SetMaxValue(max);
    edit.SetMinValue(min);
    edit.SetPrecision(precision);
    edit.setText(text);
    // The answer is what the field now shows, never a number beyond its rules.
    QCOMPARE(edit.GetInt(), result);
    QCOMPARE(edit.text(), shown);
}

void TestNumericEdits::limitsKeepTheirOrder()
{
    TNumericEdit edit;
    edit.SetMinValue(5); // above the maximum 0
    QCOMPARE(edit.MinValue(), 0.0);
    edit.SetLimit(1, 600);
    edit.SetLimit(2, 10);
    edit.SetMaxValue(5); // below the minimum 10
    QCOMPARE(edit.GetLimit(1), 600.0);
    QCOMPARE(edit.GetLimit(2), 10.0);
}

void TestNumericEdits::escapeEnterAndLeave()
{
    LocaleScope locale(false);
    QWidget window;
    auto* edit = new TNumericEdit(&window);
    auto* other = new QLineEdit(&window);
    other->move(0, 40);
    edit->SetMaxValue(600);
    edit->setText(QStringLiteral("1234.5"));
    QVERIFY(ShowActive(window));

    edit->setFocus(); // entering takes the text within the limits
    QCOMPARE(edit->text(), QStringLiteral("600"));
    QCOMPARE(edit->LastValue(), 600.0);

    edit->setText(QStringLiteral("12"));
    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(edit->text(), QStringLiteral("600"));
    QCOMPARE(edit->selectedText(), QStringLiteral("600"));

    edit->setText(QStringLiteral("12"));
    other->setFocus(); // with Validation, leaving discards the typing
    QCOMPARE(edit->text(), QStringLiteral("600"));

    edit->SetValidation(false);
    edit->setFocus();
    edit->setText(QStringLiteral("700"));
    other->setFocus(); // without, it keeps the typed value within the rules
    QCOMPARE(edit->text(), QStringLiteral("600"));
    edit->setFocus();
    edit->setText(QStringLiteral("12"));
    other->setFocus();
    QCOMPARE(edit->LastValue(), 12.0);
}

void TestNumericEdits::focusChainSkipsHiddenLinks()
{
    QWidget window;
    auto* a = new TNumericEdit(&window);
    auto* b = new TNumericEdit(&window);
    auto* combo = new TKeyComboBox(&window);
    auto* c = new QLineEdit(&window);
    a->SetNextControl(b);
    b->SetNextControl(combo);
    combo->SetNextControl(c);
    b->hide();
    combo->setEnabled(false);
    QVERIFY(ShowActive(window));
    a->setFocus();

    QTest::keyClick(a, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), c);

    // A chain that comes back to a link already passed ends without a control.
    combo->SetNextControl(b);
    QCOMPARE(a->GetNextControl(), nullptr);
    c->setFocus();
    a->setFocus();
    QTest::keyClick(a, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), a);
}

void TestNumericEdits::arrowsAreUsedUpWithoutNeighbours()
{
    QWidget window;
    auto* edit = new TNumericEdit(&window);
    auto* other = new QLineEdit(&window);
    other->move(0, 40);
    QVERIFY(ShowActive(window));
    edit->setFocus();
    QSignalSpy keyDowns(edit, &TNumberEditBase::OnKeyDown);

    QTest::keyClick(edit, Qt::Key_Down);
    QTest::keyClick(edit, Qt::Key_Up);

    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(keyDowns.size(), 2);
    QCOMPARE(keyDowns.at(0).at(0).toInt(), 0);
    QCOMPARE(keyDowns.at(1).at(0).toInt(), 0);
}

void TestNumericEdits::labeledEditMovesInTabOrder()
{
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* edit = new TOrvLabeledEdit(&window);
    auto* after = new QLineEdit(&window);
    edit->move(0, 40);
    after->move(0, 80);
    QVERIFY(ShowActive(window));

    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), after);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), before);
}

void TestNumericEdits::labeledEditMovesAndResizesItself()
{
    QWidget window;
    auto* edit = new TOrvLabeledEdit(&window);
    edit->setGeometry(100, 100, 80, 24);

    // A move snaps down to 10 pixels.
    SendMouse(edit, QEvent::MouseMove, QPoint(40, 12), Qt::NoButton);
    QCOMPARE(edit->cursor().shape(), Qt::SizeAllCursor);
    SendMouse(edit, QEvent::MouseButtonPress, QPoint(40, 12), Qt::LeftButton);
    SendMouse(edit, QEvent::MouseMove, QPoint(54, 19), Qt::LeftButton);
    SendMouse(edit, QEvent::MouseButtonRelease, QPoint(54, 19), Qt::NoButton);
    QCOMPARE(edit->pos(), QPoint(110, 100));

    // The right edge follows the pointer without a grid or a minimum.
    SendMouse(edit, QEvent::MouseMove, QPoint(78, 12), Qt::NoButton);
    QCOMPARE(edit->cursor().shape(), Qt::SizeHorCursor);
    SendMouse(edit, QEvent::MouseButtonPress, QPoint(78, 12), Qt::LeftButton);
    SendMouse(edit, QEvent::MouseMove, QPoint(85, 12), Qt::LeftButton);
    SendMouse(edit, QEvent::MouseButtonRelease, QPoint(85, 12), Qt::NoButton);
    QCOMPARE(edit->width(), 87);

    edit->SetLockControl(true);
    SendMouse(edit, QEvent::MouseButtonPress, QPoint(40, 12), Qt::LeftButton);
    SendMouse(edit, QEvent::MouseMove, QPoint(90, 12), Qt::LeftButton);
    QCOMPARE(edit->geometry(), QRect(110, 100, 87, 24));

    edit->SetResizingDistance(30); // not smaller than the height
    QCOMPARE(edit->ResizingBorder(), 8);
}

QTEST_MAIN(TestNumericEdits)
#include "tst_numericedits.moc"
