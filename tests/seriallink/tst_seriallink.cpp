// The program's operations on a unit at the other end of a pseudo-terminal:
// tzr582-unit runs as a separate process, on a clean line and on one that
// drops and corrupts 1 % of its bytes each; the unit dying in the middle of a
// load; one connection at a time.

#include "../common/TestModule.h"
#include "items/OrvNumber.h"
#include "items/OrvPacketData.h"
#include "link/OrvConnection.h"
#include "link/WindowMessage.h"
#include "model/Catalogue.h"
#include "simunit/FirmwareImage.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// tzr582-unit on a pseudo-terminal of its own, with its memory in folder.
class UnitProcess {
public:
    ~UnitProcess() { stop(); }

    bool start(const QString& folder, const QStringList& options = {}, const QString& link = {})
    {
        QStringList args = {QStringLiteral("--pty"), QStringLiteral("--data"), folder};
        if (!link.isEmpty())
            args << QStringLiteral("--link") << link;
        m_process.start(QStringLiteral(TZR_UNIT_PROGRAM), args + options);
        if (!m_process.waitForStarted(5000))
            return false;
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(5000))
                return false; // the unit refused to start (its message is on stderr)
        }
        path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        return !path.isEmpty();
    }
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            kill();
    }
    bool waitForExit()
    {
        return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(5000);
    }
    QString errors() { return QString::fromLocal8Bit(m_process.readAllStandardError()); }

    QString path;

private:
    QProcess m_process;
};

QByteArray memoryOf(const QString& folder)
{
    QFile file(QDir(folder).filePath(QStringLiteral("simunit-memory.bin")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QStringList Noise = {QStringLiteral("--drop"), QStringLiteral("1"),      QStringLiteral("--corrupt"),
                           QStringLiteral("1"),      QStringLiteral("--seed"), QStringLiteral("5")};

} // namespace

class TestSerialLink : public QObject {
    Q_OBJECT

private slots:
    void operationsOverThePty_data();
    void operationsOverThePty();
    void unitKilledInTheMiddleOfALoad();
    void loadIsCheckedAgainstTheUnitsMemory();
    void oneConnectionToTheSimulatedUnit();
    void oneProgramOnThePort();
};

void TestSerialLink::operationsOverThePty_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::newRow("clean line") << QStringList();
    QTest::newRow("1 % dropped, 1 % corrupted") << Noise;
}

void TestSerialLink::operationsOverThePty()
{
    QFETCH(QStringList, faults);
    QTemporaryDir unitFolder;
    UnitProcess unit;
    QVERIFY(unit.start(unitFolder.path(), faults));
    TestModule t;
    TSerialDataModule& module = t.module;
    module.OrvConnection()->SetLinkPort(unit.path, 19200);

    // Connect: the configuration is reloaded from the unit.
    QCOMPARE(module.ConnectToUnit(LinkPort::Usb, 0), 0);
    QVERIFY(module.IsUnitConnected());
    QVERIFY(!t.sim->isConnected()); // not the simulated unit in this process
    LinkInstance* link = module.OrvConnection()->Instance();
    QCOMPARE(link->GetPort(), LinkPort::Usb);
    QCOMPARE(module.Number("TPS_PER_AFFONDATA")->RawValue(), 143);
    QCOMPARE(module.Number("CHECKUP")->RawValue(), 172);

    // Set: the unit stores it.
    TOrvNumber* tps = module.Number("TPS_PER_AFFONDATA");
    const int tpsRaw = tps->RawValue();
    QVERIFY(tps->SetData(3.0));
    QVERIFY(tps->RawValue() != tpsRaw);
    QCOMPARE(int(uint8_t(memoryOf(unitFolder.path()).at(tps->Address()))), tps->RawValue());
    const int changedRaw = tps->RawValue();

    // Save, erase (the unit returns to its factory memory, and so do the values read), load.
    QTemporaryDir files;
    const QString file = files.filePath(QStringLiteral("unit.tcn"));
    QVERIFY(module.SaveConfiguration(file));
    QVERIFY(link->WriteAtAddress(0, 161, 8)); // the check byte's erase command
    QVERIFY(tps->Load());
    QCOMPARE(tps->RawValue(), tpsRaw);
    const QByteArray erased = memoryOf(unitFolder.path());
    QCOMPARE(erased.size(), 256);
    for (int a = 0; a < 256; ++a)
        QCOMPARE(int(uint8_t(erased[a])), t.sim->factoryByte(a));
    QVERIFY(module.LoadConfiguration(file));
    QCOMPARE(int(uint8_t(memoryOf(unitFolder.path()).at(tps->Address()))), changedRaw);
    QVERIFY(tps->Load());
    QCOMPARE(tps->RawValue(), changedRaw);

    // Live values.
    uint8_t packet[16] = {};
    int length = sizeof packet;
    QVERIFY(link->ReadPacket(LinkDescriptor::PacketFlag, packet, &length));
    QCOMPARE(length, 9);
    QVERIFY(module.Packet("VALORE_LAMBDA")->Load());

    // Reprogramming: the boot loader entry, then an image sent block by block.
    QSignalSpy progress(module.OrvConnection(), &TOrvConnection::LinkMessage);
    QVERIFY(link->WriteValue(0, 123));
    uint8_t identity[8] = {};
    QVERIFY(link->ReadIdentity(identity));
    QCOMPARE(int(identity[1]), 3); // the boot loader answers
    int unused = 0;
    QVERIFY(!link->ReadAtAddress(0, 170, &unused)); // no memory while it runs
    QCOMPARE(link->GetLastError(), LinkError::Refused);
    const auto image = FirmwarePlainBuffer(BuildFirmwareImage(FirmwareKind::Application, 141, 300));
    QCOMPARE(link->ProgramFirmware(image.data(), 0, 0, 1), 0);
    QVERIFY(link->ReadIdentity(identity));
    QCOMPARE(int(identity[1]), 36);
    QCOMPARE(int(identity[3]), 141);
    QVERIFY(!progress.isEmpty());
    const QList<QVariant> last = progress.last();
    QCOMPARE(last.at(0).toInt(), WindowMessage::WMProgress);
    QCOMPARE(last.at(1).toInt(), 100);
    QCOMPARE(last.at(2).toInt(), 0);
    QVERIFY(link->ReadAtAddress(0, tps->Address(), &unused));
    QCOMPARE(unused, changedRaw);

    module.ReleaseLink(false);
    QVERIFY(t.prompts.messages.isEmpty());
}

void TestSerialLink::unitKilledInTheMiddleOfALoad()
{
    QTemporaryDir unitFolder;
    QTemporaryDir files;
    const QString linkPath = files.filePath(QStringLiteral("unit-port"));
    const QString file = files.filePath(QStringLiteral("unit.tcn"));
    TestModule t;
    TSerialDataModule& module = t.module;
    module.OrvConnection()->SetLinkPort(linkPath, 19200);
    {
        UnitProcess unit;
        QVERIFY(unit.start(unitFolder.path(), {}, linkPath));
        QCOMPARE(module.ConnectToUnit(LinkPort::Usb, 0), 0);
        // A file that differs from the factory content in many entries: a load
        // writes only what differs from the unit.
        for (const Catalogue::NumberRow& row : Catalogue::Numbers()) {
            if (row.address >= 0 && row.limits.max > row.limits.min)
                module.Number(row.name)->SetData(row.limits.max);
        }
        QVERIFY(module.SaveConfiguration(file));
        module.ReleaseLink(false);
    }
    QFile::remove(unitFolder.filePath(QStringLiteral("simunit-memory.bin"))); // factory content again

    // The unit answers the connection (identity, connect, one block read, the
    // data by code: 13 requests) and a few writes of the load, then dies.
    UnitProcess dying;
    QVERIFY(dying.start(unitFolder.path(), {QStringLiteral("--exit-after"), QStringLiteral("25")}, linkPath));
    QCOMPARE(module.ConnectToUnit(LinkPort::Usb, 0), 0);
    QVERIFY(module.IsUnitConnected());
    QSignalSpy state(module.OrvConnection(), &TOrvConnection::LinkMessage);
    t.prompts.messages.clear();
    TLoadReport report;
    QVERIFY(!module.LoadConfiguration(file, {}, &report));
    QVERIFY(dying.waitForExit());
    QVERIFY(!module.IsUnitConnected());
    QVERIFY(!state.isEmpty());
    const QList<QVariant> lost = state.first();
    QCOMPARE(lost.at(0).toInt(), WindowMessage::WMLinkState);
    QCOMPARE(lost.at(2).toInt(), 0);
    // The entries not written are named, in one message.
    QCOMPARE(t.prompts.messages.size(), 1);
    QVERIFY(report.refused.size() > 10);
    for (const TLoadNote& note : std::as_const(report.refused)) {
        QVERIFY(module.Number(note.item));
        QVERIFY(t.prompts.messages[0].text.contains(note.entry));
    }

    // The unit is back: the program connects again.
    UnitProcess back;
    QVERIFY(back.start(unitFolder.path(), {}, linkPath));
    QCOMPARE(module.ConnectToUnit(LinkPort::Usb, 0), 0);
    QVERIFY(module.IsUnitConnected());
    module.ReleaseLink(false);
}

// The link answers memory reads from its copy, which follows its own writes:
// the read-back after a load must read the unit instead, or a value the unit
// did not store passes as loaded.
void TestSerialLink::loadIsCheckedAgainstTheUnitsMemory()
{
    QTemporaryDir files;
    const QString file = files.filePath(QStringLiteral("unit.tcn"));
    TestModule t;
    TSerialDataModule& module = t.module;
    TOrvNumber* tps = module.Number("TPS_PER_AFFONDATA");
    TOrvNumber* cutOff = module.Number("GiriCutOff");
    {
        QTemporaryDir unitFolder;
        UnitProcess unit;
        QVERIFY(unit.start(unitFolder.path()));
        module.OrvConnection()->SetLinkPort(unit.path, 19200);
        QCOMPARE(module.ConnectToUnit(LinkPort::Usb, 0), 0);
        QVERIFY(tps->SetData(3.0));
        QVERIFY(cutOff->SetData(2500));
        QVERIFY(module.SaveConfiguration(file));
        module.ReleaseLink(false);
    }

    // A unit in factory state whose TPS byte does not take a write.
    QTemporaryDir unitFolder;
    UnitProcess faulty;
    QVERIFY(
        faulty.start(unitFolder.path(), {QStringLiteral("--ignore-write"), QString::number(tps->Address())}));
    module.OrvConnection()->SetLinkPort(faulty.path, 19200);
    QCOMPARE(module.ConnectToUnit(LinkPort::Usb, 0), 0);
    const int factoryTps = tps->RawValue();
    t.prompts.messages.clear();
    QVERIFY(!module.LoadConfiguration(file));
    QCOMPARE(t.prompts.messages.size(), 1);
    const QStringList named = t.prompts.messages[0].text.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1);
    // The entry, with the reason 417: read back, the unit does not hold it as written.
    QCOMPARE(named, QStringList{QStringLiteral("TPS PER AFFONDATA=3: T417")});
    // The other values reached the unit; the TPS byte still holds the factory value.
    const QByteArray memory = memoryOf(unitFolder.path());
    QCOMPARE(int(uint8_t(memory.at(cutOff->Address()))), cutOff->RawValue());
    QCOMPARE(int(uint8_t(memory.at(tps->Address()))), factoryTps);
    QCOMPARE(tps->RawValue(), factoryTps); // the item shows what the unit holds
    module.ReleaseLink(false);
}

void TestSerialLink::oneConnectionToTheSimulatedUnit()
{
    TestModule t;
    const QString simFolder = QString::fromStdString(t.sim->dataFolder());
    {
        // tzr582-unit serving the same memory file holds it: the program's connect is refused.
        UnitProcess other;
        QVERIFY(other.start(simFolder));
        QCOMPARE(t.module.ConnectToUnit(LinkPort::Usb, 0), int(TSerialDataModule::InUse));
        QVERIFY(!t.module.IsUnitConnected());

        // And the other way round: a unit cannot serve a memory file a program is connected to.
        other.kill(); // a holder that dies lets go of the lock
        QCOMPARE(t.module.ConnectToUnit(LinkPort::Usb, 0), 0);
        UnitProcess second;
        QVERIFY(!second.start(simFolder));
        QVERIFY(second.errors().contains(QStringLiteral("in use by another program")));
    }
    // Disconnecting lets go of it too.
    t.module.OrvConnection()->Instance()->DisconnectUnit();
    UnitProcess third;
    QVERIFY(third.start(simFolder));
}

void TestSerialLink::oneProgramOnThePort()
{
    QTemporaryDir unitFolder;
    UnitProcess unit;
    QVERIFY(unit.start(unitFolder.path()));
    TestModule t;
    t.module.OrvConnection()->SetLinkPort(unit.path, 19200);
    QCOMPARE(t.module.ConnectToUnit(LinkPort::Usb, 0), 0);

    // A second link object on the same port, as a second program would open it.
    QVERIFY(t.module.OrvConnection()->LoadDll());
    auto create = reinterpret_cast<TCreateClassInstance>(
        QLibrary(TOrvConnection::LibraryFileFor(t.module.OrvConnection()->DllName()))
            .resolve("_CreateClassInstance"));
    auto destroy = reinterpret_cast<TDestroyClassInstance>(
        QLibrary(TOrvConnection::LibraryFileFor(t.module.OrvConnection()->DllName()))
            .resolve("_DestroyClassInstance"));
    QVERIFY(create && destroy);
    LinkInstance* second = create();
    second->SelectPort(LinkPort::Usb);
    uint8_t identity[8] = {};
    QVERIFY(!second->ReadIdentity(identity));
    QCOMPARE(second->GetLastError(), LinkError::InUse);
    destroy(second);
    t.module.ReleaseLink(false);
}

QTEST_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
