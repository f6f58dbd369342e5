#pragma once

// Frames of the wire protocol between the link library and a unit (wire/PROTOCOL.md).
//
// On the line a frame is the start byte 0x7E followed by its body, byte-stuffed
// so that 0x7E never appears inside a body: the body is the payload length (two
// bytes, little-endian), the sequence number, the command, the payload and the
// CRC-32 of everything before it (four bytes, little-endian).

#include <QByteArray>
#include <QList>

#include <cstdint>

struct WireFrame {
    uint8_t sequence = 0;
    uint8_t command = 0;
    QByteArray payload;

    bool operator==(const WireFrame& other) const
    {
        return sequence == other.sequence && command == other.command && payload == other.payload;
    }
};

namespace Wire {
constexpr uint8_t StartByte = 0x7E;
constexpr uint8_t EscapeByte = 0x7D;
constexpr uint8_t EscapeXor = 0x20;
constexpr int MaxPayload = 1024; // a longer declared length is a length fault
constexpr int HeaderSize = 4;    // length (2), sequence, command
constexpr int CrcSize = 4;

// CRC-32 as IEEE 802.3 and zlib have it (reflected polynomial 0xEDB88320,
// initial and final value 0xFFFFFFFF). A CRC-16 let about one damaged frame in
// 65 000 through, which a noisy line reaches within a day's exchanges.
uint32_t Crc32(const uint8_t* data, size_t size);

// The frame as sent on the line: start byte and stuffed body.
QByteArray EncodeFrame(const WireFrame& frame);

// Bytes the frame takes on the line (with its stuffing).
inline int LineSize(const WireFrame& frame)
{
    return int(EncodeFrame(frame).size());
}
} // namespace Wire

// Finds frames in a stream of bytes that may be cut, corrupted or interleaved
// with noise. A start byte always begins a new frame, so after any damage the
// next intact frame is found again; a body whose declared length is too long or
// whose CRC does not match is refused and counted.
class WireDecoder {
public:
    // Feeds received bytes; complete frames are queued for take().
    void feed(const QByteArray& bytes);
    bool take(WireFrame* frame);

    // Frames refused so far (CRC, length, cut short).
    int faults() const { return m_faults; }
    // Forgets a partial frame (the line was reset).
    void reset();

private:
    void feedByte(uint8_t byte);
    void bodyByte(uint8_t byte);
    void finishBody();

    enum class State { Hunting, Body };
    State m_state = State::Hunting;
    bool m_escaped = false;
    QByteArray m_body;
    int m_expected = 0; // body size once the length is known
    QList<WireFrame> m_frames;
    int m_faults = 0;
};
