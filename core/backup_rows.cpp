#include "core/backup_rows.h"

#include "core/backup_flows.h"
#include "core/outside_changes.h"
#include "core/session.h"

namespace zentrik::core {
namespace {

// The selected mouse as the jobs address it; nullopt when none is selected.
std::optional<device::_DEVICE_> selected_mouse(Session& session) {
    return session.model().with([](const SettingsState& s) -> std::optional<device::_DEVICE_> {
        if (s.selected_path.empty() || s.memory_size <= 0)
            return std::nullopt;
        device::_DEVICE_ d = s.device;
        d.path = s.selected_path;
        d.memory_size = s.memory_size;
        // d.dpi_step stays the mouse's own step: the reset's DPI levels follow it, not the grid.
        return d;
    });
}

// The settings the window shows, which a backup carries.
BackupSettings shown_settings(Session& session) {
    return session.model().with([](const SettingsState& s) {
        BackupSettings b;
        b.rate_divisor = s.rate_divisor;
        b.wheel_rate = s.wheel_rate;
        for (std::size_t l = 0; l < b.levels.size(); ++l)
            b.levels[l] = {s.levels[l].x, s.levels[l].y};
        return b;
    });
}

// After a restore or reset: the whole mouse again, here and in the other windows.
void reload(Session& session, const std::string& path) {
    session.model().forget_loaded();
    session.load_settings();
    session.tell_others_of(path, kChangedEverything);
}

}  // namespace

void install_backup_rows(Session& session, const std::filesystem::path& safety_directory) {
    const OverwriteOptions options{
        safety_directory,
        [&session] { session.post([&session] { session.timers().stop(kTimerCommit); }); }};
    session.add_row(ui::kActionClick, kBackupCommand, [&session](const ui::WidgetEvent&) {
        const auto mouse = selected_mouse(session);
        if (!mouse)
            return;
        const BackupSettings current = shown_settings(session);
        session.jobs().run([&session, mouse, current] {
            run_backup(session.lib(), *mouse, current, session.dialogs(), session.progress());
        });
    });
    session.add_row(ui::kActionClick, kRestoreCommand, [&session, options](const ui::WidgetEvent&) {
        const auto mouse = selected_mouse(session);
        if (!mouse)
            return;
        session.jobs().run([&session, mouse, options] {
            const JobResult r =
                run_restore(session.lib(), *mouse, session.dialogs(), session.progress(), options);
            if (r.reload)
                reload(session, mouse->path);
        });
    });
    session.add_row(ui::kActionClick, kResetCommand, [&session, options](const ui::WidgetEvent&) {
        const auto mouse = selected_mouse(session);
        if (!mouse)
            return;
        session.jobs().run([&session, mouse, options] {
            const JobResult r =
                run_reset(session.lib(), *mouse, session.dialogs(), session.progress(), options);
            if (r.reload)
                reload(session, mouse->path);
        });
    });
}

}  // namespace zentrik::core
