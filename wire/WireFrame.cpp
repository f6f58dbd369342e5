#include "wire/WireFrame.h"

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

uint16_t Wire::Crc16(const uint8_t* data, size_t size)
{
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= uint16_t(data[i]) << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? uint16_t((crc << 1) ^ 0x1021) : uint16_t(crc << 1);
    }
    return crc;
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
    const uint16_t crc = Crc16(reinterpret_cast<const uint8_t*>(body.constData()), size_t(body.size()));
    body.append(char(crc & 0xFF));
    body.append(char(crc >> 8));

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
    const uint16_t sent = uint16_t(data[crcAt] | data[crcAt + 1] << 8);
    if (Wire::Crc16(data, size_t(crcAt)) == sent) {
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
