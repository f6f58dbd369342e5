#include "unit/UnitServer.h"

#include "wire/WireProtocol.h"

#include <array>
#include <vector>

namespace {

constexpr int MemorySize = 256;
constexpr uint32_t MaxImageSize = 16u * 1024u * 1024u;

QByteArray statusOnly(uint8_t status)
{
    return QByteArray(1, char(status));
}

std::array<int, MemorySize> snapshot(SimulatedUnit& unit)
{
    std::array<int, MemorySize> bytes{};
    for (int a = 0; a < MemorySize; ++a)
        bytes[size_t(a)] = unit.peek(a);
    return bytes;
}

// Values a read by code answers with, as the link library counts them.
int valueCount(uint8_t command, uint32_t desc)
{
    const int count = LinkDescriptor::Count(desc);
    const bool array = desc & LinkDescriptor::ArrayFlag;
    switch (command) {
    case WireCommand::ReadValue:
        return array ? count : 1;
    case WireCommand::ReadIndexed:
        return array || count > 1 ? count : 1;
    default:
        return 1;
    }
}

} // namespace

UnitServer::UnitServer(SimulatedUnit& unit) : m_unit(unit), m_link(unit, m_mutex, nullptr, nullptr) {}

WireFrame UnitServer::answer(const WireFrame& request)
{
    if (m_lastRequest && *m_lastRequest == request) {
        ++m_repeated;
        return m_lastAnswer;
    }
    WirePayloadReader in(request.payload);
    WireFrame response;
    response.sequence = request.sequence;
    response.command = WireCommand::ResponseTo(request.command);
    response.payload = serve(request.command, in);
    ++m_applied;
    m_lastRequest = request;
    m_lastAnswer = response;
    return response;
}

QByteArray UnitServer::status()
{
    return statusOnly(uint8_t(m_link.GetLastError()));
}

QByteArray UnitServer::written(bool memoryReset) const
{
    QByteArray out = statusOnly(WireStatus::Done);
    out.append(char(memoryReset ? WireStatus::MemoryReset : 0));
    return out;
}

QByteArray UnitServer::serve(uint8_t command, WirePayloadReader& in)
{
    uint32_t desc = 0;
    int32_t a = 0;
    switch (command) {
    case WireCommand::Connect:
        if (!in.atEnd())
            break;
        return m_link.ConnectUnit() ? statusOnly(WireStatus::Done) : status();
    case WireCommand::Disconnect:
        if (!in.atEnd())
            break;
        m_link.DisconnectUnit();
        return statusOnly(WireStatus::Done);
    case WireCommand::Identity: {
        std::array<uint8_t, 8> record{};
        if (!in.atEnd() || !m_link.ReadIdentity(record.data()))
            return in.atEnd() ? status() : statusOnly(WireStatus::Refused);
        return statusOnly(WireStatus::Done) + QByteArray(reinterpret_cast<const char*>(record.data()), 8);
    }
    case WireCommand::ReadAddress: {
        int value = 0;
        if (!in.u32(&desc) || !in.i32(&a) || !in.atEnd())
            break;
        if (!m_link.ReadAtAddress(desc, a, &value))
            return status();
        return WirePayloadWriter().u8(WireStatus::Done).i32(value).data();
    }
    case WireCommand::WriteAddress:
        return writeMemory(in);
    case WireCommand::ReadBlock:
        return readBlock(in);
    case WireCommand::ReadValue:
    case WireCommand::ReadIndexed:
    case WireCommand::ReadMatrixElement:
        return readValues(command, in);
    case WireCommand::WriteArray:
    case WireCommand::WriteValue:
    case WireCommand::WriteIndexed:
    case WireCommand::WriteMatrixElement:
    case WireCommand::WriteRow:
    case WireCommand::EnterBootLoader:
        return writeByCode(command, in);
    case WireCommand::ReadPacket:
        return readPacket(in);
    case WireCommand::ProgramBegin:
    case WireCommand::ProgramBlock:
    case WireCommand::ProgramEnd:
        return program(command, in);
    default:
        break;
    }
    return statusOnly(WireStatus::Refused); // unknown command or a payload of the wrong size
}

QByteArray UnitServer::writeMemory(WirePayloadReader& in)
{
    uint32_t desc = 0;
    int32_t address = 0, value = 0;
    if (!in.u32(&desc) || !in.i32(&address) || !in.i32(&value) || !in.atEnd())
        return statusOnly(WireStatus::Refused);
    const int width = (desc & LinkDescriptor::TwoByteFlag) ? 2 : 1;
    if (m_ignoredAddress >= address && m_ignoredAddress < address + width)
        return written(false); // "done", and nothing changed
    std::array<int, MemorySize> expected = snapshot(m_unit);
    if (!m_link.WriteAtAddress(desc, address, value))
        return status();
    // The copy the other end keeps is right unless more changed than the bytes written (the erase command).
    for (int i = 0; i < width && address + i < MemorySize; ++i)
        expected[size_t(address) + size_t(i)] = uint8_t(value >> (8 * i));
    return written(snapshot(m_unit) != expected);
}

QByteArray UnitServer::readBlock(WirePayloadReader& in)
{
    uint16_t start = 0, count = 0;
    if (!in.u16(&start) || !in.u16(&count) || !in.atEnd() || count == 0 || count > WireLimits::MemoryBlockMax)
        return statusOnly(WireStatus::Refused);
    QByteArray bytes;
    for (int a = start; a < start + count; ++a) {
        int value = 0;
        if (!m_link.ReadAtAddress(0, a, &value))
            return status();
        bytes.append(char(value));
    }
    return statusOnly(WireStatus::Done) + bytes;
}

QByteArray UnitServer::readValues(uint8_t command, WirePayloadReader& in)
{
    uint32_t desc = 0;
    int32_t first = 0, second = 0;
    bool parsed = in.u32(&desc);
    if (command != WireCommand::ReadValue)
        parsed = parsed && in.i32(&first);
    if (command == WireCommand::ReadMatrixElement)
        parsed = parsed && in.i32(&second);
    const int count = valueCount(command, desc);
    if (!parsed || !in.atEnd() || count < 1)
        return statusOnly(WireStatus::Refused);
    std::vector<int> values(size_t(count), 0);
    bool ok = false;
    if (command == WireCommand::ReadValue)
        ok = m_link.ReadValue(desc, values.data());
    else if (command == WireCommand::ReadIndexed)
        ok = m_link.ReadIndexed(desc, values.data(), first);
    else
        ok = m_link.ReadMatrixElement(desc, values.data(), first, second);
    if (!ok)
        return status();
    return WirePayloadWriter().u8(WireStatus::Done).values(values.data(), count).data();
}

QByteArray UnitServer::writeByCode(uint8_t command, WirePayloadReader& in)
{
    uint32_t desc = 0;
    int32_t a = 0, b = 0, value = 0;
    std::vector<int> values;
    const bool bootBefore = m_unit.bootLoaderMode();
    bool parsed = command == WireCommand::EnterBootLoader || in.u32(&desc);
    const int count = LinkDescriptor::Count(desc);
    bool ok = false;
    switch (command) {
    case WireCommand::WriteArray:
        parsed = parsed && in.values(count, &values) && in.atEnd();
        ok = parsed && m_link.WriteArray(desc, values.data());
        break;
    case WireCommand::WriteValue:
        parsed = parsed && in.i32(&value) && in.atEnd();
        ok = parsed && m_link.WriteValue(desc, value);
        break;
    case WireCommand::WriteIndexed:
        parsed = parsed && in.i32(&a) && in.i32(&value) && in.atEnd();
        ok = parsed && m_link.WriteIndexed(desc, a, value);
        break;
    case WireCommand::WriteMatrixElement:
        parsed = parsed && in.i32(&a) && in.i32(&b) && in.i32(&value) && in.atEnd();
        ok = parsed && m_link.WriteMatrixElement(desc, a, b, value);
        break;
    case WireCommand::WriteRow:
        parsed = parsed && in.i32(&a) && in.values(count, &values) && in.atEnd();
        ok = parsed && m_link.WriteRow(desc, values.data(), a);
        break;
    case WireCommand::EnterBootLoader:
        parsed = in.atEnd();
        ok = parsed && m_link.WriteValue(SimulatedUnit::CommandCode, SimulatedUnit::EnterBootLoader);
        break;
    default:
        break;
    }
    if (!parsed)
        return statusOnly(WireStatus::Refused);
    if (!ok)
        return status();
    return written(m_unit.bootLoaderMode() != bootBefore);
}

QByteArray UnitServer::readPacket(WirePayloadReader& in)
{
    uint32_t desc = 0;
    uint8_t capacity = 0;
    if (!in.u32(&desc) || !in.u8(&capacity) || !in.atEnd())
        return statusOnly(WireStatus::Refused);
    std::array<uint8_t, WireLimits::PacketMax> packet{};
    int length = capacity;
    if (!m_link.ReadPacket(desc, packet.data(), &length))
        return status();
    return statusOnly(WireStatus::Done) + QByteArray(reinterpret_cast<const char*>(packet.data()), length);
}

QByteArray UnitServer::program(uint8_t command, WirePayloadReader& in)
{
    uint32_t value = 0;
    if (command == WireCommand::ProgramBegin) {
        if (!in.u32(&value) || !in.atEnd() || value == 0 || value > MaxImageSize)
            return statusOnly(WireStatus::Refused);
        m_image = QByteArray(int(value), '\0');
        return statusOnly(WireStatus::Done);
    }
    if (command == WireCommand::ProgramBlock) {
        QByteArray block;
        if (!in.u32(&value) || !in.bytes(in.remaining(), &block) || block.isEmpty() ||
            qint64(value) + block.size() > m_image.size())
            return statusOnly(WireStatus::Refused);
        m_image.replace(int(value), int(block.size()), block);
        return statusOnly(WireStatus::Done);
    }
    if (!in.atEnd() || m_image.isEmpty())
        return statusOnly(WireStatus::Refused);
    // The plain buffer the link contract programs: the length word, then the image.
    QByteArray buffer = WirePayloadWriter().u32(uint32_t(m_image.size())).data() + m_image;
    const int result = m_link.ProgramFirmware(buffer.constData(), 0, 0, 1);
    m_image.clear();
    return WirePayloadWriter().u8(WireStatus::Done).u8(uint8_t(result)).data();
}
