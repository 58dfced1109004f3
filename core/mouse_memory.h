#pragma once
// The whole memory and the backed-up settings of a mouse, read and written as backups need.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/backup_file.h"
#include "device/protocol.h"
#include "device/zklib.h"

namespace zentrik::core {

// Receives the fraction of a transfer done so far (0.0-1.0).
using FractionSink = std::function<void(double)>;

// The memory from address 0, read 7 bytes at a time at 0, 7, 14, ... while the address is below
// memory_size - 4; the few top bytes no read covers are 0. nullopt at the first failed read.
std::optional<std::vector<std::uint8_t>> read_memory_image(device::zklib& lib,
                                                           const std::string& path, int memory_size,
                                                           const FractionSink& on_fraction);

// The report-rate divisor (angle-snap bits dropped), the wheel rate and the four DPI levels the
// mouse works with now; nullopt when a read failed. A model without a wheel rate is not asked
// for one (the settings' load never asks it either) and gets kNoWheelRate.
inline constexpr int kNoWheelRate = 1;
std::optional<BackupSettings> read_backup_settings(device::zklib& lib,
                                                   const device::_DEVICE_& mouse);

// Where a write sequence stopped.
struct WriteFailure {
    std::string step;  // what was being written, e.g. "memory page at 0x0120"
};

// Writes the rate, the wheel rate and the DPI levels (X then Y per level); the fraction is
// level x 0.02. Stops at the first write that fails.
std::optional<WriteFailure> write_backup_settings(device::zklib& lib, const std::string& path,
                                                  const BackupSettings& settings,
                                                  const FractionSink& on_fraction);

// Writes the image back: 32-byte pages below memory_size - 32, then the rest two bytes at a
// time, sparing the last 4 bytes (the mouse's identity and its key byte). Fractions run from
// 0.1 to 1.0. Stops at the first write that fails.
std::optional<WriteFailure> write_memory_image(device::zklib& lib, const std::string& path,
                                               std::span<const std::uint8_t> image,
                                               const FractionSink& on_fraction);

// Bytes at the top of the memory that a restore never writes: from the identity number on.
inline constexpr int kSparedTopBytes = 0x10000 - device::kIdentityAddress;

}  // namespace zentrik::core
