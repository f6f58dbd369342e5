#include "seriallink/SerialLink.h"

#include "link/WindowMessage.h"
#include "wire/WireProtocol.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int ValueSize = 4;  // one value on the wire
constexpr int StatusSize = 1; // the status byte leading every response

// The unit family's command datum and the value that hands over to the boot loader.
constexpr uint32_t CommandDatum = 0;
constexpr int EnterBootLoaderValue = 123;

int widthOf(uint32_t desc)
{
    return (desc & LinkDescriptor::TwoByteFlag) ? 2 : 1;
}

} // namespace

SerialLink::SerialLink(QString portPath, WireTiming timing, Emitter emitter)
    : m_path(std::move(portPath)), m_client(m_line, timing), m_emit(std::move(emitter))
{
}

SerialLink::~SerialLink()
{
    m_line.close();
}

// --- the line -------------------------------------------------------------------

bool SerialLink::openLine()
{
    if (m_line.isOpen())
        return true;
    switch (m_line.open(m_path, m_client.timing().baud)) {
    case SerialLine::OpenResult::Opened:
        m_client.resetLine();
        return true;
    case SerialLine::OpenResult::InUse:
        m_lastError = InUseFlag;
        return false;
    case SerialLine::OpenResult::Failed:
        break;
    }
    m_lastError = NoAnswerFlag;
    return false;
}

void SerialLink::closeLine()
{
    m_line.close();
    m_memory.clear();
    if (m_connected) {
        m_connected = false;
        if (m_emit)
            m_emit(WindowMessage::WMLinkState, 0, 0);
    }
}

void SerialLink::lost()
{
    m_lastError = NoAnswerFlag;
    closeLine();
}

bool SerialLink::needConnection()
{
    if (m_connected)
        return true;
    m_lastError = NoAnswerFlag;
    return false;
}

bool SerialLink::request(uint8_t command, const QByteArray& payload, int responseSize, QByteArray* data,
                         int minResponseSize, int maxTries)
{
    m_lastError = 0;
    if (!openLine())
        return false;
    const int maxSize = StatusSize + responseSize;
    const int minSize = StatusSize + (minResponseSize < 0 ? responseSize : minResponseSize);
    QByteArray response;
    switch (m_client.exchange(command, payload, minSize, maxSize, &response, maxTries)) {
    case WireClient::Outcome::Answered:
        break;
    case WireClient::Outcome::Unanswered:
        m_lastError = NoAnswerFlag;
        return false;
    case WireClient::Outcome::Lost:
        lost();
        return false;
    }
    m_lastError = uint8_t(response[0]);
    if (m_lastError != 0)
        return false;
    if (data)
        *data = response.mid(StatusSize);
    return true;
}

// --- port and connection ------------------------------------------------------------

void SerialLink::ClosePort()
{
    m_lastError = 0;
    closeLine();
}

int SerialLink::ConnectUnit()
{
    if (!request(WireCommand::Connect, {}, 0))
        return 0;
    m_memory.clear(); // another program may have changed the unit since
    if (!m_connected) {
        m_connected = true;
        if (m_emit)
            m_emit(WindowMessage::WMLinkState, 0, 1);
    }
    return 1;
}

void SerialLink::DisconnectUnit()
{
    if (m_line.isOpen() && m_connected)
        request(WireCommand::Disconnect, {}, 0);
    m_lastError = 0;
    closeLine(); // the port is free for another program again
}

void SerialLink::ConfigureLink(int mode)
{
    if (mode == LinkConfigure::FreshReads)
        m_memory.clear(); // the next memory read is a block read from the unit
}

// --- identity and firmware --------------------------------------------------------------

bool SerialLink::ReadIdentity(uint8_t record[8])
{
    if (!record) {
        m_lastError = RefusedFlag;
        return false;
    }
    QByteArray identity;
    if (!request(WireCommand::Identity, {}, 8, &identity))
        return false;
    std::copy(identity.begin(), identity.end(), record);
    return true;
}

int SerialLink::ProgramFirmware(const void* image, int, int, int)
{
    const auto* bytes = static_cast<const uint8_t*>(image);
    uint32_t length = 0;
    if (bytes)
        length = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                 uint32_t(bytes[3]) << 24;
    if (!bytes || length == 0 || length > MaxImageSize) {
        m_lastError = RefusedFlag;
        return 2;
    }
    m_memory.clear();
    const int result = programImage(bytes + 4, length);
    m_memory.clear();
    return result;
}

// Sends the image block by block, each acknowledged, and reports progress as
// the blocks go: set 0, additions that sum to 100, set 100 once programmed.
int SerialLink::programImage(const uint8_t* content, uint32_t length)
{
    auto progress = [this](int percent, bool add) {
        if (m_emit)
            m_emit(WindowMessage::WMProgress, uintptr_t(percent), add ? 1 : 0);
    };
    auto failed = [this] { return m_lastError == NoAnswerFlag || m_lastError == InUseFlag ? 1 : 2; };
    if (!request(WireCommand::ProgramBegin, WirePayloadWriter().u32(length).data(), 0))
        return failed();
    progress(0, false);
    int reported = 0;
    for (uint32_t offset = 0; offset < length; offset += WireLimits::ProgramBlockSize) {
        const uint32_t size = std::min<uint32_t>(WireLimits::ProgramBlockSize, length - offset);
        const QByteArray block(reinterpret_cast<const char*>(content + offset), int(size));
        if (!request(WireCommand::ProgramBlock, WirePayloadWriter().u32(offset).bytes(block).data(), 0))
            return failed();
        const int percent = int(uint64_t(offset + size) * 99 / length);
        if (percent > reported)
            progress(percent - reported, true);
        reported = percent;
    }
    QByteArray result;
    if (!request(WireCommand::ProgramEnd, {}, 1, &result))
        return failed();
    if (result[0] != 0) {
        m_lastError = RefusedFlag;
        return 2;
    }
    progress(100 - reported, true);
    progress(100, false);
    return 0;
}

// --- memory by address ----------------------------------------------------------------------

// Reads the whole memory, in one exchange on a clean line; false (and no copy)
// when the unit refuses it, for instance while its boot loader runs.
bool SerialLink::fillMemory()
{
    QByteArray memory;
    while (memory.size() < MemorySize) {
        const int start = int(memory.size());
        const int count = std::min(m_blockSize, MemorySize - start);
        const QByteArray payload = WirePayloadWriter().u16(uint16_t(start)).u16(uint16_t(count)).data();
        QByteArray block;
        const bool shorter = m_blockSize > MinBlock;
        if (request(WireCommand::ReadBlock, payload, count, &block, -1, shorter ? BlockTries : 0)) {
            memory += block;
            continue;
        }
        if (m_lastError != NoAnswerFlag || !m_line.isOpen() || !shorter)
            return false;
        m_blockSize /= 2; // too long for this line: shorter frames get through more often
    }
    m_memory = memory;
    return true;
}

bool SerialLink::ReadAtAddress(uint32_t desc, int address, int* out)
{
    m_lastError = 0;
    if (!needConnection())
        return false;
    if (!out) {
        m_lastError = RefusedFlag;
        return false;
    }
    const int width = widthOf(desc);
    const bool inBlock = address >= 0 && address + width <= MemorySize;
    // A unit without that much memory answers the block with "no value": read the address alone then.
    if (inBlock && m_memory.isEmpty() && !fillMemory() && m_lastError != LinkError::NoValue)
        return false;
    if (inBlock && !m_memory.isEmpty()) {
        int value = 0;
        for (int i = 0; i < width; ++i)
            value |= int(uint8_t(m_memory[address + i])) << (8 * i);
        *out = value;
        m_lastError = 0;
        return true;
    }
    QByteArray data;
    if (!request(WireCommand::ReadAddress, WirePayloadWriter().u32(desc).i32(address).data(), ValueSize,
                 &data))
        return false;
    std::vector<int> values;
    WirePayloadReader(data).values(1, &values);
    *out = values[0];
    return true;
}

bool SerialLink::WriteAtAddress(uint32_t desc, int address, int value)
{
    m_lastError = 0;
    if (!needConnection())
        return false;
    QByteArray effects;
    const QByteArray payload = WirePayloadWriter().u32(desc).i32(address).i32(value).data();
    if (!request(WireCommand::WriteAddress, payload, 1, &effects)) {
        if (m_lastError == NoAnswerFlag)
            m_memory.clear(); // the write may or may not have reached the unit
        return false;
    }
    noteWrite(address, widthOf(desc), value, effects);
    return true;
}

void SerialLink::noteWrite(int address, int width, int value, const QByteArray& effects)
{
    if (m_memory.isEmpty())
        return;
    if (uint8_t(effects[0]) & WireStatus::MemoryReset) {
        m_memory.clear();
        return;
    }
    for (int i = 0; i < width && address + i < m_memory.size(); ++i)
        m_memory[address + i] = char(uint8_t(value >> (8 * i)));
}

// --- data by code --------------------------------------------------------------------------------

bool SerialLink::readValues(uint8_t command, const QByteArray& payload, int count, int* out)
{
    m_lastError = 0;
    if (!needConnection())
        return false;
    if (!out || count < 1 || count > WireLimits::ValuesMax) {
        m_lastError = RefusedFlag;
        return false;
    }
    QByteArray data;
    if (!request(command, payload, count * ValueSize, &data))
        return false;
    std::vector<int> values;
    WirePayloadReader(data).values(count, &values);
    std::copy(values.begin(), values.end(), out);
    return true;
}

bool SerialLink::write(uint8_t command, const QByteArray& payload)
{
    m_lastError = 0;
    if (!needConnection())
        return false;
    QByteArray effects;
    if (!request(command, payload, 1, &effects)) {
        if (m_lastError == NoAnswerFlag)
            m_memory.clear();
        return false;
    }
    if (uint8_t(effects[0]) & WireStatus::MemoryReset)
        m_memory.clear();
    return true;
}

bool SerialLink::ReadValue(uint32_t desc, int* out)
{
    const int count = (desc & LinkDescriptor::ArrayFlag) ? LinkDescriptor::Count(desc) : 1;
    return readValues(WireCommand::ReadValue, WirePayloadWriter().u32(desc).data(), count, out);
}

bool SerialLink::ReadIndexed(uint32_t desc, int* out, int index)
{
    // A row with the array flag or a count above one; otherwise one element.
    const int count = LinkDescriptor::Count(desc);
    const bool row = (desc & LinkDescriptor::ArrayFlag) || count > 1;
    return readValues(WireCommand::ReadIndexed, WirePayloadWriter().u32(desc).i32(index).data(),
                      row ? count : 1, out);
}

bool SerialLink::ReadMatrixElement(uint32_t desc, int* out, int row, int col)
{
    return readValues(WireCommand::ReadMatrixElement, WirePayloadWriter().u32(desc).i32(row).i32(col).data(),
                      1, out);
}

bool SerialLink::WriteArray(uint32_t desc, const int* values)
{
    const int count = LinkDescriptor::Count(desc);
    if (!values || count < 1) {
        m_lastError = m_connected ? RefusedFlag : NoAnswerFlag;
        return false;
    }
    return write(WireCommand::WriteArray, WirePayloadWriter().u32(desc).values(values, count).data());
}

bool SerialLink::WriteValue(uint32_t desc, int value)
{
    if (LinkDescriptor::Code(desc) == CommandDatum && value == EnterBootLoaderValue &&
        !(desc & LinkDescriptor::PacketFlag)) {
        m_memory.clear();
        return write(WireCommand::EnterBootLoader, {});
    }
    return write(WireCommand::WriteValue, WirePayloadWriter().u32(desc).i32(value).data());
}

bool SerialLink::WriteIndexed(uint32_t desc, int index, int value)
{
    return write(WireCommand::WriteIndexed, WirePayloadWriter().u32(desc).i32(index).i32(value).data());
}

bool SerialLink::WriteMatrixElement(uint32_t desc, int row, int col, int value)
{
    return write(WireCommand::WriteMatrixElement,
                 WirePayloadWriter().u32(desc).i32(row).i32(col).i32(value).data());
}

bool SerialLink::WriteRow(uint32_t desc, const int* values, int row)
{
    const int count = LinkDescriptor::Count(desc);
    if (!values || count < 1) {
        m_lastError = m_connected ? RefusedFlag : NoAnswerFlag;
        return false;
    }
    return write(WireCommand::WriteRow, WirePayloadWriter().u32(desc).i32(row).values(values, count).data());
}

// --- live packet ---------------------------------------------------------------------------------------

bool SerialLink::ReadPacket(uint32_t desc, uint8_t* data, int* length)
{
    m_lastError = 0;
    if (!needConnection())
        return false;
    if (!(desc & LinkDescriptor::PacketFlag) || !data || !length || *length < 1) {
        m_lastError = RefusedFlag;
        return false;
    }
    const int capacity = std::min(*length, WireLimits::PacketMax);
    QByteArray packet;
    if (!request(WireCommand::ReadPacket, WirePayloadWriter().u32(desc).u8(uint8_t(capacity)).data(),
                 capacity, &packet, 1))
        return false;
    std::copy(packet.begin(), packet.end(), data);
    *length = int(packet.size());
    return true;
}
