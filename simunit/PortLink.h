#pragma once

// The object the link library hands out: it serves the contract through the
// simulated unit in this process, or through the unit on the configured serial
// port. The choice is made when the program selects port 4 (the configured
// port): a configured port path means the serial line, none the simulated unit.
// Ports 0-3 always mean the simulated unit.

#include "link/LinkInstance.h"
#include "seriallink/SerialLink.h"

#include <QString>

#include <memory>

// What the program configured: the port's path (empty: the simulated unit) and the line's rate.
struct LinkPortSetting {
    QString path;
    int baud = 19200;
};

class PortLink final : public LinkInstance {
public:
    using SettingFn = std::function<LinkPortSetting()>;

    // sim must outlive the link; setting is asked at every SelectPort.
    PortLink(LinkInstance& sim, SettingFn setting, SerialLink::Emitter emitter);
    ~PortLink();

    int GetPort() override { return current().GetPort(); }
    void PrepareLink(int mode) override { current().PrepareLink(mode); }
    void SelectPort(int port) override;
    void ClosePort() override { current().ClosePort(); }
    int IsConnected() override { return current().IsConnected(); }
    int ConnectUnit() override { return current().ConnectUnit(); }
    void DisconnectUnit() override { current().DisconnectUnit(); }
    int GetLastError() override { return current().GetLastError(); }
    void UseStandardMode() override { current().UseStandardMode(); }
    void UseAlternateMode() override { current().UseAlternateMode(); }
    bool ReadValue(uint32_t desc, int* out) override { return current().ReadValue(desc, out); }
    bool ReadIndexed(uint32_t desc, int* out, int index) override
    {
        return current().ReadIndexed(desc, out, index);
    }
    bool ReadPacket(uint32_t desc, uint8_t* data, int* length) override
    {
        return current().ReadPacket(desc, data, length);
    }
    bool WriteArray(uint32_t desc, const int* values) override { return current().WriteArray(desc, values); }
    bool WriteValue(uint32_t desc, int value) override { return current().WriteValue(desc, value); }
    bool WriteIndexed(uint32_t desc, int index, int value) override
    {
        return current().WriteIndexed(desc, index, value);
    }
    bool WriteMatrixElement(uint32_t desc, int row, int col, int value) override
    {
        return current().WriteMatrixElement(desc, row, col, value);
    }
    bool WriteRow(uint32_t desc, const int* values, int row) override
    {
        return current().WriteRow(desc, values, row);
    }
    int ProgramFirmware(const void* image, int a, int b, int c) override
    {
        return current().ProgramFirmware(image, a, b, c);
    }
    bool ReadIdentity(uint8_t record[8]) override { return current().ReadIdentity(record); }
    void ConfigureLink(int mode) override { current().ConfigureLink(mode); }
    bool WriteAtAddress(uint32_t desc, int address, int value) override
    {
        return current().WriteAtAddress(desc, address, value);
    }
    bool ReadMatrixElement(uint32_t desc, int* out, int row, int col) override
    {
        return current().ReadMatrixElement(desc, out, row, col);
    }
    bool ReadAtAddress(uint32_t desc, int address, int* out) override
    {
        return current().ReadAtAddress(desc, address, out);
    }

private:
    LinkInstance& current() const { return m_serial ? static_cast<LinkInstance&>(*m_serial) : m_sim; }

    LinkInstance& m_sim;
    SettingFn m_setting;
    SerialLink::Emitter m_emit;
    std::unique_ptr<SerialLink> m_serial;
};
