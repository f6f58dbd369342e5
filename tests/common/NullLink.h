#pragma once

// A link object that answers every operation with nothing: no port, no unit,
// every read and write failing. The fake link libraries of the tests derive
// from it and give only the operations their tests need a behaviour.

#include "link/LinkInstance.h"

class TNullLink : public LinkInstance {
public:
    int GetPort() override { return 0; }
    void PrepareLink(int) override {}
    void SelectPort(int) override {}
    void ClosePort() override {}
    int IsConnected() override { return 0; }
    int ConnectUnit() override { return 0; }
    void DisconnectUnit() override {}
    int GetLastError() override { return 0; }
    void UseStandardMode() override {}
    void UseAlternateMode() override {}
    bool ReadValue(uint32_t, int*) override { return false; }
    bool ReadIndexed(uint32_t, int*, int) override { return false; }
    bool ReadPacket(uint32_t, uint8_t*, int*) override { return false; }
    bool WriteArray(uint32_t, const int*) override { return false; }
    bool WriteValue(uint32_t, int) override { return false; }
    bool WriteIndexed(uint32_t, int, int) override { return false; }
    bool WriteMatrixElement(uint32_t, int, int, int) override { return false; }
    bool WriteRow(uint32_t, const int*, int) override { return false; }
    int ProgramFirmware(const void*, int, int, int) override { return 1; }
    bool ReadIdentity(uint8_t*) override { return false; }
    void ConfigureLink(int) override {}
    bool WriteAtAddress(uint32_t, int, int) override { return false; }
    bool ReadMatrixElement(uint32_t, int*, int, int) override { return false; }
    bool ReadAtAddress(uint32_t, int, int*) override { return false; }
};
