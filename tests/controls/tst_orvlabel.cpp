// The live label: number and status-word styles, the format pattern, its
// caption label, and which items it accepts.

#include "ControlTestSupport.h"
#include "controls/OrvLabel.h"
#include "items/OrvPacketData.h"
#include "items/OrvVector.h"

#include <QTest>

namespace {

// A live value that reads in hundredths: raw 146 is 1.46.
struct Hundredths : TOrvPacketData {
    Hundredths()
    {
        SetTransformationType(ttFormula);
        SetCoeffs({1, 0, 0, 100});
    }
};

QColor TextColor(const QLabel& label)
{
    return label.palette().color(QPalette::WindowText);
}

} // namespace

class TestOrvLabel : public QObject {
    Q_OBJECT

private slots:
    void freshLabelShowsZero();
    void valueStylesFormatTheItem_data();
    void valueStylesFormatTheItem();
    void flagStylesShowTheStatusWord();
    void vectorElementsFormAText_data();
    void vectorElementsFormAText();
    void styleDecidesTheCaptionLabel();
    void acceptsOnlyLiveAndVectorItems();
    void hidingHidesTheCaption();
};

void TestOrvLabel::freshLabelShowsZero()
{
    TOrvLabel label;
    QCOMPARE(label.text(), QStringLiteral("0"));
    QCOMPARE(label.Style(), TOrvLabel::lsLabeledValue);
    QVERIFY(label.ChildLabel());
    QCOMPARE(label.ChildLabel()->FocusControl(), nullptr);
    QCOMPARE(label.OnText(), QStringLiteral("ON"));
    QCOMPARE(label.VectorText(), QStringLiteral("n.d."));
}

void TestOrvLabel::valueStylesFormatTheItem_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("hasData");
    QTest::addColumn<QString>("shown");
    QTest::newRow("volts") << "0.00 V" << 1.456 << true << "1,46 V";
    QTest::newRow("live value before any data") << "0.00 V" << 0.0 << false << "";
    QTest::newRow("general text") << "" << 0.1 << true << "0,1";
}

void TestOrvLabel::valueStylesFormatTheItem()
{
    QFETCH(QString, format);
    QFETCH(double, value);
    QFETCH(bool, hasData);
    QFETCH(QString, shown);

    LocaleScope locale(true);
    Hundredths item;
    TOrvLabel label;
    label.SetValue(&item);
    label.SetDataFormat(format);
    if (hasData)
        item.InitData(value);
    QCOMPARE(label.text(), shown);
}

void TestOrvLabel::flagStylesShowTheStatusWord()
{
    TOrvPacketData item;
    TOrvLabel label;
    label.SetStyle(TOrvLabel::lsFlag);
    label.SetOnColor(Qt::green);
    label.SetOffColor(Qt::red);
    label.SetValue(&item);

    item.InitData(0);
    QCOMPARE(label.text(), QStringLiteral("OFF"));
    QCOMPARE(TextColor(label), QColor(Qt::red));
    label.SetOnText(QStringLiteral("Motore acceso")); // nothing visible changes
    QCOMPARE(label.text(), QStringLiteral("OFF"));

    item.InitData(3);
    QVERIFY(label.State());
    QCOMPARE(label.text(), QStringLiteral("Motore acceso"));
    QCOMPARE(TextColor(label), QColor(Qt::green));
}

void TestOrvLabel::vectorElementsFormAText_data()
{
    QTest::addColumn<QList<int>>("raw");
    QTest::addColumn<bool>("tenths");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ends at the first zero") << QList<int>{72, 105, 0, 33} << false << "Hi";
    QTest::newRow("rounded codes") << QList<int>{786, 464, 1000, 460} << true << "O.d.";
}

void TestOrvLabel::vectorElementsFormAText()
{
    QFETCH(QList<int>, raw);
    QFETCH(bool, tenths);
    QFETCH(QString, shown);

    constexpr int Address = 40;
    FakeUnit unit;
    TOrvVector item;
    item.SetConnection(&unit.connection);
    item.SetByAddress(true);
    item.SetAddress(Address);
    item.SetArrayDimension(int(raw.size()));
    if (tenths) {
        item.SetDataLength(2);
        item.SetTransformationType(TOrvSerialData::ttFormula);
        item.SetCoeffs({1, 0, 0, 10});
    }
    for (int i = 0; i < raw.size(); ++i)
        unit.Poke(Address + i * item.DataLength(), raw.at(i));
    TOrvLabel label;
    label.SetValue(&item);
    label.SetDataFormat(QString()); // renews the text: nothing read yet
    QCOMPARE(label.text(), QStringLiteral("n.d."));

    item.Load(); // the read announces the values
    QCOMPARE(label.VectorText(), shown);
    QCOMPARE(label.text(), shown);
}

void TestOrvLabel::styleDecidesTheCaptionLabel()
{
    QWidget window;
    auto* label = new TOrvLabel(&window);
    label->setObjectName(QStringLiteral("OrvLabelGiri"));
    label->ChildLabel()->SetLabelSpacing(300);

    label->SetStyle(TOrvLabel::lsValue);
    QVERIFY(!label->ChildLabel());
    label->SetStyle(TOrvLabel::lsLabeledFlag);
    QVERIFY(label->ChildLabel());
    QCOMPARE(label->ChildLabel()->Caption(), QStringLiteral("OrvLabelGiri"));
    QCOMPARE(label->ChildLabel()->LabelSpacing(), 80);
    QCOMPARE(label->ChildLabel()->parentWidget(), &window);
}

void TestOrvLabel::acceptsOnlyLiveAndVectorItems()
{
    TOrvPacketData live;
    TOrvNumber number;
    TOrvLabel label;
    label.SetValue(&live);
    label.SetValue(&number);
    QCOMPARE(label.Value(), &live);
    QVERIFY(live.IsInNotificationList(&label));
    QVERIFY(!number.IsInNotificationList(&label));
    label.SetValue(nullptr);
    QVERIFY(!live.IsInNotificationList(&label));
}

void TestOrvLabel::hidingHidesTheCaption()
{
    QWidget window;
    auto* label = new TOrvLabel(&window);
    label->ChildLabel()->SetCaption(QStringLiteral("Giri"));
    QVERIFY(ShowActive(window));
    QVERIFY(label->ChildLabel()->isVisible());
    label->setVisible(false);
    QVERIFY(!label->ChildLabel()->isVisible());
}

QTEST_MAIN(TestOrvLabel)
#include "tst_orvlabel.moc"
