// The link library as the program uses it: through its exports and the
// LinkInstance contract, with the test control to set the unit up.

#include "../common/FileSizeLimit.h"
#include "link/LinkInstance.h"
#include "link/WindowMessage.h"
#include "simunit/FirmwareImage.h"
#include "simunit/SimUnitControl.h"

#include <QLibrary>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

// The exports, as the library declares them.
extern "C" {
LinkInstance* _CreateClassInstance();
void _DestroyClassInstance(LinkInstance*);
bool _GetDLLVersion(FILE_VERSION_DATA*);
void _SetMessageSink(TLinkMessageSink, void*);
SimUnitControl* _GetSimUnitControl();
}

namespace {

struct Message {
    unsigned int msg;
    uintptr_t wParam;
    intptr_t lParam;
    bool operator==(const Message& o) const
    {
        return msg == o.msg && wParam == o.wParam && lParam == o.lParam;
    }
};

std::vector<Message> g_messages;

void sink(void* context, unsigned int msg, uintptr_t wParam, intptr_t lParam)
{
    QCOMPARE(context, static_cast<void*>(&g_messages));
    g_messages.push_back({msg, wParam, lParam});
}

constexpr uint32_t Array = LinkDescriptor::ArrayFlag;
constexpr uint32_t TwoByte = LinkDescriptor::TwoByteFlag;
constexpr uint32_t Packet = LinkDescriptor::PacketFlag;
constexpr uint32_t desc(uint32_t code, uint32_t flags = 0, uint32_t count = 0)
{
    return code | flags | (count << LinkDescriptor::CountShift);
}

std::vector<int> range(std::initializer_list<int> values)
{
    return values;
}

std::vector<uint8_t> programBuffer(FirmwareKind kind, int version, size_t size, uint8_t family = 11)
{
    return FirmwarePlainBuffer(BuildFirmwareImage(kind, uint8_t(version), size, family));
}

} // namespace

class TestSimUnitLink : public QObject {
    Q_OBJECT

    SimUnitControl* sim = nullptr;
    LinkInstance* link = nullptr;
    QTemporaryDir dataDir;

    std::array<uint8_t, 8> identity()
    {
        std::array<uint8_t, 8> r{};
        r.fill(0xEE);
        if (!link->ReadIdentity(r.data()))
            r.fill(0xFF);
        return r;
    }
    void connect()
    {
        QCOMPARE(link->ConnectUnit(), 1);
        g_messages.clear();
        sim->clearLog();
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        sim = _GetSimUnitControl();
        QVERIFY(sim);
        _SetMessageSink(sink, &g_messages);
        link = _CreateClassInstance();
        QVERIFY(link);
    }

    void cleanupTestCase()
    {
        _DestroyClassInstance(link);
        _SetMessageSink(nullptr, nullptr);
    }

    void init()
    {
        sim->resetSimulation();
        sim->setDataFolder(dataDir.path().toStdString());
        sim->resetToFactory();
        link->DisconnectUnit();
        g_messages.clear();
        sim->clearLog();
    }

    void versionAndExports()
    {
        FILE_VERSION_DATA v{};
        QVERIFY(_GetDLLVersion(&v));
        QVERIFY(v.Major >= 5);
        QCOMPARE(v.Major, 5u);
        QCOMPARE(v.Minor, 1u);
        QVERIFY(!_GetDLLVersion(nullptr));
        // Loaded by path and looked up by name, as the program does.
        QLibrary library(QStringLiteral(TZR_SIMUNIT_LIBRARY));
        QVERIFY2(library.load(), qPrintable(library.errorString()));
        for (const char* name :
             {LinkExport::CreateClassInstance, LinkExport::DestroyClassInstance, LinkExport::GetDLLVersion,
              LinkExport::SetMessageSink, SimUnitControlExport::GetSimUnitControl})
            QVERIFY2(library.resolve(name), name);
        auto getControl =
            reinterpret_cast<TGetSimUnitControl>(library.resolve(SimUnitControlExport::GetSimUnitControl));
        QCOMPARE(getControl(), sim); // one unit per process
        // A second link object talks to the same unit; a foreign pointer is ignored.
        auto create =
            reinterpret_cast<TCreateClassInstance>(library.resolve(LinkExport::CreateClassInstance));
        auto destroy =
            reinterpret_cast<TDestroyClassInstance>(library.resolve(LinkExport::DestroyClassInstance));
        LinkInstance* other = create();
        QVERIFY(other && other != link);
        uint8_t r[8];
        QVERIFY(other->ReadIdentity(r));
        destroy(other);
        destroy(nullptr);
    }

    void identityAndBootLoader()
    {
        QCOMPARE(identity(), (std::array<uint8_t, 8>{11, 36, 25, 140, 0, 0, 0, 0})); // before ConnectUnit
        sim->setFirmwareVersion(139);
        QCOMPARE(identity()[3], uint8_t(139));
        const uint8_t other[8] = {12, 36, 26, 7, 0, 0, 0, 0};
        sim->setIdentity(other);
        QCOMPARE(identity(), (std::array<uint8_t, 8>{12, 36, 26, 7, 0, 0, 0, 0}));
        sim->resetSimulation();

        sim->setIdentityUnanswered(true);
        uint8_t r[8];
        QVERIFY(!link->ReadIdentity(r));
        QCOMPARE(link->GetLastError(), SimError::NoAnswer);
        sim->setIdentityUnanswered(false);

        // 123 through WriteValue of code 0 enters the boot loader.
        connect();
        QVERIFY(link->WriteValue(desc(0), 123));
        QCOMPARE(link->GetLastError(), 0);
        QVERIFY(sim->bootLoaderMode());
        QCOMPARE(identity(), (std::array<uint8_t, 8>{11, 3, 25, 2, 36, 25, 0, 0}));
        int v = 0;
        QVERIFY(!link->ReadAtAddress(0, 161, &v)); // the boot loader serves no data
        QCOMPARE(link->GetLastError(), SimError::Refused);
        QVERIFY(!link->ReadValue(desc(0), &v));
        uint8_t packet[64];
        int length = 64;
        QVERIFY(!link->ReadPacket(desc(0, Packet), packet, &length));
        QCOMPARE(link->GetLastError(), SimError::Refused);
        // Other command values are only stored.
        sim->setBootLoaderMode(false);
        QVERIFY(link->ReadValue(desc(0), &v));
        QCOMPARE(v, 240);
        QVERIFY(link->WriteValue(desc(0), 17));
        QVERIFY(link->ReadValue(desc(0), &v));
        QCOMPARE(v, 17);
        QVERIFY(!sim->bootLoaderMode());
    }

    // The sequence the program's connect procedure runs, then disconnect.
    void connectAndDisconnect()
    {
        link->PrepareLink(0);
        link->SelectPort(LinkPort::Usb);
        link->UseStandardMode();
        link->ConfigureLink(0);
        uint8_t r[8];
        QVERIFY(link->ReadIdentity(r));
        QCOMPARE(link->IsConnected(), 0);
        QCOMPARE(link->ConnectUnit(), 1);
        QCOMPARE(link->IsConnected(), 1);
        QCOMPARE(link->GetPort(), 4);
        QCOMPARE(sim->selectedPort(), 4);
        QVERIFY(sim->isConnected());
        QCOMPARE(g_messages, (std::vector<Message>{{WindowMessage::WMLinkState, 0, 1}}));
        QCOMPARE(link->ConnectUnit(), 1); // already connected: no new message
        QCOMPARE(g_messages.size(), size_t(1));
        link->DisconnectUnit();
        QCOMPARE(link->IsConnected(), 0);
        link->DisconnectUnit(); // not connected: no message
        link->ClosePort();
        QCOMPARE(g_messages, (std::vector<Message>{{WindowMessage::WMLinkState, 0, 1},
                                                   {WindowMessage::WMLinkState, 0, 0}}));
        QCOMPARE(sim->logLines(),
                 (std::vector<std::string>{"PrepareLink 0", "SelectPort 4", "UseStandardMode",
                                           "ConfigureLink 0", "ReadIdentity", "ConnectUnit", "ConnectUnit",
                                           "DisconnectUnit", "DisconnectUnit", "ClosePort"}));
        // ClosePort ends a connection too.
        connect();
        link->ClosePort();
        QCOMPARE(link->IsConnected(), 0);
        QCOMPARE(g_messages, (std::vector<Message>{{WindowMessage::WMLinkState, 0, 0}}));
    }

    void connectRefusedAndLinkLost()
    {
        sim->setConnectRefused(true);
        QCOMPARE(link->ConnectUnit(), 0);
        QCOMPARE(link->GetLastError(), SimError::Refused);
        QVERIFY(g_messages.empty());
        sim->setConnectRefused(false);

        connect();
        sim->dropLink();
        QCOMPARE(g_messages, (std::vector<Message>{{WindowMessage::WMLinkState, 0, 0}}));
        QCOMPARE(link->IsConnected(), 0);
        QCOMPARE(link->GetLastError(), SimError::NoAnswer);
        int v;
        QVERIFY(!link->ReadAtAddress(0, 161, &v));
        QCOMPARE(link->GetLastError(), SimError::NoAnswer);
    }

    // Every item operation fails with flag 1 while no unit is connected.
    void notConnected()
    {
        int v[64] = {};
        uint8_t bytes[64];
        int length = 64;
        const std::vector<std::pair<const char*, std::function<bool()>>> ops = {
            {"ReadAtAddress", [&] { return link->ReadAtAddress(0, 161, v); }},
            {"WriteAtAddress", [&] { return link->WriteAtAddress(0, 163, 68); }},
            {"ReadValue", [&] { return link->ReadValue(desc(1), v); }},
            {"ReadIndexed", [&] { return link->ReadIndexed(desc(10), v, 1); }},
            {"ReadMatrixElement", [&] { return link->ReadMatrixElement(desc(11, Array, 5), v, 1, 1); }},
            {"ReadPacket", [&] { return link->ReadPacket(desc(0, Packet), bytes, &length); }},
            {"WriteArray", [&] { return link->WriteArray(desc(10, Array, 8), v); }},
            {"WriteValue", [&] { return link->WriteValue(desc(0), 123); }},
            {"WriteIndexed", [&] { return link->WriteIndexed(desc(10, Array, 8), 1, 5); }},
            {"WriteMatrixElement", [&] { return link->WriteMatrixElement(desc(11, Array, 5), 1, 1, 5); }},
            {"WriteRow", [&] { return link->WriteRow(desc(11, Array, 5), v, 1); }},
        };
        for (const auto& [name, op] : ops) {
            QVERIFY2(!op(), name);
            QVERIFY2(link->GetLastError() == SimError::NoAnswer, name);
        }
        QVERIFY(!sim->bootLoaderMode());
        QCOMPARE(sim->readMemory(163), 68);
    }

    void memoryReadWrite()
    {
        connect();
        int v = 0;
        QVERIFY(link->ReadAtAddress(0, 161, &v));
        QCOMPARE(v, 172);
        QVERIFY(link->WriteAtAddress(0, 163, 181));
        QVERIFY(link->ReadAtAddress(0, 163, &v));
        QCOMPARE(v, 181);
        QCOMPARE(sim->readMemory(163), 181);
        QVERIFY(link->WriteAtAddress(0, 170, -5)); // a negative value stores its low byte
        QCOMPARE(sim->readMemory(170), 251);
        // Two-byte elements: little-endian.
        QVERIFY(link->WriteAtAddress(desc(0, TwoByte), 10, 0x1234));
        QCOMPARE(sim->readMemory(10), 0x34);
        QCOMPARE(sim->readMemory(11), 0x12);
        QVERIFY(link->ReadAtAddress(desc(0, TwoByte), 10, &v));
        QCOMPARE(v, 0x1234);
        // The whole factory content reads back.
        sim->resetToFactory();
        for (int a = 0; a < 256; ++a) {
            QVERIFY(link->ReadAtAddress(0, a, &v));
            QCOMPARE(v, sim->factoryByte(a));
        }
    }

    void memoryFlags_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<uint32_t>("descriptor");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("flags");
        QTest::newRow("read -1") << false << 0u << -1 << 0 << SimError::NoValue;
        QTest::newRow("read 256") << false << 0u << 256 << 0 << SimError::NoValue;
        QTest::newRow("read two bytes at 255") << false << TwoByte << 255 << 0 << SimError::NoValue;
        QTest::newRow("write 256") << true << 0u << 256 << 1 << SimError::NoValue;
        QTest::newRow("write -7") << true << 0u << -7 << 1 << SimError::NoValue;
        QTest::newRow("write value 256") << true << 0u << 163 << 256 << SimError::Refused;
        QTest::newRow("write value -129") << true << 0u << 163 << -129 << SimError::Refused;
        QTest::newRow("write conversion error") << true << 0u << 163 << -10000001 << SimError::Refused;
        QTest::newRow("write two-byte 65536") << true << TwoByte << 10 << 65536 << SimError::Refused;
    }
    void memoryFlags()
    {
        QFETCH(bool, write);
        QFETCH(uint32_t, descriptor);
        QFETCH(int, address);
        QFETCH(int, value);
        QFETCH(int, flags);
        connect();
        int out = -1;
        QVERIFY(!(write ? link->WriteAtAddress(descriptor, address, value)
                        : link->ReadAtAddress(descriptor, address, &out)));
        QCOMPARE(link->GetLastError(), flags);
        QCOMPARE(out, -1);
        QCOMPARE(sim->readMemory(163), 68);
        QVERIFY(link->ReadAtAddress(0, 163, &out)); // the next exchange clears the flags
        QCOMPARE(link->GetLastError(), 0);
    }

    void eraseRestoresFactory()
    {
        connect();
        QVERIFY(link->WriteAtAddress(0, 200, 99));
        QVERIFY(link->WriteAtAddress(0, 163, 181));
        QVERIFY(link->WriteAtAddress(0, 161, 9)); // another value is just stored
        QCOMPARE(sim->readMemory(161), 9);
        QVERIFY(link->WriteAtAddress(0, 161, 8));
        int v = 0;
        QVERIFY(link->ReadAtAddress(0, 161, &v));
        QCOMPARE(v, 172);
        for (int a = 0; a < 256; ++a)
            QCOMPARE(sim->readMemory(a), sim->factoryByte(a));
    }

    void memoryPersists()
    {
        // Without a folder of its own the file lies under the user's data folder (test mode here).
        sim->setDataFolder(std::string());
        const QString expected =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/TZR582";
        QCOMPARE(QString::fromStdString(sim->dataFolder()), expected);
        QVERIFY(QString::fromStdString(sim->memoryFilePath()).startsWith(expected + "/"));

        QTemporaryDir a, b;
        sim->setDataFolder(a.path().toStdString());
        QCOMPARE(sim->readMemory(200), 28); // no file: factory content
        connect();
        QVERIFY(link->WriteAtAddress(0, 200, 77));
        QFile file(QString::fromStdString(sim->memoryFilePath()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QCOMPARE(content.size(), 256);
        QCOMPARE(int(uint8_t(content[200])), 77);
        file.close();
        sim->setDataFolder(b.path().toStdString());
        QCOMPARE(sim->readMemory(200), 28);
        sim->setDataFolder(a.path().toStdString()); // as at the next run
        QCOMPARE(sim->readMemory(200), 77);
        // A damaged file gives the factory content.
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("short");
        file.close();
        sim->setDataFolder(a.path().toStdString());
        QCOMPARE(sim->readMemory(200), 28);
    }

    void failedMemoryWriteKeepsTheFile()
    {
        connect();
        QVERIFY(link->WriteAtAddress(0, 200, 77));
        {
            const FileSizeLimit limit(100); // the file cannot be written
            QVERIFY(!link->WriteAtAddress(0, 200, 78));
            QCOMPARE(link->GetLastError(), SimError::NotStored);
        }
        QCOMPARE(sim->readMemory(200), 77); // the write did not take
        QFile file(QString::fromStdString(sim->memoryFilePath()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QCOMPARE(content.size(), 256);
        QCOMPARE(int(uint8_t(content[200])), 77);
    }

    void livePacket()
    {
        connect();
        uint8_t data[251];
        for (long long t = 0; t < 60000; t += 250) {
            sim->pinClock(t);
            int length = 251;
            std::fill(std::begin(data), std::end(data), 0xAB);
            QVERIFY(link->ReadPacket(desc(0, Packet, 1), data, &length));
            QCOMPARE(length, 9);
            QCOMPARE(data[9], uint8_t(0xAB)); // nothing beyond the packet
            const SimEngineState e = sim->engineState();
            QCOMPARE(data[0] == 255, e.phase == 0);
            QVERIFY(data[4] >= sim->readMemory(208) && data[4] <= sim->readMemory(207));
            QVERIFY(data[5] >= sim->readMemory(208) && data[5] <= sim->readMemory(207));
            QVERIFY(data[6] <= 2);
            QVERIFY(data[7] <= 3);
            QVERIFY(data[8] > 0 && data[8] < 255);
            QVERIFY(data[1] <= 46); // 0-1 V probe: at most 0.9 V
        }
        // The capacity given is honoured.
        sim->pinClock(30000);
        uint8_t full[9];
        sim->livePacket(full);
        uint8_t small[4] = {};
        int length = 4;
        QVERIFY(link->ReadPacket(desc(0, Packet), small, &length));
        QCOMPARE(length, 4);
        QVERIFY(std::equal(small, small + 4, full));
        length = 0;
        QVERIFY(!link->ReadPacket(desc(0, Packet), small, &length));
        QCOMPARE(link->GetLastError(), SimError::Refused);
        // Without the packet flag, or another code.
        length = 64;
        QVERIFY(!link->ReadPacket(desc(0), data, &length));
        QCOMPARE(link->GetLastError(), SimError::Refused);
        QVERIFY(!link->ReadPacket(desc(5, Packet), data, &length));
        QCOMPARE(link->GetLastError(), SimError::NoValue);
        // Pinned bytes for deterministic tests.
        const uint8_t pinned[9] = {60, 128, 31, 31, 100, 100, 1, 0, 128};
        sim->pinPacket(pinned);
        length = 64;
        QVERIFY(link->ReadPacket(desc(0, Packet), data, &length));
        QCOMPARE(length, 9);
        QVERIFY(std::equal(pinned, pinned + 9, data));
        sim->unpinPacket();
        // The clock runs on from where it was pinned.
        sim->pinClock(1000000);
        sim->unpinClock();
        QVERIFY(sim->modelTimeMs() >= 1000000);
    }

    // The engine behaviour is a setting of the unit that the packet follows
    // and that a reset of the simulation takes back to healthy.
    void engineBehaviour()
    {
        connect();
        sim->pinClock(30000); // cruise, closed loop
        uint8_t healthy[9];
        sim->livePacket(healthy);
        QCOMPARE(sim->engineBehaviour(), 0);
        sim->setEngineBehaviour(1); // lean: held at the maximum, lean band
        uint8_t lean[9];
        sim->livePacket(lean);
        QCOMPARE(int(lean[4]), sim->readMemory(207));
        QCOMPARE(int(lean[6]), 0);
        QVERIFY(healthy[4] < lean[4]);
        sim->setEngineBehaviour(7); // no such behaviour: ignored
        QCOMPARE(sim->engineBehaviour(), 1);
        sim->resetSimulation();
        QCOMPARE(sim->engineBehaviour(), 0);
    }

    void rpmFollowsIgnition_data()
    {
        QTest::addColumn<int>("ignition");
        QTest::addColumn<int>("scale");
        const int scales[8] = {120000, 96000, 80000, 60000, 120000, 120000, 80000, 120000};
        for (int i = 0; i < 8; ++i)
            QTest::newRow(qPrintable(QString("type %1").arg(i))) << i << scales[i];
    }
    void rpmFollowsIgnition()
    {
        QFETCH(int, ignition);
        QFETCH(int, scale);
        connect();
        QVERIFY(link->WriteAtAddress(0, 163, (68 & ~7) | ignition));
        for (long long t : {10000LL, 30000LL, 44000LL}) { // idle, cruise, full throttle
            sim->pinClock(t);
            uint8_t data[64];
            int length = 64;
            QVERIFY(link->ReadPacket(desc(0, Packet), data, &length));
            const double rpm = sim->engineState().rpm;
            QVERIFY(rpm > 500);
            QCOMPARE(int(data[0]), int(std::lround(scale / rpm)));
        }
    }

    void arrayReads_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<uint32_t>("descriptor");
        QTest::addColumn<int>("i");
        QTest::addColumn<int>("j");
        QTest::addColumn<std::vector<int>>("expected");
        QTest::addColumn<int>("flags");
        const std::vector<int> none;
        // ReadValue: with the array flag element-count elements, without it one element.
        QTest::newRow("value vector")
            << "value" << desc(10, Array, 8) << 0 << 0 << range({10, 20, 30, 40, 50, 60, 70, 80}) << 0;
        QTest::newRow("value vector first 3")
            << "value" << desc(10, Array, 3) << 0 << 0 << range({10, 20, 30}) << 0;
        QTest::newRow("value one element") << "value" << desc(10) << 0 << 0 << range({10}) << 0;
        QTest::newRow("value single by code") << "value" << desc(1) << 0 << 0 << range({100}) << 0;
        QTest::newRow("value command") << "value" << desc(0) << 0 << 0 << range({240}) << 0;
        QTest::newRow("value 1x1 of a matrix") << "value" << desc(11, 0, 5) << 0 << 0 << range({0}) << 0;
        QTest::newRow("value too many")
            << "value" << desc(10, Array, 9) << 0 << 0 << none << SimError::Refused;
        QTest::newRow("value array count 0")
            << "value" << desc(10, Array, 0) << 0 << 0 << none << SimError::Refused;
        // ReadIndexed: with the array flag a row, without it one element by flat index.
        QTest::newRow("indexed row") << "indexed" << desc(11, Array, 5) << 2 << 0
                                     << range({20, 21, 22, 23, 24}) << 0;
        QTest::newRow("indexed element") << "indexed" << desc(11) << 7 << 0 << range({12}) << 0;
        QTest::newRow("indexed element of R x 1")
            << "indexed" << desc(10, 0, 1) << 5 << 0 << range({60}) << 0;
        QTest::newRow("indexed row vector, flag cleared")
            << "indexed" << desc(11, 0, 5) << 3 << 0 << range({30, 31, 32, 33, 34}) << 0;
        QTest::newRow("indexed vector row 0")
            << "indexed" << desc(10, Array, 8) << 0 << 0 << range({10, 20, 30, 40, 50, 60, 70, 80}) << 0;
        QTest::newRow("indexed row width differs")
            << "indexed" << desc(11, Array, 4) << 0 << 0 << none << SimError::Refused;
        QTest::newRow("indexed row 4 of 4")
            << "indexed" << desc(11, Array, 5) << 4 << 0 << none << SimError::NoValue;
        QTest::newRow("indexed element 20 of 20")
            << "indexed" << desc(11) << 20 << 0 << none << SimError::NoValue;
        // ReadMatrixElement: flat index = row x columns + column.
        QTest::newRow("element 3,4") << "element" << desc(11, Array, 5) << 3 << 4 << range({34}) << 0;
        QTest::newRow("element of column vector")
            << "element" << desc(11, Array, 4) << 2 << 1 << range({21}) << 0;
        QTest::newRow("element two-byte 7,7")
            << "element" << desc(12, Array | TwoByte, 8) << 7 << 7 << range({6400}) << 0;
        QTest::newRow("element two-byte 0,1")
            << "element" << desc(12, Array | TwoByte, 8) << 0 << 1 << range({200}) << 0;
        QTest::newRow("element 4,0") << "element" << desc(11, Array, 5) << 4 << 0 << none
                                     << SimError::NoValue;
        QTest::newRow("element 0,5") << "element" << desc(11, Array, 5) << 0 << 5 << none
                                     << SimError::NoValue;
        QTest::newRow("element width differs")
            << "element" << desc(12, Array, 8) << 0 << 0 << none << SimError::Refused;
        // Unknown codes and the packet flag.
        QTest::newRow("value unknown code") << "value" << desc(99) << 0 << 0 << none << SimError::NoValue;
        QTest::newRow("indexed unknown code")
            << "indexed" << desc(99, Array, 5) << 0 << 0 << none << SimError::NoValue;
        QTest::newRow("element unknown code")
            << "element" << desc(14, Array, 5) << 0 << 0 << none << SimError::NoValue;
        QTest::newRow("value packet flag")
            << "value" << desc(0, Packet) << 0 << 0 << none << SimError::Refused;
    }
    void arrayReads()
    {
        QFETCH(QString, op);
        QFETCH(uint32_t, descriptor);
        QFETCH(int, i);
        QFETCH(int, j);
        QFETCH(std::vector<int>, expected);
        QFETCH(int, flags);
        connect();
        std::vector<int> out(64, -1);
        bool ok = false;
        if (op == "value")
            ok = link->ReadValue(descriptor, out.data());
        else if (op == "indexed")
            ok = link->ReadIndexed(descriptor, out.data(), i);
        else
            ok = link->ReadMatrixElement(descriptor, out.data(), i, j);
        QCOMPARE(ok, flags == 0);
        QCOMPARE(link->GetLastError(), flags);
        const size_t n = expected.size();
        QCOMPARE(std::vector<int>(out.begin(), out.begin() + long(n)), expected);
        QCOMPARE(out[n], -1); // nothing written beyond
    }

    void arrayWrites()
    {
        connect();
        const int vec[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        QVERIFY(link->WriteArray(desc(10, Array, 8), vec));
        for (int i = 0; i < 8; ++i)
            QCOMPARE(sim->datumElement(10, i), i + 1);
        QVERIFY(link->WriteIndexed(desc(10, Array, 8), 3, 44));
        QCOMPARE(sim->datumElement(10, 3), 44);
        const int row[5] = {90, 91, 92, 93, 94};
        QVERIFY(link->WriteRow(desc(11, Array, 5), row, 2));
        int out[8] = {};
        QVERIFY(link->ReadIndexed(desc(11, Array, 5), out, 2));
        QVERIFY(std::equal(row, row + 5, out));
        QVERIFY(link->WriteMatrixElement(desc(11, Array, 5), 3, 1, 77));
        QCOMPARE(sim->datumElement(11, 16), 77);
        QVERIFY(link->WriteValue(desc(11, Array, 5), 55)); // 1 x 1 writes with the array flag set
        QCOMPARE(sim->datumElement(11, 0), 55);
        QVERIFY(link->WriteValue(desc(1), 7));
        QVERIFY(link->ReadValue(desc(1), out));
        QCOMPARE(out[0], 7);
        QVERIFY(link->WriteMatrixElement(desc(12, Array | TwoByte, 8), 7, 7, 65535));
        QCOMPARE(sim->datumElement(12, 63), 65535);
        QVERIFY(link->WriteIndexed(desc(12, Array | TwoByte, 8), 1, -2)); // low 16 bits
        QCOMPARE(sim->datumElement(12, 1), 65534);

        struct Bad {
            const char* name;
            std::function<bool()> op;
            int flags;
        };
        const int tooBig[8] = {1, 2, 3, 256, 5, 6, 7, 8};
        const int many[21] = {};
        const std::vector<Bad> bad = {
            {"WriteArray value 256", [&] { return link->WriteArray(desc(10, Array, 8), tooBig); },
             SimError::Refused},
            {"WriteArray too many", [&] { return link->WriteArray(desc(11, Array, 21), many); },
             SimError::Refused},
            {"WriteRow width differs", [&] { return link->WriteRow(desc(11, Array, 4), row, 0); },
             SimError::Refused},
            {"WriteRow row 4", [&] { return link->WriteRow(desc(11, Array, 5), row, 4); }, SimError::NoValue},
            {"WriteIndexed index 8", [&] { return link->WriteIndexed(desc(10, Array, 8), 8, 1); },
             SimError::NoValue},
            {"WriteMatrixElement 65536",
             [&] { return link->WriteMatrixElement(desc(12, Array | TwoByte, 8), 0, 0, 65536); },
             SimError::Refused},
            {"WriteMatrixElement width",
             [&] { return link->WriteMatrixElement(desc(12, Array, 8), 0, 0, 1); }, SimError::Refused},
            {"WriteMatrixElement 0,5", [&] { return link->WriteMatrixElement(desc(11, Array, 5), 0, 5, 1); },
             SimError::NoValue},
            {"WriteValue unknown", [&] { return link->WriteValue(desc(99), 1); }, SimError::NoValue},
            {"WriteArray unknown", [&] { return link->WriteArray(desc(98, Array, 2), vec); },
             SimError::NoValue},
            {"WriteIndexed unknown", [&] { return link->WriteIndexed(desc(97), 0, 1); }, SimError::NoValue},
            {"WriteRow unknown", [&] { return link->WriteRow(desc(96, Array, 5), row, 0); },
             SimError::NoValue},
            {"WriteMatrixElement unknown", [&] { return link->WriteMatrixElement(desc(95), 0, 0, 1); },
             SimError::NoValue},
        };
        for (const Bad& b : bad) {
            QVERIFY2(!b.op(), b.name);
            QVERIFY2(link->GetLastError() == b.flags, b.name);
        }
        QCOMPARE(sim->datumElement(10, 3), 44); // nothing of a refused array was written
        QCOMPARE(sim->datumElement(10, 0), 1);
        sim->resetSimulation();
        QCOMPARE(sim->datumElement(10, 0), 10);
    }

    // The program's reprogramming sequence with its image sizes.
    void programming()
    {
        sim->setFirmwareVersion(139);
        uint8_t r[8];
        QVERIFY(link->ReadIdentity(r));
        connect();
        QVERIFY(link->WriteValue(desc(0), 123));
        QCOMPARE(link->GetLastError(), 0);
        link->DisconnectUnit();
        g_messages.clear();

        const auto boot = programBuffer(FirmwareKind::BootLoader, 3, 3960);
        QCOMPARE(link->ProgramFirmware(boot.data(), 0, 0, 1), 0); // without a connection
        QVERIFY(sim->bootLoaderMode());
        QCOMPARE(sim->bootLoaderVersion(), 3);
        QCOMPARE(identity(), (std::array<uint8_t, 8>{11, 3, 25, 3, 36, 25, 0, 0}));

        // Progress: set 0, additions summing to 100, set 100.
        QVERIFY(g_messages.size() > 3);
        QCOMPARE(g_messages.front(), (Message{WindowMessage::WMProgress, 0, 0}));
        QCOMPARE(g_messages.back(), (Message{WindowMessage::WMProgress, 100, 0}));
        unsigned sum = 0;
        for (size_t i = 1; i + 1 < g_messages.size(); ++i) {
            QCOMPARE(g_messages[i].msg, unsigned(WindowMessage::WMProgress));
            QCOMPARE(g_messages[i].lParam, intptr_t(1));
            QVERIFY(g_messages[i].wParam > 0);
            sum += unsigned(g_messages[i].wParam);
        }
        QCOMPARE(sum, 100u);

        const auto app = programBuffer(FirmwareKind::Application, 141, 21410);
        QCOMPARE(link->ProgramFirmware(app.data(), 0, 0, 1), 0);
        QVERIFY(!sim->bootLoaderMode());
        QCOMPARE(identity(), (std::array<uint8_t, 8>{11, 36, 25, 141, 0, 0, 0, 0}));
        QCOMPARE(link->ProgramFirmware(app.data(), 0, 0, 1), 0); // the second pass
        QCOMPARE(sim->programmedImages(), 3);
        QCOMPARE(sim->logLines().back(), std::string("ProgramFirmware 21410 0 0 1"));
        int v = 0;
        connect();
        QVERIFY(link->ReadValue(desc(0), &v));
        QCOMPARE(v, 240);
    }

    void badImages_data()
    {
        QTest::addColumn<QByteArray>("buffer");
        auto bytes = [](const std::vector<uint8_t>& b) {
            return QByteArray(reinterpret_cast<const char*>(b.data()), int(b.size()));
        };
        auto good = programBuffer(FirmwareKind::Application, 150, 1000);
        auto badSum = good;
        badSum[500] ^= 1;
        auto badMagic = good;
        badMagic[4] = 'X';
        auto shortLength = good;
        shortLength[0] = 100;
        shortLength[1] = 0;
        QTest::newRow("checksum") << bytes(badSum);
        QTest::newRow("magic") << bytes(badMagic);
        QTest::newRow("length") << bytes(shortLength);
        QTest::newRow("another family") << bytes(programBuffer(FirmwareKind::Application, 150, 1000, 12));
        QTest::newRow("empty") << QByteArray(4, '\0');
        QTest::newRow("huge length") << QByteArray("\xff\xff\xff\x7f", 4);
    }
    void badImages()
    {
        QFETCH(QByteArray, buffer);
        sim->setBootLoaderMode(true);
        QCOMPARE(link->ProgramFirmware(buffer.constData(), 0, 0, 1), 2);
        QCOMPARE(link->GetLastError(), SimError::Refused);
        QVERIFY(g_messages.empty());
        QVERIFY(sim->bootLoaderMode());
        QCOMPARE(sim->programmedImages(), 0);
        QCOMPARE(link->ProgramFirmware(nullptr, 0, 0, 1), 2);
    }

    void injectedFaults()
    {
        connect();
        int v = 0;
        sim->failNext(LinkOp::ReadAtAddress, 2, SimError::NoAnswer);
        QVERIFY(!link->ReadAtAddress(0, 161, &v));
        QCOMPARE(link->GetLastError(), SimError::NoAnswer);
        QVERIFY(!link->ReadAtAddress(0, 161, &v));
        QVERIFY(link->ReadAtAddress(0, 161, &v));
        QCOMPARE(link->GetLastError(), 0);

        sim->flagNext(LinkOp::ReadAtAddress, 1, SimError::NoValue); // succeeds, reports 4
        QVERIFY(link->ReadAtAddress(0, 161, &v));
        QCOMPARE(v, 172);
        QCOMPARE(link->GetLastError(), SimError::NoValue);

        sim->failNext(LinkOp::WriteAtAddress, 1, 6);
        QVERIFY(!link->WriteAtAddress(0, 163, 1));
        QCOMPARE(link->GetLastError(), 6);
        QCOMPARE(sim->readMemory(163), 68);

        uint8_t r[8];
        sim->failNext(LinkOp::ReadIdentity, 1, SimError::NoAnswer);
        QVERIFY(!link->ReadIdentity(r));
        QVERIFY(link->ReadIdentity(r));

        link->DisconnectUnit();
        sim->failNext(LinkOp::ConnectUnit, 1, SimError::NoAnswer);
        QCOMPARE(link->ConnectUnit(), 0);
        QCOMPARE(link->ConnectUnit(), 1);

        const auto app = programBuffer(FirmwareKind::Application, 141, 500);
        sim->failNext(LinkOp::ProgramFirmware, 2, SimError::NoAnswer);
        QCOMPARE(link->ProgramFirmware(app.data(), 0, 0, 1), 1);
        QCOMPARE(link->ProgramFirmware(app.data(), 0, 0, 1), 1);
        QCOMPARE(link->ProgramFirmware(app.data(), 0, 0, 1), 0);

        sim->failNext(LinkOp::ReadPacket, 5, SimError::NoAnswer);
        sim->clearFaults();
        uint8_t data[64];
        int length = 64;
        QVERIFY(link->ReadPacket(desc(0, Packet), data, &length));

        sim->setLastError(8);
        QCOMPARE(link->GetLastError(), 8);
    }

    void logOfOperations()
    {
        connect();
        int v = 0;
        QVERIFY(link->WriteAtAddress(0, 163, 181));
        QVERIFY(link->ReadAtAddress(0, 163, &v));
        QVERIFY(!link->ReadAtAddress(0, 300, &v));
        const int row[5] = {1, 2, 3, 4, 5};
        QVERIFY(link->WriteRow(desc(11, Array, 5), row, 1));
        QVERIFY(link->WriteArray(desc(10, Array, 2), row));
        uint8_t data[64];
        int length = 64;
        QVERIFY(link->ReadPacket(desc(0, Packet, 1), data, &length));
        link->GetLastError(); // queries are not logged by default
        link->IsConnected();
        sim->setLogQueries(true);
        link->GetLastError();
        QCOMPARE(sim->logLines(),
                 (std::vector<std::string>{"WriteAtAddress 0 163 181", "ReadAtAddress 0 163",
                                           "ReadAtAddress 0 300", "WriteRow 20747 1 2 3 4 5 1",
                                           "WriteArray 8458 1 2", "ReadPacket 6144 64", "GetLastError"}));
        const auto log = sim->log();
        QCOMPARE(log[0].op, LinkOp::WriteAtAddress);
        QCOMPARE(log[0].args, (std::vector<long long>{0, 163, 181}));
        QCOMPARE(log[0].result, 1LL);
        QCOMPARE(log[2].result, 0LL);
        QCOMPARE(log[2].flags, SimError::NoValue);
        QCOMPARE(log[6].result, 0LL); // GetLastError's value
        QCOMPARE(RenderLogEntry(log[0]), std::string("WriteAtAddress 0 163 181"));
        sim->clearLog();
        QVERIFY(sim->log().empty());
    }
};

QTEST_GUILESS_MAIN(TestSimUnitLink)
#include "tst_simunitlink.moc"
