#pragma once

// The contract between the configurator and its link library (libSerOrvDL.so).
//
// The program reaches the control unit only through the object that the link
// library hands out. The program calls the operations through the object's
// table of virtual operations, so the order of the declarations below is part
// of the contract: every operation keeps its fixed position, and the positions
// the program never calls are filled by reserved slots. For the same reason the
// class has no virtual destructor; the library destroys its own object through
// _DestroyClassInstance.

#include <cstdint>

// Version record filled by _GetDLLVersion; a library is accepted from major 5.
struct FILE_VERSION_DATA {
    uint32_t Major;
    uint32_t Minor;
    uint32_t Release;
    uint32_t Build;
};

// Bits of the 32-bit item descriptor by which an item names its datum.
namespace LinkDescriptor {
constexpr uint32_t CodeMask = 0x000000FFu;    // bits 0-7: the datum's identifier code
constexpr uint32_t ArrayFlag = 0x00000100u;   // vector or matrix item
constexpr uint32_t TwoByteFlag = 0x00000200u; // two-byte elements
constexpr uint32_t SignedFlag = 0x00000400u;  // two's complement elements
constexpr uint32_t PacketFlag = 0x00000800u;  // live packet item
constexpr int CountShift = 12;                // bits 12-19: element count
constexpr uint32_t CountMask = 0x000FF000u;

constexpr uint32_t Code(uint32_t descriptor)
{
    return descriptor & CodeMask;
}
constexpr int Count(uint32_t descriptor)
{
    return int((descriptor & CountMask) >> CountShift);
}
} // namespace LinkDescriptor

// Error flags reported by GetLastError after an exchange.
namespace LinkError {
constexpr int NoAnswer = 1;   // no connection, or the unit does not answer
constexpr int Refused = 2;    // the unit answered but refused
constexpr int NoValue = 4;    // the unit has no value for the datum
constexpr int InUse = 8;      // another program is connected to the unit or holds its port
constexpr int NotStored = 16; // the unit could not keep a written value
} // namespace LinkError

// Modes understood by ConfigureLink. A library that keeps a copy of what it
// read from the unit drops it at FreshReads, so that the reads that follow ask
// the unit itself (a read-back that checks what the unit stored). A library
// without such a copy takes the call and does nothing.
namespace LinkConfigure {
constexpr int Standard = 0;   // the connection's set-up
constexpr int FreshReads = 1; // once: what the link holds of the unit is read again
} // namespace LinkConfigure

// Port numbers understood by SelectPort and returned by GetPort.
namespace LinkPort {
constexpr int Com1 = 0;
constexpr int Usb = 4;
} // namespace LinkPort

class LinkInstance {
public:
    virtual void Reserved0() {}                                                      // 0
    virtual int GetPort() = 0;                                                       // 1
    virtual void PrepareLink(int mode) = 0;                                          // 2
    virtual void Reserved3() {}                                                      // 3
    virtual void SelectPort(int port) = 0;                                           // 4
    virtual void Reserved5() {}                                                      // 5
    virtual void Reserved6() {}                                                      // 6
    virtual void Reserved7() {}                                                      // 7
    virtual void Reserved8() {}                                                      // 8
    virtual void Reserved9() {}                                                      // 9
    virtual void Reserved10() {}                                                     // 10
    virtual void Reserved11() {}                                                     // 11
    virtual void Reserved12() {}                                                     // 12
    virtual void ClosePort() = 0;                                                    // 13
    virtual void Reserved14() {}                                                     // 14
    virtual void Reserved15() {}                                                     // 15
    virtual void Reserved16() {}                                                     // 16
    virtual int IsConnected() = 0;                                                   // 17
    virtual int ConnectUnit() = 0;                                                   // 18
    virtual void DisconnectUnit() = 0;                                               // 19
    virtual int GetLastError() = 0;                                                  // 20
    virtual void Reserved21() {}                                                     // 21
    virtual void Reserved22() {}                                                     // 22
    virtual void UseStandardMode() = 0;                                              // 23
    virtual void UseAlternateMode() = 0;                                             // 24
    virtual void Reserved25() {}                                                     // 25
    virtual void Reserved26() {}                                                     // 26
    virtual void Reserved27() {}                                                     // 27
    virtual void Reserved28() {}                                                     // 28
    virtual bool ReadValue(uint32_t desc, int* out) = 0;                             // 29
    virtual bool ReadIndexed(uint32_t desc, int* out, int index) = 0;                // 30
    virtual bool ReadPacket(uint32_t desc, uint8_t* data, int* length) = 0;          // 31
    virtual bool WriteArray(uint32_t desc, const int* values) = 0;                   // 32
    virtual bool WriteValue(uint32_t desc, int value) = 0;                           // 33
    virtual bool WriteIndexed(uint32_t desc, int index, int value) = 0;              // 34
    virtual bool WriteMatrixElement(uint32_t desc, int row, int col, int value) = 0; // 35
    virtual bool WriteRow(uint32_t desc, const int* values, int row) = 0;            // 36
    virtual void Reserved37() {}                                                     // 37
    virtual void Reserved38() {}                                                     // 38
    virtual void Reserved39() {}                                                     // 39
    virtual void Reserved40() {}                                                     // 40
    virtual void Reserved41() {}                                                     // 41
    virtual void Reserved42() {}                                                     // 42
    virtual int ProgramFirmware(const void* image, int a, int b, int c) = 0;         // 43
    virtual void Reserved44() {}                                                     // 44
    virtual void Reserved45() {}                                                     // 45
    virtual bool ReadIdentity(uint8_t record[8]) = 0;                                // 46
    virtual void Reserved47() {}                                                     // 47
    virtual void Reserved48() {}                                                     // 48
    virtual void Reserved49() {}                                                     // 49
    virtual void Reserved50() {}                                                     // 50
    virtual void Reserved51() {}                                                     // 51
    virtual void ConfigureLink(int mode) = 0;                                        // 52
    virtual void Reserved53() {}                                                     // 53
    virtual void Reserved54() {}                                                     // 54
    virtual void Reserved55() {}                                                     // 55
    virtual void Reserved56() {}                                                     // 56
    virtual void Reserved57() {}                                                     // 57
    virtual void Reserved58() {}                                                     // 58
    virtual void Reserved59() {}                                                     // 59
    virtual void Reserved60() {}                                                     // 60
    virtual void Reserved61() {}                                                     // 61
    virtual bool WriteAtAddress(uint32_t desc, int address, int value) = 0;          // 62
    virtual bool ReadMatrixElement(uint32_t desc, int* out, int row, int col) = 0;   // 63
    virtual bool ReadAtAddress(uint32_t desc, int address, int* out) = 0;            // 64

protected:
    LinkInstance() = default;
    ~LinkInstance() = default;
    LinkInstance(const LinkInstance&) = delete;
    LinkInstance& operator=(const LinkInstance&) = delete;
};

// The library reports link state (0x8190) and programming progress (0x8191)
// through a sink the program installs with _SetMessageSink. The sink is called on
// the thread that called into the library (the user-interface thread).
using TLinkMessageSink = void (*)(void* context, unsigned int msg, uintptr_t wParam, intptr_t lParam);

// The exports of the link library, with C linkage so that they are found by name.
extern "C" {
using TCreateClassInstance = LinkInstance* (*)();
using TDestroyClassInstance = void (*)(LinkInstance*);
using TGetDLLVersion = bool (*)(FILE_VERSION_DATA*);
using TSetMessageSink = void (*)(TLinkMessageSink sink, void* context);
// The port the library reaches the unit on when the program selects port 4 (LinkPort::Usb):
// the path of a serial port at baud bits per second, or an empty path for the library's own choice.
using TSetLinkPort = void (*)(const char* path, int baud);
}

namespace LinkExport {
constexpr const char* CreateClassInstance = "_CreateClassInstance";
constexpr const char* DestroyClassInstance = "_DestroyClassInstance";
constexpr const char* GetDLLVersion = "_GetDLLVersion";
constexpr const char* SetMessageSink = "_SetMessageSink";
constexpr const char* SetLinkPort = "_SetLinkPort"; // optional
} // namespace LinkExport
