// The wire protocol's frames (framing, stuffing, CRC, length) and an exchange
// between its two ends in process, with and without a noisy line.

#include "simunit/FactoryMemory.h"
#include "simunit/SimulatedUnit.h"
#include "unit/LineFaults.h"
#include "unit/UnitServer.h"
#include "wire/WireClient.h"
#include "wire/WireFrame.h"
#include "wire/WireProtocol.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

WireFrame frameOf(uint8_t sequence, uint8_t command, const QByteArray& payload)
{
    WireFrame f;
    f.sequence = sequence;
    f.command = command;
    f.payload = payload;
    return f;
}

QList<WireFrame> decodeAll(WireDecoder& decoder, const QByteArray& bytes)
{
    decoder.feed(bytes);
    QList<WireFrame> frames;
    WireFrame f;
    while (decoder.take(&f))
        frames << f;
    return frames;
}

// A line whose other end is a UnitServer in this process, with faults on the
// bytes both ways. What the unit answers is there at once; a lost answer is a
// wait of the client's (short) timeout.
class ServerLine final : public WireLine {
public:
    ServerLine(UnitServer& server, LineFaults& faults) : m_server(server), m_faults(faults) {}

    bool send(const QByteArray& bytes) override
    {
        const int faultsBefore = m_decoder.faults();
        m_decoder.feed(m_faults.apply(bytes));
        if (m_decoder.faults() != faultsBefore) // as tzr582-unit does
            m_pending += m_faults.apply(Wire::EncodeFrame(WireFrame{0, WireCommand::Nak, {}}));
        WireFrame request;
        while (m_decoder.take(&request))
            m_pending += m_faults.apply(Wire::EncodeFrame(m_server.answer(request)));
        return true;
    }
    bool receive(int, QByteArray* bytes) override
    {
        bytes->append(m_pending);
        m_pending.clear();
        return true;
    }

private:
    UnitServer& m_server;
    LineFaults& m_faults;
    WireDecoder m_decoder;
    QByteArray m_pending;
};

WireTiming fastTiming()
{
    WireTiming t;
    t.baud = 10000000; // the timeout is the margin alone
    t.marginMs = 2;
    return t;
}

// A factory-fresh simulated unit served over a ServerLine with the given
// faults, and a client on that line.
struct UnitOnLine {
    UnitOnLine(const QString& dataFolder, LineFaults lineFaults) : faults(lineFaults)
    {
        unit.setDataFolder(dataFolder);
        unit.resetToFactory();
    }
    SimulatedUnit unit;
    LineFaults faults;
    UnitServer server{unit};
    ServerLine line{server, faults};
    WireClient client{line, fastTiming()};
};

} // namespace

class TestWireCodec : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void crcIsTheStandardCrc32();
    void everyCommandRoundTrips_data();
    void everyCommandRoundTrips();
    void frameFoundAgainAfterGarbage();
    void damagedFramesAreRefused_data();
    void damagedFramesAreRefused();
    void payloadReaderRefusesWrongLengths();
    void exchangesWithTheUnit();
    void retriedWriteIsAppliedOnce();
    void noisyLineNeverDeliversAWrongValue();
    void silentUnitIsLost();

private:
    QTemporaryDir m_data;
};

void TestWireCodec::initTestCase()
{
    QVERIFY(m_data.isValid());
}

void TestWireCodec::crcIsTheStandardCrc32()
{
    const QByteArray check("123456789");
    QCOMPARE(Wire::Crc32(reinterpret_cast<const uint8_t*>(check.constData()), size_t(check.size())),
             0xCBF43926u);
}

void TestWireCodec::everyCommandRoundTrips_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QByteArray>("payload");
    const QByteArray awkward = QByteArray::fromHex("7e7d207e5d5e00ff");
    const struct {
        uint8_t command;
        QByteArray payload;
    } rows[] = {
        {WireCommand::Connect, {}},
        {WireCommand::Disconnect, {}},
        {WireCommand::Identity, {}},
        {WireCommand::ReadAddress, WirePayloadWriter().u32(0x200).i32(161).data()},
        {WireCommand::WriteAddress, WirePayloadWriter().u32(0).i32(163).i32(0x7E).data()},
        {WireCommand::ReadBlock, WirePayloadWriter().u16(0).u16(256).data()},
        {WireCommand::ReadValue, WirePayloadWriter().u32(0x0810A).data()},
        {WireCommand::ReadIndexed, WirePayloadWriter().u32(0x0510B).i32(2).data()},
        {WireCommand::ReadMatrixElement, WirePayloadWriter().u32(0x0510B).i32(3).i32(4).data()},
        {WireCommand::WriteArray, WirePayloadWriter().u32(0x0310A).i32(1).i32(0x7D).i32(-3).data()},
        {WireCommand::WriteValue, WirePayloadWriter().u32(1).i32(126).data()},
        {WireCommand::WriteIndexed, WirePayloadWriter().u32(10).i32(7).i32(125).data()},
        {WireCommand::WriteMatrixElement, WirePayloadWriter().u32(11).i32(1).i32(2).i32(3).data()},
        {WireCommand::WriteRow,
         WirePayloadWriter().u32(0x0510B).i32(1).i32(5).i32(6).i32(7).i32(8).i32(9).data()},
        {WireCommand::ReadPacket, WirePayloadWriter().u32(0x800).u8(9).data()},
        {WireCommand::EnterBootLoader, {}},
        {WireCommand::ProgramBegin, WirePayloadWriter().u32(21410).data()},
        {WireCommand::ProgramBlock, WirePayloadWriter().u32(64).bytes(awkward.repeated(4)).data()},
        {WireCommand::ProgramEnd, {}},
    };
    for (const auto& row : rows) {
        QTest::newRow(WireCommand::Name(row.command)) << int(row.command) << row.payload;
        const QByteArray answer = QByteArray(1, '\0') + awkward;
        QTest::newRow(QByteArray("answer to ").append(WireCommand::Name(row.command)).constData())
            << int(WireCommand::ResponseTo(row.command)) << answer;
    }
}

void TestWireCodec::everyCommandRoundTrips()
{
    QFETCH(int, command);
    QFETCH(QByteArray, payload);
    for (const uint8_t sequence : {uint8_t(0), uint8_t(0x7E), uint8_t(0x7D), uint8_t(255)}) {
        const WireFrame frame = frameOf(sequence, uint8_t(command), payload);
        const QByteArray line = Wire::EncodeFrame(frame);
        QCOMPARE(line.count(char(Wire::StartByte)), 1); // only the leading start byte
        WireDecoder decoder;
        const QList<WireFrame> frames = decodeAll(decoder, line);
        QCOMPARE(frames.size(), 1);
        QVERIFY(frames[0] == frame);
        QCOMPARE(decoder.faults(), 0);
    }
}

void TestWireCodec::frameFoundAgainAfterGarbage()
{
    const WireFrame first = frameOf(1, WireCommand::ReadAddress, WirePayloadWriter().u32(0).i32(161).data());
    const WireFrame second = frameOf(2, WireCommand::Identity, {});
    const QByteArray firstLine = Wire::EncodeFrame(first);
    QByteArray stream = QByteArray::fromHex("00ff7d7e7d7e0102"); // noise, with start and escape bytes
    stream += firstLine.left(firstLine.size() - 3);              // a frame cut short
    stream += firstLine + QByteArray::fromHex("5a5a") + Wire::EncodeFrame(second);
    WireDecoder decoder;
    QList<WireFrame> frames;
    for (const char c : std::as_const(stream)) // byte by byte, as a slow line delivers them
        frames += decodeAll(decoder, QByteArray(1, c));
    QCOMPARE(frames.size(), 2);
    QVERIFY(frames[0] == first);
    QVERIFY(frames[1] == second);
    QVERIFY(decoder.faults() >= 1);
}

void TestWireCodec::damagedFramesAreRefused_data()
{
    QTest::addColumn<QByteArray>("damaged");
    const QByteArray good = Wire::EncodeFrame(
        frameOf(9, WireCommand::WriteAddress, WirePayloadWriter().u32(0).i32(170).i32(18).data()));
    for (int i = 1; i < good.size(); ++i) {
        QByteArray flipped = good;
        flipped[i] = char(flipped[i] ^ 0x04);
        if (uint8_t(flipped[i]) == Wire::StartByte || uint8_t(flipped[i]) == Wire::EscapeByte)
            continue;
        QTest::newRow(qPrintable(QStringLiteral("bit flipped in byte %1").arg(i))) << flipped;
    }
    QTest::newRow("byte lost") << good.left(6) + good.mid(7);
    QByteArray tooLong = good;
    tooLong[2] = char(0x7F); // length 0x7F.. above the largest payload
    QTest::newRow("length too large") << tooLong;
    QTest::newRow("cut short") << good.left(good.size() - 1);
}

void TestWireCodec::damagedFramesAreRefused()
{
    QFETCH(QByteArray, damaged);
    const WireFrame next = frameOf(10, WireCommand::Identity, {});
    WireDecoder decoder;
    const QList<WireFrame> frames = decodeAll(decoder, damaged + Wire::EncodeFrame(next));
    QCOMPARE(frames.size(), 1);
    QVERIFY(frames[0] == next);
    QCOMPARE(decoder.faults(), 1);
}

void TestWireCodec::payloadReaderRefusesWrongLengths()
{
    const QByteArray payload = WirePayloadWriter().u32(0xA1B2C3D4).u16(0x7E7D).data();
    WirePayloadReader in(payload);
    uint32_t word = 0;
    QVERIFY(in.u32(&word));
    QCOMPARE(word, 0xA1B2C3D4u);
    uint32_t tooMuch = 0;
    QVERIFY(!in.u32(&tooMuch)); // only two bytes are left
    QVERIFY(!in.atEnd());
    uint16_t half = 0;
    QVERIFY(in.u16(&half));
    QCOMPARE(half, uint16_t(0x7E7D));
    QVERIFY(in.atEnd());
}

void TestWireCodec::exchangesWithTheUnit()
{
    UnitOnLine clean(m_data.path(), LineFaults(0, 0, 1));
    SimulatedUnit& unit = clean.unit;
    WireClient& client = clean.client;
    QByteArray answer;

    auto ask = [&](uint8_t command, const QByteArray& payload, int size) {
        return client.exchange(command, payload, size, size, &answer) == WireClient::Outcome::Answered;
    };
    QVERIFY(ask(WireCommand::Identity, {}, 9));
    QCOMPARE(answer, QByteArray::fromHex("000b24198c00000000"));
    // Memory needs a connection.
    QVERIFY(ask(WireCommand::ReadAddress, WirePayloadWriter().u32(0).i32(161).data(), 5));
    QCOMPARE(answer, QByteArray(1, char(WireStatus::Refused - 1))); // flag 1: not connected
    QVERIFY(ask(WireCommand::Connect, {}, 1));
    QVERIFY(ask(WireCommand::ReadBlock, WirePayloadWriter().u16(0).u16(256).data(), 257));
    QCOMPARE(uint8_t(answer[1 + FactoryMemory::CheckByte]), uint8_t(172));
    QVERIFY(ask(WireCommand::WriteAddress, WirePayloadWriter().u32(0).i32(170).i32(42).data(), 2));
    QCOMPARE(answer, QByteArray::fromHex("0000"));
    QCOMPARE(unit.peek(170), 42);
    // The erase command changes more than the byte written.
    QVERIFY(ask(WireCommand::WriteAddress, WirePayloadWriter().u32(0).i32(161).i32(8).data(), 2));
    QCOMPARE(answer, QByteArray::fromHex("0001"));
    QCOMPARE(unit.peek(170), 18);
    QVERIFY(ask(WireCommand::ReadAddress, WirePayloadWriter().u32(0).i32(300).data(), 5));
    QCOMPARE(answer, QByteArray(1, char(WireStatus::NoValue)));
    QVERIFY(ask(WireCommand::ReadIndexed, WirePayloadWriter().u32(0x0510B).i32(2).data(), 21));
    QCOMPARE(answer.mid(1, 4), WirePayloadWriter().i32(20).data()); // matrix row 2 starts with 20
    QVERIFY(ask(WireCommand::ReadPacket, WirePayloadWriter().u32(0x800).u8(9).data(), 10));
    QVERIFY(ask(WireCommand::EnterBootLoader, {}, 2));
    QCOMPARE(answer, QByteArray::fromHex("0001"));
    QVERIFY(unit.bootLoaderMode());
    QVERIFY(ask(WireCommand::ReadBlock, WirePayloadWriter().u16(0).u16(256).data(), 257));
    QCOMPARE(answer, QByteArray(1, char(WireStatus::Refused)));
    // A payload of the wrong size is refused, not guessed at.
    QVERIFY(ask(WireCommand::WriteAddress, WirePayloadWriter().u32(0).i32(170).data(), 2));
    QCOMPARE(answer, QByteArray(1, char(WireStatus::Refused)));
    QCOMPARE(client.attempts(), client.exchanges());
}

void TestWireCodec::retriedWriteIsAppliedOnce()
{
    SimulatedUnit unit;
    unit.setDataFolder(m_data.path());
    unit.resetToFactory();
    UnitServer server(unit);
    const WireFrame connect = frameOf(1, WireCommand::Connect, {});
    server.answer(connect);
    // Writing the erase command to the check byte, then 55 to byte 170: the
    // repeated erase request (its answer was lost) must not erase byte 170 again.
    const WireFrame erase =
        frameOf(2, WireCommand::WriteAddress, WirePayloadWriter().u32(0).i32(161).i32(8).data());
    const WireFrame first = server.answer(erase);
    const WireFrame again = server.answer(erase);
    QVERIFY(first == again);
    QCOMPARE(server.applied(), 2);
    QCOMPARE(server.repeated(), 1);
    // The same command under a new sequence number is a new request.
    server.answer(frameOf(3, WireCommand::WriteAddress, WirePayloadWriter().u32(0).i32(170).i32(55).data()));
    QCOMPARE(unit.peek(170), 55);
    server.answer(frameOf(3, WireCommand::WriteAddress, WirePayloadWriter().u32(0).i32(170).i32(55).data()));
    QCOMPARE(server.applied(), 3);
}

void TestWireCodec::noisyLineNeverDeliversAWrongValue()
{
    UnitOnLine noisy(m_data.path(), LineFaults(0.01, 0.01, 7));
    SimulatedUnit& unit = noisy.unit;
    WireClient& client = noisy.client;
    const LineFaults& noise = noisy.faults;
    QByteArray answer;
    QCOMPARE(client.exchange(WireCommand::Connect, {}, 1, 1, &answer), WireClient::Outcome::Answered);
    // Each write saves the unit's memory file, so the count stays modest here;
    // tools/wire-figures counts 100 000 exchanges.
    int wrong = 0;
    for (int i = 0; i < 300; ++i) {
        const int address = i % 160;
        const int value = (i * 37) & 0xFF;
        const auto write = WirePayloadWriter().u32(0).i32(address).i32(value).data();
        QCOMPARE(client.exchange(WireCommand::WriteAddress, write, 2, 2, &answer),
                 WireClient::Outcome::Answered);
        const auto read = WirePayloadWriter().u32(0).i32(address).data();
        QCOMPARE(client.exchange(WireCommand::ReadAddress, read, 5, 5, &answer),
                 WireClient::Outcome::Answered);
        int32_t got = -1;
        uint8_t status = 0;
        WirePayloadReader in(answer);
        QVERIFY(in.u8(&status) && in.i32(&got));
        if (got != value || unit.peek(address) != value)
            ++wrong;
    }
    QCOMPARE(wrong, 0);
    QVERIFY(noise.dropped() > 0 && noise.corrupted() > 0);
    QVERIFY(client.attempts() > client.exchanges()); // the noise cost retries
}

void TestWireCodec::silentUnitIsLost()
{
    struct DeadLine final : WireLine {
        int sent = 0;
        bool send(const QByteArray&) override { return ++sent > 0; }
        bool receive(int, QByteArray*) override { return true; }
    } line;
    WireClient client(line, fastTiming());
    QByteArray answer;
    QCOMPARE(client.exchange(WireCommand::Identity, {}, 9, 9, &answer), WireClient::Outcome::Lost);
    QCOMPARE(line.sent, fastTiming().silentTries);
}

QTEST_GUILESS_MAIN(TestWireCodec)
#include "tst_wirecodec.moc"
