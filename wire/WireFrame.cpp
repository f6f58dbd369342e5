#include "wire/WireFrame.h"

#include <zlib.h>

namespace {

void appendStuffed(QByteArray& out, uint8_t byte)
{
    if (byte == Wire::StartByte || byte == Wire::EscapeByte) {
        out.append(char(Wire::EscapeByte));
        out.append(char(byte ^ Wire::EscapeXor));
    } else {
        out.append(char(byte));
    }
}

} // namespace

uint32_t Wire::Crc32(const uint8_t* data, size_t size)
{
    return uint32_t(crc32_z(crc32_z(0, nullptr, 0), data, size));
}

QByteArray Wire::EncodeFrame(const WireFrame& frame)
{
    QByteArray body;
    const int length = int(frame.payload.size());
    body.append(char(length & 0xFF));
    body.append(char((length >> 8) & 0xFF));
    body.append(char(frame.sequence));
    body.append(char(frame.command));
    body.append(frame.payload);
    const uint32_t crc = Crc32(reinterpret_cast<const uint8_t*>(body.constData()), size_t(body.size()));
    for (int shift = 0; shift < 32; shift += 8)
        body.append(char((crc >> shift) & 0xFF));

    QByteArray out;
    out.reserve(body.size() + body.size() / 8 + 2);
    out.append(char(StartByte));
    for (const char c : std::as_const(body))
        appendStuffed(out, uint8_t(c));
    return out;
}

void WireDecoder::feed(const QByteArray& bytes)
{
    for (const char c : bytes)
        feedByte(uint8_t(c));
}

bool WireDecoder::take(WireFrame* frame)
{
    if (m_frames.isEmpty())
        return false;
    *frame = m_frames.takeFirst();
    return true;
}

void WireDecoder::reset()
{
    m_state = State::Hunting;
    m_escaped = false;
    m_body.clear();
    m_expected = 0;
}

void WireDecoder::feedByte(uint8_t byte)
{
    if (byte == Wire::StartByte) {
        // A start byte never occurs inside a body: whatever was being gathered was cut short.
        if (m_state == State::Body && !m_body.isEmpty())
            ++m_faults;
        reset();
        m_state = State::Body;
        return;
    }
    if (m_state == State::Hunting)
        return; // noise between frames
    if (byte == Wire::EscapeByte && !m_escaped) {
        m_escaped = true;
        return;
    }
    if (m_escaped) {
        m_escaped = false;
        byte ^= Wire::EscapeXor;
    }
    bodyByte(byte);
}

void WireDecoder::bodyByte(uint8_t byte)
{
    m_body.append(char(byte));
    if (m_body.size() == 2) {
        const int length = uint8_t(m_body[0]) | uint8_t(m_body[1]) << 8;
        if (length > Wire::MaxPayload) {
            ++m_faults;
            reset(); // hunt for the next start byte
            return;
        }
        m_expected = Wire::HeaderSize + length + Wire::CrcSize;
    }
    if (m_expected > 0 && m_body.size() == m_expected)
        finishBody();
}

void WireDecoder::finishBody()
{
    const auto* data = reinterpret_cast<const uint8_t*>(m_body.constData());
    const int crcAt = m_expected - Wire::CrcSize;
    const uint32_t sent = uint32_t(data[crcAt]) | uint32_t(data[crcAt + 1]) << 8 |
                          uint32_t(data[crcAt + 2]) << 16 | uint32_t(data[crcAt + 3]) << 24;
    if (Wire::Crc32(data, size_t(crcAt)) == sent) {
        WireFrame frame;
        frame.sequence = data[2];
        frame.command = data[3];
        frame.payload = m_body.mid(Wire::HeaderSize, crcAt - Wire::HeaderSize);
        m_frames.append(frame);
    } else {
        ++m_faults;
    }
    reset();
}
