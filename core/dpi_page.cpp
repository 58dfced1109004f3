// The DPI page: levels, axes, report rate, angle snapping and wheel rate, with their deferred
// writes (each write re-arms the store-settings timer).
#include "core/dpi_page.h"

#include <algorithm>

#include "core/mouse_job_lock.h"
#include "core/outside_changes.h"
#include "core/session.h"
#include "device/commands.h"
#include "device/mouse_models.h"
#include "device/vendor_report.h"
#include "lang/text_format.h"

namespace zentrik::core {
namespace {

constexpr int kDpiWriteDelayMs = 200;
constexpr int kRateWriteDelayMs = 1000;
constexpr int kWheelWriteDelayMs = 500;
constexpr int kCommitDelayMs = 2000;
constexpr int kSnapOn = 6;
// The distance between two check boxes stacked on the page, as the layout places them.
constexpr int kCheckBoxPitch = 20;

// Widget ids of the page's controls.
constexpr int kDpiXSlider = 20;
constexpr int kDpiYSlider = 21;
constexpr int kDpiXSpinner = 22;
constexpr int kDpiYSpinner = 23;
constexpr int kRateSlider = 24;
constexpr int kWheelSlider = 25;
constexpr int kFirstLevelRadio = 30;
constexpr int kAxesBox = 40;
constexpr int kAngleSnapBox = 42;

}  // namespace

DpiPage::DpiPage(Session& session) : session_(session) {
    install_rows();
    install_timers();
}

void DpiPage::install_rows() {
    using ui::WidgetEvent;
    for (const auto& [id, axis] : {std::pair{kDpiXSlider, 0}, std::pair{kDpiXSpinner, 0},
                                   std::pair{kDpiYSlider, 1}, std::pair{kDpiYSpinner, 1}}) {
        session_.add_row(ui::kActionClick, id, [this, axis](const WidgetEvent& e) {
            axis_changed(axis, e.first ? e.first->value : 0);
        });
    }
    session_.add_row(ui::kActionClick, kRateSlider, [this](const WidgetEvent& e) {
        if (e.first)
            rate_changed(e.first->value);
    });
    session_.add_row(ui::kActionClick, kWheelSlider, [this](const WidgetEvent& e) {
        if (e.first)
            wheel_changed(e.first->value);
    });
    session_.add_rows(ui::kActionClick, kFirstLevelRadio, kFirstLevelRadio + kLevelCount - 1,
                      [this](const WidgetEvent& e) { level_clicked(e.id - kFirstLevelRadio); });
    session_.add_row(ui::kActionClick, kAxesBox,
                     [this](const WidgetEvent&) { toggle_axes_independent(); });
    session_.add_row(ui::kActionClick, kAngleSnapBox,
                     [this](const WidgetEvent&) { toggle_angle_snap(); });
}

void DpiPage::install_timers() {
    for (int id : {kTimerDpiX, kTimerDpiY, kTimerRate, kTimerWheel})
        session_.run_timer_worker(id, [this, id] { deferred_write(id); });
}

void DpiPage::load() {
    load_levels();
    load_sensor_options();
}

void DpiPage::load_levels() {
    SettingsModel& model = session_.model();
    device::zklib& lib = session_.lib();
    const std::string path = session_.selected_path();
    const auto [tag, record] = model.with([](const SettingsState& s) {
        return std::pair{s.model_tag, s.device};
    });
    const device::DpiGrid grid = device::dpi_grid(tag, record.sensor, record.dpi_step);
    const int level = std::clamp(device::read_dpi_level(lib, path).value_or(0), 0, 3);
    std::array<std::optional<std::pair<int, int>>, kLevelCount> read{};
    const auto levels = model.with([](const SettingsState& s) { return s.levels; });
    for (int l = 0; l < kLevelCount; ++l) {
        if (levels[static_cast<std::size_t>(l)].loaded)
            continue;
        int x = 0;
        int y = 0;
        if (device::read_dpi_values(lib, path, l, x, y))
            read[static_cast<std::size_t>(l)] = std::pair{x, y};
        else
            read[static_cast<std::size_t>(l)] = std::pair{1, 1};
    }
    model.with([&](SettingsState& s) {
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
        session_.board().set_range(name, grid.max_dpi(), grid.step, grid.min_dpi());
    refresh();
}

void DpiPage::load_sensor_options() {
    SettingsModel& model = session_.model();
    ui::WidgetBoard& board = session_.board();
    const std::string path = session_.selected_path();
    const auto byte = device::read_rate_byte(session_.lib(), path).value_or(1);
    const auto [mouse, sensor] = model.with([](const SettingsState& s) {
        return std::pair{&device::mouse_model(s.model_tag), &device::sensor_rule(s.sensor)};
    });
    const device::RateByte rate = device::split_rate_byte(byte, *sensor);

    if (mouse->has_wheel_rate) {
        const int wheel = device::read_wheel_rate(session_.lib(), path).value_or(1);
        model.with([&](SettingsState& s) { s.wheel_rate = wheel; });
    }
    for (const char* name : {"wheel rate", "static wheel", "static wheel 1"})
        board.set_visible(name, mouse->has_wheel_rate ? 1 : 0);

    // The model's place for "x y indep", but never over the angle-snap box when that shows.
    if (const ui::Widget* indep = board.find_widget("x y indep")) {
        int y = mouse->axes_box_y;
        if (const ui::Widget* snap = board.find_widget("angle snap"); snap && sensor->snaps_angles)
            y = std::max(y, snap->y + kCheckBoxPitch);
        board.move_widget("x y indep", indep->x, y);
    }

    board.set_visible("angle snap", sensor->snaps_angles ? 1 : 0);
    model.with([&](SettingsState& s) {
        s.rate_divisor = rate.divisor;
        s.angle_snap = rate.snap;
    });
    show_sensor_values();
}

void DpiPage::show_sensor_values() {
    ui::WidgetBoard& board = session_.board();
    const SettingsState s = session_.model().snapshot();
    if (s.has_wheel_rate()) {
        board.set_value("wheel rate", s.wheel_rate);
        board.set_text("static wheel", lang::format_text("%d", s.wheel_rate));
    }
    board.set_checked("angle snap", s.angle_snap != 0 ? 1 : 0);
    if (const ui::Widget* slider = board.find_widget("report rate"))
        board.set_value("report rate", slider->max - s.rate_divisor + 1);
    board.set_text("static reprot", lang::format_text("%dHz", 1000 / s.rate_divisor));
}

void DpiPage::refresh() {
    SettingsModel& model = session_.model();
    ui::WidgetBoard& board = session_.board();
    const SettingsState s = model.snapshot();
    if (s.level != s.last_shown_level) {
        model.with([&](SettingsState& m) { m.last_shown_level = s.level; });
        for (int l = 0; l < kLevelCount; ++l)
            board.set_visible("z_dpi" + std::to_string(l + 1), l == s.level ? 1 : 0);
    }
    const DpiLevel& current = s.levels[static_cast<std::size_t>(s.level)];
    board.set_value("dpi x", current.x * s.dpi_step);
    board.set_value("dpi x value", current.x * s.dpi_step);
    board.set_value("dpi y", current.y * s.dpi_step);
    board.set_value("dpi y value", current.y * s.dpi_step);
    for (int l = 0; l < kLevelCount; ++l)
        board.set_checked("dpi level " + std::to_string(l + 1), l == s.level ? 1 : 0);
    for (int l = 0; l < kLevelCount; ++l) {
        const DpiLevel& d = s.levels[static_cast<std::size_t>(l)];
        board.set_text("static x" + std::to_string(l),
                       lang::format_text("X: %d", d.x * s.dpi_step));
        board.set_text("static y" + std::to_string(l),
                       lang::format_text("Y: %d", d.y * s.dpi_step));
    }
}

void DpiPage::take_mouse_change(const device::VendorReport& r) {
    const int wheel = session_.model().with([&](SettingsState& s) {
        s.level = std::min(r.level, kLevelCount - 1);
        if (r.has_steps) {
            DpiLevel& l = s.levels[static_cast<std::size_t>(s.level)];
            l.x = std::clamp(r.x_steps, 1, s.step_count);
            l.y = std::clamp(r.y_steps, 1, s.step_count);
        }
        if (r.event == device::VendorEvent::kWheel)
            s.wheel_rate = r.wheel_rate;
        s.last_shown_level = -1;
        return s.wheel_rate;
    });
    if (r.event == device::VendorEvent::kWheel) {
        session_.board().set_text("static wheel", lang::format_text("%d", wheel));
        session_.board().set_value("wheel rate", wheel);
    }
    refresh();
}

void DpiPage::axis_changed(int axis, int dpi) {
    const bool both = !axes_independent_;
    session_.model().with([&](SettingsState& s) {
        const int steps = std::clamp(dpi / std::max(1, s.dpi_step), 1, s.step_count);
        DpiLevel& d = s.levels[static_cast<std::size_t>(s.level)];
        (axis == 0 ? d.x : d.y) = steps;
        if (both)
            (axis == 0 ? d.y : d.x) = steps;
    });
    pending_ |= (axis == 0 || both ? kPendingDpiX : 0u) | (axis == 1 || both ? kPendingDpiY : 0u);
    ui::TimerService& timers = session_.timers();
    timers.arm(axis == 0 ? kTimerDpiX : kTimerDpiY, kDpiWriteDelayMs);
    if (both)
        timers.arm(axis == 0 ? kTimerDpiY : kTimerDpiX, kDpiWriteDelayMs);
    refresh();
}

void DpiPage::level_clicked(int level) {
    level = std::clamp(level, 0, kLevelCount - 1);
    session_.model().with([&](SettingsState& s) { s.level = level; });
    session_.write_to_mouse(
        session_.selected_path(),
        [level](device::zklib& lib, const std::string& path) {
            return device::write_dpi_level(lib, path, level);
        },
        kChangedLevel);
    refresh();
}

void DpiPage::toggle_axes_independent() {
    axes_independent_ = !axes_independent_;
    session_.board().set_checked("x y indep", axes_independent_ ? 1 : 0);
}

void DpiPage::rate_changed(int position) {
    const int divisor = std::clamp(8 - position + 1, 1, device::kMaxRateDivisor);
    session_.model().with([&](SettingsState& s) { s.rate_divisor = divisor; });
    session_.board().set_text("static reprot", lang::format_text("%dHz", 1000 / divisor));
    pending_ |= kPendingRate;
    session_.timers().arm(kTimerRate, kRateWriteDelayMs);
}

void DpiPage::toggle_angle_snap() {
    const auto [allowed, on] = session_.model().with([](SettingsState& s) {
        if (!s.snaps_angles())
            return std::pair{false, false};
        s.angle_snap = s.angle_snap ? 0 : kSnapOn;
        return std::pair{true, s.angle_snap != 0};
    });
    if (!allowed)
        return;  // nothing is ever sent to a sensor that does not snap angles
    session_.board().set_checked("angle snap", on ? 1 : 0);
    pending_ |= kPendingRate;
    session_.timers().arm(kTimerRate, kRateWriteDelayMs);
}

void DpiPage::wheel_changed(int position) {
    const int rate = std::clamp(position, 1, 9);
    const bool has = session_.model().with([&](SettingsState& s) {
        if (s.has_wheel_rate())
            s.wheel_rate = rate;
        return s.has_wheel_rate();
    });
    if (!has)
        return;
    session_.board().set_text("static wheel", lang::format_text("%d", rate));
    pending_ |= kPendingWheel;
    session_.timers().arm(kTimerWheel, kWheelWriteDelayMs);
}

// Runs on a worker: inside the mouse's lock, reads the values as they are now and writes one of
// them, so a change another program made meanwhile is either read before or written over (with
// a note, see outside_changes.h).
void DpiPage::deferred_write(int timer_id) {
    const std::string path = session_.selected_path();
    if (path.empty())
        return;
    device::zklib& lib = session_.lib();
    // A short write; it waits while another program's job runs, without a box of its own.
    auto lock = device::lock_mouse(lib, path, nullptr);
    if (!lock.held()) {
        session_.dialogs().message("", mouse_unavailable_message(lock));
        return;
    }
    const auto [bit, contested] = timer_id == kTimerDpiX   ? std::pair{kPendingDpiX, "dpi x"}
                                  : timer_id == kTimerDpiY ? std::pair{kPendingDpiY, "dpi y"}
                                  : timer_id == kTimerRate ? std::pair{kPendingRate, "rate"}
                                                           : std::pair{kPendingWheel, "wheel"};
    const SettingsState s = session_.model().with([&](SettingsState& m) {
        if (!m.snaps_angles())
            m.angle_snap = 0;
        pending_ &= ~static_cast<unsigned>(bit);
        return m;
    });
    if (s.selected_path != path)
        return;
    const DpiLevel& d = s.levels[static_cast<std::size_t>(s.level)];
    int written = 0;
    OutsideChange change{kChangedDpi, s.level, {}};  // what the other windows are told
    switch (timer_id) {
        case kTimerDpiX:
            written = device::write_dpi_value(lib, path, 0, s.level, d.x);
            break;
        case kTimerDpiY:
            written = device::write_dpi_value(lib, path, 1, s.level, d.y);
            break;
        case kTimerRate:
            written = device::write_rate_byte(lib, path, s.rate_byte());
            change = {kChangedRate, -1, {}};
            break;
        case kTimerWheel:
            if (!s.has_wheel_rate())
                return;
            written = device::write_wheel_rate(lib, path, static_cast<std::uint8_t>(s.wheel_rate));
            change = {kChangedWheel, -1, {}};
            break;
        default:
            return;
    }
    session_.arm_from_any_thread(kTimerCommit, kCommitDelayMs);
    ContestedEdits& edits = session_.contested_edits();
    const bool level_kept = bit != kPendingRate && bit != kPendingWheel && edits.take("dpi level");
    if (edits.take(contested) || level_kept)
        session_.dialogs().message("", contested_note());
    lock.release();  // the windows told read the mouse in their own lock
    if (written)
        session_.tell_others_of(path, change.kinds, change.index);
}

}  // namespace zentrik::core
