#pragma once

// The simulated control unit itself: identity, boot loader, 256 bytes of
// configuration memory kept in a file, data reachable by code, the live packet
// from the engine model, and firmware programming. It knows nothing of the
// link contract (descriptors, error flags, messages): SimLink serves the
// contract over it, and a serial transport could serve the same unit.
//
// Not thread-safe by itself: its owner serialises the calls.

#include "simunit/EngineModel.h"

#include <QElapsedTimer>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class SimulatedUnit {
public:
    enum class Status {
        Ok,
        NoValue,   // no such address, datum or element
        Refused,   // the unit refuses: value out of range, boot loader running, bad argument
        NotStored, // the unit took the value but could not keep it (its memory file could not be written)
    };

    // A datum reachable by code: rows x columns elements of 1 or 2 bytes, flat index = row * cols + col.
    struct DatumShape {
        int rows = 1;
        int cols = 1;
        int width = 1;
        int count() const { return rows * cols; }
    };

    enum ProgramResult { ProgramOk = 0, ProgramRefused = 2 };
    using ProgressFn = std::function<void(int percent, bool add)>;

    // Codes of the data reachable by code.
    static constexpr int CommandCode = 0;     // command byte (RIPROGRAMMAZIONE); 123 enters the boot loader
    static constexpr int SingleValueCode = 1; // one byte
    static constexpr int VectorCode = 10;     // 1 x 8, one byte each
    static constexpr int MatrixCode = 11;     // 4 x 5, one byte each
    static constexpr int MapCode = 12;        // 8 x 8, two bytes each
    static constexpr int TraceCode = 13;      // 1 x 120, one byte each: a vector longer than most
    static constexpr int LivePacketCode = 0;  // packet code of the live values
    static constexpr int EnterBootLoader = 123;
    static constexpr int CommandIdle = 240;
    static constexpr int DefaultBootLoaderVersion = 2;

    SimulatedUnit();

    // --- identity ---------------------------------------------------------
    void setApplicationIdentity(const uint8_t record[8]);
    std::array<uint8_t, 8> applicationIdentity() const { return m_identity; }
    std::array<uint8_t, 8> currentIdentity() const;
    void setFirmwareVersion(int version) { m_identity[3] = uint8_t(version); }
    bool bootLoaderMode() const { return m_bootLoader; }
    void setBootLoaderMode(bool on);
    int bootLoaderVersion() const { return m_bootLoaderVersion; }

    // --- memory -------------------------------------------------------------
    Status readMemory(int address, int width, int* value);
    Status writeMemory(int address, int width, int value); // byte 161 = 8 erases to factory content
    int peek(int address);                                 // -1 outside 0-255
    bool poke(int address, int value);                     // raw, persisted
    void resetToFactory();
    void reloadMemory() { load(); }            // the file may have changed (another program was connected)
    void setDataFolder(const QString& folder); // loads the memory from there (factory without a file)
    QString dataFolder();
    QString memoryFilePath();

    // --- data by code ---------------------------------------------------------
    bool datumShape(int code, DatumShape* shape) const;
    Status readElement(int code, int flatIndex, int* value);
    Status writeElement(int code, int flatIndex, int value);
    int peekElement(int code, int flatIndex) const;
    bool pokeElement(int code, int flatIndex, int value);

    // --- live packet and engine -------------------------------------------------
    Status readPacket(int code, uint8_t* data, int capacity, int* count);
    std::array<uint8_t, LivePacket::Size> livePacket();
    EngineSample engineSample();
    int64_t modelTimeMs() const;
    void pinClock(int64_t modelMs);
    void unpinClock();
    void pinPacket(const uint8_t bytes[LivePacket::Size]);
    void unpinPacket() { m_pinnedPacket.reset(); }
    // How the engine behaves (a setting of the simulated unit; healthy unless set).
    EngineBehaviour engineBehaviour() const { return m_behaviour; }
    void setEngineBehaviour(EngineBehaviour behaviour) { m_behaviour = behaviour; }

    // --- programming ------------------------------------------------------------
    // content: the image content (without the plain buffer's length word).
    int programFirmware(const uint8_t* content, size_t size, const ProgressFn& progress);
    void setProgrammingTime(int ms) { m_programmingMs = ms < 0 ? 0 : ms; }
    int programmedImages() const { return m_programmedImages; }

    // Identity, boot loader, data by code, pins, engine behaviour and programming
    // back to their defaults (not the memory).
    void resetState();

private:
    void ensureLoaded();
    void load();
    // Writes the memory file; false (old file kept) when it could not be written.
    bool save();
    std::vector<int>* datum(int code, DatumShape* shape);
    const std::vector<int>* datum(int code, DatumShape* shape) const;
    void resetData();

    std::array<uint8_t, 8> m_identity{};
    bool m_bootLoader = false;
    int m_bootLoaderVersion = DefaultBootLoaderVersion;

    std::array<uint8_t, 256> m_memory{};
    bool m_loaded = false;
    QString m_folder; // empty: the default data folder

    std::vector<int> m_command, m_single, m_vector, m_matrix, m_map, m_trace;

    QElapsedTimer m_clock;
    int64_t m_clockOffset = 0;
    std::optional<int64_t> m_pinnedClock;
    std::optional<std::array<uint8_t, LivePacket::Size>> m_pinnedPacket;
    EngineBehaviour m_behaviour = EngineBehaviour::Healthy;

    int m_programmingMs = 0;
    int m_programmedImages = 0;
};
