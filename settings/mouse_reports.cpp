// The mouse's own reports: changes made on the mouse, and tilts.
#include "lang/text_format.h"
#include "settings/session.h"

namespace zentrik::settings {
namespace {

constexpr std::uint8_t kReportMarker = 0x12;
constexpr std::uint8_t kEventProfile = 1;
constexpr std::uint8_t kEventDpi = 2;
constexpr std::uint8_t kEventTilt = 3;
constexpr std::uint8_t kEventWheel = 11;
constexpr std::uint8_t kStepsFollow = 0xFA;

}  // namespace

void Session::on_input_report(std::span<const std::uint8_t> r) {
    if (r.size() < 8 || r[1] != kReportMarker)
        return;
    const std::uint8_t event = r[3];
    if (event == kEventTilt) {
        tilt_ += static_cast<std::int8_t>(r[4]);
        if (tilt_listener_)
            tilt_listener_();
        return;
    }
    // Reports carrying another tag belong to another program's selection.
    const std::uint8_t tag = model_.with([](const SettingsState& s) { return s.link_tag; });
    if (r[2] != tag || selected_path().empty())
        return;
    on_mouse_event(event, r.subspan(4, 4));
}

void Session::on_mouse_event(std::uint8_t event, std::span<const std::uint8_t> d) {
    switch (event) {
        case kEventProfile:
            if (d[0] < device::kProfileCount)
                select_profile(d[0], false);  // the mouse changed it: nothing is written back
            break;
        case kEventDpi:
            model_.with([&](SettingsState& s) {
                s.level = std::min<int>(d[0], kLevelCount - 1);
                if (d[1] == kStepsFollow) {
                    DpiLevel& l = s.levels[static_cast<std::size_t>(s.level)];
                    l.x = std::clamp<int>(d[2], 1, s.step_count);
                    l.y = std::clamp<int>(d[3], 1, s.step_count);
                }
                s.last_shown_level = -1;
            });
            refresh_dpi_page();
            break;
        case kEventWheel: {
            const int wheel = model_.with([&](SettingsState& s) {
                s.level = std::min<int>(d[0], kLevelCount - 1);
                DpiLevel& l = s.levels[static_cast<std::size_t>(s.level)];
                l.x = std::clamp<int>(d[1], 1, s.step_count);
                l.y = std::clamp<int>(d[2], 1, s.step_count);
                s.wheel_rate = d[3];
                s.last_shown_level = -1;
                return s.wheel_rate;
            });
            board_.set_text("static wheel", lang::format_text("%d", wheel));
            board_.set_value("wheel rate", wheel);
            refresh_dpi_page();
            break;
        }
        default:
            break;
    }
}

}  // namespace zentrik::settings
