#include "core/backup_flows.h"

#include "lang/string_tables.h"
#include "lang/text_format.h"

namespace zentrik::core {
namespace {

// The finished backup's progress box stays up this long.
constexpr int kBackupLingerMs = 500;

JobResult cancelled() {
    JobResult r;
    r.status = JobStatus::cancelled;
    return r;
}

JobResult shown(ui::Dialogs& dialogs, JobResult result) {
    if (!result.message.empty())
        dialogs.message("", result.message);
    return result;
}

}  // namespace

ui::FileDialogRequest backup_dialog_request(bool saving) {
    ui::FileDialogRequest request;
    request.title = saving ? lang::own_text("zk_backup_save_title", "Back Up the Mouse")
                           : lang::own_text("zk_restore_open_title", "Restore a Backup");
    request.filter_name = "Mouse Backup File (*.mbf)";
    request.pattern = "*.mbf";
    request.default_extension = kBackupExtension;
    if (saving)
        request.initial_name = "backup_" + today_date_text();
    return request;
}

JobResult run_backup(device::zklib& lib, const device::_DEVICE_& device,
                     const BackupSettings& current, ui::Dialogs& dialogs, JobProgress& progress) {
    const auto target = dialogs.save_file(backup_dialog_request(true));
    if (!target)
        return cancelled();
    JobResult r = backup_to_file(lib, device, current, *target, progress, kBackupLingerMs);
    if (r.ok()) {
        r.message = lang::format_text(
            lang::own_text("zk_backup_saved", "The backup of the mouse was saved to %s."),
            target->string());
    }
    return shown(dialogs, r);
}

JobResult run_restore(device::zklib& lib, const device::_DEVICE_& device, ui::Dialogs& dialogs,
                      JobProgress& progress, const OverwriteOptions& options) {
    const auto source = dialogs.open_file(backup_dialog_request(false));
    if (!source)
        return cancelled();
    const DecodedBackup decoded = load_backup_file(*source);
    if (decoded.error == BackupFileError::unreadable) {
        JobResult r;
        r.status = JobStatus::refused;  // a file that cannot be opened: nothing shown
        return r;
    }
    if (decoded.error == BackupFileError::invalid_format) {
        JobResult r;
        r.status = JobStatus::refused;
        r.message = kMsgInvalidFormat;
        return shown(dialogs, r);
    }
    if (auto refused = restore_refusal(device, decoded.backup))
        return shown(dialogs, *refused);
    // The whole mouse is overwritten: ask first, as a reset does, naming the file.
    if (!dialogs.ask_yes_no(lang::own_text("zk_restore_title", "Restore"),
                            lang::format_text(lang::own_text("zk_restore_question",
                                                             "Write the backup %s into the mouse? "
                                                             "Everything the mouse holds now is "
                                                             "replaced; a safety copy of it is "
                                                             "saved first."),
                                              source->string()))) {
        return cancelled();
    }
    return shown(dialogs, restore_backup(lib, device, decoded.backup, progress, options));
}

JobResult run_reset(device::zklib& lib, const device::_DEVICE_& device, ui::Dialogs& dialogs,
                    JobProgress& progress, const OverwriteOptions& options) {
    const auto& texts = lang::strings();
    if (!dialogs.ask_yes_no(texts.message(lang::kMsgResetTitle),
                            texts.message(lang::kMsgResetQuestion))) {
        return cancelled();
    }
    return shown(dialogs, reset_mouse(lib, device, progress, options));
}

}  // namespace zentrik::core
