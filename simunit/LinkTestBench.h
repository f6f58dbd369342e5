#pragma once

// What tests can do to a link besides the unit itself: injected failures and
// flags per operation, a silent or refusing unit, and the log of operations.
// A link object consults it when it is given one (SimLink does; a serial
// transport would not need one).

#include "simunit/SimUnitControl.h"

#include <deque>
#include <map>
#include <utility>
#include <vector>

class LinkTestBench {
public:
    struct Fault {
        bool fail = true; // false: the operation succeeds but reports the flags
        int flags = 0;
    };

    // Takes one pending fault of op, when there is one.
    bool takeFault(LinkOp op, Fault* fault);
    void addFault(LinkOp op, int count, int flags, bool fail);
    void clearFaults() { m_faults.clear(); }

    // Log: an entry is opened when an operation starts (so entries keep the
    // order of the calls even when a message sink calls back into the library)
    // and closed with its result.
    static bool isQuery(LinkOp op)
    {
        return op == LinkOp::GetPort || op == LinkOp::IsConnected || op == LinkOp::GetLastError;
    }
    long long open(LinkOp op, std::vector<long long> args); // -1 when not logged
    void close(long long ticket, long long result, int flags);
    std::vector<SimLogEntry> entries() const { return {m_log.begin(), m_log.end()}; }
    void clearLog();
    void setLogQueries(bool on) { m_logQueries = on; }

    bool identityUnanswered = false;
    bool connectRefused = false;
    int lastSelectedPort = -1; // last SelectPort of any link object

    void reset();

    static constexpr size_t MaxLogEntries = 20000; // the oldest half is dropped beyond this

private:
    struct Pending {
        int count = 0;
        Fault fault;
    };
    std::map<LinkOp, std::deque<Pending>> m_faults;
    std::deque<SimLogEntry> m_log;
    long long m_dropped = 0; // entries dropped from the front, for tickets
    bool m_logQueries = false;
};
