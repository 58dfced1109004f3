#pragma once
// The 9-byte feature report that carries every request to the mouse and every reply back.
#include <array>
#include <cstdint>

namespace zentrik::device {

using Report = std::array<std::uint8_t, 9>;

inline constexpr int kReportLength = 9;
// Byte 8 (or the byte after the parameters) of a write: the mouse ignores writes without it.
inline constexpr std::uint8_t kKeyByte = 0x12;
// Status bits in byte 1 of every report read from the mouse.
inline constexpr std::uint8_t kStatusBusy = 0x80;
inline constexpr std::uint8_t kStatusDone = 0x40;

}  // namespace zentrik::device
