#pragma once
// What the program knows of the selected mouse. Workers (loads, deferred writes, jobs) and the
// window thread share it; every field is read and written under the model's mutex, through
// with(). Board calls are never made while the mutex is held.
#include <array>
#include <cstdint>
#include <mutex>
#include <string>

#include "core/link_tag.h"
#include "device/button_table.h"
#include "device/device_record.h"
#include "device/mouse_models.h"

namespace zentrik::core {

inline constexpr int kLevelCount = 4;

struct DpiLevel {
    int x = 1;  // steps
    int y = 1;
    bool loaded = false;
};

struct SettingsState {
    // The selected mouse.
    std::string selected_path;
    device::_DEVICE_ device;  // its record from the last discovery
    std::string model_tag = device::mouse_model(device::kAnyCode).tag;
    int memory_size = 0;
    std::uint16_t identity = 0;
    std::uint16_t macro_limit = 0;
    std::uint8_t link_tag = kInitialLinkTag;

    // Profiles.
    int profile = 0;
    int last_shown_profile = -1;
    std::array<std::string, device::kProfileCount> profile_names{};
    int selected_button = 0;

    // DPI and sensor options.
    int sensor = 0;
    int dpi_step = 100;
    int step_count = 56;
    int level = 0;
    int last_shown_level = -1;
    std::array<DpiLevel, kLevelCount> levels{};
    int rate_divisor = 1;  // 1-8: 1000 / divisor Hz
    int angle_snap = 0;    // 0 or 6
    int wheel_rate = 1;

    // Device list.
    int previous_device_count = 0;
    bool list_changed = false;
    int chosen_page = 3;
    bool any_mouse_listed = false;
    bool preview = false;  // pages shown without a mouse (development view)

    bool has_wheel_rate() const { return device::mouse_model(model_tag).has_wheel_rate; }
    bool snaps_angles() const { return device::sensor_rule(sensor).snaps_angles; }
    // The report-rate/angle-snapping byte as the mouse keeps it.
    std::uint8_t rate_byte() const {
        return device::join_rate_byte({rate_divisor, angle_snap}, device::sensor_rule(sensor));
    }
};

class SettingsModel {
  public:
    template <class F>
    auto with(F&& f) {
        std::lock_guard lock(mutex_);
        return f(state_);
    }
    template <class F>
    auto with(F&& f) const {
        std::lock_guard lock(mutex_);
        return f(static_cast<const SettingsState&>(state_));
    }
    SettingsState snapshot() const {
        std::lock_guard lock(mutex_);
        return state_;
    }
    // Forgets what was read from the mouse, so the next load reads it again.
    void forget_loaded() {
        {
            std::lock_guard lock(mutex_);
            state_.last_shown_profile = -1;
            state_.last_shown_level = -1;
            for (DpiLevel& l : state_.levels)
                l.loaded = false;
        }
        buttons.clear_loaded();
    }

    device::ButtonTable buttons;

  private:
    mutable std::mutex mutex_;
    SettingsState state_;
};

}  // namespace zentrik::core
