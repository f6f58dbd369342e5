// Vector and matrix items against the simulated unit: the exact link calls of
// every read and write shape, reads that stop at an error, masked raw writes,
// the paths without a unit or library, the dimension and type rules and the
// defaults.

#include "../common/MessageRecorder.h"
#include "../common/SimUnit.h"
#include "items/OrvMatrix.h"
#include "items/OrvVector.h"
#include "link/OrvConnection.h"

#include <QTest>

namespace {

// Turns "WriteRow d 1 2 r" patterns into log lines: the token d becomes the
// item's descriptor, d0 the descriptor without the array flag.
QStringList Expand(const QStringList& patterns, uint32_t d)
{
    QStringList lines;
    for (const QString& pattern : patterns) {
        QStringList tokens = pattern.split(QLatin1Char(' '));
        for (QString& token : tokens) {
            if (token == QLatin1String("d"))
                token = QString::number(d);
            else if (token == QLatin1String("d0"))
                token = QString::number(d & ~LinkDescriptor::ArrayFlag);
        }
        lines << tokens.join(QLatin1Char(' '));
    }
    return lines;
}

QString Numbers(const QList<int>& values)
{
    QStringList texts;
    for (int v : values)
        texts << QString::number(v);
    return texts.join(QLatin1Char(' '));
}

QList<int> Plus(const QList<int>& values, int add)
{
    QList<int> result;
    for (int v : values)
        result << v + add;
    return result;
}

QList<int> ToList(const std::vector<int>& values)
{
    return QList<int>(values.cbegin(), values.cend());
}

// Where an item's datum lives: by code (address < 0) or at an address.
struct Place {
    int code = 0;
    int length = 1;
    int address = -1;
    bool singleElementAccess = false;
};

} // namespace

Q_DECLARE_METATYPE(Place)

class TestArrays : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void vectorLinkCalls_data();
    void vectorLinkCalls();
    void matrixLinkCalls_data();
    void matrixLinkCalls();
    void readStopsAtTheFirstError();
    void failedReadKeepsTheValuesHeld();
    void maskedRawWriteKeepsOtherBits();
    void maskedElementWithoutItsRereadWritesNothing();
    void outOfRangeAndReadOnlyMakeNoTraffic();
    void unexpressibleValueIsNotWritten();
    void beforeSetDataSeesElementAndCanAbort();
    void withoutConnectionOrLibrary();
    void dimensionRules_data();
    void dimensionRules();
    void matrixTypeRules_data();
    void matrixTypeRules();
    void vectorTypeRules();
    void defaultsFromStoredForm();
    void backupBelongsToItsShape();
    void conversionSeesTheCurrentElement();

private:
    template <class Item> Item* Make(const Place& place);

    SimUnitControl* m_sim = nullptr;
    TOrvConnection* m_connection = nullptr;
    QList<QPair<int, bool>> m_errors;
};

void TestArrays::init()
{
    m_sim = FreshSimUnit();
    m_connection = new TOrvConnection(this);
    QVERIFY(ConnectSimUnit(*m_connection));
    m_sim->clearLog();
    m_errors.clear();
}

void TestArrays::cleanup()
{
    delete m_connection;
}

template <class Item> Item* TestArrays::Make(const Place& place)
{
    auto* item = new Item(m_connection);
    item->SetSerialCode(place.code);
    item->SetDataLength(place.length);
    item->SetByAddress(place.address >= 0);
    item->SetAddress(qMax(place.address, 0));
    item->SetSingleElementAccess(place.singleElementAccess);
    item->SetConnection(m_connection);
    item->OnError = [this](QObject*, int code, bool writing) { m_errors.append({code, writing}); };
    return item;
}

// Each shape: the read of the datum's values, the whole write of those values
// plus one, the write of 99 to the last element.
void TestArrays::vectorLinkCalls_data()
{
    QTest::addColumn<Place>("place");
    QTest::addColumn<int>("dimension");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("index");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QStringList>("reads");
    QTest::addColumn<QStringList>("wholeWrite");
    QTest::addColumn<QString>("elementWrite");

    const QList<int> first3{10, 20, 30};
    QTest::newRow("vector") << Place{10} << 3 << int(TOrvVector::vtSingle) << -1 << first3
                            << QStringList{"ReadValue d"} << QStringList{"WriteArray d 11 21 31"}
                            << "WriteIndexed d 2 99";
    QTest::newRow("vector, one element per operation")
        << Place{10, 1, -1, true} << 3 << int(TOrvVector::vtSingle) << -1 << first3
        << QStringList{"ReadValue d"}
        << QStringList{"WriteIndexed d 0 11", "WriteIndexed d 1 21", "WriteIndexed d 2 31"}
        << "WriteIndexed d 2 99";

    const QList<int> row2{300, 600, 900, 1200, 1500, 1800, 2100, 2400};
    QStringList singleWrites;
    for (int i = 0; i < row2.size(); ++i)
        singleWrites << QStringLiteral("WriteMatrixElement d 2 %1 %2").arg(i).arg(row2[i] + 1);
    QTest::newRow("row of a map") << Place{12, 2} << 8 << int(TOrvVector::vtMatrixRow) << 2 << row2
                                  << QStringList{"ReadIndexed d0 2"}
                                  << QStringList{"WriteRow d " + Numbers(Plus(row2, 1)) + " 2"}
                                  << "WriteMatrixElement d 2 7 99";
    QTest::newRow("row of a map, one element per operation")
        << Place{12, 2, -1, true} << 8 << int(TOrvVector::vtMatrixRow) << 2 << row2
        << QStringList{"ReadIndexed d0 2"} << singleWrites << "WriteMatrixElement d 2 7 99";

    QTest::newRow("column of a matrix")
        << Place{11} << 4 << int(TOrvVector::vtMatrixCol) << 1 << QList<int>{1, 11, 21, 31}
        << QStringList{"ReadMatrixElement d 0 1", "ReadMatrixElement d 1 1", "ReadMatrixElement d 2 1",
                       "ReadMatrixElement d 3 1"}
        << QStringList{"WriteMatrixElement d 0 1 2", "WriteMatrixElement d 1 1 12",
                       "WriteMatrixElement d 2 1 22", "WriteMatrixElement d 3 1 32"}
        << "WriteMatrixElement d 3 1 99";

    QTest::newRow("two-byte elements by address")
        << Place{0, 2, 100} << 3 << int(TOrvVector::vtSingle) << -1 << QList<int>{0x0201, 0x0403, 0x0605}
        << QStringList{"ReadAtAddress d 100", "ReadAtAddress d 102", "ReadAtAddress d 104"}
        << QStringList{"WriteAtAddress d 100 514", "WriteAtAddress d 102 1028", "WriteAtAddress d 104 1542"}
        << "WriteAtAddress d 104 99";
}

void TestArrays::vectorLinkCalls()
{
    QFETCH(Place, place);
    QFETCH(int, dimension);
    QFETCH(int, type);
    QFETCH(int, index);
    QFETCH(QList<int>, values);
    QFETCH(QStringList, reads);
    QFETCH(QStringList, wholeWrite);
    QFETCH(QString, elementWrite);

    for (int a = 100; a < 106; ++a)
        m_sim->writeMemory(a, a - 99);
    auto* item = Make<TOrvVector>(place);
    item->SetArrayDimension(dimension);
    item->SetType(TOrvVector::TVectorType(type));
    item->SetRowIndex(index);
    item->SetColIndex(index);
    m_sim->clearLog();
    const uint32_t d = item->Descriptor();

    QVector<double> user(dimension);
    QVERIFY(item->GetData(user.data()));
    QCOMPARE(SimLog(m_sim), Expand(reads, d));
    QCOMPARE(ToList(item->RawValues()), values);

    m_sim->clearLog();
    for (double& v : user)
        v += 1;
    QVERIFY(item->SetData(user.constData()));
    QCOMPARE(SimLog(m_sim), Expand(wholeWrite, d));

    QVERIFY(item->Load());
    QCOMPARE(ToList(item->RawValues()), Plus(values, 1)); // what the unit holds now
    m_sim->clearLog();
    QVERIFY(item->SetData(99.0, unsigned(dimension - 1)));
    QCOMPARE(SimLog(m_sim), Expand({elementWrite}, d));
    QVERIFY(m_errors.isEmpty());
}

// Each shape: the read, the whole write of the values plus one, the write of
// 99 to the last element and the write of 1, 2, ... to the last row.
void TestArrays::matrixLinkCalls_data()
{
    QTest::addColumn<Place>("place");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QStringList>("reads");
    QTest::addColumn<QStringList>("wholeWrite");
    QTest::addColumn<QString>("elementWrite");
    QTest::addColumn<QStringList>("rowWrite");

    QList<int> grid;
    QStringList rowReads, rowWrites, elementWrites;
    for (int r = 0; r < 4; ++r) {
        QList<int> row;
        for (int c = 0; c < 5; ++c) {
            row << 10 * r + c;
            elementWrites
                << QStringLiteral("WriteMatrixElement d %1 %2 %3").arg(r).arg(c).arg(10 * r + c + 1);
        }
        grid += row;
        rowReads << QStringLiteral("ReadIndexed d %1").arg(r);
        rowWrites << QStringLiteral("WriteRow d %1 %2").arg(Numbers(Plus(row, 1))).arg(r);
    }
    QTest::newRow("matrix") << Place{11} << 4 << 5 << grid << rowReads << rowWrites
                            << "WriteMatrixElement d 3 4 99" << QStringList{"WriteRow d 1 2 3 4 5 3"};
    QTest::newRow("matrix, one element per operation")
        << Place{11, 1, -1, true} << 4 << 5 << grid << rowReads << elementWrites
        << "WriteMatrixElement d 3 4 99" << QStringList{"WriteRow d 1 2 3 4 5 3"};

    QTest::newRow("1x1: read without the array flag, written with it")
        << Place{1} << 1 << 1 << QList<int>{100} << QStringList{"ReadValue d0"}
        << QStringList{"WriteValue d 101"} << "WriteValue d 99" << QStringList{"WriteValue d 1"};

    const QList<int> vector{10, 20, 30, 40, 50, 60, 70, 80};
    QStringList indexedReads, indexedWrites;
    for (int i = 0; i < 8; ++i) {
        indexedReads << QStringLiteral("ReadIndexed d0 %1").arg(i);
        indexedWrites << QStringLiteral("WriteIndexed d %1 %2").arg(i).arg(vector[i] + 1);
    }
    QTest::newRow("1x8") << Place{10} << 1 << 8 << vector << QStringList{"ReadValue d"}
                         << QStringList{"WriteArray d " + Numbers(Plus(vector, 1))} << "WriteIndexed d 7 99"
                         << QStringList{"WriteArray d 1 2 3 4 5 6 7 8"};
    QTest::newRow("1x8, one element per operation")
        << Place{10, 1, -1, true} << 1 << 8 << vector << QStringList{"ReadValue d"} << indexedWrites
        << "WriteIndexed d 7 99" << QStringList{"WriteArray d 1 2 3 4 5 6 7 8"};
    QTest::newRow("8x1") << Place{10} << 8 << 1 << vector << indexedReads << indexedWrites
                         << "WriteIndexed d 7 99" << QStringList{"WriteIndexed d 7 1"};

    QTest::newRow("2x2 by address") << Place{0, 1, 100} << 2 << 2 << QList<int>{1, 2, 3, 4}
                                    << QStringList{"ReadAtAddress d 100", "ReadAtAddress d 101",
                                                   "ReadAtAddress d 102", "ReadAtAddress d 103"}
                                    << QStringList{"WriteAtAddress d 100 2", "WriteAtAddress d 101 3",
                                                   "WriteAtAddress d 102 4", "WriteAtAddress d 103 5"}
                                    << "WriteAtAddress d 103 99"
                                    << QStringList{"WriteAtAddress d 102 1", "WriteAtAddress d 103 2"};
}

void TestArrays::matrixLinkCalls()
{
    QFETCH(Place, place);
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(QList<int>, values);
    QFETCH(QStringList, reads);
    QFETCH(QStringList, wholeWrite);
    QFETCH(QString, elementWrite);
    QFETCH(QStringList, rowWrite);

    for (int a = 100; a < 104; ++a)
        m_sim->writeMemory(a, a - 99);
    auto* item = Make<TOrvMatrix>(place);
    item->SetRowCount(rows);
    item->SetColCount(cols);
    m_sim->clearLog();
    const uint32_t d = item->Descriptor();

    QVector<QVector<double>> user(rows, QVector<double>(cols));
    QVector<double*> rowPointers;
    for (QVector<double>& row : user)
        rowPointers << row.data();
    QVERIFY(item->GetData(rowPointers.data()));
    QCOMPARE(SimLog(m_sim), Expand(reads, d));
    QCOMPARE(ToList(item->RawValues()), values);

    m_sim->clearLog();
    for (QVector<double>& row : user) {
        for (double& v : row)
            v += 1;
    }
    QVERIFY(item->SetData(rowPointers.data()));
    QCOMPARE(SimLog(m_sim), Expand(wholeWrite, d));
    QVERIFY(item->Load());
    QCOMPARE(ToList(item->RawValues()), Plus(values, 1));

    m_sim->clearLog();
    QVERIFY(item->SetData(99.0, rows - 1, cols - 1));
    QCOMPARE(SimLog(m_sim), Expand({elementWrite}, d));
    QCOMPARE(item->GetInt(rows - 1, cols - 1), 99);

    m_sim->clearLog();
    QVector<double> newRow(cols);
    for (int c = 0; c < cols; ++c)
        newRow[c] = c + 1;
    QVERIFY(item->SetData(newRow.constData(), rows - 1));
    QCOMPARE(SimLog(m_sim), Expand(rowWrite, d));
    QVector<double> readBack(cols);
    QVERIFY(item->GetData(readBack.data(), rows - 1));
    QCOMPARE(readBack, newRow);
    QVERIFY(m_errors.isEmpty());
}

void TestArrays::readStopsAtTheFirstError()
{
    // Four bytes from address 254: the third lies outside the unit's memory.
    auto* item = Make<TOrvMatrix>(Place{0, 1, 254});
    item->SetRowCount(2);
    item->SetColCount(2);
    m_sim->writeMemory(254, 7);
    m_sim->writeMemory(255, 8);
    MessageRecorder control;
    item->AddNotificationList(&control);
    m_sim->clearLog();

    QVERIFY(item->Load()); // "no value": read, but without data
    QCOMPARE(SimLog(m_sim).size(), 3);
    QCOMPARE(ToList(item->RawValues()), (QList<int>{7, 8, 0, 0}));
    QVERIFY(!item->IsDataDefined());
    QCOMPARE(control.Count(WindowMessage::WMComError), 1);
    QCOMPARE(control.messages.last().lParam, intptr_t(SimError::NoValue));
}

void TestArrays::failedReadKeepsTheValuesHeld()
{
    auto* item = Make<TOrvMatrix>(Place{11});
    item->SetRowCount(4);
    item->SetColCount(5);
    QVERIFY(item->SetData(77.0, 3, 4)); // read, then written: the next access asks the unit
    for (int k = 0; k < 5; ++k)
        m_sim->setDatumElement(11, k, 0);
    // Row 0 arrives but the link reports an error: the read stops there.
    m_sim->flagNext(LinkOp::ReadIndexed, 1, SimError::NoAnswer);
    m_sim->clearLog();

    double value = -1;
    QVERIFY(!item->GetData(&value, 0, 1));
    QCOMPARE(SimLog(m_sim), QStringList{"ReadIndexed " + QString::number(item->Descriptor()) + " 0"});
    QCOMPARE(value, 1.0);
    QCOMPARE(item->RawValues()[19], 77);
    QCOMPARE(m_errors, (QList<QPair<int, bool>>{{SimError::NoAnswer, false}}));
    QVERIFY(item->GetData(&value, 0, 1)); // the next access reads again
    QCOMPARE(value, 0.0);
}

void TestArrays::maskedRawWriteKeepsOtherBits()
{
    // Bits 3-4 of three bytes; the unit holds 0xA5 in each.
    auto* item = Make<TOrvVector>(Place{0, 1, 160});
    item->SetArrayDimension(3);
    item->SetDataMask(24);
    for (int a = 160; a < 163; ++a)
        m_sim->writeMemory(a, 0xA5);
    const int raw[3] = {16, 8, 0};

    QVERIFY(item->SetEcuData(raw));
    QCOMPARE(SimLog(m_sim),
             Expand({"ReadAtAddress d 160", "ReadAtAddress d 161", "ReadAtAddress d 162",
                     "WriteAtAddress d 160 181", "WriteAtAddress d 161 173", "WriteAtAddress d 162 165"},
                    item->Descriptor()));
    QCOMPARE(ToList(item->RawValues()), (QList<int>{0xB5, 0xAD, 0xA5}));

    // SetDataInEcu writes what it is given, unmerged.
    m_sim->clearLog();
    QVERIFY(item->SetDataInEcu(raw));
    QCOMPARE(SimLog(m_sim).first(), Expand({"WriteAtAddress d 160 16"}, item->Descriptor()).first());
}

void TestArrays::maskedElementWithoutItsRereadWritesNothing()
{
    // The low nibble of two bytes; the unit holds 0xB2 in each.
    auto* vector = Make<TOrvVector>(Place{0, 1, 160});
    vector->SetArrayDimension(2);
    vector->SetDataMask(0x0F);
    auto* matrix = Make<TOrvMatrix>(Place{0, 1, 170});
    matrix->SetColCount(2);
    matrix->SetDataMask(0x0F);
    for (int a : {160, 161, 170, 171})
        m_sim->writeMemory(a, 0xB2);
    QVERIFY(vector->Load());
    QVERIFY(matrix->Load());
    MessageRecorder control;
    vector->AddNotificationList(&control);
    matrix->AddNotificationList(&control);
    m_sim->clearLog();
    m_errors.clear();

    m_sim->failNext(LinkOp::ReadAtAddress, 1, SimError::NoAnswer);
    QVERIFY(!vector->SetData(5, 1));
    m_sim->failNext(LinkOp::ReadAtAddress, 1, SimError::NoAnswer);
    QVERIFY(!matrix->SetData(5, 0, 1));
    for (int a : {160, 161, 170, 171})
        QCOMPARE(m_sim->readMemory(a), 0xB2); // the upper nibbles stay
    QVERIFY(SimLog(m_sim).filter("Write").isEmpty());
    QCOMPARE(m_errors, (QList<QPair<int, bool>>{{SimError::NoAnswer, false}, {SimError::NoAnswer, false}}));
    QCOMPARE(control.Count(WindowMessage::WMDataChanged), 0);
}

void TestArrays::outOfRangeAndReadOnlyMakeNoTraffic()
{
    auto* matrix = Make<TOrvMatrix>(Place{11});
    matrix->SetRowCount(3);
    matrix->SetColCount(5);
    auto* vector = Make<TOrvVector>(Place{10});
    vector->SetArrayDimension(8);
    double value = -1;
    const double row[5] = {};

    QVERIFY(!matrix->SetData(1.0, 3, 0));
    QVERIFY(!matrix->SetData(1.0, 0, -1));
    QVERIFY(!matrix->SetData(row, 3));
    QVERIFY(!matrix->GetData(&value, 0, 5));
    QCOMPARE(value, 0.0);
    QVERIFY(!vector->SetData(1.0, 8u));
    value = -1;
    QVERIFY(!vector->GetData(&value, 8u));
    QCOMPARE(value, 0.0);

    matrix->SetReadOnly(true);
    const int raw[15] = {};
    const int* rawRows[3] = {raw, raw + 5, raw + 10};
    QVERIFY(!matrix->SetData(1.0, 0, 0));
    QVERIFY(!matrix->SetData(row, 0));
    QVERIFY(!matrix->SetEcuData(rawRows));
    QVERIFY(SimLog(m_sim).isEmpty());
    QVERIFY(matrix->Download()); // the unit's own copy is still written
    QCOMPARE(SimLog(m_sim).size(), 3);
}

void TestArrays::unexpressibleValueIsNotWritten()
{
    auto* item = Make<TOrvVector>(Place{10});
    item->SetArrayDimension(3);
    item->SetTransformationType(TOrvSerialData::ttTabled);
    const double unitSide[3] = {10, 20, 30};
    const double userSide[3] = {1, 2, 3};
    item->SetConversionTable(unitSide, userSide, 3);
    MessageRecorder control;
    item->AddNotificationList(&control);
    const double values[3] = {1, 5, 3}; // 5 is not in the table

    QVERIFY(!item->SetData(values));
    QVERIFY(!item->SetData(5.0, 1u));
    QVERIFY(SimLog(m_sim).filter("Write").isEmpty());
    QCOMPARE(control.Count(WindowMessage::WMDataChanged), 3); // one read, two refusals
    QCOMPARE(m_sim->datumElement(10, 1), 20);
}

void TestArrays::beforeSetDataSeesElementAndCanAbort()
{
    auto* item = Make<TOrvMatrix>(Place{11});
    item->SetRowCount(4);
    item->SetColCount(5);
    QList<QList<double>> calls;
    bool abort = false;
    item->BeforeSetData = [&](QObject*, double* newValue, double previous, int row, int col, bool& Abort) {
        calls << QList<double>{*newValue, previous, double(row), double(col)};
        *newValue += 1;
        Abort = abort;
    };

    QVERIFY(item->SetData(50.0, 2, 3));
    QCOMPARE(m_sim->datumElement(11, 13), 51);
    QVERIFY(item->Download());
    QCOMPARE(calls, (QList<QList<double>>{{50, 23, 2, 3}, {0, 0, -1, -1}}));

    abort = true;
    m_sim->clearLog();
    QVERIFY(!item->SetData(60.0, 2, 3));
    QVERIFY(!item->Download());
    QVERIFY(SimLog(m_sim).filter("Write").isEmpty());
}

void TestArrays::withoutConnectionOrLibrary()
{
    TOrvMatrix matrix;
    matrix.SetRowCount(2);
    matrix.SetColCount(2);
    TOrvVector vector;
    vector.SetArrayDimension(2);
    QList<int> codes;
    matrix.OnError = vector.OnError = [&codes](QObject*, int code, bool) { codes << code; };
    const double row[2] = {5, 6};

    QVERIFY(matrix.SetData(row, 1)); // stored, without an error
    QVERIFY(matrix.SetData(7.0, 0, 0));
    QCOMPARE(ToList(matrix.RawValues()), (QList<int>{7, 0, 5, 6}));
    QVERIFY(codes.isEmpty());
    QVERIFY(vector.SetData(8.0, 1u)); // stored, with an error
    QCOMPARE(codes, QList<int>{-1});
    double value = 0;
    QVERIFY(!vector.GetData(&value, 1u)); // no connection: nothing read, the value held
    QCOMPARE(value, 8.0);

    TOrvConnection missing;
    missing.SetDllName("NoSuchLibrary.dll");
    matrix.SetConnection(&missing);
    vector.SetConnection(&missing);
    codes.clear();
    QVERIFY(!matrix.SetData(row, 0));
    QVERIFY(!matrix.SetData(1.0, 0, 0));
    QCOMPARE(ToList(matrix.RawValues()), (QList<int>{7, 0, 5, 6}));
    QVERIFY(vector.Download()); // whole writes keep the values and report
    QVERIFY(!vector.Load());
    QCOMPARE(codes, QList<int>(5, -1)); // the element write reports its read too
}

void TestArrays::dimensionRules_data()
{
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("stored"); // 0: refused

    QTest::newRow("accepted") << 6 << 6;
    QTest::newRow("zero refused") << 0 << 0;
    QTest::newRow("negative refused") << -4 << 0;
    QTest::newRow("low 8 bits kept") << 300 << 44;
    QTest::newRow("low 8 bits zero refused") << 512 << 0;
}

void TestArrays::dimensionRules()
{
    QFETCH(int, requested);
    QFETCH(int, stored);
    const int expected = stored ? stored : 3;

    TOrvVector vector;
    vector.SetArrayDimension(3);
    vector.SetArrayDimension(requested);
    QCOMPARE(vector.ArrayDimension(), expected);
    QCOMPARE(vector.ElementCount(), expected);
    QCOMPARE(LinkDescriptor::Count(vector.Descriptor()), expected);

    TOrvMatrix matrix;
    matrix.SetRowCount(3);
    matrix.SetColCount(3);
    MessageRecorder grid;
    matrix.AddNotificationList(&grid);
    matrix.SetColCount(requested);
    matrix.SetRowCount(requested);
    QCOMPARE(matrix.ColCount(), expected);
    QCOMPARE(matrix.RowCount(), expected);
    QCOMPARE(matrix.ElementCount(), expected * expected);
    QCOMPARE(LinkDescriptor::Count(matrix.Descriptor()), expected);
    QList<QPair<uintptr_t, intptr_t>> dims;
    for (const RecordedMessage& m : grid.messages) {
        QCOMPARE(m.message, WindowMessage::WMChangeDataDim);
        dims << qMakePair(m.wParam, m.lParam);
    }
    if (stored)
        QCOMPARE(dims,
                 (QList<QPair<uintptr_t, intptr_t>>{{uintptr_t(stored), 3}, {uintptr_t(stored), stored}}));
    else
        QVERIFY(dims.isEmpty());
}

void TestArrays::matrixTypeRules_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("newRows");
    QTest::addColumn<int>("newCols");

    QTest::newRow("single") << 3 << 6 << int(TOrvMatrix::mtSingle) << 1 << 1;
    QTest::newRow("vector from a matrix") << 3 << 6 << int(TOrvMatrix::mtVector) << 1 << 5;
    QTest::newRow("vector from a single") << 1 << 1 << int(TOrvMatrix::mtVector) << 1 << 5;
    QTest::newRow("column vector stays") << 7 << 1 << int(TOrvMatrix::mtVector) << 7 << 1;
    QTest::newRow("matrix from a single") << 1 << 1 << int(TOrvMatrix::mtMatrix) << 4 << 5;
    QTest::newRow("matrix from a row") << 1 << 8 << int(TOrvMatrix::mtMatrix) << 4 << 8;
    QTest::newRow("matrix stays") << 3 << 6 << int(TOrvMatrix::mtMatrix) << 3 << 6;
}

void TestArrays::matrixTypeRules()
{
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(int, type);
    QFETCH(int, newRows);
    QFETCH(int, newCols);

    TOrvMatrix matrix;
    matrix.SetRowCount(rows);
    matrix.SetColCount(cols);
    matrix.SetDefaultValueList({1, 1, 9});
    QVERIFY(matrix.ResetDefault(false));
    MessageRecorder grid;
    matrix.AddNotificationList(&grid);

    matrix.SetType(TOrvMatrix::TMatrixType(type));
    QCOMPARE(matrix.RowCount(), newRows);
    QCOMPARE(matrix.ColCount(), newCols);
    QCOMPARE(int(matrix.Type()), type);
    const bool changed = newRows != rows || newCols != cols;
    QCOMPARE(grid.Count(WindowMessage::WMChangeDataDim), changed ? 1 : 0);
    if (changed) {
        QCOMPARE(grid.messages.last().wParam, uintptr_t(newCols));
        QCOMPARE(grid.messages.last().lParam, intptr_t(newRows));
        QCOMPARE(ToList(matrix.RawValues()), QList<int>(newRows * newCols, 0));
    } else {
        QCOMPARE(matrix.RawValues().front(), 9);
    }
}

void TestArrays::vectorTypeRules()
{
    TOrvVector vector;
    QCOMPARE(vector.Type(), TOrvVector::vtSingle);
    vector.SetRowIndex(5); // only a row vector moves to another row
    QCOMPARE(vector.Type(), TOrvVector::vtSingle);
    vector.SetType(TOrvVector::vtMatrixRow);
    QCOMPARE(vector.RowIndex(), 0);
    vector.SetRowIndex(5);
    vector.SetColIndex(2);
    vector.SetRowIndex(-1);
    QCOMPARE(vector.RowIndex(), 5);
    QCOMPARE(vector.Type(), TOrvVector::vtMatrixRow);
    vector.SetType(TOrvVector::vtMatrixCol);
    QCOMPARE(vector.RowIndex(), -1);
    QCOMPARE(vector.ColIndex(), 0);
    vector.SetType(TOrvVector::vtSingle);
    QCOMPARE(vector.ColIndex(), -1);
    QVERIFY(vector.Descriptor() & LinkDescriptor::ArrayFlag);
}

void TestArrays::defaultsFromStoredForm()
{
    auto* vector = Make<TOrvVector>(Place{10});
    vector->SetArrayDimension(3);
    vector->SetDefaultValueList({5, 1, 2, 3, 4, 5}); // values beyond the dimension are skipped
    QCOMPARE(vector->DefaultValueList(), (QList<double>{3, 1, 2, 3}));
    QCOMPARE(vector->DefaultValue(3), 0.0);
    QVERIFY(vector->ResetDefault(false));
    QCOMPARE(ToList(vector->RawValues()), (QList<int>{1, 2, 3}));
    QVERIFY(SimLog(m_sim).isEmpty());

    auto* matrix = Make<TOrvMatrix>(Place{11});
    matrix->SetRowCount(4);
    matrix->SetColCount(5);
    // A 2 × 3 list fills the top-left corner, row by row.
    matrix->SetDefaultValueList({2, 3, 1, 2, 3, 4, 5, 6});
    QCOMPARE(matrix->DefaultValue(1, 0), 4.0);
    QCOMPARE(matrix->DefaultValue(1, 3), 0.0);
    QVERIFY(matrix->ResetDefault(true));
    QCOMPARE(SimLog(m_sim).size(), 4);
    QCOMPARE(m_sim->datumElement(11, 7), 6);
    QCOMPARE(m_sim->datumElement(11, 19), 0);
    matrix->SetColCount(6); // new dimensions: new, zero defaults
    QCOMPARE(matrix->DefaultValue(1, 0), 0.0);
}

void TestArrays::backupBelongsToItsShape()
{
    TOrvVector vector;
    vector.SetArrayDimension(3);
    const int first[3] = {1, 2, 3};
    const int second[3] = {4, 5, 6};
    vector.SetDataInEcu(first);
    vector.BackupData();
    vector.SetDataInEcu(second);
    vector.RestoreBackup();
    QCOMPARE(ToList(vector.RawValues()), (QList<int>{1, 2, 3}));

    vector.BackupData();
    vector.SetArrayDimension(4); // the backup of three elements does not fit four
    vector.RestoreBackup();
    QCOMPARE(ToList(vector.RawValues()), (QList<int>{0, 0, 0, 0}));
}

void TestArrays::conversionSeesTheCurrentElement()
{
    auto* matrix = Make<TOrvMatrix>(Place{11});
    matrix->SetRowCount(4);
    matrix->SetColCount(5);
    matrix->SetTransformationType(TOrvSerialData::ttCustom);
    QList<QPair<int, int>> seen;
    matrix->OnConvertToUser = [&](QObject*, int raw, double& user) {
        seen << qMakePair(matrix->CurrentRow(), matrix->CurrentCol());
        user = raw;
    };
    QVector<double> row(5);
    QVERIFY(matrix->GetData(row.data(), 2));
    QCOMPARE(seen, (QList<QPair<int, int>>{{2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}}));
    QCOMPARE(matrix->CurrentRow(), -1);
}

QTEST_GUILESS_MAIN(TestArrays)
#include "tst_arrays.moc"
