#pragma once

// The unit's end of the wire protocol: answers each request frame from the
// simulated unit, through the same link object the link library uses in
// process (SimLink), so the unit behaves on the wire exactly as it does there.
//
// A request that repeats the previous one (same sequence number, command and
// payload) is a retry of a request whose answer was lost: it gets the same
// answer again and is not applied twice.

#include "simunit/SimLink.h"
#include "simunit/SimulatedUnit.h"
#include "wire/WireFrame.h"

#include <QByteArray>

#include <mutex>
#include <optional>

class WirePayloadReader;

class UnitServer {
public:
    explicit UnitServer(SimulatedUnit& unit);

    WireFrame answer(const WireFrame& request);

    // A memory fault: writes that touch byte address are answered as done but
    // not stored, as by a unit whose memory cell no longer takes a value.
    void ignoreWritesTo(int address) { m_ignoredAddress = address; }

    long long applied() const { return m_applied; }   // requests carried out
    long long repeated() const { return m_repeated; } // retries answered again

private:
    QByteArray serve(uint8_t command, WirePayloadReader& in);
    QByteArray writeMemory(WirePayloadReader& in);
    QByteArray readBlock(WirePayloadReader& in);
    QByteArray readValues(uint8_t command, WirePayloadReader& in);
    QByteArray writeByCode(uint8_t command, WirePayloadReader& in);
    QByteArray readPacket(WirePayloadReader& in);
    QByteArray program(uint8_t command, WirePayloadReader& in);
    QByteArray status(); // the link's flags of the last operation
    QByteArray written(bool memoryReset) const;

    SimulatedUnit& m_unit;
    std::recursive_mutex m_mutex;
    SimLink m_link;
    std::optional<WireFrame> m_lastRequest;
    WireFrame m_lastAnswer;
    QByteArray m_image; // firmware being received
    int m_ignoredAddress = -1;
    long long m_applied = 0;
    long long m_repeated = 0;
};
