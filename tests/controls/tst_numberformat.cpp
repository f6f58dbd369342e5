// Number format patterns of the labels and the map grid.

#include "ControlTestSupport.h"
#include "controls/NumberFormat.h"

#include <QTest>

class TestNumberFormat : public QObject {
    Q_OBJECT

private slots:
    void formats_data();
    void formats();
};

void TestNumberFormat::formats_data()
{
    QTest::addColumn<bool>("comma");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    // The configuration window's patterns.
    QTest::newRow("volts") << true << "0.00 V" << 1.456 << "1,46 V";
    QTest::newRow("volts without data") << true << "0.00 V" << 0.0 << "0,00 V";
    QTest::newRow("degrees") << true << "##0 °C" << 85.4 << "85 °C";
    QTest::newRow("engine speed") << true << "###0 RPM" << 1234.6 << "1235 RPM";
    QTest::newRow("point locale") << false << "0.00 V" << 1.456 << "1.46 V";
    // General text when there is no pattern.
    QTest::newRow("no pattern") << true << "" << 0.1 << "0,1";
    QTest::newRow("no pattern, tiny") << false << "" << 0.00001 << "1E-5";
    // Digit places.
    QTest::newRow("two decimals") << true << "0.00" << 0.1 << "0,10";
    QTest::newRow("rounds half away from zero") << false << "0.00" << 2.675 << "2.68";
    QTest::newRow("negative half away from zero") << false << "0" << -2.5 << "-3";
    QTest::newRow("optional decimals") << false << "0.##" << 1.5 << "1.5";
    QTest::newRow("optional decimals, whole") << false << "0.##" << 1.0 << "1";
    QTest::newRow("no integer place") << false << "#.00" << 0.5 << ".50";
    QTest::newRow("more digits than places") << false << "00" << 12345.0 << "12345";
    QTest::newRow("leading zeros") << false << "0000" << 42.0 << "0042";
    QTest::newRow("digits around a literal") << false << "#-##" << 123.0 << "1-23";
    QTest::newRow("carry into a new digit") << false << "0.0" << 9.96 << "10.0";
    // Thousands, literals, sections, exponent.
    QTest::newRow("thousands, comma locale") << true << "#,##0.00" << 1234567.891 << "1.234.567,89";
    QTest::newRow("thousands, point locale") << false << "#,##0" << 1234.0 << "1,234";
    QTest::newRow("quoted literals") << false << "'#'0\" pcs\"" << 5.0 << "#5 pcs";
    QTest::newRow("single section minus") << true << "0.0 V" << -1.25 << "-1,3 V";
    QTest::newRow("no minus on a rounded zero") << false << "0.0" << -0.01 << "0.0";
    QTest::newRow("negative section") << false << "0.0;(0.0)" << -2.5 << "(2.5)";
    QTest::newRow("zero section") << false << "0.0;(0.0);zero" << 0.0 << "zero";
    QTest::newRow("empty negative section") << false << "0.0;;zero" << -2.5 << "-2.5";
    QTest::newRow("exponent") << false << "0.00E+00" << 12345.0 << "1.23E+04";
    QTest::newRow("small exponent") << false << "0.0E-0" << 0.00012 << "1.2E-4";
    QTest::newRow("exponent sign only when negative") << false << "0E-00" << 500.0 << "5E02";
}

void TestNumberFormat::formats()
{
    QFETCH(bool, comma);
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, expected);
    LocaleScope locale(comma);
    QCOMPARE(FormatDataNumber(value, pattern), expected);
}

QTEST_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
