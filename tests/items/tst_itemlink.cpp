// Data items talking to the simulated unit: the exact link traffic of reads and
// masked writes, failures, the "no value" flag, and the paths without a unit
// or without a link library.

#include "../common/MessageRecorder.h"
#include "../common/SimUnit.h"
#include "items/OrvNumber.h"
#include "link/OrvConnection.h"

#include <QTest>

class TestItemLink : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void readsOnceUntilWrittenOrLoaded();
    void maskedWriteRereadsAndMerges();
    void rawWriteMergesTheItemsBits();
    void maskedWriteWithoutItsRereadWritesNothing();
    void readFailureRestoresTheBackup();
    void writeFailureSendsNoDataChanged();
    void noValueFlagMarksTheItemUndefined();
    void withoutUnitWritesAreRefused();
    void withoutLibraryValuesStayInMemory();

private:
    TOrvNumber* MakeItem(int address, int mask = 0xFF);

    SimUnitControl* m_sim = nullptr;
    TOrvConnection* m_connection = nullptr;
    QList<QPair<int, bool>> m_errors;
};

void TestItemLink::init()
{
    m_sim = FreshSimUnit();
    m_connection = new TOrvConnection(this);
    QVERIFY(ConnectSimUnit(*m_connection));
    m_sim->clearLog();
    m_errors.clear();
}

void TestItemLink::cleanup()
{
    delete m_connection;
}

TOrvNumber* TestItemLink::MakeItem(int address, int mask)
{
    auto* item = new TOrvNumber(m_connection);
    item->SetByAddress(true);
    item->SetAddress(address);
    item->SetDataMask(mask);
    item->SetConnection(m_connection);
    item->OnError = [this](QObject*, int code, bool writing) { m_errors.append({code, writing}); };
    return item;
}

void TestItemLink::readsOnceUntilWrittenOrLoaded()
{
    TOrvNumber* item = MakeItem(200);
    m_sim->writeMemory(200, 77);
    QCOMPARE(item->GetInt(), 77);
    QCOMPARE(item->GetInt(), 77);
    QCOMPARE(SimLog(m_sim), QStringList{"ReadAtAddress 0 200"});
    QVERIFY(item->SetData(78));
    QCOMPARE(item->GetInt(), 78); // a write clears the loaded flag: the unit is asked again
    QCOMPARE(SimLog(m_sim),
             (QStringList{"ReadAtAddress 0 200", "WriteAtAddress 0 200 78", "ReadAtAddress 0 200"}));
}

void TestItemLink::maskedWriteRereadsAndMerges()
{
    TOrvNumber* item = MakeItem(163, 24);
    item->SetTransformationType(TOrvSerialData::ttFormula);
    item->SetCoeffs({1, 0, 0, 8});
    m_sim->writeMemory(163, 0xA5);
    QCOMPARE(item->GetInt(), 0);
    m_sim->writeMemory(163, 0xA5 | 0x40); // another item changed its bits meanwhile
    m_sim->clearLog();

    QVERIFY(item->SetData(2));
    QCOMPARE(SimLog(m_sim), (QStringList{"ReadAtAddress 0 163", "WriteAtAddress 0 163 245"}));
    QCOMPARE(m_sim->readMemory(163), 0xE5 | 0x10);
}

void TestItemLink::rawWriteMergesTheItemsBits()
{
    TOrvNumber* item = MakeItem(163, 24);
    m_sim->writeMemory(163, 0xA5);
    QVERIFY(item->SetEcuData(16));
    QCOMPARE(m_sim->readMemory(163), 0xB5);
    QVERIFY(item->Download()); // the held copy, unmerged
    QCOMPARE(SimLog(m_sim).last(), QStringLiteral("WriteAtAddress 0 163 181"));
}

void TestItemLink::maskedWriteWithoutItsRereadWritesNothing()
{
    // The emulation type in bits 5-6 of the byte that holds the ignition type in bits 0-2.
    TOrvNumber* item = MakeItem(163, 0x60);
    m_sim->writeMemory(163, 0x44);
    QCOMPARE(item->GetInt(), 0x40);
    MessageRecorder control;
    item->AddNotificationList(&control);
    m_sim->failNext(LinkOp::ReadAtAddress, 1, SimError::NoAnswer);
    QVERIFY(!item->SetData(0x20));
    QCOMPARE(m_sim->readMemory(163), 0x44); // the ignition type's bits were not wiped
    QVERIFY(SimLog(m_sim).filter("WriteAtAddress").isEmpty());
    QCOMPARE(m_errors, (QList<QPair<int, bool>>{{SimError::NoAnswer, false}}));
    QCOMPARE(control.Count(WindowMessage::WMDataChanged), 0);
}

void TestItemLink::readFailureRestoresTheBackup()
{
    TOrvNumber* item = MakeItem(200);
    m_sim->writeMemory(200, 50);
    QCOMPARE(item->GetInt(), 50);
    m_sim->writeMemory(200, 60);
    m_sim->failNext(LinkOp::ReadAtAddress, 2, SimError::NoAnswer);
    QVERIFY(!item->Load());
    double value = 0;
    QVERIFY(!item->GetData(&value)); // not loaded: the unit is asked again, and fails again
    QCOMPARE(value, 50.0);
    QCOMPARE(m_errors, (QList<QPair<int, bool>>{{SimError::NoAnswer, false}, {SimError::NoAnswer, false}}));
    QVERIFY(item->GetData(&value)); // the next access retries
    QCOMPARE(value, 60.0);
}

void TestItemLink::writeFailureSendsNoDataChanged()
{
    TOrvNumber* item = MakeItem(200);
    m_sim->writeMemory(200, 50);
    QCOMPARE(item->GetInt(), 50);
    MessageRecorder control;
    item->AddNotificationList(&control);
    m_sim->failNext(LinkOp::WriteAtAddress, 1, SimError::Refused);
    QVERIFY(!item->SetData(70));
    QCOMPARE(item->RawValue(), 50);
    QCOMPARE(m_sim->readMemory(200), 50);
    QCOMPARE(control.Count(WindowMessage::WMDataChanged), 0);
    QCOMPARE(m_errors, (QList<QPair<int, bool>>{{SimError::Refused, true}}));
}

void TestItemLink::noValueFlagMarksTheItemUndefined()
{
    TOrvNumber* item = MakeItem(200);
    MessageRecorder control;
    item->AddNotificationList(&control);
    m_sim->flagNext(LinkOp::ReadAtAddress, 1, SimError::NoValue);
    QVERIFY(item->Load());
    QVERIFY(!item->IsDataDefined());
    QVERIFY(item->IsDataLoaded());
    QCOMPARE(control.Count(WindowMessage::WMComError), 1);
    QCOMPARE(control.messages.last().lParam, intptr_t(SimError::NoValue));
    QVERIFY(item->Load());
    QVERIFY(item->IsDataDefined());
}

void TestItemLink::withoutUnitWritesAreRefused()
{
    TOrvNumber* item = MakeItem(200);
    m_sim->writeMemory(200, 50);
    m_connection->Instance()->DisconnectUnit();
    QCOMPARE(item->GetInt(), 0); // no unit: the value in memory stands
    QVERIFY(SimLog(m_sim).filter("ReadAtAddress").isEmpty());
    QVERIFY(!item->SetData(70)); // the write is still attempted, and fails
    QCOMPARE(m_errors.last(), qMakePair(SimError::NoAnswer, true));
}

void TestItemLink::withoutLibraryValuesStayInMemory()
{
    TOrvConnection missing;
    missing.SetDllName("NoSuchLibrary.dll");
    TOrvNumber item;
    item.SetByAddress(true);
    item.SetAddress(200);
    item.SetConnection(&missing);
    QList<int> codes;
    item.OnError = [&codes](QObject*, int code, bool) { codes << code; };
    QVERIFY(item.SetData(9));
    QCOMPARE(item.GetInt(), 9);
    QCOMPARE(codes, QList<int>{-1});
}

QTEST_GUILESS_MAIN(TestItemLink)
#include "tst_itemlink.moc"
