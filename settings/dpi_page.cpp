// The DPI page: levels, axes, report rate, angle snapping and wheel rate, with their deferred
// writes (each write re-arms the store-settings timer).
#include <algorithm>

#include "device/commands.h"
#include "lang/text_format.h"
#include "settings/dpi_rules.h"
#include "settings/session.h"

namespace zentrik::settings {
namespace {

constexpr int kDpiWriteDelayMs = 200;
constexpr int kRateWriteDelayMs = 1000;
constexpr int kWheelWriteDelayMs = 500;
constexpr int kCommitDelayMs = 2000;
constexpr int kSnapOn = 6;

}  // namespace

void Session::load_dpi_page() {
    const std::string path = selected_path();
    const auto [tag, record] = model_.with([](const SettingsState& s) {
        return std::pair{s.model_tag, s.device};
    });
    const DpiGrid grid = dpi_grid(tag, record.sensor, record.dpi_step);
    const int level = std::clamp(device::read_dpi_level(lib_, path).value_or(0), 0, 3);
    std::array<std::optional<std::pair<int, int>>, kLevelCount> read{};
    const auto levels = model_.with([](const SettingsState& s) { return s.levels; });
    for (int l = 0; l < kLevelCount; ++l) {
        if (levels[static_cast<std::size_t>(l)].loaded)
            continue;
        int x = 0;
        int y = 0;
        if (device::read_dpi_values(lib_, path, l, x, y))
            read[static_cast<std::size_t>(l)] = std::pair{x, y};
        else
            read[static_cast<std::size_t>(l)] = std::pair{1, 1};
    }
    model_.with([&](SettingsState& s) {
        s.sensor = record.sensor;
        s.dpi_step = grid.step;
        s.step_count = grid.count;
        s.level = level;
        for (int l = 0; l < kLevelCount; ++l) {
            auto& v = read[static_cast<std::size_t>(l)];
            if (!v)
                continue;
            DpiLevel& d = s.levels[static_cast<std::size_t>(l)];
            d.loaded = true;
            d.x = std::clamp(v->first, 1, grid.count);
            d.y = std::clamp(v->second == 0 ? v->first : v->second, 1, grid.count);
        }
    });
    for (const char* name : {"dpi x value", "dpi y value", "dpi x", "dpi y"})
        board_.set_range(name, grid.max_dpi(), grid.step, grid.min_dpi());
    refresh_dpi_page();
}

void Session::refresh_dpi_page() {
    const SettingsState s = model_.snapshot();
    if (s.level != s.last_shown_level) {
        model_.with([&](SettingsState& m) { m.last_shown_level = s.level; });
        for (int l = 0; l < kLevelCount; ++l)
            board_.set_visible("z_dpi" + std::to_string(l + 1), l == s.level ? 1 : 0);
    }
    const DpiLevel& current = s.levels[static_cast<std::size_t>(s.level)];
    board_.set_value("dpi x", current.x * s.dpi_step);
    board_.set_value("dpi x value", current.x * s.dpi_step);
    board_.set_value("dpi y", current.y * s.dpi_step);
    board_.set_value("dpi y value", current.y * s.dpi_step);
    for (int l = 0; l < kLevelCount; ++l)
        board_.set_checked("dpi level " + std::to_string(l + 1), l == s.level ? 1 : 0);
    for (int l = 0; l < kLevelCount; ++l) {
        const DpiLevel& d = s.levels[static_cast<std::size_t>(l)];
        board_.set_text("static x" + std::to_string(l),
                        lang::format_text("X: %d", d.x * s.dpi_step));
        board_.set_text("static y" + std::to_string(l),
                        lang::format_text("Y: %d", d.y * s.dpi_step));
    }
}

void Session::dpi_axis_changed(int axis, int dpi) {
    const bool both = model_.with([&](SettingsState& s) {
        const int steps = std::clamp(dpi / std::max(1, s.dpi_step), 1, s.step_count);
        DpiLevel& d = s.levels[static_cast<std::size_t>(s.level)];
        (axis == 0 ? d.x : d.y) = steps;
        if (!s.axes_independent)
            (axis == 0 ? d.y : d.x) = steps;
        return !s.axes_independent;
    });
    timers_.arm(axis == 0 ? kTimerDpiX : kTimerDpiY, kDpiWriteDelayMs);
    if (both)
        timers_.arm(axis == 0 ? kTimerDpiY : kTimerDpiX, kDpiWriteDelayMs);
    refresh_dpi_page();
}

void Session::dpi_level_clicked(int level) {
    level = std::clamp(level, 0, kLevelCount - 1);
    model_.with([&](SettingsState& s) { s.level = level; });
    const std::string path = selected_path();
    if (!path.empty())
        device::write_dpi_level(lib_, path, level);
    refresh_dpi_page();
}

void Session::toggle_axes_independent() {
    const bool on = model_.with([](SettingsState& s) {
        s.axes_independent = !s.axes_independent;
        return s.axes_independent;
    });
    board_.set_checked("x y indep", on ? 1 : 0);
}

void Session::rate_changed(int position) {
    const int divisor = std::clamp(8 - position + 1, 1, 8);
    model_.with([&](SettingsState& s) { s.rate_divisor = divisor; });
    board_.set_text("static reprot", lang::format_text("%dHz", 1000 / divisor));
    timers_.arm(kTimerRate, kRateWriteDelayMs);
}

void Session::toggle_angle_snap() {
    const auto [allowed, on] = model_.with([](SettingsState& s) {
        if (!s.has_angle_snap())
            return std::pair{false, false};
        s.angle_snap = s.angle_snap ? 0 : kSnapOn;
        return std::pair{true, s.angle_snap != 0};
    });
    if (!allowed)
        return;  // only one sensor snaps angles; nothing is ever sent to the others
    board_.set_checked("angle snap", on ? 1 : 0);
    timers_.arm(kTimerRate, kRateWriteDelayMs);
}

void Session::wheel_changed(int position) {
    const int rate = std::clamp(position, 1, 9);
    const bool has = model_.with([&](SettingsState& s) {
        if (s.has_wheel_rate())
            s.wheel_rate = rate;
        return s.has_wheel_rate();
    });
    if (!has)
        return;
    board_.set_text("static wheel", lang::format_text("%d", rate));
    timers_.arm(kTimerWheel, kWheelWriteDelayMs);
}

// Runs on a worker: reads the values as they are now and writes one of them.
void Session::deferred_write(int timer_id) {
    const SettingsState s = model_.with([](SettingsState& m) {
        if (!m.has_angle_snap())
            m.angle_snap = 0;
        return m;
    });
    if (s.selected_path.empty())
        return;
    const DpiLevel& d = s.levels[static_cast<std::size_t>(s.level)];
    switch (timer_id) {
        case kTimerDpiX:
            device::write_dpi_value(lib_, s.selected_path, 0, s.level, d.x);
            break;
        case kTimerDpiY:
            device::write_dpi_value(lib_, s.selected_path, 1, s.level, d.y);
            break;
        case kTimerRate:
            device::write_rate_byte(lib_, s.selected_path, s.rate_byte());
            break;
        case kTimerWheel:
            if (!s.has_wheel_rate())
                return;
            device::write_wheel_rate(lib_, s.selected_path,
                                     static_cast<std::uint8_t>(s.wheel_rate));
            break;
        default:
            return;
    }
    arm_from_any_thread(kTimerCommit, kCommitDelayMs);
}

}  // namespace zentrik::settings
