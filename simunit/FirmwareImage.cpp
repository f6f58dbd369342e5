#include "simunit/FirmwareImage.h"

#include <algorithm>
#include <array>

namespace {

constexpr uint8_t Magic[4] = {'T', 'Z', 'F', 'W'};
constexpr size_t MaxContentSize = 16u * 1024u * 1024u;

std::array<uint32_t, 256> makeCrcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

void putLe32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

uint32_t getLe32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

} // namespace

uint32_t FirmwareCrc32(const uint8_t* data, size_t size)
{
    static const std::array<uint32_t, 256> table = makeCrcTable();
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        c = table[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::vector<uint8_t> BuildFirmwareImage(FirmwareKind kind, uint8_t firmwareVersion, size_t contentSize,
                                        uint8_t family, uint8_t unitKind, uint8_t model)
{
    if (contentSize < FirmwareImageOverhead || contentSize > MaxContentSize)
        return {};
    std::vector<uint8_t> image(contentSize, 0);
    const size_t codeSize = contentSize - FirmwareImageOverhead;
    uint8_t* p = image.data();
    for (int i = 0; i < 4; ++i)
        p[i] = Magic[i];
    p[4] = FirmwareFormatVersion;
    p[5] = uint8_t(kind);
    p[6] = firmwareVersion;
    p[7] = family;
    p[8] = unitKind;
    p[9] = model;
    putLe32(p + 12, uint32_t(codeSize));
    // Code bytes: xorshift32 seeded from kind and version, so equal arguments give equal images.
    uint32_t state = 0x9E3779B9u ^ (uint32_t(kind) << 8) ^ firmwareVersion;
    for (size_t i = 0; i < codeSize; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        p[FirmwareHeaderSize + i] = uint8_t(state >> 24);
    }
    putLe32(p + FirmwareHeaderSize + codeSize, FirmwareCrc32(p, FirmwareHeaderSize + codeSize));
    return image;
}

FirmwareCheck CheckFirmwareImage(const uint8_t* content, size_t size, FirmwareImageInfo* info)
{
    if (!content || size < FirmwareImageOverhead)
        return FirmwareCheck::TooShort;
    for (int i = 0; i < 4; ++i)
        if (content[i] != Magic[i])
            return FirmwareCheck::BadMagic;
    if (content[4] != FirmwareFormatVersion)
        return FirmwareCheck::BadFormatVersion;
    if (content[5] != uint8_t(FirmwareKind::BootLoader) && content[5] != uint8_t(FirmwareKind::Application))
        return FirmwareCheck::BadKind;
    if (info) {
        info->kind = FirmwareKind(content[5]);
        info->firmwareVersion = content[6];
        info->family = content[7];
        info->unitKind = content[8];
        info->model = content[9];
        info->codeSize = getLe32(content + 12);
    }
    const uint32_t codeSize = getLe32(content + 12);
    if (size_t(codeSize) != size - FirmwareImageOverhead)
        return FirmwareCheck::SizeMismatch;
    if (getLe32(content + FirmwareHeaderSize + codeSize) !=
        FirmwareCrc32(content, FirmwareHeaderSize + codeSize))
        return FirmwareCheck::BadChecksum;
    return FirmwareCheck::Ok;
}

const char* FirmwareCheckText(FirmwareCheck result)
{
    switch (result) {
    case FirmwareCheck::Ok:
        return "ok";
    case FirmwareCheck::TooShort:
        return "image too short";
    case FirmwareCheck::BadMagic:
        return "not a firmware image (bad magic)";
    case FirmwareCheck::BadFormatVersion:
        return "unknown image format version";
    case FirmwareCheck::BadKind:
        return "unknown image kind";
    case FirmwareCheck::SizeMismatch:
        return "code size does not match the image size";
    case FirmwareCheck::BadChecksum:
        return "checksum mismatch";
    }
    return "unknown result";
}

std::vector<uint8_t> FirmwarePlainBuffer(const std::vector<uint8_t>& content)
{
    std::vector<uint8_t> buffer(4 + content.size());
    putLe32(buffer.data(), uint32_t(content.size()));
    std::copy(content.begin(), content.end(), buffer.begin() + 4);
    return buffer;
}
