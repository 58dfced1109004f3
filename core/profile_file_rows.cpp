#include "core/profile_file_rows.h"

#include "core/mouse_job_lock.h"
#include "core/profile_document.h"
#include "core/profile_transfer.h"
#include "core/progress_scope.h"
#include "core/session.h"
#include "lang/string_tables.h"
#include "lang/text_format.h"

namespace zentrik::core {
namespace {

// The profile tabs' command ids, profile 0 first (ui/layout.cpp).
constexpr int kFirstProfileTab = 10;

ui::FileDialogRequest profile_dialog_request(int profile) {
    ui::FileDialogRequest request;
    request.filter_name = lang::own_text("zk_profile_file_filter", "Profile File (*.json)");
    request.pattern = "*.json";
    request.default_extension = "json";
    request.initial_name = "profile_" + std::to_string(profile + 1) + ".json";
    return request;
}

// The message a failed transfer shows.
std::string failure_text(const std::string& error, bool written) {
    return written
               ? error
               : error + lang::own_text("zk_profile_file_nothing_written", "; nothing was written");
}

void export_to_file(Session& session, const std::string& path, int profile) {
    ui::Dialogs& dialogs = session.dialogs();
    const auto target = dialogs.save_file(profile_dialog_request(profile));
    if (!target)
        return;
    const std::string caption =
        lang::own_text("zk_progress_profile_export", "Exporting the profile...");
    ProgressScope box(session.progress(), caption);
    ProfileDocument document;
    ProfileTransferResult r;
    {
        const auto lock = hold_mouse_for_job(session.lib(), path, session.progress(), &caption);
        if (!lock.held()) {
            dialogs.message("", mouse_unavailable_message(lock));
            return;
        }
        r = export_profile(session.lib(), path, profile, document);
    }
    if (!r.ok)
        dialogs.message("", r.error);
    else if (const auto error = write_profile_file(*target, document))
        dialogs.message("", *error);
}

void import_from_file(Session& session, const std::string& path, int profile) {
    ui::Dialogs& dialogs = session.dialogs();
    const auto source = dialogs.open_file(profile_dialog_request(profile));
    if (!source)
        return;
    const ProfileRead read = read_profile_file(*source);
    if (!read.document) {
        dialogs.message("", failure_text(read.error, false));
        return;
    }
    const auto device = session.lib().find_device(path);
    if (!device)
        return;
    const std::string caption =
        lang::own_text("zk_progress_profile_import", "Importing the profile...");
    ProfileTransferResult r;
    {
        ProgressScope box(session.progress(), caption);
        const auto lock = hold_mouse_for_job(session.lib(), path, session.progress(), &caption);
        if (!lock.held()) {
            dialogs.message("", mouse_unavailable_message(lock));
            return;
        }
        r = import_profile(session.lib(), *device, profile, *read.document);
    }
    if (!r.ok)
        dialogs.message("", failure_text(r.error, r.written));
    if (r.written) {
        session.model().forget_loaded();
        session.load_settings();
    }
}

void offer_profile_file(Session& session, const std::string& path, int profile) {
    const std::string name = session.model().with(
        [&](const SettingsState& s) { return s.profile_names[static_cast<std::size_t>(profile)]; });
    const auto choice = session.dialogs().choose(
        name,
        lang::format_text(lang::own_text("zk_profile_file_question",
                                         "Export profile %d to a file, or import a profile file "
                                         "into it?"),
                          std::int64_t{profile + 1}),
        {lang::own_text("zk_profile_file_export", "Export profile..."),
         lang::own_text("zk_profile_file_import", "Import profile...")});
    if (choice == 0)
        export_to_file(session, path, profile);
    else if (choice == 1)
        import_from_file(session, path, profile);
}

}  // namespace

void install_profile_file_rows(Session& session) {
    session.add_rows(
        ui::kActionContextPress, kFirstProfileTab, kFirstProfileTab + device::kProfileCount - 1,
        [&session](const ui::WidgetEvent& e) {
            const std::string path =
                session.model().with([](const SettingsState& s) { return s.selected_path; });
            if (path.empty())
                return;
            const int profile = e.id - kFirstProfileTab;
            session.jobs().run(
                [&session, path, profile] { offer_profile_file(session, path, profile); });
        });
}

}  // namespace zentrik::core
