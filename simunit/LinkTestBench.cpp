#include "simunit/LinkTestBench.h"

bool LinkTestBench::takeFault(LinkOp op, Fault* fault)
{
    auto it = m_faults.find(op);
    if (it == m_faults.end() || it->second.empty())
        return false;
    Pending& p = it->second.front();
    *fault = p.fault;
    if (--p.count <= 0)
        it->second.pop_front();
    return true;
}

void LinkTestBench::addFault(LinkOp op, int count, int flags, bool fail)
{
    if (count <= 0)
        return;
    Pending p;
    p.count = count;
    p.fault.fail = fail;
    p.fault.flags = flags;
    m_faults[op].push_back(p);
}

long long LinkTestBench::open(LinkOp op, std::vector<long long> args)
{
    if (isQuery(op) && !m_logQueries)
        return -1;
    if (m_log.size() >= MaxLogEntries) {
        const size_t drop = MaxLogEntries / 2;
        m_log.erase(m_log.begin(), m_log.begin() + long(drop));
        m_dropped += (long long)(drop);
    }
    SimLogEntry entry;
    entry.op = op;
    entry.args = std::move(args);
    m_log.push_back(std::move(entry));
    return m_dropped + (long long)(m_log.size()) - 1;
}

void LinkTestBench::close(long long ticket, long long result, int flags)
{
    if (ticket < m_dropped)
        return;
    const long long i = ticket - m_dropped;
    if (i >= (long long)(m_log.size()))
        return;
    m_log[size_t(i)].result = result;
    m_log[size_t(i)].flags = flags;
}

void LinkTestBench::clearLog()
{
    m_dropped += (long long)(m_log.size());
    m_log.clear();
}

void LinkTestBench::reset()
{
    m_faults.clear();
    clearLog();
    m_logQueries = false;
    identityUnanswered = false;
    connectRefused = false;
}
