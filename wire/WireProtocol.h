#pragma once

// Commands and payload layout of the wire protocol (wire/PROTOCOL.md).
//
// Every exchange is a request from the link library and one response from the
// unit with the same sequence number and the command with bit 7 set. A response
// payload starts with the status byte (the link error flags, 0 = done); what
// follows is described per command in PROTOCOL.md.

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace WireCommand {
constexpr uint8_t Connect = 0x01;
constexpr uint8_t Disconnect = 0x02;
constexpr uint8_t Identity = 0x03;
constexpr uint8_t ReadAddress = 0x10;
constexpr uint8_t WriteAddress = 0x11;
constexpr uint8_t ReadBlock = 0x12;
constexpr uint8_t ReadValue = 0x20;
constexpr uint8_t ReadIndexed = 0x21;
constexpr uint8_t ReadMatrixElement = 0x22;
constexpr uint8_t WriteArray = 0x23;
constexpr uint8_t WriteValue = 0x24;
constexpr uint8_t WriteIndexed = 0x25;
constexpr uint8_t WriteMatrixElement = 0x26;
constexpr uint8_t WriteRow = 0x27;
constexpr uint8_t ReadPacket = 0x30;
constexpr uint8_t EnterBootLoader = 0x40;
constexpr uint8_t ProgramBegin = 0x41;
constexpr uint8_t ProgramBlock = 0x42;
constexpr uint8_t ProgramEnd = 0x43;
// Sent by the unit, unasked, when it dropped a damaged frame: the requester
// sends its request again at once instead of waiting for an answer.
constexpr uint8_t Nak = 0x7F;
constexpr uint8_t ResponseBit = 0x80;

constexpr uint8_t ResponseTo(uint8_t request)
{
    return uint8_t(request | ResponseBit);
}
const char* Name(uint8_t command); // "ReadAddress", or "" for an unknown command
} // namespace WireCommand

namespace WireStatus {
constexpr uint8_t Done = 0;
constexpr uint8_t Refused = 2;
constexpr uint8_t NoValue = 4;
// Second byte of a WriteAddress response: the write changed more of the memory
// than the bytes written (the erase command), so a copy of it is stale.
constexpr uint8_t MemoryReset = 0x01;
} // namespace WireStatus

namespace WireLimits {
constexpr int MemoryBlockMax = 512;  // bytes one ReadBlock may ask for
constexpr int ProgramBlockSize = 32; // image bytes per ProgramBlock
constexpr int PacketMax = 255;       // bytes of a live packet
constexpr int ValuesMax = 255;       // values of one read or write by code (the descriptor's count)
} // namespace WireLimits

// Builds a payload: integers little-endian.
class WirePayloadWriter {
public:
    WirePayloadWriter& u8(uint8_t v);
    WirePayloadWriter& u16(uint16_t v);
    WirePayloadWriter& u32(uint32_t v);
    WirePayloadWriter& i32(int32_t v) { return u32(uint32_t(v)); }
    WirePayloadWriter& bytes(const QByteArray& b);
    WirePayloadWriter& values(const int* values, int count);
    const QByteArray& data() const { return m_data; }

private:
    QByteArray m_data;
};

// Reads a payload; every read past the end fails, and atEnd() tells whether
// nothing is left over, so that a payload of the wrong length is refused.
class WirePayloadReader {
public:
    explicit WirePayloadReader(const QByteArray& data) : m_data(data) {}
    bool u8(uint8_t* v);
    bool u16(uint16_t* v);
    bool u32(uint32_t* v);
    bool i32(int32_t* v);
    bool bytes(int count, QByteArray* out);
    bool values(int count, std::vector<int>* out);
    int remaining() const { return int(m_data.size()) - m_pos; }
    bool atEnd() const { return remaining() == 0; }

private:
    const QByteArray& m_data;
    int m_pos = 0;
};
