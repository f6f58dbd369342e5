#pragma once

// Factory content of the unit's 256-byte configuration memory: the defaults of
// the parameter catalogue as unit bytes. Bytes no item covers are 0.

#include <array>
#include <cstdint>

namespace FactoryMemory {

constexpr int Size = 256;

// Addresses with a meaning for the unit itself.
constexpr int CheckByte = 161;      // CHECKUP: writing EraseCommand restores the factory content
constexpr uint8_t CheckValue = 172; // factory value of the check byte
constexpr uint8_t EraseCommand = 8;

const std::array<uint8_t, Size>& bytes();

} // namespace FactoryMemory
