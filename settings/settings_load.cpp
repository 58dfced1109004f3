// Choosing a mouse and loading everything the window shows of it.
#include <algorithm>
#include <string_view>

#include "device/commands.h"
#include "lang/string_tables.h"
#include "lang/text_codec.h"
#include "lang/text_format.h"
#include "settings/dpi_rules.h"
#include "settings/session.h"
#include "ui/layout.h"

namespace zentrik::settings {
namespace {

// The profile marks on the mouse picture, by profile (c and d swap places).
constexpr const char* kProfileMarks[] = {"_mouse p11", "_mouse p11a", "_mouse p11b", "_mouse p11d",
                                         "_mouse p11c"};

struct PictureSet {
    const char* widget;
    int sensor5;
    int other;
};
constexpr PictureSet kPictureSets[] = {{"_mouse p50", 330, 257},  {"_mouse p11", 331, 136},
                                       {"_mouse p11a", 334, 313}, {"_mouse p11b", 332, 311},
                                       {"_mouse p11c", 333, 312}, {"_mouse p11d", 335, 314},
                                       {"z_dpi1", 326, 158},      {"z_dpi2", 327, 159},
                                       {"z_dpi3", 328, 155},      {"z_dpi4", 329, 156}};

std::string default_profile_name(int profile) {
    return lang::format_text("profile %d", profile + 1);
}

}  // namespace

void Session::choose_mouse() {
    const auto [path, tag] = model_.with([](SettingsState& s) {
        s.link_tag = next_link_tag(s.link_tag);
        return std::pair{s.selected_path, s.link_tag};
    });
    device::write_link_tag(lib_, path, tag);
    model_.forget_loaded();
    load_settings();
    show_page(ui::kPageHome);
}

void Session::apply_profile_marks(int profile) {
    for (int p = 0; p < device::kProfileCount; ++p)
        board_.set_visible(kProfileMarks[p], p == profile ? 1 : 0);
}

// The level pictures of the usual sensor, before the load knows the new mouse's sensor.
void Session::reset_level_pictures() {
    for (const PictureSet& set : kPictureSets)
        if (std::string_view(set.widget).starts_with("z_dpi"))
            board_.set_images(set.widget, set.other, 0, 0, 0);
}

void Session::apply_picture_set(int sensor) {
    for (const PictureSet& set : kPictureSets)
        board_.set_images(set.widget, sensor == 5 ? set.sensor5 : set.other, 0, 0, 0);
}

void Session::load_settings() {
    const lang::StringTables& texts = lang::strings();
    JobProgress& progress = *job_progress_;
    progress.begin(texts.process_captions[0]);
    const std::string path = selected_path();
    const auto identity = device::identify(lib_, path);
    // A row listed while the mouse did not answer carries no memory size; the load finds it.
    const int memory_size = model_.with([&](SettingsState& s) {
        if (identity) {
            s.identity = identity->number;
            if (s.memory_size <= 0)
                s.memory_size = identity->memory_size;
        }
        return s.memory_size;
    });

    std::uint16_t limit = device::read_macro_limit(lib_, path).value_or(0);
    if (memory_size > 0 && limit > memory_size) {
        // A limit from a mouse used with another memory size.
        limit = static_cast<std::uint16_t>(memory_size - 256);
        device::write_macro_limit(lib_, path, limit);
        device::commit_settings(lib_, path);
    }
    model_.with([&](SettingsState& s) { s.macro_limit = limit; });

    const int profile = std::clamp(device::read_profile(lib_, path).value_or(0), 0, 4);
    apply_profile_marks(profile);
    select_profile(profile, false);
    if (refresh_memory_info)
        refresh_memory_info();
    reload_assignments();
    load_dpi_page();

    const int rate_byte = std::max<int>(1, device::read_rate_byte(lib_, path).value_or(1));
    const int sensor = model_.with([](const SettingsState& s) { return s.sensor; });
    apply_picture_set(sensor);
    int divisor = rate_byte & 0x0F;
    if (divisor == 0)
        divisor = 1;
    const int snap = sensor == 1 ? (rate_byte >> 4) & 0x07 : 0;

    const bool has_wheel = model_.with([](const SettingsState& s) { return s.has_wheel_rate(); });
    if (has_wheel) {
        const int wheel = device::read_wheel_rate(lib_, path).value_or(1);
        model_.with([&](SettingsState& s) { s.wheel_rate = wheel; });
        board_.set_value("wheel rate", wheel);
        board_.set_text("static wheel", lang::format_text("%d", wheel));
    }
    for (const char* name : {"wheel rate", "static wheel", "static wheel 1"})
        board_.set_visible(name, has_wheel ? 1 : 0);

    const std::string tag = model_.with([](const SettingsState& s) { return s.model_tag; });
    if (const ui::Widget* indep = board_.find_widget("x y indep"))
        board_.move_widget("x y indep", indep->x, tag == "qx10" ? 270 : 280);

    board_.set_checked("angle snap", snap != 0 ? 1 : 0);
    board_.set_visible("angle snap", sensor == 1 ? 1 : 0);

    model_.with([&](SettingsState& s) {
        s.rate_divisor = divisor;
        s.angle_snap = snap;
    });
    if (const ui::Widget* rate = board_.find_widget("report rate"))
        board_.set_value("report rate", rate->max - divisor + 1);
    board_.set_text("static reprot", lang::format_text("%dHz", 1000 / divisor));

    for (int p = 0; p < device::kProfileCount; ++p) {
        const auto name16 = device::read_profile_name(lib_, path, p);
        std::string name = name16 ? lang::utf16_to_utf8(*name16) : std::string();
        if (name.empty())
            name = default_profile_name(p);
        model_.with([&](SettingsState& s) { s.profile_names[static_cast<std::size_t>(p)] = name; });
        board_.set_text("profile " + std::to_string(p), name);
        progress.set_fraction(std::min(1.0, 0.9 + (p + 1) / 50.0));
    }
    if (refresh_macro_lists)
        refresh_macro_lists();
    else
        rebuild_function_list();
    progress.end();
}

void Session::select_profile(int profile, bool from_widget) {
    profile = std::clamp(profile, 0, device::kProfileCount - 1);
    apply_profile_marks(profile);
    for (int p = 0; p < device::kProfileCount; ++p)
        board_.set_checked("profile " + std::to_string(p), p == profile ? 1 : 0);
    if (from_widget) {
        const std::string path = selected_path();
        if (!path.empty())
            device::write_profile(lib_, path, profile);
    }
    model_.with([&](SettingsState& s) { s.profile = profile; });
    post([this] { timers_.arm(kTimerProfileReload, 100); });
}

void Session::rename_profile(int profile, const std::string& text) {
    if (profile < 0 || profile >= device::kProfileCount)
        return;
    // At most six characters, never a split one.
    const std::string name = lang::utf8_prefix(text, 6);
    const bool changed = model_.with([&](SettingsState& s) {
        std::string& stored = s.profile_names[static_cast<std::size_t>(profile)];
        if (stored == name)
            return false;
        stored = name;
        return true;
    });
    board_.set_text("profile " + std::to_string(profile), name);
    const std::string path = selected_path();
    if (changed && !path.empty())
        device::write_profile_name(lib_, path, profile, lang::utf8_to_utf16(name));
}

}  // namespace zentrik::settings
