// Value conversion, setters and notification of data items, without a unit.

#include "../common/MessageRecorder.h"
#include "items/CustomTransformation.h"
#include "items/LinearTransformation.h"
#include "items/OrvNumber.h"

#include <QTest>
#include <cmath>
#include <vector>

namespace {

using Type = TOrvSerialData::TransformationType;
using Table = QList<double>;

// Resistance ratios of the temperature sensor against -55..180 °C in steps of 5.
const Table TemperatureTable = [] {
    const double ratios[48] = {97.578,  67.65,   47.538,  33.831,  24.359,  17.753,  13.067,  9.7228,
                               7.3007,  5.5361,  4.2332,  3.266,   2.5392,  1.9902,  1.5709,  1.2492,
                               1.0,     0.805,   0.65326, 0.5329,  0.4371,  0.36,    0.299,   0.2493,
                               0.2088,  0.1757,  0.148,   0.1262,  0.1076,  0.09215, 0.07922, 0.0683,
                               0.05924, 0.05153, 0.04492, 0.0392,  0.0343,  0.03018, 0.02665, 0.023594,
                               0.0209,  0.0186,  0.0166,  0.01486, 0.01332, 0.01198, 0.01079, 0.00974};
    Table table{48};
    for (double ratio : ratios)
        table << ratio;
    for (int i = 0; i < 48; ++i)
        table << -55.0 + 5 * i;
    return table;
}();

struct Setup {
    Type type = TOrvSerialData::ttNone;
    std::vector<double> coeffs{1, 0, 0, 1};
    int mask = 0xFF;
    int length = 1;
    bool isSigned = false;
    std::vector<double> table{0};
    double precision = 0;
    double min = 0;
    double max = 0;
};

void Apply(TOrvNumber& item, const Setup& s)
{
    item.SetDataLength(s.length);
    item.SetDataMask(s.mask);
    item.SetDataSigned(s.isSigned);
    item.SetTransformationType(s.type);
    item.SetCoeffs(Table(s.coeffs.cbegin(), s.coeffs.cend()));
    item.SetConversionTableList(Table(s.table.cbegin(), s.table.cend()));
    item.SetPrecision(s.precision);
    item.SetMaxValue(s.max);
    item.SetMinValue(s.min);
}

Setup Formula(const std::vector<double>& coeffs, double precision = 0)
{
    Setup s;
    s.type = TOrvSerialData::ttFormula;
    s.coeffs = coeffs;
    s.precision = precision;
    return s;
}

Setup Tabled(const std::vector<double>& table)
{
    Setup s;
    s.type = TOrvSerialData::ttTabled;
    s.table = table;
    return s;
}

Setup Temperature(double precision)
{
    Setup s = Formula({5, 0, -5, 1275}, precision);
    s.type = TOrvSerialData::ttNonLinearTabled;
    s.table.assign(TemperatureTable.cbegin(), TemperatureTable.cend());
    return s;
}

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestItemConversion : public QObject {
    Q_OBJECT

private slots:
    void toUser_data();
    void toUser();
    void toUnit_data();
    void toUnit();
    void maskedMergeKeepsOtherBits();
    void settersRefuseBadValues();
    void numberIndexRules();
    void getIntRoundsHalfUp_data();
    void getIntRoundsHalfUp();
    void writeWithoutConnectionStoresAndReports();
    void unrepresentableValueIsNotWritten();
    void readOnlyRefusesUserWrites();
    void notifiesInOrderAndThroughCoefficients();
    void externalCoefficientWithTransformation();
    void transformations();
    void isFloatValue_data();
    void isFloatValue();
};

void TestItemConversion::toUser_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<int>("raw");
    QTest::addColumn<double>("expected");

    QTest::newRow("volts from a byte") << Formula({5, 0, 0, 255}, 0.01) << 128 << 2.51;
    QTest::newRow("RPM from a period") << Formula({0, 117000, 1, 0}, 100) << 58 << 2000.0;
    QTest::newRow("period 0 divides by zero") << Formula({0, 117000, 1, 0}) << 0 << -10000002.0;
    QTest::newRow("temperature table") << Temperature(0) << 128 << 24.84;
    QTest::newRow("temperature shown in steps of 1") << Temperature(1) << 128 << 25.0;
    QTest::newRow("table hit") << Tabled({3, 1, 2, 4, 0, 1, 2}) << 4 << 2.0;
    QTest::newRow("table miss") << Tabled({3, 1, 2, 4, 0, 1, 2}) << 3 << -10000001.0;
    QTest::newRow("table last match wins") << Tabled({2, 7, 7, 1, 2}) << 7 << 2.0;
    QTest::newRow("no table") << Tabled({0}) << 1 << -10000001.0;
    QTest::newRow("precision 5 tie goes up") << Formula({1, 0, 0, 2}, 5) << 25 << 15.0;
    QTest::newRow("precision 5 rounds down") << Formula({1, 0, 0, 10}, 5) << 124 << 10.0;

    Setup field = Formula({1, 0, 0, 8});
    field.mask = 24;
    QTest::newRow("field above bit 0") << field << 0xBD << 3.0;
    Setup flag = Formula({1, 0, 0, 16});
    flag.mask = 16;
    QTest::newRow("one flag bit") << flag << 0x10 << 1.0;
    Setup signedField;
    signedField.mask = 0xF0;
    signedField.isSigned = true;
    QTest::newRow("sign extended after masking") << signedField << 0xF0 << -16.0;
    Setup word;
    word.length = 2;
    word.mask = 0xFFFF;
    word.isSigned = true;
    QTest::newRow("signed word") << word << 0xFFFE << -2.0;
}

void TestItemConversion::toUser()
{
    QFETCH(Setup, setup);
    QFETCH(int, raw);
    QFETCH(double, expected);
    TOrvNumber item;
    Apply(item, setup);
    QCOMPARE(std::round(item.ConvertValueToUser(raw) * 100) / 100, expected);
}

void TestItemConversion::toUnit_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<double>("user");
    QTest::addColumn<int>("expected");

    QTest::newRow("RPM to a period, half rounds up") << Formula({0, 117000, 1, 0}) << 2000.0 << 59;
    QTest::newRow("seconds") << Formula({4, -4, 0, 1000}) << 0.4 << 101;
    QTest::newRow("volts") << Formula({5, 0, 0, 255}) << 2.8 << 143;
    QTest::newRow("formula divides by zero") << Formula({0, 117000, 1, 0}) << 0.0 << -10000002;
    QTest::newRow("temperature table") << Temperature(1) << 25.0 << 128;
    QTest::newRow("table hit") << Tabled({3, 1, 2, 4, 0, 1, 2}) << 1.0 << 2;
    QTest::newRow("table miss") << Tabled({3, 1, 2, 4, 0, 1, 2}) << 1.5 << -10000001;
    QTest::newRow("identity truncates") << Setup{} << -2.7 << -2;

    Setup limited = Formula({5, 0, 0, 1});
    limited.min = 5;
    limited.max = 1275;
    QTest::newRow("above the limits") << limited << 2000.0 << 255;
    QTest::newRow("below the limits") << limited << 1.0 << 1;
    QTest::newRow("no limits when both are 0") << Formula({5, 0, 0, 1}) << 2000.0 << 400;
}

void TestItemConversion::toUnit()
{
    QFETCH(Setup, setup);
    QFETCH(double, user);
    QFETCH(int, expected);
    TOrvNumber item;
    Apply(item, setup);
    QCOMPARE(item.ConvertValueToEcu(user, nullptr), expected);
}

void TestItemConversion::maskedMergeKeepsOtherBits()
{
    // Without a unit the merge takes the value held in memory.
    TOrvNumber item;
    Apply(item, Formula({1, 0, 0, 8}));
    item.SetDataMask(24);
    int held = 0xA5;
    item.InitData(&held);
    int current = item.RawValue();
    QCOMPARE(item.ConvertValueToEcu(2, &current), 0xB5);
    QCOMPARE(item.ConvertValueToEcu(2, nullptr), 16);
}

void TestItemConversion::settersRefuseBadValues()
{
    TOrvNumber item;
    item.SetDefaultValue(7);
    item.SetDataMask(5);
    QCOMPARE(item.DataMask(), 0xFF);
    QCOMPARE(item.DefaultValue(), 7.0);
    item.SetDataMask(0x1FF);
    QCOMPARE(item.DataMask(), 0xFF);
    item.SetDataMask(96);
    QCOMPARE(item.DataMask(), 96);
    QCOMPARE(item.DefaultValue(), 0.0); // a new mask discards the in-memory value

    item.SetDataLength(3);
    QCOMPARE(item.DataLength(), 1);
    item.SetDataLength(2);
    QCOMPARE(item.DataMask(), 0xFFFF);
    QCOMPARE(item.Descriptor() & 0x200u, 0x200u);
    item.SetDataSigned(true);
    QCOMPARE(item.Descriptor() & 0x400u, 0x400u);

    item.SetSerialCode(300);
    QCOMPARE(item.SerialCode(), 44);
    QCOMPARE(item.Descriptor() & 0xFFu, 44u);
    item.SetSerialCode(-1);
    QCOMPARE(item.SerialCode(), 44);

    item.SetPrecision(-1);
    QCOMPARE(item.Precision(), 0.0);
    item.SetMaxValue(10);
    item.SetMinValue(20);
    QCOMPARE(item.ValueMin(), 0.0);
    item.SetMaxValue(-5);
    QCOMPARE(item.ValueMax(), 10.0);
    // While the item is read from its stored form the order does not matter.
    item.BeginLoading();
    item.SetMinValue(20);
    item.SetMaxValue(30);
    item.Loaded();
    QCOMPARE(item.ValueMin(), 20.0);
    QCOMPARE(item.ValueMax(), 30.0);
}

void TestItemConversion::numberIndexRules()
{
    TOrvNumber item;
    QCOMPARE(item.Type(), TOrvNumber::ntSingle);
    item.SetColIndex(3); // no row yet: ignored
    QCOMPARE(item.ColIndex(), -1);
    item.SetType(TOrvNumber::ntVectorElement);
    QCOMPARE(item.RowIndex(), 0);
    QCOMPARE(item.ColIndex(), -1);
    item.SetColIndex(3);
    QCOMPARE(item.Type(), TOrvNumber::ntMatrixElement);
    item.SetRowIndex(-2);
    QCOMPARE(item.RowIndex(), -1);
    QCOMPARE(item.ColIndex(), -1);

    TOrvNumber element(nullptr, 7, 2, -1);
    QCOMPARE(element.SerialCode(), 7);
    QCOMPARE(element.Type(), TOrvNumber::ntVectorElement);
}

void TestItemConversion::getIntRoundsHalfUp_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5") << 25 << 3;
    QTest::newRow("-2.7") << 0xE5 << -2;
    QTest::newRow("2.4") << 24 << 2;
}

void TestItemConversion::getIntRoundsHalfUp()
{
    QFETCH(int, raw);
    QFETCH(int, expected);
    TOrvNumber item;
    Setup s = Formula({1, 0, 0, 10});
    s.isSigned = true;
    Apply(item, s);
    item.InitData(&raw);
    QCOMPARE(item.GetInt(), expected);
}

void TestItemConversion::writeWithoutConnectionStoresAndReports()
{
    TOrvNumber item;
    Apply(item, Formula({5, 0, 0, 1}));
    QList<int> codes;
    item.OnError = [&codes](QObject*, int code, bool writing) { codes << (writing ? code : 1000 + code); };
    MessageRecorder control;
    item.AddNotificationList(&control);
    QVERIFY(item.SetData(25));
    QCOMPARE(item.RawValue(), 5);
    QCOMPARE(codes, QList<int>{-1});
    QCOMPARE(control.Count(WindowMessage::WMDataChanged), 0);
}

void TestItemConversion::unrepresentableValueIsNotWritten()
{
    TOrvNumber item;
    Apply(item, Tabled({3, 1, 2, 4, 0, 1, 2}));
    int held = 2;
    item.InitData(&held);
    MessageRecorder control;
    item.AddNotificationList(&control);
    bool errorRaised = false;
    item.OnError = [&errorRaised](QObject*, int, bool) { errorRaised = true; };
    QVERIFY(!item.SetData(1.5));
    QCOMPARE(item.RawValue(), 2);
    QVERIFY(!errorRaised);
    QCOMPARE(control.Count(WindowMessage::WMDataChanged), 1); // the control shows the held value again
}

void TestItemConversion::readOnlyRefusesUserWrites()
{
    TOrvNumber item;
    item.SetReadOnly(true);
    MessageRecorder control;
    item.AddNotificationList(&control);
    QVERIFY(!item.SetData(3));
    QVERIFY(!item.SetEcuData(3));
    QCOMPARE(control.Count(WindowMessage::WMDataChanged), 1);
    QCOMPARE(control.messages.first().wParam, reinterpret_cast<uintptr_t>(&item));
    // Defaults and downloads still write.
    item.SetDefaultValue(9);
    QVERIFY(item.ResetDefault(true));
    QCOMPARE(item.RawValue(), 9);
    QVERIFY(item.Download());
}

void TestItemConversion::notifiesInOrderAndThroughCoefficients()
{
    QList<QString> journal;
    TOrvNumber coefficient;
    TOrvNumber user;
    MessageRecorder first(&journal, "first");
    MessageRecorder second(&journal, "second");
    MessageRecorder boundToUser(&journal, "boundToUser");
    user.SetExtCoeff(1, &coefficient);
    user.AddNotificationList(&boundToUser);
    coefficient.AddNotificationList(&first);
    coefficient.AddNotificationList(&second);
    coefficient.AddNotificationList(&first); // entered once only

    coefficient.NotifyData(WindowMessage::WMDataChanged, 1, 0);
    QCOMPARE(journal, (QList<QString>{"boundToUser", "first", "second"}));

    // A destroyed control leaves the list; a coefficient cycle ends.
    journal.clear();
    {
        MessageRecorder transient(&journal, "transient");
        coefficient.AddNotificationList(&transient);
    }
    coefficient.SetExtCoeff(1, &user);
    coefficient.NotifyData(WindowMessage::WMDataChanged, 1, 0);
    QCOMPARE(journal, (QList<QString>{"boundToUser", "first", "second"}));

    // Only single values other than the item itself are accepted.
    user.SetExtCoeff(2, &user);
    QVERIFY(!user.ExtCoeff(2));
    user.SetExtCoeff(1, nullptr);
    QVERIFY(!coefficient.IsInNotificationList(&user));
}

void TestItemConversion::externalCoefficientWithTransformation()
{
    TOrvNumber scale;
    scale.SetDefaultValue(50);
    scale.Loaded();
    TOrvNumber item;
    Apply(item, Formula({1, 0, 0, 1}));
    item.SetExtCoeff(2, &scale);
    double a = 0, b = 0, c = 0, d = 0;
    item.GetFormulaCoefficients(&a, &b, &c, &d);
    QCOMPARE(b, 50.0);
    QCOMPARE(item.ConvertValueToUser(10), 60.0);

    TLinearTransformation doubling;
    doubling.SetCoeffs({2, 0, 0, 1});
    item.SetTransformation(2, &doubling);
    QCOMPARE(item.ConvertValueToUser(10), 110.0);
    doubling.SetEnabled(false);
    QCOMPARE(item.ConvertValueToUser(10), 60.0);
}

void TestItemConversion::transformations()
{
    TLinearTransformation linear;
    linear.SetCoeffs({0, 120000, 1, 0});
    double out = 0;
    QCOMPARE(linear.Transform(60, &out), 0);
    QCOMPARE(out, 2000.0);
    QCOMPARE(linear.AntiTransform(2000, &out), 0);
    QCOMPARE(out, 60.0);
    QCOMPARE(linear.Transform(0, &out), 1);

    TCustomTransformation custom;
    QCOMPARE(custom.Transform(1, &out), 2);
    custom.OnConvertToUser = [](QObject*, int ecu, double& converted) { converted = ecu * 3; };
    custom.OnConvertToEcu = [](QObject*, double user, int& converted) { converted += int(user); };
    QCOMPARE(custom.Transform(2.9, &out), 0);
    QCOMPARE(out, 6.0);
    out = 10;
    QCOMPARE(custom.AntiTransform(5, &out), 0);
    QCOMPARE(out, 15.0);
}

void TestItemConversion::isFloatValue_data()
{
    QTest::addColumn<QString>("localeName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("comma on a point system") << "en_US"
                                             << "1,5" << true << 1.5;
    QTest::newRow("point on a point system") << "en_US"
                                             << "1.5" << true << 1.5;
    QTest::newRow("point on a comma system") << "it_IT"
                                             << "2.5" << true << 2.5;
    QTest::newRow("comma on a comma system") << "it_IT"
                                             << "2,5" << true << 2.5;
    QTest::newRow("only the first separator replaced") << "en_US"
                                                       << "1,5,5" << false << 0.0;
    QTest::newRow("both separators") << "it_IT"
                                     << "1.234,5" << false << 0.0;
    QTest::newRow("blanks around") << "en_US"
                                   << " -3 " << true << -3.0;
    QTest::newRow("not a number") << "en_US"
                                  << "abc" << false << 0.0;
    QTest::newRow("empty") << "en_US"
                           << "" << false << 0.0;
}

void TestItemConversion::isFloatValue()
{
    QFETCH(QString, localeName);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const QLocale saved;
    QLocale::setDefault(QLocale(localeName));
    double parsed = 0;
    const bool result = IsFloatValue(text, parsed);
    QLocale::setDefault(saved);
    QCOMPARE(result, ok);
    if (ok)
        QCOMPARE(parsed, value);
}

QTEST_GUILESS_MAIN(TestItemConversion)
#include "tst_itemconversion.moc"
