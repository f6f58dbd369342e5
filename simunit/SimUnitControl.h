#pragma once

// Test control of the simulated unit, for tests only.
//
// The library exports `_GetSimUnitControl` (C linkage, see SimUnitControlExport
// below), which returns the process-wide control of the one simulated unit that
// every link object of the library talks to. The unit (identity, memory, engine,
// faults, log) lives as long as the library stays loaded, whatever link objects
// come and go; a test that lets the program unload the library should keep a
// load of its own (or link the library) so that what it set up survives.
//
// Everything here is header-only (inline) or called through the table of
// virtual operations, so a test needs no symbol of the library besides the
// export. All operations are safe to call from any thread (one lock guards the
// unit), but the link library is meant to be used from one thread.

#include <cstdint>
#include <string>
#include <vector>

// The link operations, numbered by their position in LinkInstance's table of
// virtual operations (link/LinkInstance.h).
enum class LinkOp : int {
    GetPort = 1,
    PrepareLink = 2,
    SelectPort = 4,
    ClosePort = 13,
    IsConnected = 17,
    ConnectUnit = 18,
    DisconnectUnit = 19,
    GetLastError = 20,
    UseStandardMode = 23,
    UseAlternateMode = 24,
    ReadValue = 29,
    ReadIndexed = 30,
    ReadPacket = 31,
    WriteArray = 32,
    WriteValue = 33,
    WriteIndexed = 34,
    WriteMatrixElement = 35,
    WriteRow = 36,
    ProgramFirmware = 43,
    ReadIdentity = 46,
    ConfigureLink = 52,
    WriteAtAddress = 62,
    ReadMatrixElement = 63,
    ReadAtAddress = 64,
};

inline const char* LinkOpName(LinkOp op)
{
    switch (op) {
    case LinkOp::GetPort:
        return "GetPort";
    case LinkOp::PrepareLink:
        return "PrepareLink";
    case LinkOp::SelectPort:
        return "SelectPort";
    case LinkOp::ClosePort:
        return "ClosePort";
    case LinkOp::IsConnected:
        return "IsConnected";
    case LinkOp::ConnectUnit:
        return "ConnectUnit";
    case LinkOp::DisconnectUnit:
        return "DisconnectUnit";
    case LinkOp::GetLastError:
        return "GetLastError";
    case LinkOp::UseStandardMode:
        return "UseStandardMode";
    case LinkOp::UseAlternateMode:
        return "UseAlternateMode";
    case LinkOp::ReadValue:
        return "ReadValue";
    case LinkOp::ReadIndexed:
        return "ReadIndexed";
    case LinkOp::ReadPacket:
        return "ReadPacket";
    case LinkOp::WriteArray:
        return "WriteArray";
    case LinkOp::WriteValue:
        return "WriteValue";
    case LinkOp::WriteIndexed:
        return "WriteIndexed";
    case LinkOp::WriteMatrixElement:
        return "WriteMatrixElement";
    case LinkOp::WriteRow:
        return "WriteRow";
    case LinkOp::ProgramFirmware:
        return "ProgramFirmware";
    case LinkOp::ReadIdentity:
        return "ReadIdentity";
    case LinkOp::ConfigureLink:
        return "ConfigureLink";
    case LinkOp::WriteAtAddress:
        return "WriteAtAddress";
    case LinkOp::ReadMatrixElement:
        return "ReadMatrixElement";
    case LinkOp::ReadAtAddress:
        return "ReadAtAddress";
    }
    return "?";
}

// Error flags the simulated link reports through GetLastError (0 = none).
namespace SimError {
constexpr int NoAnswer = 1; // not connected, link dropped, unit silent, or an injected failure's default
constexpr int Refused = 2;  // the unit answered but refused: descriptor or value does not fit the datum,
                            // boot loader running, connection refused, bad firmware image
constexpr int NoValue =
    4; // the unit has no such datum: unknown code, address outside 0-255, index outside the datum
constexpr int InUse = 8; // connection refused: another program is connected to the unit
constexpr int NotStored =
    16; // the unit could not keep a written value (its memory file could not be written)
} // namespace SimError

// One operation as the program issued it. args are the call's arguments in
// order (descriptors, addresses, indexes, values; arrays expanded in place with
// as many values as the descriptor's element count; ProgramFirmware's image as
// the length of its content). result: bool results as 1/0, ConnectUnit's and
// ProgramFirmware's integer, 0 for operations without result. flags: the value
// GetLastError reports after the operation.
struct SimLogEntry {
    LinkOp op = LinkOp::GetPort;
    std::vector<long long> args;
    long long result = 0;
    int flags = 0;
};

// "WriteAtAddress 0 163 181": name and arguments in decimal, separated by one space.
inline std::string RenderLogEntry(const SimLogEntry& entry)
{
    std::string line = LinkOpName(entry.op);
    for (long long a : entry.args)
        line += ' ' + std::to_string(a);
    return line;
}

// The engine model's state at the current model time.
struct SimEngineState {
    int phase = 0;           // 0 stopped, 1 idle, 2 accelerating, 3 cruise, 4 full throttle, 5 decelerating
    double rpm = 0;          // 0 when stopped
    double temperatureC = 0; // engine temperature
    double lambdaVolts = 0;  // probe output
    double tpsOpening = 0;   // throttle as the voltage of a linear 0-5 V sensor
};

class SimUnitControl {
public:
    // --- identity ---------------------------------------------------------
    // The record ReadIdentity answers while the application runs (default
    // 11, 36, 25, 140, 0, 0, 0, 0). In boot-loader mode the unit answers
    // family, 3, model, boot-loader version, kind, model, 0, 0 instead.
    virtual void setIdentity(const uint8_t record[8]) = 0;
    virtual void identity(uint8_t record[8]) const = 0; // what ReadIdentity would answer now
    virtual void setFirmwareVersion(int version) = 0;   // byte 3 of the application record
    virtual bool bootLoaderMode() const = 0;
    virtual void setBootLoaderMode(bool on) = 0;
    virtual int bootLoaderVersion() const = 0;       // default 2; set by a boot-loader image
    virtual void setIdentityUnanswered(bool on) = 0; // ReadIdentity fails with flag 1
    virtual void setConnectRefused(bool on) = 0;     // ConnectUnit returns 0 with flag 2

    // --- faults -------------------------------------------------------------
    // The next `count` calls of `op` fail (false, 0 or non-zero for
    // ProgramFirmware) and report `flags`; counted across every link object.
    // Only operations with a result can fail.
    virtual void failNext(LinkOp op, int count, int flags) = 0;
    // The next `count` calls of `op` succeed but report `flags` (e.g. 4: the
    // value stands but the unit has no data for it).
    virtual void flagNext(LinkOp op, int count, int flags) = 0;
    virtual void clearFaults() = 0;
    virtual void setLastError(int flags) = 0; // what GetLastError reports until the next exchange

    // --- link ---------------------------------------------------------------
    virtual bool isConnected() const = 0; // some link object is connected
    virtual void dropLink() = 0;          // connected links are lost: 0x8190 with lParam 0, then flag 1
    virtual int selectedPort() const = 0; // last SelectPort of any link object (-1 before any)

    // --- configuration memory -------------------------------------------------
    virtual int readMemory(int address) const = 0; // the byte, or -1 outside 0-255
    virtual bool writeMemory(int address,
                             int value) = 0; // raw write (no erase rule), persisted; false outside 0-255
    virtual int factoryByte(int address) const = 0; // factory content, -1 outside 0-255
    virtual void resetToFactory() = 0;              // memory = factory content, persisted
    // Folder of the memory file (UTF-8). Setting it loads the memory from the
    // file there, or the factory content when there is none.
    virtual void setDataFolder(const std::string& folder) = 0;
    virtual std::string dataFolder() const = 0;
    virtual std::string memoryFilePath() const = 0;

    // --- data by code -----------------------------------------------------------
    virtual int datumElement(int code, int flatIndex) const = 0; // -1 when there is none
    virtual bool setDatumElement(int code, int flatIndex, int value) = 0;

    // --- engine model and live packet -------------------------------------------
    virtual void pinClock(long long modelMs) = 0; // the model time stands at modelMs
    virtual void unpinClock() = 0;                // the model time runs again from where it stands
    virtual long long modelTimeMs() const = 0;
    virtual void pinPacket(const uint8_t bytes[9]) = 0; // code 0 answers these bytes
    virtual void unpinPacket() = 0;
    virtual void livePacket(uint8_t bytes[9]) const = 0; // what code 0 answers now
    virtual SimEngineState engineState() const = 0;
    // The engine's behaviour: 0 healthy, 1 lean, 2 dead sensor, 3 far default
    // (EngineBehaviour of simunit/EngineModel.h); others are ignored.
    virtual void setEngineBehaviour(int behaviour) = 0;
    virtual int engineBehaviour() const = 0;

    // --- programming ------------------------------------------------------------
    virtual void setProgrammingTime(int ms) = 0; // time one ProgramFirmware takes (default 0)
    virtual int programmedImages() const = 0;    // images accepted since the last reset

    // --- log ----------------------------------------------------------------------
    virtual std::vector<SimLogEntry> log() const = 0;
    virtual std::vector<std::string> logLines() const = 0; // RenderLogEntry of every entry
    virtual void clearLog() = 0;
    // Also log GetPort, IsConnected and GetLastError (off by default: they are
    // queries the program makes very often, not exchanges with the unit).
    virtual void setLogQueries(bool on) = 0;

    // Everything back to its default except the memory and the link state:
    // identity, boot-loader mode, silence and refusal, faults, last error, log,
    // pinned clock and packet, engine behaviour, array data, programming time
    // and count.
    virtual void resetSimulation() = 0;

protected:
    SimUnitControl() = default;
    ~SimUnitControl() = default;
};

// The test export.
extern "C" {
using TGetSimUnitControl = SimUnitControl* (*)();
}
namespace SimUnitControlExport {
constexpr const char* GetSimUnitControl = "_GetSimUnitControl";
}
