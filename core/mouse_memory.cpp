#include "core/mouse_memory.h"

#include <algorithm>
#include <cstdio>

#include "device/commands.h"
#include "device/memory_reader.h"
#include "device/mouse_models.h"

namespace zentrik::core {
namespace {

using device::kPageBytes;
using device::kReadChunkBytes;
constexpr int kTailStep = 2;
constexpr std::uint8_t kRateDivisorBits = 0x0F;

std::string at_address(const char* what, int address) {
    char text[64];
    std::snprintf(text, sizeof text, "%s at 0x%04x", what, address);
    return text;
}

void report(const FractionSink& sink, double fraction) {
    if (sink)
        sink(std::min(1.0, fraction));
}

}  // namespace

std::optional<std::vector<std::uint8_t>> read_memory_image(device::zklib& lib,
                                                           const std::string& path, int memory_size,
                                                           const FractionSink& on_fraction) {
    if (memory_size <= kSparedTopBytes || memory_size > kMaxBackupImageBytes)
        return std::nullopt;
    // Whole reads while the address is below memory_size - 4; the last one may cover some of
    // the spared bytes, which keep what it read.
    const int reads = (memory_size - kSparedTopBytes + kReadChunkBytes - 1) / kReadChunkBytes;
    const int covered = std::min(reads * kReadChunkBytes, memory_size);
    auto image =
        device::read_memory_range(lib, path, 0, covered, {.on_progress = [&](int done) {
                                      report(on_fraction, static_cast<double>(done) / memory_size);
                                  }});
    if (!image)
        return std::nullopt;
    image->resize(static_cast<std::size_t>(memory_size), 0);
    return image;
}

std::optional<BackupSettings> read_backup_settings(device::zklib& lib,
                                                   const device::_DEVICE_& mouse) {
    const std::string& path = mouse.path;
    BackupSettings s;
    const auto rate = device::read_rate_byte(lib, path);
    const auto wheel = device::mouse_traits(mouse).has_wheel_rate()
                           ? device::read_wheel_rate(lib, path)
                           : std::optional<std::uint8_t>(kNoWheelRate);
    if (!rate || !wheel)
        return std::nullopt;
    s.rate_divisor = *rate & kRateDivisorBits;
    s.wheel_rate = *wheel;
    for (int level = 0; level < device::kDpiLevelCount; ++level) {
        int x = 0;
        int y = 0;
        if (!device::read_dpi_values(lib, path, level, x, y))
            return std::nullopt;
        s.levels[static_cast<std::size_t>(level)] = {x, y};
    }
    return s;
}

std::optional<WriteFailure> write_backup_settings(device::zklib& lib, const std::string& path,
                                                  const BackupSettings& s,
                                                  const FractionSink& on_fraction) {
    // Only the divisor bits: the file never turns angle snapping on.
    const auto rate = static_cast<std::uint8_t>(s.rate_divisor & kRateDivisorBits);
    if (!device::write_rate_byte(lib, path, rate))
        return WriteFailure{"report rate"};
    if (!device::write_wheel_rate(lib, path, static_cast<std::uint8_t>(s.wheel_rate)))
        return WriteFailure{"wheel rate"};
    for (int level = 0; level < device::kDpiLevelCount; ++level) {
        const DpiSteps& steps = s.levels[static_cast<std::size_t>(level)];
        if (!device::write_dpi_value(lib, path, 0, level, steps.x & 0xFF) ||
            !device::write_dpi_value(lib, path, 1, level, steps.y & 0xFF)) {
            return WriteFailure{"DPI level " + std::to_string(level + 1)};
        }
        report(on_fraction, level * 0.02);
    }
    return std::nullopt;
}

std::optional<WriteFailure> write_memory_image(device::zklib& lib, const std::string& path,
                                               std::span<const std::uint8_t> image,
                                               const FractionSink& on_fraction) {
    const int size = static_cast<int>(image.size());
    if (size < kPageBytes)
        return WriteFailure{"memory image"};
    for (int a = 0; a < size - kPageBytes; a += kPageBytes) {
        const std::span<const std::uint8_t, kPageBytes> page(image.data() + a, kPageBytes);
        if (!device::write_memory_page(lib, path, static_cast<std::uint16_t>(a), page))
            return WriteFailure{at_address("memory page", a)};
        report(on_fraction, 0.1 + 0.8 * a / size);
    }
    // The top page two bytes at a time, leaving its last 4 bytes as they are.
    const int top = size - kPageBytes;
    for (int p = 0; p < kPageBytes - kSparedTopBytes; p += kTailStep) {
        const auto at = static_cast<std::size_t>(top + p);
        if (!device::write_memory_word(lib, path, static_cast<std::uint16_t>(top + p), image[at],
                                       image[at + 1])) {
            return WriteFailure{at_address("memory bytes", top + p)};
        }
        report(on_fraction, 0.9 + p / 280.0);
    }
    return std::nullopt;
}

}  // namespace zentrik::core
