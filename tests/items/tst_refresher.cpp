// The refresher and live packet items against the simulated unit: one read per
// group per pass, due times on a 64-bit clock, suspended clients, forced
// passes, the direct read, and the thread's suspension and shutdown.

#include "../common/MessageRecorder.h"
#include "../common/SimUnit.h"
#include "items/DataRefresher.h"
#include "items/OrvPacketData.h"
#include "items/RefreshThread.h"
#include "link/OrvConnection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

namespace {

const uint8_t Packet[9] = {60, 128, 51, 30, 100, 90, 1, 2, 128};

} // namespace

class TestRefresher : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void onePacketReadPerPass();
    void clientsAreDeliveredWhenDue();
    void suspendedClientIsSkippedButReloadAllReachesIt();
    void disconnectedUnitCostsNothing();
    void registrationRules();
    void registrationFollowsTheDescriptor();
    void arrayGroupHoldsEveryElement();
    void directReadUsesTheWholeArea();
    void disabledThreadSuspendsItself();
    void destructionWhileAPassIsPending();

private:
    TOrvPacketData* MakeItem(int offset, int interval = 100);
    void Pass();
    int PacketReads() const { return SimLog(m_sim).filter("ReadPacket").size(); }

    SimUnitControl* m_sim = nullptr;
    TOrvConnection* m_connection = nullptr;
    TDataRefresher* m_refresher = nullptr;
    qint64 m_now = 0;
};

void TestRefresher::init()
{
    m_sim = FreshSimUnit();
    m_sim->pinPacket(Packet);
    m_connection = new TOrvConnection;
    QVERIFY(ConnectSimUnit(*m_connection));
    m_refresher = new TDataRefresher;
    m_refresher->SetConnection(m_connection);
    // Far beyond 32 bits of milliseconds: due times must not wrap.
    m_now = qint64(1) << 33;
    m_refresher->SetClock([this] { return m_now; });
    m_refresher->SetEnabled(true);
    m_sim->clearLog();
}

void TestRefresher::cleanup()
{
    delete m_refresher;
    delete m_connection;
}

TOrvPacketData* TestRefresher::MakeItem(int offset, int interval)
{
    auto* item = new TOrvPacketData(m_connection);
    item->SetOffset(offset);
    item->SetTimeInterval(interval);
    item->SetDataRefresher(m_refresher);
    item->SetActive(true);
    return item;
}

// One pass as the refresh thread hands it to the user-interface thread.
void TestRefresher::Pass()
{
    QEvent pass(TRefreshThread::PassEvent);
    QCoreApplication::sendEvent(m_refresher, &pass);
}

void TestRefresher::onePacketReadPerPass()
{
    TOrvPacketData* lambda = MakeItem(1);
    TOrvPacketData* tps = MakeItem(2);
    Pass();
    QCOMPARE(PacketReads(), 1);
    QCOMPARE(lambda->RawValue(), 128);
    QCOMPARE(tps->RawValue(), 51);
    QCOMPARE(SimLog(m_sim).filter("ReadPacket").first(), QStringLiteral("ReadPacket 6144 64"));
}

void TestRefresher::clientsAreDeliveredWhenDue()
{
    TOrvPacketData* fast = MakeItem(1, 100);
    TOrvPacketData* slow = MakeItem(2, 1000);
    MessageRecorder fastControl, slowControl;
    fast->AddNotificationList(&fastControl);
    slow->AddNotificationList(&slowControl);
    Pass(); // both due at once
    m_now += 100;
    Pass(); // interval not yet exceeded: nothing is read
    QCOMPARE(PacketReads(), 1);
    m_now += 1;
    Pass();
    QCOMPARE(PacketReads(), 2);
    QCOMPARE(fastControl.Count(WindowMessage::WMDataChanged), 2);
    QCOMPARE(slowControl.Count(WindowMessage::WMDataChanged), 1);
}

void TestRefresher::suspendedClientIsSkippedButReloadAllReachesIt()
{
    TOrvPacketData* active = MakeItem(1);
    TOrvPacketData* suspended = MakeItem(2);
    suspended->SetActive(false);
    Pass();
    QCOMPARE(active->RawValue(), 128);
    QCOMPARE(suspended->RawValue(), 0);
    m_refresher->ReloadAll(); // forced: every client, due or not
    QCOMPARE(suspended->RawValue(), 51);
    QCOMPARE(PacketReads(), 2);
}

void TestRefresher::disconnectedUnitCostsNothing()
{
    TOrvPacketData* item = MakeItem(1);
    m_connection->Instance()->DisconnectUnit();
    m_sim->clearLog();
    Pass();
    QCOMPARE(PacketReads(), 0);
    QVERIFY(m_connection->Instance()->ConnectUnit());
    Pass(); // still due
    QCOMPARE(item->RawValue(), 128);
}

void TestRefresher::registrationRules()
{
    QObject control;
    QVERIFY(!m_refresher->AddRefresh(&control, 0, 0x800, -1));
    TOrvPacketData* item = MakeItem(1);
    item->SetTimeInterval(10);
    QCOMPARE(item->TimeInterval(), 100);
    QVERIFY(item->Registered());

    // A control registered for a plain value receives the value read.
    QVERIFY(m_refresher->AddRefresh(&control, 100, 1, -1));
    MessageRecorder recorder;
    QVERIFY(m_refresher->AddRefresh(&recorder, 100, 1, -1));
    Pass();
    QCOMPARE(recorder.Count(WindowMessage::WMDataAvailable), 1);
    QVERIFY(SimLog(m_sim).contains("ReadValue 1"));

    // A new code moves the registration; a destroyed refresher lets go of its items.
    item->SetSerialCode(5);
    QVERIFY(item->Registered());
    delete m_refresher;
    m_refresher = nullptr;
    QVERIFY(!item->DataRefresher());
    QVERIFY(!item->Registered());
    QVERIFY(!item->Active());
}

void TestRefresher::registrationFollowsTheDescriptor()
{
    TOrvPacketData* item = MakeItem(1);
    MessageRecorder control;
    item->AddNotificationList(&control);
    item->SetDataSigned(true);
    item->SetActive(false);
    Pass();
    QCOMPARE(control.Count(WindowMessage::WMDataChanged), 0); // no stale registration delivers
    item->SetActive(true);
    Pass();
    QCOMPARE(control.Count(WindowMessage::WMDataChanged), 1);
    QCOMPARE(SimLog(m_sim).filter("ReadPacket"),
             QStringList{QStringLiteral("ReadPacket %1 64").arg(item->Descriptor())});
}

// A receiver that keeps the words of the buffer it is handed.
class BufferReceiver : public QObject {
public:
    explicit BufferReceiver(int count) : m_count(count) {}
    QList<int> words;

protected:
    bool event(QEvent* event) override
    {
        const TWindowMessage* message = TWindowMessage::from(event);
        if (!message || message->message() != WindowMessage::WMDataAvailable)
            return QObject::event(event);
        const auto* buffer = reinterpret_cast<const int32_t*>(message->wParam());
        words = QList<int>(buffer, buffer + m_count);
        return true;
    }

private:
    int m_count;
};

void TestRefresher::arrayGroupHoldsEveryElement()
{
    // The unit's 120-element trace, read whole into the group's buffer.
    const uint32_t descriptor = LinkDescriptor::ArrayFlag | (120u << LinkDescriptor::CountShift) | 13u;
    BufferReceiver receiver(120);
    QVERIFY(m_refresher->AddRefresh(&receiver, 100, descriptor, -1));
    Pass();
    QCOMPARE(receiver.words.size(), 120);
    QCOMPARE(receiver.words.last(), 119);
}

void TestRefresher::directReadUsesTheWholeArea()
{
    TOrvPacketData* item = MakeItem(8);
    QVERIFY(item->Reload());
    QCOMPARE(item->RawValue(), 128);
    QCOMPARE(SimLog(m_sim), QStringList{"ReadPacket 6144 251"});
    m_connection->Instance()->DisconnectUnit();
    QVERIFY(!item->Reload());
}

void TestRefresher::disabledThreadSuspendsItself()
{
    QVERIFY(m_refresher->GetEnabled());
    m_refresher->SetEnabled(false);
    QElapsedTimer timer;
    timer.start();
    while (m_refresher->GetEnabled() && timer.elapsed() < 5000)
        QThread::yieldCurrentThread();
    QVERIFY(!m_refresher->GetEnabled());
    m_refresher->SetEnabled(true);
    QVERIFY(m_refresher->GetEnabled());
}

void TestRefresher::destructionWhileAPassIsPending()
{
    MakeItem(1);
    // Let the thread post a pass that nobody runs, then destroy the refresher:
    // the thread must end without waiting for the pass.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 60)
        QThread::yieldCurrentThread();
    delete m_refresher;
    m_refresher = nullptr;
}

QTEST_GUILESS_MAIN(TestRefresher)
#include "tst_refresher.moc"
