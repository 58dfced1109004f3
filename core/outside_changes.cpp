// Following what another program changed on the selected mouse.
#include "core/outside_changes.h"

#include <algorithm>
#include <charconv>

#include "core/button_page.h"
#include "core/dpi_page.h"
#include "core/mouse_job_lock.h"
#include "core/profile_name.h"
#include "core/session.h"
#include "device/commands.h"
#include "device/mouse_lock.h"
#include "lang/string_tables.h"
#include "lang/text_codec.h"

namespace zentrik::core {
namespace {

// Whether the inline editor is open on the widget called `name`.
bool editing(ui::WidgetBoard& board, const std::string& name) {
    const auto lock = board.lock();
    const ui::Widget* target = board.pointer.edit_target;
    return target && target == board.find_widget(name);
}

std::optional<int> leading_number(std::string_view& text) {
    int n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end == text.data() + text.size() || *end != ' ')
        return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()) + 1);
    return n;
}

void follow_names(Session& session, const std::string& path, int only) {
    for (int p = 0; p < device::kProfileCount; ++p) {
        if (only >= 0 && p != only)
            continue;
        const auto name16 = device::read_profile_name(session.lib(), path, p);
        if (!name16)
            continue;
        const std::string name = shown_profile_name(lang::utf16_to_utf8(*name16), p);
        const bool changed = session.model().with([&](SettingsState& s) {
            return std::exchange(s.profile_names[static_cast<std::size_t>(p)], name) != name;
        });
        const std::string widget = "profile " + std::to_string(p);
        // The open editor keeps the user's text (committing it writes it over this one); the
        // widget under it shows the mouse's name should the user cancel.
        if (changed && editing(session.board(), widget))
            session.contested_edits().mark("profile name " + std::to_string(p));
        session.board().set_text(widget, name);
    }
}

// Takes `value` into `field` unless the user's own value waits for its write (`pending`).
template <class T>
void take_unless_pending(Session& session, bool pending, const char* what, T& field, T value) {
    if (!pending)
        field = value;
    else if (field != value)
        session.contested_edits().mark(what);
}

void follow_settings(Session& session, const std::string& path, const OutsideChange& change) {
    device::zklib& lib = session.lib();
    const unsigned pending = session.dpi().pending_writes();
    const bool dpi_pending = (pending & (kPendingDpiX | kPendingDpiY)) != 0;
    if (change.kinds & kChangedProfile) {
        if (const auto profile = device::read_profile(lib, path))
            session.take_outside_profile(*profile);
    }
    const auto level =
        change.kinds & kChangedLevel ? device::read_dpi_level(lib, path) : std::nullopt;
    std::optional<std::pair<int, int>> steps;
    if (int x = 0, y = 0; change.kinds & kChangedDpi && change.index >= 0 &&
                          change.index < kLevelCount &&
                          device::read_dpi_values(lib, path, change.index, x, y))
        steps = std::pair{x, y == 0 ? x : y};
    const auto rate =
        change.kinds & kChangedRate ? device::read_rate_byte(lib, path) : std::nullopt;
    const auto wheel =
        change.kinds & kChangedWheel ? device::read_wheel_rate(lib, path) : std::nullopt;
    session.model().with([&](SettingsState& s) {
        // A DPI change waiting for its write is for the level shown: that level stays.
        if (level)
            take_unless_pending(session, dpi_pending, "dpi level", s.level,
                                std::clamp(*level, 0, kLevelCount - 1));
        if (steps) {
            DpiLevel& d = s.levels[static_cast<std::size_t>(change.index)];
            const bool shown = change.index == s.level;
            take_unless_pending(session, shown && (pending & kPendingDpiX), "dpi x", d.x,
                                std::clamp(steps->first, 1, s.step_count));
            take_unless_pending(session, shown && (pending & kPendingDpiY), "dpi y", d.y,
                                std::clamp(steps->second, 1, s.step_count));
        }
        if (rate) {
            const auto split = device::split_rate_byte(*rate, device::sensor_rule(s.sensor));
            take_unless_pending(session, pending & kPendingRate, "rate", s.rate_divisor,
                                split.divisor);
            take_unless_pending(session, pending & kPendingRate, "rate", s.angle_snap, split.snap);
        }
        if (wheel && s.has_wheel_rate())
            take_unless_pending(session, pending & kPendingWheel, "wheel", s.wheel_rate,
                                static_cast<int>(*wheel));
        s.last_shown_level = -1;
    });
    session.dpi().refresh();
    session.dpi().show_sensor_values();
}

void follow_locked(Session& session, const std::string& path, const OutsideChange& change) {
    if (change.kinds &
        (kChangedProfile | kChangedLevel | kChangedDpi | kChangedRate | kChangedWheel))
        follow_settings(session, path, change);
    if (change.kinds & kChangedNames)
        follow_names(session, path, change.index);
    if (change.kinds & kChangedMacros && session.refresh_memory_info)
        session.refresh_memory_info();
    if (change.kinds & (kChangedButtons | kChangedMacros)) {
        const int only = change.kinds & kChangedMacros ? -1 : change.index;
        for (int p = 0; p < device::kProfileCount; ++p)
            if (only < 0 || p == only)
                session.model().buttons.set_loaded(p, false);
        session.buttons().reload_assignments();
    }
    if (change.kinds & kChangedMacros && session.refresh_macro_lists)
        session.refresh_macro_lists();
}

}  // namespace

std::string encode_outside_change(const OutsideChange& change) {
    return std::to_string(change.kinds) + " " + std::to_string(change.index) + " " + change.mouse;
}

std::optional<OutsideChange> decode_outside_change(const std::string& text) {
    std::string_view rest = text;
    const auto kinds = leading_number(rest);
    const auto index = kinds ? leading_number(rest) : std::nullopt;
    if (!index || *kinds <= 0 || *index < -1 || *index >= device::kProfileCount || rest.empty())
        return std::nullopt;
    return OutsideChange{static_cast<unsigned>(*kinds), *index, std::string(rest)};
}

void ContestedEdits::mark(const std::string& what) {
    std::lock_guard lock(mutex_);
    marked_.insert(what);
}

bool ContestedEdits::take(const std::string& what) {
    std::lock_guard lock(mutex_);
    return marked_.erase(what) != 0;
}

std::string contested_note() {
    return lang::own_text("zk_outside_replaced",
                          "Another program changed this value while you were editing it; "
                          "your value replaced it.");
}

void Session::tell_others_of(const std::string& path, unsigned kinds, int index) {
    if (!tell_others || path.empty())
        return;
    OutsideChange change{kinds, index, lib_.backend().lock_key(path)};
    if (!change.mouse.empty())
        tell_others(change);
}

void Session::write_profile_name(const std::string& path, int profile, const std::string& name) {
    write_to_mouse(
        path,
        [this, profile, name](device::zklib& lib, const std::string& at) {
            const int written =
                device::write_profile_name(lib, at, profile, lang::utf8_to_utf16(name));
            if (contested_->take("profile name " + std::to_string(profile)))
                dialogs_.message("", contested_note());
            return written;
        },
        kChangedNames, profile);
}

void follow_outside_change(Session& session, const OutsideChange& change) {
    session.workers().start([&session, change] {
        // One change after the other: messages that come together never wait for each other
        // as if for another program.
        static std::mutex one_at_a_time;
        const std::lock_guard in_turn(one_at_a_time);
        const std::string path = session.selected_path();
        if (path.empty() || session.lib().backend().lock_key(path) != change.mouse)
            return;
        if (change.kinds & kChangedEverything) {
            // As after a restore in the window: the whole load again, in its own lock.
            session.model().forget_loaded();
            session.load_settings();
            return;
        }
        // Short reads; they wait while another program's job runs, without a box of their own.
        const auto lock = device::lock_mouse(session.lib(), path, nullptr);
        if (!lock.held()) {
            session.dialogs().message("", mouse_unavailable_message(lock));
            return;
        }
        follow_locked(session, path, change);
    });
}

}  // namespace zentrik::core
