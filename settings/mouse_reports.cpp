// The mouse's own reports: changes made on the mouse, and tilts.
#include <algorithm>

#include "device/vendor_report.h"
#include "lang/text_format.h"
#include "settings/session.h"

namespace zentrik::settings {

void Session::on_input_report(std::span<const std::uint8_t> bytes) {
    const auto report = device::decode_vendor_report(bytes);
    if (!report)
        return;
    if (report->event == device::VendorEvent::kTilt) {
        tilt_ += report->tilt;
        if (tilt_listener_)
            tilt_listener_();
        return;
    }
    // Reports carrying another tag belong to another program's selection.
    const std::uint8_t tag = model_.with([](const SettingsState& s) { return s.link_tag; });
    if (!device::addressed_to_us(*report, tag) || selected_path().empty())
        return;
    on_mouse_event(*report);
}

// These change the model and the page only: nothing is written back to the mouse.
void Session::on_mouse_event(const device::VendorReport& r) {
    if (r.event == device::VendorEvent::kProfile) {
        select_profile(r.profile, false);
        return;
    }
    const int wheel = model_.with([&](SettingsState& s) {
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
        board_.set_text("static wheel", lang::format_text("%d", wheel));
        board_.set_value("wheel rate", wheel);
    }
    refresh_dpi_page();
}

}  // namespace zentrik::settings
