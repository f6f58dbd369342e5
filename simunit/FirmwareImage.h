#pragma once

// The firmware image format of the simulated unit (a format of ours: the real
// unit's format is unknown). An image's content, as the program hands it to
// ProgramFirmware inside a plain buffer (32-bit little-endian length, then the
// content), is laid out so:
//
//   offset  size  field
//   0       4     magic "TZFW"
//   4       1     format version (1)
//   5       1     image kind: 1 boot loader, 2 application firmware
//   6       1     firmware version carried by the image (identity byte 3)
//   7       1     device family it is meant for (11)
//   8       1     firmware kind of the application (36)
//   9       1     model (25)
//   10      2     reserved, 0
//   12      4     code size N, little-endian
//   16      N     code bytes
//   16+N    4     CRC-32 (IEEE 802.3, as zlib's crc32) of bytes 0 .. 16+N-1, little-endian
//
// So the content size is N + 20; BuildFirmwareImage makes an image of exactly
// the content size asked for (at least 20 bytes).
//
// Plain C++ without Qt, so that a build tool can make the program's images.

#include <cstddef>
#include <cstdint>
#include <vector>

enum class FirmwareKind : uint8_t { BootLoader = 1, Application = 2 };

enum class FirmwareCheck {
    Ok = 0,
    TooShort,         // fewer than FirmwareImageOverhead bytes
    BadMagic,         // not "TZFW"
    BadFormatVersion, // format version is not 1
    BadKind,          // kind is neither 1 nor 2
    SizeMismatch,     // code size field does not match the content size
    BadChecksum,      // CRC-32 does not match
};

struct FirmwareImageInfo {
    FirmwareKind kind = FirmwareKind::Application;
    uint8_t firmwareVersion = 0;
    uint8_t family = 0;
    uint8_t unitKind = 0;
    uint8_t model = 0;
    uint32_t codeSize = 0;
};

constexpr size_t FirmwareHeaderSize = 16;
constexpr size_t FirmwareTrailerSize = 4;
constexpr size_t FirmwareImageOverhead = FirmwareHeaderSize + FirmwareTrailerSize; // 20
constexpr uint8_t FirmwareFormatVersion = 1;

// The content of an image of exactly contentSize bytes (its code bytes are a
// deterministic pseudo-random filling that depends on kind and version). Empty
// when contentSize is below FirmwareImageOverhead or above 16 MiB.
std::vector<uint8_t> BuildFirmwareImage(FirmwareKind kind, uint8_t firmwareVersion, size_t contentSize,
                                        uint8_t family = 11, uint8_t unitKind = 36, uint8_t model = 25);

// Checks the content of an image; fills info (when given) once the header is readable.
FirmwareCheck CheckFirmwareImage(const uint8_t* content, size_t size, FirmwareImageInfo* info = nullptr);

// Short English text of a check result, for messages and test output.
const char* FirmwareCheckText(FirmwareCheck result);

// The plain buffer handed to ProgramFirmware: 32-bit little-endian length, then the content.
std::vector<uint8_t> FirmwarePlainBuffer(const std::vector<uint8_t>& content);

// CRC-32 (IEEE 802.3, reflected, initial and final value 0xFFFFFFFF).
uint32_t FirmwareCrc32(const uint8_t* data, size_t size);
