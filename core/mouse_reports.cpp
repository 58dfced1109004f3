// The mouse's own reports: changes made on the mouse, and tilts.
#include <utility>

#include "core/dpi_page.h"
#include "core/session.h"
#include "device/vendor_report.h"

namespace zentrik::core {

void Session::on_input_report(const std::string& source, std::span<const std::uint8_t> bytes) {
    const auto report = device::decode_vendor_report(bytes);
    if (!report)
        return;
    if (report->event == device::VendorEvent::kTilt) {
        tilt_ += report->tilt;
        if (tilt_listener_)
            tilt_listener_();
        return;
    }
    // Profile, DPI and wheel changes concern the selected mouse only, and only while it holds
    // our tag: reports carrying another tag belong to another program's selection.
    const auto [selected, tag] = model_.with([](const SettingsState& s) {
        return std::pair{s.selected_path, s.link_tag};
    });
    if (selected.empty() || source != selected || !device::addressed_to_us(*report, tag))
        return;
    on_mouse_event(*report);
}

// These change the model and the page only: nothing is written back to the mouse.
void Session::on_mouse_event(const device::VendorReport& r) {
    if (r.event == device::VendorEvent::kProfile) {
        take_outside_profile(r.profile);
        return;
    }
    dpi_->take_mouse_change(r);
}

void Session::take_outside_profile(int profile) {
    const int before = model_.with([](const SettingsState& s) { return s.profile; });
    select_profile(profile, false);
    const int now = model_.with([](const SettingsState& s) { return s.profile; });
    if (now != before)
        post([this, now] {
            if (profile_changed_outside)
                profile_changed_outside(now);
        });
}

}  // namespace zentrik::core
