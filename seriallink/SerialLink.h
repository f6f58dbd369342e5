#pragma once

// The link contract (link/LinkInstance.h) served over the wire protocol on a
// serial port: every operation is one exchange (firmware: one per block) with
// the unit at the other end of the line.
//
// The link keeps a copy of the unit's memory, read in one block read at the
// first memory read of a connection and kept in step with its own writes, so a
// full reload makes one exchange for the configuration bytes instead of one per
// item. The copy is dropped whenever it may no longer be the unit's: at connect
// and disconnect, when the link is lost, after a write that did not complete,
// when a write changes more than it wrote (the erase command), around the boot
// loader and programming, and when the program asks for fresh reads
// (ConfigureLink with LinkConfigure::FreshReads) to check what the unit stored:
// a unit that answers a write as done without keeping it would otherwise agree
// with the copy.
//
// The link is lost when the unit stops answering (after the retries) or the
// port vanishes: a connected link then reports 0x8190 with lParam 0 and closes
// the port.

#include "link/LinkInstance.h"
#include "seriallink/SerialLine.h"
#include "wire/WireClient.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

class SerialLink final : public LinkInstance {
public:
    using Emitter = std::function<void(unsigned int msg, uintptr_t wParam, intptr_t lParam)>;

    // Error flag of an exchange refused because another program holds the port.
    static constexpr int InUseFlag = LinkError::InUse;
    static constexpr int NoAnswerFlag = 1;
    static constexpr int RefusedFlag = 2;
    static constexpr uint32_t MaxImageSize = 16u * 1024u * 1024u;
    static constexpr int MemorySize = 256; // the unit's configuration memory, read as one block

    SerialLink(QString portPath, WireTiming timing, Emitter emitter);
    ~SerialLink();

    const QString& portPath() const { return m_path; }
    const WireClient& client() const { return m_client; }

    // LinkInstance
    int GetPort() override { return m_port; }
    void PrepareLink(int) override {}
    void SelectPort(int port) override { m_port = port; }
    void ClosePort() override;
    int IsConnected() override { return m_connected ? 1 : 0; }
    int ConnectUnit() override;
    void DisconnectUnit() override;
    int GetLastError() override { return m_lastError; }
    void UseStandardMode() override {}
    void UseAlternateMode() override {}
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

private:
    // One exchange; false with m_lastError set when it failed (no answer, or the
    // unit's status). On success the response follows the status byte.
    // With maxTries, a request left unanswered after that many attempts fails
    // with flag 1 but leaves the link up (the caller tries something shorter).
    bool request(uint8_t command, const QByteArray& payload, int responseSize, QByteArray* data = nullptr,
                 int minResponseSize = -1, int maxTries = 0);
    bool openLine();
    void closeLine();
    void lost();
    bool needConnection();
    bool readValues(uint8_t command, const QByteArray& payload, int count, int* out);
    bool write(uint8_t command, const QByteArray& payload);
    bool fillMemory();
    void noteWrite(int address, int width, int value, const QByteArray& effects);
    int programImage(const uint8_t* content, uint32_t length);

    QString m_path;
    SerialLine m_line;
    WireClient m_client;
    Emitter m_emit;
    int m_port = 0;
    bool m_connected = false;
    int m_lastError = 0;
    QByteArray m_memory; // the copy of the unit's memory; empty when there is none
    // Bytes per block read: the whole memory on a clean line, halved while the
    // line is too noisy for long frames, down to MinBlock.
    int m_blockSize = MemorySize;
    static constexpr int MinBlock = 16;
    static constexpr int BlockTries = 2;
};
