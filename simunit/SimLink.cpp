#include "simunit/SimLink.h"

#include "link/WindowMessage.h"

#include <utility>
#include <vector>

namespace {

int flagOf(SimulatedUnit::Status status)
{
    switch (status) {
    case SimulatedUnit::Status::Ok:
        return 0;
    case SimulatedUnit::Status::NoValue:
        return SimError::NoValue;
    case SimulatedUnit::Status::Refused:
        return SimError::Refused;
    case SimulatedUnit::Status::NotStored:
        return SimError::NotStored;
    }
    return SimError::Refused;
}

int widthOf(uint32_t desc)
{
    return (desc & LinkDescriptor::TwoByteFlag) ? 2 : 1;
}

std::vector<long long> withValues(std::vector<long long> head, const int* values, int count)
{
    if (values)
        for (int i = 0; i < count; ++i)
            head.push_back(values[i]);
    return head;
}

} // namespace

// One exchange with the unit: holds the lock, opens the log entry, clears the
// error flags, applies an injected fault, and closes the entry with the result.
class SimLink::Exchange {
public:
    Exchange(SimLink& link, LinkOp op, std::vector<long long> args)
        : m_lock(link.m_mutex), m_link(link), m_op(op)
    {
        m_ticket = link.m_bench ? link.m_bench->open(op, std::move(args)) : -1;
        link.m_lastError = 0;
    }

    // True when the operation must fail here: an injected failure, or no connection when one is needed.
    bool blocked(bool needsConnection)
    {
        LinkTestBench::Fault fault;
        if (m_link.m_bench && m_link.m_bench->takeFault(m_op, &fault)) {
            if (fault.fail) {
                m_failFlags = fault.flags;
                return true;
            }
            m_extraFlags = fault.flags;
        }
        if (needsConnection && !m_link.m_connected) {
            m_failFlags = SimError::NoAnswer;
            return true;
        }
        return false;
    }

    bool fail() { return fail(m_failFlags); }
    bool fail(int flags)
    {
        finish(0, flags);
        return false;
    }
    bool ok()
    {
        finish(1, m_extraFlags);
        return true;
    }
    // Succeeds when the unit reported no flags, else fails with them.
    bool outcome(int flags) { return flags ? fail(flags) : ok(); }
    int failFlags() const { return m_failFlags; }
    int extraFlags() const { return m_extraFlags; }

    long long finish(long long result, int flags)
    {
        m_link.m_lastError = flags;
        if (m_link.m_bench)
            m_link.m_bench->close(m_ticket, result, flags);
        return result;
    }

private:
    std::lock_guard<std::recursive_mutex> m_lock;
    SimLink& m_link;
    LinkOp m_op;
    long long m_ticket = -1;
    int m_failFlags = 0;
    int m_extraFlags = 0;
};

SimLink::SimLink(SimulatedUnit& unit, std::recursive_mutex& mutex, LinkTestBench* bench, Emitter emitter,
                 UnitLock* unitLock)
    : m_unit(unit), m_mutex(mutex), m_bench(bench), m_emit(std::move(emitter)), m_unitLock(unitLock)
{
}

SimLink::~SimLink()
{
    if (m_connected && m_unitLock)
        m_unitLock->release();
}

void SimLink::linkLost()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_lastError = SimError::NoAnswer;
    disconnect();
}

void SimLink::disconnect()
{
    if (!m_connected)
        return;
    m_connected = false;
    if (m_unitLock)
        m_unitLock->release();
    if (m_emit)
        m_emit(WindowMessage::WMLinkState, 0, 0);
}

int SimLink::query(LinkOp op, int value)
{
    if (m_bench) {
        const long long ticket = m_bench->open(op, {});
        m_bench->close(ticket, value, m_lastError);
    }
    return value;
}

// --- port, connection, modes -------------------------------------------------

int SimLink::GetPort()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return query(LinkOp::GetPort, m_port);
}

int SimLink::IsConnected()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return query(LinkOp::IsConnected, m_connected ? 1 : 0);
}

int SimLink::GetLastError()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return query(LinkOp::GetLastError, m_lastError);
}

void SimLink::PrepareLink(int mode)
{
    Exchange x(*this, LinkOp::PrepareLink, {mode});
    m_prepareMode = mode;
    x.finish(0, 0);
}

void SimLink::SelectPort(int port)
{
    Exchange x(*this, LinkOp::SelectPort, {port});
    m_port = port;
    if (m_bench)
        m_bench->lastSelectedPort = port;
    x.finish(0, 0);
}

void SimLink::ConfigureLink(int mode)
{
    Exchange x(*this, LinkOp::ConfigureLink, {mode});
    m_configureMode = mode;
    x.finish(0, 0);
}

void SimLink::UseStandardMode()
{
    Exchange x(*this, LinkOp::UseStandardMode, {});
    m_alternateMode = false;
    x.finish(0, 0);
}

void SimLink::UseAlternateMode()
{
    Exchange x(*this, LinkOp::UseAlternateMode, {});
    m_alternateMode = true;
    x.finish(0, 0);
}

void SimLink::ClosePort()
{
    Exchange x(*this, LinkOp::ClosePort, {});
    x.finish(0, 0);
    disconnect(); // closing the port ends a connection
}

int SimLink::ConnectUnit()
{
    Exchange x(*this, LinkOp::ConnectUnit, {});
    if (x.blocked(false))
        return int(x.finish(0, x.failFlags()));
    if (m_bench && m_bench->connectRefused)
        return int(x.finish(0, SimError::Refused));
    const bool wasConnected = m_connected;
    if (!wasConnected && m_unitLock) {
        if (!m_unitLock->acquire(UnitLock::PathFor(m_unit.memoryFilePath())))
            return int(x.finish(0, SimError::InUse)); // another program is connected to the unit
        m_unit.reloadMemory();                        // as the last program connected left it
    }
    m_connected = true;
    x.finish(1, x.extraFlags());
    if (!wasConnected && m_emit)
        m_emit(WindowMessage::WMLinkState, 0, 1);
    return 1;
}

void SimLink::DisconnectUnit()
{
    Exchange x(*this, LinkOp::DisconnectUnit, {});
    x.finish(0, 0);
    disconnect();
}

// --- identity and firmware -----------------------------------------------------

bool SimLink::ReadIdentity(uint8_t record[8])
{
    Exchange x(*this, LinkOp::ReadIdentity, {});
    if (x.blocked(false))
        return x.fail();
    if (m_bench && m_bench->identityUnanswered)
        return x.fail(SimError::NoAnswer);
    if (!record)
        return x.fail(SimError::Refused);
    const auto identity = m_unit.currentIdentity();
    std::copy(identity.begin(), identity.end(), record);
    return x.ok();
}

int SimLink::ProgramFirmware(const void* image, int a, int b, int c)
{
    const auto* bytes = static_cast<const uint8_t*>(image);
    uint32_t length = 0;
    if (bytes)
        length = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                 uint32_t(bytes[3]) << 24;
    Exchange x(*this, LinkOp::ProgramFirmware, {bytes ? (long long)(length) : -1LL, a, b, c});
    if (x.blocked(false))
        return int(x.finish(SimError::NoAnswer, x.failFlags()));
    if (m_bench && m_bench->identityUnanswered)
        return int(x.finish(SimError::NoAnswer, SimError::NoAnswer)); // the boot loader is silent too
    if (!bytes || length == 0 || length > MaxImageSize)
        return int(x.finish(SimulatedUnit::ProgramRefused, SimError::Refused));
    auto progress = [this](int percent, bool add) {
        if (m_emit)
            m_emit(WindowMessage::WMProgress, uintptr_t(percent), add ? 1 : 0);
    };
    const int result = m_unit.programFirmware(bytes + 4, length, progress);
    return int(x.finish(result, result == 0 ? x.extraFlags() : SimError::Refused));
}

// --- memory by address ---------------------------------------------------------

bool SimLink::ReadAtAddress(uint32_t desc, int address, int* out)
{
    Exchange x(*this, LinkOp::ReadAtAddress, {desc, address});
    if (x.blocked(true))
        return x.fail();
    if (!out)
        return x.fail(SimError::Refused);
    int value = 0;
    const auto status = m_unit.readMemory(address, widthOf(desc), &value);
    if (status != SimulatedUnit::Status::Ok)
        return x.fail(flagOf(status));
    *out = value;
    return x.ok();
}

bool SimLink::WriteAtAddress(uint32_t desc, int address, int value)
{
    Exchange x(*this, LinkOp::WriteAtAddress, {desc, address, value});
    if (x.blocked(true))
        return x.fail();
    const auto status = m_unit.writeMemory(address, widthOf(desc), value);
    if (status != SimulatedUnit::Status::Ok)
        return x.fail(flagOf(status));
    return x.ok();
}

// --- data by code ----------------------------------------------------------------

// Flags when the descriptor does not name a datum this operation can serve.
int SimLink::resolve(uint32_t desc, SimulatedUnit::DatumShape* shape) const
{
    if (desc & LinkDescriptor::PacketFlag)
        return SimError::Refused; // packets are read with ReadPacket only
    if (!m_unit.datumShape(int(LinkDescriptor::Code(desc)), shape))
        return SimError::NoValue;
    if (widthOf(desc) != shape->width)
        return SimError::Refused; // element width differs from the datum's
    return 0;
}

int SimLink::readElements(int code, int first, int count, int* out)
{
    std::vector<int> values(size_t(count), 0);
    for (int i = 0; i < count; ++i) {
        const auto status = m_unit.readElement(code, first + i, &values[size_t(i)]);
        if (status != SimulatedUnit::Status::Ok)
            return flagOf(status);
    }
    std::copy(values.begin(), values.end(), out);
    return 0;
}

int SimLink::writeElements(int code, int first, int count, const int* values)
{
    SimulatedUnit::DatumShape shape;
    m_unit.datumShape(code, &shape);
    if (first < 0 || first + count > shape.count())
        return SimError::NoValue;
    const int width = shape.width;
    const int lo = -(1 << (8 * width - 1));
    const int hi = (1 << (8 * width)) - 1;
    for (int i = 0; i < count; ++i)
        if (values[i] < lo || values[i] > hi)
            return SimError::Refused; // nothing is written when one value does not fit
    for (int i = 0; i < count; ++i) {
        const auto status = m_unit.writeElement(code, first + i, values[i]);
        if (status != SimulatedUnit::Status::Ok)
            return flagOf(status);
    }
    return 0;
}

bool SimLink::ReadValue(uint32_t desc, int* out)
{
    Exchange x(*this, LinkOp::ReadValue, {desc});
    if (x.blocked(true))
        return x.fail();
    SimulatedUnit::DatumShape shape;
    if (int f = resolve(desc, &shape))
        return x.fail(f);
    // With the array flag: element-count elements from the first; without it: one element.
    const int count = (desc & LinkDescriptor::ArrayFlag) ? LinkDescriptor::Count(desc) : 1;
    if (!out || count < 1 || count > shape.count())
        return x.fail(SimError::Refused);
    return x.outcome(readElements(int(LinkDescriptor::Code(desc)), 0, count, out));
}

bool SimLink::ReadIndexed(uint32_t desc, int* out, int index)
{
    Exchange x(*this, LinkOp::ReadIndexed, {desc, index});
    if (x.blocked(true))
        return x.fail();
    SimulatedUnit::DatumShape shape;
    if (int f = resolve(desc, &shape))
        return x.fail(f);
    if (!out)
        return x.fail(SimError::Refused);
    const int code = int(LinkDescriptor::Code(desc));
    const int count = LinkDescriptor::Count(desc);
    // A row: with the array flag, and also without it when the descriptor
    // counts more than one element (a row vector item reads its row so).
    if ((desc & LinkDescriptor::ArrayFlag) || count > 1) {
        if (count != shape.cols)
            return x.fail(SimError::Refused); // the row width must be the datum's column count
        if (index < 0 || index >= shape.rows)
            return x.fail(SimError::NoValue);
        return x.outcome(readElements(code, index * shape.cols, shape.cols, out));
    }
    // One element by flat index.
    if (index < 0 || index >= shape.count())
        return x.fail(SimError::NoValue);
    return x.outcome(readElements(code, index, 1, out));
}

bool SimLink::ReadMatrixElement(uint32_t desc, int* out, int row, int col)
{
    Exchange x(*this, LinkOp::ReadMatrixElement, {desc, row, col});
    if (x.blocked(true))
        return x.fail();
    SimulatedUnit::DatumShape shape;
    if (int f = resolve(desc, &shape))
        return x.fail(f);
    if (!out)
        return x.fail(SimError::Refused);
    if (row < 0 || row >= shape.rows || col < 0 || col >= shape.cols)
        return x.fail(SimError::NoValue);
    return x.outcome(readElements(int(LinkDescriptor::Code(desc)), row * shape.cols + col, 1, out));
}

bool SimLink::WriteArray(uint32_t desc, const int* values)
{
    const int count = LinkDescriptor::Count(desc);
    Exchange x(*this, LinkOp::WriteArray, withValues({desc}, values, count));
    if (x.blocked(true))
        return x.fail();
    SimulatedUnit::DatumShape shape;
    if (int f = resolve(desc, &shape))
        return x.fail(f);
    // Element-count elements from the first.
    if (!values || count < 1 || count > shape.count())
        return x.fail(SimError::Refused);
    return x.outcome(writeElements(int(LinkDescriptor::Code(desc)), 0, count, values));
}

bool SimLink::WriteValue(uint32_t desc, int value)
{
    Exchange x(*this, LinkOp::WriteValue, {desc, value});
    if (x.blocked(true))
        return x.fail();
    SimulatedUnit::DatumShape shape;
    if (int f = resolve(desc, &shape))
        return x.fail(f);
    // One element, the first, with or without the array flag.
    return x.outcome(writeElements(int(LinkDescriptor::Code(desc)), 0, 1, &value));
}

bool SimLink::WriteIndexed(uint32_t desc, int index, int value)
{
    Exchange x(*this, LinkOp::WriteIndexed, {desc, index, value});
    if (x.blocked(true))
        return x.fail();
    SimulatedUnit::DatumShape shape;
    if (int f = resolve(desc, &shape))
        return x.fail(f);
    // One element by flat index, with or without the array flag.
    return x.outcome(writeElements(int(LinkDescriptor::Code(desc)), index, 1, &value));
}

bool SimLink::WriteMatrixElement(uint32_t desc, int row, int col, int value)
{
    Exchange x(*this, LinkOp::WriteMatrixElement, {desc, row, col, value});
    if (x.blocked(true))
        return x.fail();
    SimulatedUnit::DatumShape shape;
    if (int f = resolve(desc, &shape))
        return x.fail(f);
    if (row < 0 || row >= shape.rows || col < 0 || col >= shape.cols)
        return x.fail(SimError::NoValue);
    return x.outcome(writeElements(int(LinkDescriptor::Code(desc)), row * shape.cols + col, 1, &value));
}

bool SimLink::WriteRow(uint32_t desc, const int* values, int row)
{
    const int count = LinkDescriptor::Count(desc);
    std::vector<long long> args = withValues({desc}, values, count);
    args.push_back(row);
    Exchange x(*this, LinkOp::WriteRow, std::move(args));
    if (x.blocked(true))
        return x.fail();
    SimulatedUnit::DatumShape shape;
    if (int f = resolve(desc, &shape))
        return x.fail(f);
    if (!values || count != shape.cols)
        return x.fail(SimError::Refused); // the row width must be the datum's column count
    if (row < 0 || row >= shape.rows)
        return x.fail(SimError::NoValue);
    return x.outcome(writeElements(int(LinkDescriptor::Code(desc)), row * shape.cols, count, values));
}

// --- live packet ---------------------------------------------------------------------

bool SimLink::ReadPacket(uint32_t desc, uint8_t* data, int* length)
{
    Exchange x(*this, LinkOp::ReadPacket, {desc, length ? *length : -1});
    if (x.blocked(true))
        return x.fail();
    if (!(desc & LinkDescriptor::PacketFlag) || !data || !length)
        return x.fail(SimError::Refused);
    int count = 0;
    const auto status = m_unit.readPacket(int(LinkDescriptor::Code(desc)), data, *length, &count);
    if (status != SimulatedUnit::Status::Ok)
        return x.fail(flagOf(status));
    *length = count;
    return x.ok();
}
