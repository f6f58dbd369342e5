#pragma once

// The link contract (link/LinkInstance.h) served over a SimulatedUnit.
//
// SimLink decodes the item descriptors, keeps the link state (selected port,
// connection, modes, error flags of the last exchange), reports link-state and
// progress messages through the emitter it is given, and consults an optional
// LinkTestBench for injected faults and the log. The unit's behaviour itself
// lives in SimulatedUnit.

#include "link/LinkInstance.h"
#include "simunit/LinkTestBench.h"
#include "simunit/SimulatedUnit.h"
#include "simunit/UnitLock.h"

#include <functional>
#include <mutex>
#include <utility>

class SimLink final : public LinkInstance {
public:
    using Emitter = std::function<void(unsigned int msg, uintptr_t wParam, intptr_t lParam)>;

    // unit, mutex and unitLock must outlive the link; bench and unitLock may be
    // null. With a lock, a connection holds it (one program at a time) and
    // starts from the memory file as the last holder left it.
    SimLink(SimulatedUnit& unit, std::recursive_mutex& mutex, LinkTestBench* bench, Emitter emitter,
            UnitLock* unitLock = nullptr);
    ~SimLink();

    // The unit stopped answering: a connected link reports 0x8190 with lParam 0.
    void linkLost();
    bool connected() const { return m_connected; }
    int selectedPort() const { return m_port; }
    void setLastErrorFlags(int flags) { m_lastError = flags; }

    // LinkInstance
    int GetPort() override;
    void PrepareLink(int mode) override;
    void SelectPort(int port) override;
    void ClosePort() override;
    int IsConnected() override;
    int ConnectUnit() override;
    void DisconnectUnit() override;
    int GetLastError() override;
    void UseStandardMode() override;
    void UseAlternateMode() override;
    bool ReadValue(uint32_t desc, int* out) override;
    bool ReadIndexed(uint32_t desc, int* out, int index) override;
    bool ReadPacket(uint32_t desc, uint8_t* data, int* length) override;
    bool WriteArray(uint32_t desc, const int* values) override;
    bool WriteValue(uint32_t desc, int value) override;
    bool WriteIndexed(uint32_t desc, int index, int value) override;
    bool WriteMatrixElement(uint32_t desc, int row, int col, int value) override;
    bool WriteRow(uint32_t desc, const int* values, int row) override;
    int ProgramFirmware(const void* image, int a, int b, int c) override;
    bool ReadIdentity(uint8_t record[8]) override;
    void ConfigureLink(int mode) override;
    bool WriteAtAddress(uint32_t desc, int address, int value) override;
    bool ReadMatrixElement(uint32_t desc, int* out, int row, int col) override;
    bool ReadAtAddress(uint32_t desc, int address, int* out) override;

    // Largest content ProgramFirmware accepts.
    static constexpr uint32_t MaxImageSize = 16u * 1024u * 1024u;

private:
    class Exchange;

    int query(LinkOp op, int value);
    void disconnect();
    int resolve(uint32_t desc, SimulatedUnit::DatumShape* shape) const;
    int readElements(int code, int first, int count, int* out);
    int writeElements(int code, int first, int count, const int* values);

    SimulatedUnit& m_unit;
    std::recursive_mutex& m_mutex;
    LinkTestBench* m_bench;
    Emitter m_emit;
    UnitLock* m_unitLock;

    int m_port = 0;
    bool m_connected = false;
    bool m_alternateMode = false;
    int m_prepareMode = 0;
    int m_configureMode = 0;
    int m_lastError = 0;
};
