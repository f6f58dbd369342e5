#pragma once

// The process-wide home of the simulated unit: the unit, the test bench, the
// link objects handed out, the program's message sink and the lock that
// serialises them. It is the test-control object as well.

#include "link/LinkInstance.h"
#include "simunit/LinkTestBench.h"
#include "simunit/PortLink.h"
#include "simunit/SimLink.h"
#include "simunit/SimUnitControl.h"
#include "simunit/SimulatedUnit.h"

#include <mutex>
#include <vector>

class SimUnitHost final : public SimUnitControl {
public:
    static SimUnitHost& instance();
    static bool alive(); // false once the instance has been destroyed (library unload, exit)

    // A link object: the simulated unit, or the configured serial port (PortLink).
    LinkInstance* createLink();
    bool destroyLink(LinkInstance* link); // false when the object is not one of ours
    void setMessageSink(TLinkMessageSink sink, void* context);
    // The port the program configured (empty path: the simulated unit), taken at the next SelectPort(4).
    void setLinkPort(const QString& path, int baud);
    LinkPortSetting linkPort() const;

    // SimUnitControl
    void setIdentity(const uint8_t record[8]) override;
    void identity(uint8_t record[8]) const override;
    void setFirmwareVersion(int version) override;
    bool bootLoaderMode() const override;
    void setBootLoaderMode(bool on) override;
    int bootLoaderVersion() const override;
    void setIdentityUnanswered(bool on) override;
    void setConnectRefused(bool on) override;
    void failNext(LinkOp op, int count, int flags) override;
    void flagNext(LinkOp op, int count, int flags) override;
    void clearFaults() override;
    void setLastError(int flags) override;
    bool isConnected() const override;
    void dropLink() override;
    int selectedPort() const override;
    int readMemory(int address) const override;
    bool writeMemory(int address, int value) override;
    int factoryByte(int address) const override;
    void resetToFactory() override;
    void setDataFolder(const std::string& folder) override;
    std::string dataFolder() const override;
    std::string memoryFilePath() const override;
    int datumElement(int code, int flatIndex) const override;
    bool setDatumElement(int code, int flatIndex, int value) override;
    void pinClock(long long modelMs) override;
    void unpinClock() override;
    long long modelTimeMs() const override;
    void pinPacket(const uint8_t bytes[9]) override;
    void unpinPacket() override;
    void livePacket(uint8_t bytes[9]) const override;
    SimEngineState engineState() const override;
    void setEngineBehaviour(int behaviour) override;
    int engineBehaviour() const override;
    void setProgrammingTime(int ms) override;
    int programmedImages() const override;
    std::vector<SimLogEntry> log() const override;
    std::vector<std::string> logLines() const override;
    void clearLog() override;
    void setLogQueries(bool on) override;
    void resetSimulation() override;

private:
    SimUnitHost();
    ~SimUnitHost();
    void postMessage(unsigned int msg, uintptr_t wParam, intptr_t lParam);

    mutable std::recursive_mutex m_mutex;
    // mutable: reads through the control may load the memory file on first use.
    mutable SimulatedUnit m_unit;
    LinkTestBench m_bench;
    UnitLock m_unitLock;
    std::vector<SimLink*> m_links;
    std::vector<PortLink*> m_portLinks; // each wraps the SimLink of the same index
    LinkPortSetting m_linkPort;
    TLinkMessageSink m_sink = nullptr;
    void* m_sinkContext = nullptr;
};
