// The reset of a mouse to its defaults.
#include <algorithm>
#include <array>
#include <optional>

#include "core/backup_jobs.h"
#include "core/mouse_memory.h"
#include "core/overwrite_job.h"
#include "device/commands.h"
#include "device/mouse_models.h"
#include "device/protocol.h"
#include "lang/string_tables.h"

namespace zentrik::core {
namespace {

constexpr int kResetCaption = 5;
constexpr std::uint16_t kResetMacroLimit = 0x1F00;
constexpr int kDefaultDpiLevel = 1;
constexpr std::uint8_t kDefaultRateByte = 2;  // divisor 2 (500 Hz), angle snapping off
constexpr std::uint8_t kDefaultWheelRate = 1;

// Runs the writes in order; the first that fails names the step.
std::optional<WriteFailure> write_defaults(device::zklib& lib, const device::_DEVICE_& device,
                                           const FractionSink& progress) {
    const std::string& path = device.path;
    if (!device::write_macro_limit(lib, path, kResetMacroLimit))
        return WriteFailure{"macro limit"};
    const auto limit = device::read_macro_limit(lib, path);
    if (!limit || !device::write_memory_byte(lib, path, *limit, device::kKeyByte))
        return WriteFailure{"macro limit"};

    // Every button index the mouse has, one more than the program shows.
    for (int p = 0; p < device::kProfileCount; ++p) {
        for (int i = 0; i < device::kDeviceButtonCount; ++i) {
            if (!device::write_button(lib, path, p, i, false, 0xFFFF))
                return WriteFailure{"buttons of profile " + std::to_string(p + 1)};
            progress(std::min(1.0, (device::kDeviceButtonCount * p + i) / 55.0 * 0.2));
        }
        if (!device::write_profile_name(lib, path, p, u""))
            return WriteFailure{"name of profile " + std::to_string(p + 1)};
    }
    progress(0.2);

    const auto levels = device::reset_dpi_levels(device.dpi_step);
    for (int level = 0; level < device::kDpiLevelCount; ++level) {
        const int value = levels[static_cast<std::size_t>(level)];
        if (!device::write_dpi_value(lib, path, 0, level, value) ||
            !device::write_dpi_value(lib, path, 1, level, value)) {
            return WriteFailure{"DPI level " + std::to_string(level + 1)};
        }
        progress(0.2 + 0.025 * (level + 1));
    }
    progress(0.3);

    std::array<std::uint8_t, device::kPageBytes> erased;
    erased.fill(0xFF);
    for (int a = device::kDirectoryAddress; a < device::kDirectoryAddress + device::kDirectoryBytes;
         a += device::kPageBytes) {
        if (!device::write_memory_page(lib, path, static_cast<std::uint16_t>(a), erased))
            return WriteFailure{"macro directory"};
        progress(std::min(1.0, 0.3 + a / double(device::kDirectoryBytes)));
    }

    if (!device::write_dpi_level(lib, path, kDefaultDpiLevel) ||
        !device::write_profile(lib, path, 1) || !device::write_profile(lib, path, 0) ||
        !device::write_rate_byte(lib, path, kDefaultRateByte) ||
        !device::write_wheel_rate(lib, path, kDefaultWheelRate)) {
        return WriteFailure{"current settings"};
    }
    if (!device::commit_settings(lib, path))
        return WriteFailure{"store settings"};
    return std::nullopt;
}

}  // namespace

JobResult reset_mouse(device::zklib& lib, const device::_DEVICE_& device, JobProgress& progress,
                      const OverwriteOptions& options) {
    OverwriteJob job{
        "reset", kResetCaption,
        lang::own_text("zk_phase_reset_write", "Writing the defaults to the mouse\u2026"),
        [&](const FractionSink& to_progress) { return write_defaults(lib, device, to_progress); }};
    return overwrite_mouse(lib, device, progress, options, job);
}

}  // namespace zentrik::core
