#include "simunit/SimUnitHost.h"

#include "simunit/FactoryMemory.h"

#include <algorithm>

namespace {
bool g_hostAlive = false;
}

SimUnitHost& SimUnitHost::instance()
{
    static SimUnitHost host;
    return host;
}

bool SimUnitHost::alive()
{
    return g_hostAlive;
}

SimUnitHost::SimUnitHost()
{
    g_hostAlive = true;
}

SimUnitHost::~SimUnitHost()
{
    g_hostAlive = false;
    // Link objects the program did not destroy are released with the unit they talk to.
    for (PortLink* link : m_portLinks)
        delete link;
    for (SimLink* link : m_links)
        delete link;
    m_portLinks.clear();
    m_links.clear();
}

LinkInstance* SimUnitHost::createLink()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    auto emitter = [this](unsigned int msg, uintptr_t w, intptr_t l) { postMessage(msg, w, l); };
    auto* sim = new SimLink(m_unit, m_mutex, &m_bench, emitter, &m_unitLock);
    auto* link = new PortLink(
        *sim, [this] { return linkPort(); }, emitter);
    m_links.push_back(sim);
    m_portLinks.push_back(link);
    return link;
}

bool SimUnitHost::destroyLink(LinkInstance* link)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    auto it = std::find(m_portLinks.begin(), m_portLinks.end(), link);
    if (it == m_portLinks.end())
        return false;
    const auto index = it - m_portLinks.begin();
    delete *it;
    delete m_links[size_t(index)];
    m_portLinks.erase(it);
    m_links.erase(m_links.begin() + index);
    return true;
}

void SimUnitHost::setLinkPort(const QString& path, int baud)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_linkPort = {path, baud};
}

LinkPortSetting SimUnitHost::linkPort() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_linkPort;
}

void SimUnitHost::setMessageSink(TLinkMessageSink sink, void* context)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_sink = sink;
    m_sinkContext = context;
}

void SimUnitHost::postMessage(unsigned int msg, uintptr_t wParam, intptr_t lParam)
{
    if (m_sink)
        m_sink(m_sinkContext, msg, wParam, lParam);
}

// --- identity ---------------------------------------------------------------------

void SimUnitHost::setIdentity(const uint8_t record[8])
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_unit.setApplicationIdentity(record);
}

void SimUnitHost::identity(uint8_t record[8]) const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    const auto r = m_unit.currentIdentity();
    std::copy(r.begin(), r.end(), record);
}

void SimUnitHost::setFirmwareVersion(int version)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_unit.setFirmwareVersion(version);
}

bool SimUnitHost::bootLoaderMode() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_unit.bootLoaderMode();
}

void SimUnitHost::setBootLoaderMode(bool on)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_unit.setBootLoaderMode(on);
}

int SimUnitHost::bootLoaderVersion() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_unit.bootLoaderVersion();
}

void SimUnitHost::setIdentityUnanswered(bool on)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_bench.identityUnanswered = on;
}

void SimUnitHost::setConnectRefused(bool on)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_bench.connectRefused = on;
}

// --- faults and link ---------------------------------------------------------------

void SimUnitHost::failNext(LinkOp op, int count, int flags)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_bench.addFault(op, count, flags, true);
}

void SimUnitHost::flagNext(LinkOp op, int count, int flags)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_bench.addFault(op, count, flags, false);
}

void SimUnitHost::clearFaults()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_bench.clearFaults();
}

void SimUnitHost::setLastError(int flags)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    for (SimLink* link : m_links)
        link->setLastErrorFlags(flags);
}

bool SimUnitHost::isConnected() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return std::any_of(m_links.begin(), m_links.end(), [](const SimLink* l) { return l->connected(); });
}

void SimUnitHost::dropLink()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    const std::vector<SimLink*> links = m_links; // a sink may create or destroy link objects
    for (SimLink* link : links)
        if (std::find(m_links.begin(), m_links.end(), link) != m_links.end())
            link->linkLost();
}

int SimUnitHost::selectedPort() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_bench.lastSelectedPort;
}

// --- memory ----------------------------------------------------------------------------

int SimUnitHost::readMemory(int address) const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_unit.peek(address);
}

bool SimUnitHost::writeMemory(int address, int value)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_unit.poke(address, value);
}

int SimUnitHost::factoryByte(int address) const
{
    if (address < 0 || address >= FactoryMemory::Size)
        return -1;
    return FactoryMemory::bytes()[size_t(address)];
}

void SimUnitHost::resetToFactory()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_unit.resetToFactory();
}

void SimUnitHost::setDataFolder(const std::string& folder)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_unit.setDataFolder(QString::fromStdString(folder));
}

std::string SimUnitHost::dataFolder() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_unit.dataFolder().toStdString();
}

std::string SimUnitHost::memoryFilePath() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_unit.memoryFilePath().toStdString();
}

// --- data by code ------------------------------------------------------------------------

int SimUnitHost::datumElement(int code, int flatIndex) const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_unit.peekElement(code, flatIndex);
}

bool SimUnitHost::setDatumElement(int code, int flatIndex, int value)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_unit.pokeElement(code, flatIndex, value);
}

// --- engine -------------------------------------------------------------------------------

void SimUnitHost::pinClock(long long modelMs)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_unit.pinClock(modelMs);
}

void SimUnitHost::unpinClock()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_unit.unpinClock();
}

long long SimUnitHost::modelTimeMs() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_unit.modelTimeMs();
}

void SimUnitHost::pinPacket(const uint8_t bytes[9])
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_unit.pinPacket(bytes);
}

void SimUnitHost::unpinPacket()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_unit.unpinPacket();
}

void SimUnitHost::livePacket(uint8_t bytes[9]) const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    const auto packet = m_unit.livePacket();
    std::copy(packet.begin(), packet.end(), bytes);
}

SimEngineState SimUnitHost::engineState() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    const EngineSample s = m_unit.engineSample();
    SimEngineState state;
    state.phase = int(s.phase);
    state.rpm = s.rpm;
    state.temperatureC = s.temperatureC;
    state.lambdaVolts = s.lambdaVolts;
    state.tpsOpening = s.tpsOpening;
    return state;
}

void SimUnitHost::setEngineBehaviour(int behaviour)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (behaviour >= int(EngineBehaviour::Healthy) && behaviour <= int(EngineBehaviour::FarDefault))
        m_unit.setEngineBehaviour(EngineBehaviour(behaviour));
}

int SimUnitHost::engineBehaviour() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return int(m_unit.engineBehaviour());
}

// --- programming and log --------------------------------------------------------------------

void SimUnitHost::setProgrammingTime(int ms)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_unit.setProgrammingTime(ms);
}

int SimUnitHost::programmedImages() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_unit.programmedImages();
}

std::vector<SimLogEntry> SimUnitHost::log() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_bench.entries();
}

std::vector<std::string> SimUnitHost::logLines() const
{
    std::vector<std::string> lines;
    for (const SimLogEntry& e : log())
        lines.push_back(RenderLogEntry(e));
    return lines;
}

void SimUnitHost::clearLog()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_bench.clearLog();
}

void SimUnitHost::setLogQueries(bool on)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_bench.setLogQueries(on);
}

void SimUnitHost::resetSimulation()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_unit.resetState();
    m_bench.reset();
    for (SimLink* link : m_links)
        link->setLastErrorFlags(0);
}
