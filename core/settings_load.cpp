// Choosing a mouse and loading everything the window shows of it.
#include <algorithm>

#include "core/button_page.h"
#include "core/dpi_page.h"
#include "core/mouse_job_lock.h"
#include "core/outside_changes.h"
#include "core/profile_name.h"
#include "core/session.h"
#include "core/start_progress.h"
#include "device/commands.h"
#include "device/mouse_models.h"
#include "lang/string_tables.h"
#include "lang/text_codec.h"
#include "ui/layout.h"

namespace zentrik::core {
namespace {

// The profile marks on the mouse picture, by profile (c and d swap places).
constexpr const char* kProfileMarks[] = {"_mouse p11", "_mouse p11a", "_mouse p11b", "_mouse p11d",
                                         "_mouse p11c"};

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
    const device::PictureSet& usual = device::sensor_rule(device::kAnyCode).pictures;
    for (int i = device::kFirstLevelPicture; i < device::kPictureSetSize; ++i)
        board_.set_images(device::kPictureSetWidgets[static_cast<std::size_t>(i)],
                          usual[static_cast<std::size_t>(i)], 0, 0, 0);
}

void Session::apply_picture_set(int sensor) {
    const device::PictureSet& set = device::sensor_rule(sensor).pictures;
    for (std::size_t i = 0; i < set.size(); ++i)
        board_.set_images(device::kPictureSetWidgets[i], set[i], 0, 0, 0);
}

void Session::load_settings() {
    const lang::StringTables& texts = lang::strings();
    JobProgress& progress = *job_progress_;
    progress.begin(texts.process_captions[0]);
    // At start the box has shown the discovery and identification; the load fills the rest.
    const double base = start_progress_ ? kIdentifyPhase.to : 0.0;
    const auto step = [&](const ProgressPhase& phase, double done = 0.0) {
        progress.set_text(phase.label());
        progress.set_fraction(base + (1.0 - base) * phase.at(done));
    };
    const auto end = [&] {
        progress.end();
        if (start_progress_.exchange(false))
            shell_.start_finished();
    };
    const std::string path = selected_path();
    // The whole load, including the limit it may correct, sees one state of the mouse.
    const auto lock = hold_mouse_for_job(lib_, path, progress, &texts.process_captions[0]);
    if (!lock.held()) {
        end();
        dialogs_.message("", mouse_unavailable_message(lock));
        return;
    }
    step(kLoadMacrosPhase);
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
        limit = static_cast<std::uint16_t>(memory_size - device::kTopAreaBytes);
        device::write_macro_limit(lib_, path, limit);
        device::commit_settings(lib_, path);
    }
    model_.with([&](SettingsState& s) { s.macro_limit = limit; });

    const int profile = std::clamp(device::read_profile(lib_, path).value_or(0), 0, 4);
    apply_profile_marks(profile);
    select_profile(profile, false);
    if (refresh_memory_info)
        refresh_memory_info();
    step(kLoadButtonsPhase);
    // Each move repaints the box: it moves by tenths of the step, not after each of the 55 reads.
    double shown = 0.0;
    buttons_->reload_assignments([&](double done) {
        if (done - shown >= 0.1 || done == 1.0)
            step(kLoadButtonsPhase, shown = done);
    });
    step(kLoadDpiPhase);
    dpi_->load();
    apply_picture_set(model_.with([](const SettingsState& s) { return s.sensor; }));

    step(kLoadNamesPhase);
    for (int p = 0; p < device::kProfileCount; ++p) {
        const auto name16 = device::read_profile_name(lib_, path, p);
        const std::string name =
            shown_profile_name(name16 ? lang::utf16_to_utf8(*name16) : std::string(), p);
        model_.with([&](SettingsState& s) { s.profile_names[static_cast<std::size_t>(p)] = name; });
        board_.set_text("profile " + std::to_string(p), name);
        step(kLoadNamesPhase, (p + 1.0) / device::kProfileCount);
    }
    if (refresh_macro_lists)
        refresh_macro_lists();
    else
        buttons_->rebuild_function_list();
    end();
}

void Session::select_profile(int profile, bool from_widget) {
    profile = std::clamp(profile, 0, device::kProfileCount - 1);
    apply_profile_marks(profile);
    for (int p = 0; p < device::kProfileCount; ++p)
        board_.set_checked("profile " + std::to_string(p), p == profile ? 1 : 0);
    if (from_widget) {
        const std::string path = selected_path();
        write_to_mouse(
            path,
            [profile](device::zklib& lib, const std::string& at) {
                return device::write_profile(lib, at, profile);
            },
            kChangedProfile);
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
    if (changed)
        write_profile_name(path, profile, name);
    else  // the user's name is the mouse's already: nothing of another program's was replaced
        contested_->take("profile name " + std::to_string(profile));
}

}  // namespace zentrik::core
