// Configuration-file entries of single values, vectors and matrices: keys,
// value text under different locales, unreadable entries, the raw form's merge
// with other items' bits, memory-only reading, half-named items, and the
// one-line HCF entries.

#include "../common/MessageRecorder.h"
#include "../common/ShapedItems.h"
#include "../common/SimUnit.h"
#include "items/OrvMatrix.h"
#include "items/OrvNumber.h"
#include "items/OrvVector.h"
#include "link/OrvConnection.h"
#include "support/MemIniData.h"

#include <QLocale>
#include <QTest>
#include <memory>

namespace {

const QString Section = QStringLiteral("S");

using Shape = ItemShape;

// The raw elements the item holds, in row order.
QList<int> Held(TOrvSerialData* item)
{
    if (auto* number = qobject_cast<TOrvNumber*>(item))
        return {number->RawValue()};
    const std::vector<int>& raw = static_cast<TOrvArrayData*>(item)->RawValues();
    return QList<int>(raw.cbegin(), raw.cend());
}

// Puts raw elements into the item's memory (it has no connection).
void Hold(TOrvSerialData* item, const QList<int>& raw)
{
    if (auto* number = qobject_cast<TOrvNumber*>(item)) {
        QVERIFY(number->SetDataInEcu(raw.first()));
    } else if (auto* vector = qobject_cast<TOrvVector*>(item)) {
        QVERIFY(vector->SetDataInEcu(raw.constData()));
    } else if (auto* matrix = qobject_cast<TOrvMatrix*>(item)) {
        QList<const int*> rows;
        for (int r = 0; r < matrix->RowCount(); ++r)
            rows << raw.constData() + r * matrix->ColCount();
        QVERIFY(matrix->SetDataInEcu(rows.constData()));
    }
}

// Seconds in steps of 4 ms from 4 ms below raw 1.
void SetSeconds(TOrvSerialData* item)
{
    item->SetTransformationType(TOrvSerialData::ttFormula);
    item->SetCoeffs({4, -4, 0, 1000});
}

QList<int> Count(int n, int first = 1)
{
    QList<int> values;
    for (int i = 0; i < n; ++i)
        values << first + i;
    return values;
}

QStringList Lines(const TMemIniData& ini)
{
    QStringList lines;
    ini.ReadSectionValues(Section, lines);
    return lines;
}

} // namespace

Q_DECLARE_METATYPE(Shape)

class TestItemFiles : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void keysAndRoundTrip_data();
    void keysAndRoundTrip();
    void userValueCrossesLocales_data();
    void userValueCrossesLocales();
    void unreadableText();
    void rawFormMergesTheItemsBits_data();
    void rawFormMergesTheItemsBits();
    void oldReadModeStaysInMemory_data();
    void oldReadModeStaysInMemory();
    void halfNamedItemsFail_data();
    void halfNamedItemsFail();
    void hcfLines_data();
    void hcfLines();
    void hcfLinesRefused_data();
    void hcfLinesRefused();

private:
    void KindsData();

    TPlainBuffer m_buffer;
    std::unique_ptr<TMemIniData> m_ini;
};

void TestItemFiles::init()
{
    QLocale::setDefault(QLocale::c());
    m_buffer = TPlainBuffer();
    m_ini = std::make_unique<TMemIniData>(m_buffer);
}

void TestItemFiles::cleanup()
{
    QLocale::setDefault(QLocale::c());
}

void TestItemFiles::KindsData()
{
    QTest::addColumn<Shape>("shape");
    QTest::newRow("single value") << Shape{0};
    QTest::newRow("vector") << Shape{1, 1, 3};
    QTest::newRow("matrix") << Shape{2, 2, 2};
}

void TestItemFiles::keysAndRoundTrip_data()
{
    QTest::addColumn<Shape>("shape");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("single value") << Shape{0} << QStringList{"K=1"};
    QTest::newRow("vector element") << Shape{0, 1, 1, 3} << QStringList{"K3=1"};
    QTest::newRow("matrix element") << Shape{0, 1, 1, 3, 2} << QStringList{"K3_2=1"};
    QTest::newRow("vector") << Shape{1, 1, 3} << QStringList{"K0=1", "K1=2", "K2=3"};
    QTest::newRow("matrix row") << Shape{1, 1, 3, 3} << QStringList{"K3_0=1", "K3_1=2", "K3_2=3"};
    QTest::newRow("matrix column") << Shape{1, 1, 2, -1, 2} << QStringList{"K0_2=1", "K1_2=2"};
    QTest::newRow("1x1 matrix") << Shape{2} << QStringList{"K=1"};
    QTest::newRow("1x3 matrix") << Shape{2, 1, 3} << QStringList{"K0=1", "K1=2", "K2=3"};
    QTest::newRow("3x1 matrix") << Shape{2, 3, 1} << QStringList{"K0=1", "K1=2", "K2=3"};
    QTest::newRow("2x2 matrix") << Shape{2, 2, 2} << QStringList{"K0_0=1", "K0_1=2", "K1_0=3", "K1_1=4"};
}

void TestItemFiles::keysAndRoundTrip()
{
    QFETCH(Shape, shape);
    QFETCH(QStringList, lines);

    auto item = MakeShapedItem(shape);
    Hold(item.get(), Count(lines.size()));
    QVERIFY(item->WriteToFile(m_ini.get()));
    QCOMPARE(Lines(*m_ini), lines);

    auto copy = MakeShapedItem(shape);
    QVERIFY(copy->ReadFromFile(m_ini.get()));
    QCOMPARE(Held(copy.get()), Count(lines.size()));
}

void TestItemFiles::userValueCrossesLocales_data()
{
    KindsData();
}

void TestItemFiles::userValueCrossesLocales()
{
    QFETCH(Shape, shape);

    // Raw 101 is 0.4 s; 2 is 0.004 s, and 1 is 0.
    auto item = MakeShapedItem(shape);
    const int n = shape.kind == 0 ? 1 : shape.rows * shape.cols;
    const QList<int> raw = QList<int>{101, 2, 1, 5}.mid(0, n);
    SetSeconds(item.get());
    Hold(item.get(), raw);

    QLocale::setDefault(QLocale(QLocale::Italian));
    QVERIFY(item->WriteToFile(m_ini.get()));
    QVERIFY(Lines(*m_ini).first().endsWith(QLatin1String("=0,4")));

    QLocale::setDefault(QLocale::c());
    auto copy = MakeShapedItem(shape);
    SetSeconds(copy.get());
    QVERIFY(copy->ReadFromFile(m_ini.get()));
    QCOMPARE(Held(copy.get()), raw);
}

void TestItemFiles::unreadableText()
{
    auto number = MakeShapedItem(Shape{0});
    Hold(number.get(), {7});
    m_ini->WriteString(Section, "K", "abc");
    QVERIFY(!number->ReadFromFile(m_ini.get()));
    QCOMPARE(Held(number.get()), QList<int>{7});

    // A vector takes what it can read and keeps its other elements.
    auto vector = MakeShapedItem(Shape{1, 1, 3});
    Hold(vector.get(), {7, 8, 9});
    m_ini->WriteString(Section, "K0", "5");
    m_ini->WriteString(Section, "K1", "abc");
    QVERIFY(vector->ReadFromFile(m_ini.get()));
    QCOMPARE(Held(vector.get()), (QList<int>{5, 8, 9}));

    // Values its bytes cannot hold are refused too, in either form, rather
    // than kept whole and later sent to the unit cut to a byte.
    m_ini->WriteString(Section, "K1", "2124");
    m_ini->WriteString(Section, "K2", "-1");
    QVERIFY(vector->ReadFromFile(m_ini.get()));
    QCOMPARE(Held(vector.get()), (QList<int>{5, 8, 9}));
    vector->SetStoreUserValue(false);
    QVERIFY(vector->ReadFromFile(m_ini.get()));
    QCOMPARE(Held(vector.get()), (QList<int>{5, 8, 9}));

    // A signed element holds -128 to 127: 212 would reach the unit as -44.
    auto signedVector = MakeShapedItem(Shape{1, 1, 3});
    signedVector->SetDataSigned(true);
    Hold(signedVector.get(), {1, 2, 3});
    m_ini->WriteString(Section, "K0", "212");
    m_ini->WriteString(Section, "K1", "-44");
    m_ini->WriteString(Section, "K2", "127");
    QVERIFY(signedVector->ReadFromFile(m_ini.get()));
    QCOMPARE(Held(signedVector.get()), (QList<int>{1, -44, 127}));

    // So does a single number, in either form and as an HCF line.
    m_ini->WriteString(Section, "K", "1710");
    QVERIFY(!number->ReadFromFile(m_ini.get()));
    QCOMPARE(Held(number.get()), QList<int>{7});
    number->SetStoreUserValue(false);
    QVERIFY(!number->ReadFromFile(m_ini.get()));
    m_ini->WriteString(Section, "K", "-1");
    QVERIFY(!number->ReadFromFile(m_ini.get()));
    QCOMPARE(Held(number.get()), QList<int>{7});
    m_ini->WriteString(Section, "K", "F0 5 1 1 1710");
    QVERIFY(!number->ReadFromHCFFile(m_ini.get()));
    QCOMPARE(Held(number.get()), QList<int>{7});

    // A number in raw form must be an integer.
    number->SetStoreUserValue(false);
    m_ini->WriteString(Section, "K", "2.5");
    QVERIFY(!number->ReadFromFile(m_ini.get()));
}

void TestItemFiles::rawFormMergesTheItemsBits_data()
{
    KindsData();
}

void TestItemFiles::rawFormMergesTheItemsBits()
{
    QFETCH(Shape, shape);

    SimUnitControl* sim = FreshSimUnit();
    TOrvConnection connection;
    QVERIFY(ConnectSimUnit(connection));
    for (int a = 163; a < 167; ++a)
        sim->writeMemory(a, 0xA5);

    auto item = MakeShapedItem(shape);
    item->setProperty("ByAddress", true);
    item->setProperty("Address", 163);
    item->SetConnection(&connection);
    item->SetDataMask(24);
    item->SetStoreUserValue(false);
    QVERIFY(item->WriteToFile(m_ini.get()));
    QStringList keys;
    m_ini->ReadSection(Section, keys);
    for (const QString& key : keys)
        m_ini->WriteString(Section, key, "16");

    QVERIFY(item->ReadFromFile(m_ini.get()));
    for (int k = 0; k < keys.size(); ++k)
        QCOMPARE(sim->readMemory(163 + k), 0xB5);
    QCOMPARE(Held(item.get()), QList<int>(keys.size(), 0xB5));
}

void TestItemFiles::oldReadModeStaysInMemory_data()
{
    KindsData();
}

void TestItemFiles::oldReadModeStaysInMemory()
{
    QFETCH(Shape, shape);

    auto item = MakeShapedItem(shape);
    const int n = shape.kind == 0 ? 1 : shape.rows * shape.cols;
    Hold(item.get(), Count(n, 10));
    QVERIFY(item->WriteToFile(m_ini.get()));
    Hold(item.get(), Count(n, 20));

    TOrvConnection missing; // a write would report an error
    missing.SetDllName("NoSuchLibrary.dll");
    item->SetConnection(&missing);
    item->SetOldReadFileMode(true);
    int errors = 0;
    item->OnError = [&errors](QObject*, int, bool) { ++errors; };
    MessageRecorder control;
    item->AddNotificationList(&control);

    QVERIFY(item->ReadFromFile(m_ini.get()));
    QCOMPARE(Held(item.get()), Count(n, 10));
    QCOMPARE(errors, 0);
    QCOMPARE(control.Count(WindowMessage::WMDataChanged), 1);
}

void TestItemFiles::halfNamedItemsFail_data()
{
    QTest::addColumn<Shape>("shape");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("result");

    const QList<QPair<const char*, Shape>> kinds{
        {"single value", Shape{0}}, {"vector", Shape{1, 1, 3}}, {"matrix", Shape{2, 2, 2}}};
    for (const auto& kind : kinds) {
        QTest::addRow("%s, section only", kind.first) << kind.second << "S"
                                                      << "" << false;
        QTest::addRow("%s, key only", kind.first) << kind.second << ""
                                                  << "K" << false;
        QTest::addRow("%s, no entry", kind.first) << kind.second << ""
                                                  << "" << true;
    }
}

void TestItemFiles::halfNamedItemsFail()
{
    QFETCH(Shape, shape);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(bool, result);

    auto item = MakeShapedItem(shape);
    item->SetFileSection(section);
    item->SetFileKeyName(key);
    m_ini->WriteString("S", "K", "1");
    const QStringList before = Lines(*m_ini);

    QCOMPARE(item->WriteToFile(m_ini.get()), result);
    QCOMPARE(item->WriteToHCFFile(m_ini.get()), result);
    QCOMPARE(item->ReadFromFile(m_ini.get()), result);
    QCOMPARE(item->ReadFromHCFFile(m_ini.get()), result);
    QCOMPARE(Lines(*m_ini), before);
    QStringList sections;
    m_ini->ReadSections(sections);
    QCOMPARE(sections, QStringList{"S"});
}

void TestItemFiles::hcfLines_data()
{
    QTest::addColumn<Shape>("shape");
    QTest::addColumn<int>("length");
    QTest::addColumn<QList<int>>("raw");
    QTest::addColumn<QString>("line");

    QTest::newRow("single value") << Shape{0} << 1 << QList<int>{0xAB} << "F0 5 1 1 AB";
    QTest::newRow("vector element") << Shape{0, 1, 1, 3} << 1 << QList<int>{0xAB} << "F1 5 1 3 AB";
    QTest::newRow("matrix element") << Shape{0, 1, 1, 3, 2} << 1 << QList<int>{0xAB} << "F2 5 2 3 AB";
    QTest::newRow("vector") << Shape{1, 1, 3} << 1 << QList<int>{1, 0x1F, 0xFF} << "F3 3100 3 1 1 1F FF";
    QTest::newRow("matrix row") << Shape{1, 1, 3, 2} << 1 << QList<int>{1, 0x1F, 0xFF}
                                << "F4 3100 3 1 1 1F FF";
    QTest::newRow("matrix column") << Shape{1, 1, 2, -1, 4} << 1 << QList<int>{7, 8} << "F5 2100 2 1 7 8";
    QTest::newRow("1x1 matrix") << Shape{2} << 1 << QList<int>{9} << "F6 1100 1 1 9";
    QTest::newRow("3x1 matrix") << Shape{2, 3, 1} << 1 << QList<int>{1, 2, 3} << "F7 1100 1 3 1 2 3";
    QTest::newRow("2x3 matrix, column by column")
        << Shape{2, 2, 3} << 2 << QList<int>{1, 2, 3, 0x4000, 5, 0xFFFF} << "F8 3300 3 2 1 4000 2 5 3 FFFF";
}

void TestItemFiles::hcfLines()
{
    QFETCH(Shape, shape);
    QFETCH(int, length);
    QFETCH(QList<int>, raw);
    QFETCH(QString, line);

    auto item = MakeShapedItem(shape);
    item->SetDataLength(length);
    Hold(item.get(), raw);
    QVERIFY(item->WriteToHCFFile(m_ini.get()));
    QCOMPARE(Lines(*m_ini), QStringList{"K=" + line});

    auto copy = MakeShapedItem(shape);
    copy->SetDataLength(length);
    QVERIFY(copy->ReadFromHCFFile(m_ini.get()));
    QCOMPARE(Held(copy.get()), raw);
}

void TestItemFiles::hcfLinesRefused_data()
{
    QTest::addColumn<Shape>("shape");
    QTest::addColumn<QString>("line");

    QTest::newRow("single value, too short") << Shape{0} << "F0 5 1 1";
    QTest::newRow("single value, not hexadecimal") << Shape{0} << "F0 5 1 1 G1";
    QTest::newRow("vector, other count") << Shape{1, 1, 3} << "F3 2100 2 1 1 2";
    QTest::newRow("vector, too few values") << Shape{1, 1, 3} << "F3 3100 3 1 1 2";
    QTest::newRow("vector, not hexadecimal") << Shape{1, 1, 3} << "F3 3100 3 1 1 2 XZ";
    QTest::newRow("matrix, other row count") << Shape{2, 2, 2} << "F8 2100 2 3 1 2 3 4 5 6";
    QTest::newRow("matrix, other column count") << Shape{2, 2, 2} << "F8 1100 1 2 1 2";
    QTest::newRow("matrix, too few values") << Shape{2, 2, 2} << "F8 2100 2 2 1 2 3";
    QTest::newRow("matrix, counts missing") << Shape{2, 2, 2} << "F8 2100 2";
}

void TestItemFiles::hcfLinesRefused()
{
    QFETCH(Shape, shape);
    QFETCH(QString, line);

    auto item = MakeShapedItem(shape);
    const QList<int> held = Count(Held(item.get()).size(), 40);
    Hold(item.get(), held);
    int errors = 0;
    item->OnError = [&errors](QObject*, int, bool) { ++errors; };
    QVERIFY(!item->ReadFromHCFFile(m_ini.get())); // no entry at all

    m_ini->WriteString(Section, "K", line);
    QVERIFY(!item->ReadFromHCFFile(m_ini.get()));
    QCOMPARE(Held(item.get()), held);
    QCOMPARE(errors, 0); // no write was attempted
}

QTEST_GUILESS_MAIN(TestItemFiles)
#include "tst_itemfiles.moc"
