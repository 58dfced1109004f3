#pragma once
// The facts the mouse's protocol fixes, defined once: the report, the counts of profiles,
// buttons and DPI levels, how much one memory read returns and one block write takes, and the
// memory map. Everything that talks to a mouse reads them from here; only the simulated mouse
// keeps copies of its own, on purpose (see sim/sim_protocol.h).
#include <cstdint>

namespace zentrik::device {

// ---- the report ----
inline constexpr int kReportLength = 9;
// Byte 8 (or the byte after the parameters) of a write: the mouse ignores writes without it.
// The same byte marks the macro limit in memory and the mouse's own input reports.
inline constexpr std::uint8_t kKeyByte = 0x12;

// ---- what the mouse has ----
inline constexpr int kProfileCount = 5;
inline constexpr int kButtonCount = 11;        // the buttons the program shows
inline constexpr int kDeviceButtonCount = 12;  // the mouse's button indices, one more
inline constexpr int kDpiLevelCount = 4;

// ---- memory access ----
inline constexpr int kReadChunkBytes = 7;  // bytes one memory read returns
inline constexpr int kPageBytes = 32;      // the largest block write

// ---- the memory map (addresses wrap modulo the memory size) ----
inline constexpr int kDirectoryAddress = 0x0000;
inline constexpr int kDirectoryRecords = 64;
inline constexpr int kDirectoryRecordBytes = 32;
inline constexpr int kDirectoryBytes = kDirectoryRecords * kDirectoryRecordBytes;  // 0x800
inline constexpr int kMacroAreaStart = kDirectoryAddress + kDirectoryBytes;        // 0x800
// The top 256 bytes hold the button tables, profile names and identity; the normal macro
// limit is the memory size less these.
inline constexpr int kTopAreaBytes = 256;
inline constexpr std::uint16_t kProfileNameAddress = 0xFFB5;  // + kProfileNameBytes per profile
inline constexpr int kProfileNameBytes = 12;                  // 6 UTF-16 units
inline constexpr int kProfileNameUnits = kProfileNameBytes / 2;
inline constexpr std::uint16_t kIdentityAddress = 0xFFFC;     // the identity number (2 bytes)
inline constexpr std::uint16_t kIdentityKeyAddress = 0xFFFE;  // key byte: a number is stored
inline constexpr int kSmallestMemorySize = 0x2000;
inline constexpr int kLargestMemorySize = 0x8000;

static_assert(kDirectoryBytes == 0x800 && kMacroAreaStart == 0x800);

}  // namespace zentrik::device
