#pragma once
// The 9-byte feature report that carries every request to the mouse and every reply back.
#include <array>
#include <cstdint>

#include "device/protocol.h"

namespace zentrik::device {

using Report = std::array<std::uint8_t, kReportLength>;

// Status bits in byte 1 of every report read from the mouse.
inline constexpr std::uint8_t kStatusBusy = 0x80;
inline constexpr std::uint8_t kStatusDone = 0x40;

}  // namespace zentrik::device
