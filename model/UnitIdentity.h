#pragma once

// The identity record a unit gives (8 bytes) and the values the configurator
// serves: byte 0 the unit family, byte 1 the application kind, byte 2 the
// model, byte 3 the firmware version. While the unit's boot loader runs instead
// of its application, byte 1 holds BootLoaderKind and bytes 4 and 5 carry the
// application's kind and model.

#include <cstdint>

namespace UnitIdentity {

constexpr uint8_t SupportedFamily = 11;
constexpr uint8_t SupportedKind = 36;
constexpr uint8_t SupportedModel = 25;
constexpr uint8_t BootLoaderKind = 3;

} // namespace UnitIdentity
