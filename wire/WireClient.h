#pragma once

// The requesting end of the wire protocol: sends a request, waits for the
// response with the same sequence number, and retries when the line loses or
// damages either. A retried request keeps its sequence number, so the unit can
// answer it again without applying it twice.

#include "wire/WireFrame.h"

#include <QByteArray>

// The bytes of a line, whatever carries them (a serial port, a test's pipe).
class WireLine {
public:
    virtual ~WireLine() = default;
    // False when the line is gone (the port vanished).
    virtual bool send(const QByteArray& bytes) = 0;
    // Waits at most timeoutMs for bytes and appends those that came; false when the line is gone.
    virtual bool receive(int timeoutMs, QByteArray* bytes) = 0;
};

struct WireTiming {
    int baud = 19200;
    int marginMs = 40; // added to the time the line needs for an exchange's bytes
    // Attempts in a row that get no byte back before the unit counts as gone.
    // A live unit answers every damaged frame with a Nak (a frame cut short as
    // soon as the next one starts), so on a noisy line two silent attempts in
    // a row are already rare; a silent unit is found out in well under a second.
    int silentTries = 6;
    int maxTries = 32; // attempts in all on a noisy line

    // 8N1: ten bit times per byte.
    double byteTimeMs() const { return 10000.0 / baud; }
};

class WireClient {
public:
    // Unanswered: no valid answer within the attempts the caller allowed (the
    // line may be too noisy for frames that long); Lost: the unit is gone.
    enum class Outcome { Answered, Unanswered, Lost };

    // The sequence numbers start at a random value, so that a new requester's
    // first request is never taken for a retry of the previous requester's last.
    WireClient(WireLine& line, WireTiming timing);

    // One exchange. The response payload is accepted only when its size is
    // minSize to maxSize, or when it is the status byte alone reporting a
    // failure; anything else counts as damage and the request is sent again.
    // maxTries limits the attempts below the timing's (0: the timing's).
    Outcome exchange(uint8_t command, const QByteArray& payload, int minSize, int maxSize,
                     QByteArray* response, int maxTries = 0);

    const WireTiming& timing() const { return m_timing; }
    // Time one attempt waits for a response of maxSize payload bytes.
    int timeoutMs(const QByteArray& request, int maxSize) const;

    // Counters for the figures.
    long long exchanges() const { return m_exchanges; }
    long long attempts() const { return m_attempts; }
    const WireDecoder& decoder() const { return m_decoder; }
    // Forgets bytes of a partial frame (a new connection).
    void resetLine() { m_decoder.reset(); }

private:
    enum class Attempt { Answered, Silent, Damaged, Gone };
    Attempt attempt(const QByteArray& request, uint8_t expected, int minSize, int maxSize,
                    QByteArray* response);
    bool acceptable(const WireFrame& frame, uint8_t expected, int minSize, int maxSize) const;

    WireLine& m_line;
    WireTiming m_timing;
    WireDecoder m_decoder;
    uint8_t m_sequence = 0;
    long long m_exchanges = 0;
    long long m_attempts = 0;
};
