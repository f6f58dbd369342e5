#include "simunit/SimulatedUnit.h"

#include "simunit/FactoryMemory.h"
#include "simunit/FirmwareImage.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

constexpr std::array<uint8_t, 8> DefaultIdentity = {11, 36, 25, 140, 0, 0, 0, 0};
const char* const MemoryFileName = "simunit-memory.bin";
const char* const OurFolder = "TZR582";
constexpr int ProgramBlock = 128; // bytes written per progress step

bool fits(int value, int width)
{
    const int bits = 8 * width;
    return value >= -(1 << (bits - 1)) && value <= (1 << bits) - 1;
}

} // namespace

SimulatedUnit::SimulatedUnit()
{
    m_clock.start();
    resetState();
}

// --- identity -------------------------------------------------------------

void SimulatedUnit::setApplicationIdentity(const uint8_t record[8])
{
    std::copy(record, record + 8, m_identity.begin());
}

std::array<uint8_t, 8> SimulatedUnit::currentIdentity() const
{
    if (!m_bootLoader)
        return m_identity;
    // The boot loader names itself (kind 3) and carries the application's kind and model.
    const bool appLooksLikeBoot = m_identity[1] == 3;
    const uint8_t kind = appLooksLikeBoot ? m_identity[4] : m_identity[1];
    const uint8_t model = appLooksLikeBoot ? m_identity[5] : m_identity[2];
    return {m_identity[0], 3, model, uint8_t(m_bootLoaderVersion), kind, model, 0, 0};
}

void SimulatedUnit::setBootLoaderMode(bool on)
{
    m_bootLoader = on;
    if (!on)
        m_command.assign(1, CommandIdle);
}

// --- memory ---------------------------------------------------------------

QString SimulatedUnit::dataFolder()
{
    if (!m_folder.isEmpty())
        return m_folder;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') +
           QLatin1String(OurFolder);
}

QString SimulatedUnit::memoryFilePath()
{
    return dataFolder() + QLatin1Char('/') + QLatin1String(MemoryFileName);
}

void SimulatedUnit::setDataFolder(const QString& folder)
{
    m_folder = folder;
    load();
}

void SimulatedUnit::ensureLoaded()
{
    if (!m_loaded)
        load();
}

void SimulatedUnit::load()
{
    m_memory = FactoryMemory::bytes();
    QFile file(memoryFilePath());
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray content = file.readAll();
        if (content.size() == FactoryMemory::Size)
            std::copy(content.begin(), content.end(), m_memory.begin());
    }
    m_loaded = true;
}

bool SimulatedUnit::save()
{
    // The new content goes to a file beside the memory file, which it replaces
    // only when every byte was written: a failed write (full disk, size limit)
    // keeps the previous memory file. Nothing is forced to the disk: a unit
    // whose every byte write waited for the disk would be slow to load.
    if (!QDir().mkpath(dataFolder()))
        return false;
    const QString path = memoryFilePath();
    QFile file(path + QStringLiteral(".new"));
    const qint64 size = qint64(m_memory.size());
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.write(reinterpret_cast<const char*>(m_memory.data()), size) == size &&
                         file.flush();
    file.close();
    if (!written || std::rename(QFile::encodeName(file.fileName()).constData(),
                                QFile::encodeName(path).constData()) != 0) {
        file.remove();
        return false;
    }
    return true;
}

SimulatedUnit::Status SimulatedUnit::readMemory(int address, int width, int* value)
{
    if (m_bootLoader)
        return Status::Refused;
    if (address < 0 || width < 1 || width > 2 || address + width > FactoryMemory::Size)
        return Status::NoValue;
    ensureLoaded();
    int v = 0;
    for (int i = 0; i < width; ++i)
        v |= int(m_memory[size_t(address) + size_t(i)]) << (8 * i);
    *value = v;
    return Status::Ok;
}

SimulatedUnit::Status SimulatedUnit::writeMemory(int address, int width, int value)
{
    if (m_bootLoader)
        return Status::Refused;
    if (address < 0 || width < 1 || width > 2 || address + width > FactoryMemory::Size)
        return Status::NoValue;
    if (!fits(value, width))
        return Status::Refused;
    ensureLoaded();
    const std::array<uint8_t, FactoryMemory::Size> previous = m_memory;
    bool erase = false;
    for (int i = 0; i < width; ++i) {
        const uint8_t b = uint8_t(value >> (8 * i));
        m_memory[size_t(address) + size_t(i)] = b;
        if (address + i == FactoryMemory::CheckByte && b == FactoryMemory::EraseCommand)
            erase = true;
    }
    if (erase)
        m_memory = FactoryMemory::bytes(); // the check byte's erase command: back to factory content
    if (!save()) {
        m_memory = previous; // like an EEPROM cell that did not take the value
        return Status::NotStored;
    }
    return Status::Ok;
}

int SimulatedUnit::peek(int address)
{
    if (address < 0 || address >= FactoryMemory::Size)
        return -1;
    ensureLoaded();
    return m_memory[size_t(address)];
}

bool SimulatedUnit::poke(int address, int value)
{
    if (address < 0 || address >= FactoryMemory::Size)
        return false;
    ensureLoaded();
    m_memory[size_t(address)] = uint8_t(value);
    return save();
}

void SimulatedUnit::resetToFactory()
{
    m_memory = FactoryMemory::bytes();
    m_loaded = true;
    save();
}

// --- data by code -----------------------------------------------------------

std::vector<int>* SimulatedUnit::datum(int code, DatumShape* shape)
{
    return const_cast<std::vector<int>*>(static_cast<const SimulatedUnit*>(this)->datum(code, shape));
}

const std::vector<int>* SimulatedUnit::datum(int code, DatumShape* shape) const
{
    DatumShape s;
    const std::vector<int>* data = nullptr;
    switch (code) {
    case CommandCode:
        data = &m_command;
        break;
    case SingleValueCode:
        data = &m_single;
        break;
    case VectorCode:
        s = {1, 8, 1};
        data = &m_vector;
        break;
    case MatrixCode:
        s = {4, 5, 1};
        data = &m_matrix;
        break;
    case MapCode:
        s = {8, 8, 2};
        data = &m_map;
        break;
    case TraceCode:
        s = {1, 120, 1};
        data = &m_trace;
        break;
    default:
        return nullptr;
    }
    if (shape)
        *shape = s;
    return data;
}

bool SimulatedUnit::datumShape(int code, DatumShape* shape) const
{
    return datum(code, shape) != nullptr;
}

void SimulatedUnit::resetData()
{
    m_command.assign(1, CommandIdle);
    m_single.assign(1, 100);
    m_vector.resize(8);
    for (int i = 0; i < 8; ++i)
        m_vector[size_t(i)] = 10 * (i + 1); // 10, 20, ..., 80
    m_matrix.resize(20);
    for (int i = 0; i < 20; ++i)
        m_matrix[size_t(i)] = 10 * (i / 5) + i % 5; // row r, column c: 10 r + c
    m_trace.resize(120);
    for (int i = 0; i < 120; ++i)
        m_trace[size_t(i)] = i; // 0, 1, ..., 119
    m_map.resize(64);
    for (int i = 0; i < 64; ++i)
        m_map[size_t(i)] = 100 * (i / 8 + 1) * (i % 8 + 1); // row r, column c: 100 (r + 1)(c + 1)
}

SimulatedUnit::Status SimulatedUnit::readElement(int code, int flatIndex, int* value)
{
    DatumShape s;
    const std::vector<int>* data = datum(code, &s);
    if (!data)
        return Status::NoValue;
    if (m_bootLoader)
        return Status::Refused;
    if (flatIndex < 0 || flatIndex >= s.count())
        return Status::NoValue;
    *value = (*data)[size_t(flatIndex)];
    return Status::Ok;
}

SimulatedUnit::Status SimulatedUnit::writeElement(int code, int flatIndex, int value)
{
    DatumShape s;
    std::vector<int>* data = datum(code, &s);
    if (!data)
        return Status::NoValue;
    if (m_bootLoader)
        return Status::Refused;
    if (flatIndex < 0 || flatIndex >= s.count())
        return Status::NoValue;
    if (!fits(value, s.width))
        return Status::Refused;
    (*data)[size_t(flatIndex)] = value & ((1 << (8 * s.width)) - 1);
    if (code == CommandCode && (*data)[0] == EnterBootLoader)
        m_bootLoader = true; // the application hands over to the boot loader
    return Status::Ok;
}

int SimulatedUnit::peekElement(int code, int flatIndex) const
{
    DatumShape s;
    const std::vector<int>* data = datum(code, &s);
    if (!data || flatIndex < 0 || flatIndex >= s.count())
        return -1;
    return (*data)[size_t(flatIndex)];
}

bool SimulatedUnit::pokeElement(int code, int flatIndex, int value)
{
    DatumShape s;
    std::vector<int>* data = datum(code, &s);
    if (!data || flatIndex < 0 || flatIndex >= s.count())
        return false;
    (*data)[size_t(flatIndex)] = value & ((1 << (8 * s.width)) - 1);
    return true;
}

// --- live packet and engine -------------------------------------------------

int64_t SimulatedUnit::modelTimeMs() const
{
    return m_pinnedClock ? *m_pinnedClock : m_clock.elapsed() + m_clockOffset;
}

void SimulatedUnit::pinClock(int64_t modelMs)
{
    m_pinnedClock = modelMs;
}

void SimulatedUnit::unpinClock()
{
    if (!m_pinnedClock)
        return;
    m_clockOffset = *m_pinnedClock - m_clock.elapsed();
    m_pinnedClock.reset();
}

void SimulatedUnit::pinPacket(const uint8_t bytes[LivePacket::Size])
{
    std::array<uint8_t, LivePacket::Size> packet{};
    std::copy(bytes, bytes + LivePacket::Size, packet.begin());
    m_pinnedPacket = packet;
}

EngineSample SimulatedUnit::engineSample()
{
    ensureLoaded();
    return EngineModel::Sample(modelTimeMs(), m_memory.data(), m_behaviour);
}

std::array<uint8_t, LivePacket::Size> SimulatedUnit::livePacket()
{
    if (m_pinnedPacket)
        return *m_pinnedPacket;
    return engineSample().packet;
}

SimulatedUnit::Status SimulatedUnit::readPacket(int code, uint8_t* data, int capacity, int* count)
{
    if (code != LivePacketCode)
        return Status::NoValue;
    if (m_bootLoader)
        return Status::Refused;
    if (capacity < 1)
        return Status::Refused;
    const auto packet = livePacket();
    const int n = std::min(capacity, int(packet.size()));
    std::copy(packet.begin(), packet.begin() + n, data);
    *count = n;
    return Status::Ok;
}

// --- programming --------------------------------------------------------------

int SimulatedUnit::programFirmware(const uint8_t* content, size_t size, const ProgressFn& progress)
{
    FirmwareImageInfo info;
    if (CheckFirmwareImage(content, size, &info) != FirmwareCheck::Ok)
        return ProgramRefused;
    const bool appLooksLikeBoot = m_identity[1] == 3;
    const uint8_t kind = appLooksLikeBoot ? m_identity[4] : m_identity[1];
    const uint8_t model = appLooksLikeBoot ? m_identity[5] : m_identity[2];
    if (info.family != m_identity[0] || info.unitKind != kind || info.model != model)
        return ProgramRefused; // an image for another unit

    // Write the image block by block, reporting progress: set 0, then additions
    // that sum to 100, then set 100.
    if (progress)
        progress(0, false);
    const size_t blocks = std::max<size_t>(1, (size + ProgramBlock - 1) / ProgramBlock);
    int reported = 0;
    for (size_t b = 1; b <= blocks; ++b) {
        if (m_programmingMs > 0)
            std::this_thread::sleep_for(
                std::chrono::microseconds(int64_t(m_programmingMs) * 1000 / int64_t(blocks)));
        const int percent = int(b * 100 / blocks);
        if (percent > reported && progress)
            progress(percent - reported, true);
        reported = percent;
    }
    if (progress)
        progress(100, false);

    if (info.kind == FirmwareKind::Application) {
        m_identity[3] = info.firmwareVersion;
        setBootLoaderMode(false); // the new application starts
    } else {
        m_bootLoaderVersion = info.firmwareVersion;
    }
    ++m_programmedImages;
    return ProgramOk;
}

void SimulatedUnit::resetState()
{
    m_identity = DefaultIdentity;
    m_bootLoader = false;
    m_bootLoaderVersion = DefaultBootLoaderVersion;
    resetData();
    m_pinnedClock.reset();
    m_pinnedPacket.reset();
    m_behaviour = EngineBehaviour::Healthy;
    m_programmingMs = 0;
    m_programmedImages = 0;
}
