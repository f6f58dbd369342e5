#include "wire/WireClient.h"

#include "wire/WireProtocol.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cmath>

namespace {
// Bytes a response frame adds to its payload on the line (start byte, header,
// CRC), with room for some stuffing.
constexpr int FrameOverhead = 1 + Wire::HeaderSize + Wire::CrcSize + 2;
} // namespace

WireClient::WireClient(WireLine& line, WireTiming timing)
    : m_line(line), m_timing(timing), m_sequence(uint8_t(QRandomGenerator::global()->bounded(256)))
{
}

int WireClient::timeoutMs(const QByteArray& request, int maxSize) const
{
    const int bytes = int(request.size()) + maxSize + maxSize / 16 + FrameOverhead;
    return int(std::ceil(bytes * m_timing.byteTimeMs())) + m_timing.marginMs;
}

WireClient::Outcome WireClient::exchange(uint8_t command, const QByteArray& payload, int minSize, int maxSize,
                                         QByteArray* response, int maxTries)
{
    const int allowed = maxTries > 0 && maxTries < m_timing.maxTries ? maxTries : m_timing.maxTries;
    ++m_exchanges;
    ++m_sequence;
    WireFrame frame;
    frame.sequence = m_sequence;
    frame.command = command;
    frame.payload = payload;
    const QByteArray request = Wire::EncodeFrame(frame);
    const uint8_t expected = WireCommand::ResponseTo(command);

    int silent = 0;
    for (int tries = 0; tries < allowed; ++tries) {
        if (silent >= m_timing.silentTries)
            return Outcome::Lost;
        switch (attempt(request, expected, minSize, maxSize, response)) {
        case Attempt::Answered:
            return Outcome::Answered;
        case Attempt::Gone:
            return Outcome::Lost;
        case Attempt::Silent:
            ++silent;
            break;
        case Attempt::Damaged:
            silent = 0; // the unit is there, the line is noisy
            break;
        }
    }
    if (silent >= m_timing.silentTries)
        return Outcome::Lost;
    return allowed < m_timing.maxTries ? Outcome::Unanswered : Outcome::Lost;
}

WireClient::Attempt WireClient::attempt(const QByteArray& request, uint8_t expected, int minSize, int maxSize,
                                        QByteArray* response)
{
    ++m_attempts;
    if (!m_line.send(request))
        return Attempt::Gone;
    const int faultsBefore = m_decoder.faults();
    bool heard = false;
    const int timeout = timeoutMs(request, maxSize);
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        WireFrame frame;
        while (m_decoder.take(&frame)) {
            heard = true;
            if (frame.command == WireCommand::Nak)
                return Attempt::Damaged; // the unit got a damaged frame: ours, most likely
            if (acceptable(frame, expected, minSize, maxSize)) {
                *response = frame.payload;
                return Attempt::Answered;
            }
        }
        // A damaged frame came back: send again at once rather than wait out the timeout.
        if (m_decoder.faults() != faultsBefore)
            return Attempt::Damaged;
        const qint64 left = timeout - clock.elapsed();
        if (left <= 0)
            return heard ? Attempt::Damaged : Attempt::Silent;
        QByteArray bytes;
        if (!m_line.receive(int(left), &bytes))
            return Attempt::Gone;
        if (!bytes.isEmpty()) {
            heard = true;
            m_decoder.feed(bytes);
        }
    }
}

bool WireClient::acceptable(const WireFrame& frame, uint8_t expected, int minSize, int maxSize) const
{
    if (frame.sequence != m_sequence || frame.command != expected || frame.payload.isEmpty())
        return false; // a late answer to an earlier request, or another frame
    const int size = int(frame.payload.size());
    const bool failed = uint8_t(frame.payload[0]) != WireStatus::Done;
    if (failed)
        return size == 1;
    return size >= minSize && size <= maxSize;
}
