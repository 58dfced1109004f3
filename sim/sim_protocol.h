#pragma once
// Internal to sim/: the facts of the mouse's protocol as the simulated firmware knows them.
//
// These are copies, on purpose. The program keeps its own in device/protocol.h; the simulated
// mouse never includes that header, so a wrong key byte, count or address there is caught by
// the tests that run the program against this mouse instead of being mirrored by it.
#include <cstddef>
#include <cstdint>

namespace zentrik::sim {

inline constexpr std::uint8_t kKey = 0x12;   // writes without it are ignored
inline constexpr std::uint8_t kBusy = 0x80;  // status byte 1 of a report read
inline constexpr std::uint8_t kDone = 0x40;
inline constexpr int kProfiles = 5;
inline constexpr int kDpiLevels = 4;
inline constexpr int kButtonsPerProfile = 12;
// The top 256 bytes, above the macro limit: the button cells from S - 256 (3 bytes each),
// the profile names and the identity.
inline constexpr int kTopAreaBytes = 256;
inline constexpr std::size_t kReadBytes = 7;  // bytes a memory read returns
inline constexpr std::size_t kStagingBytes = 32;

}  // namespace zentrik::sim
