// The backup and restore jobs.
#include "core/backup_jobs.h"

#include "core/backup_macro_limit.h"
#include "core/mouse_job_lock.h"
#include "core/mouse_memory.h"
#include "core/overwrite_job.h"
#include "core/progress_scope.h"
#include "core/safety_copies.h"
#include "device/commands.h"
#include "lang/string_tables.h"
#include "platform/replacing_file.h"

namespace zentrik::core {
namespace {

constexpr int kBackupCaption = 3;
constexpr int kRestoreCaption = 4;

JobResult failure(std::string message) {
    JobResult r;
    r.status = JobStatus::failed;
    r.message = std::move(message);
    return r;
}

// "error" with what the file system said ("cannot write 'PATH': REASON").
JobResult file_failure(const platform::ReplacingFile& file) {
    JobResult r = failure(std::string(kMsgError) + ": " + file.error());
    r.file_failed = true;
    return r;
}

// The restore's writes in order; the first that fails names the step.
std::optional<WriteFailure> write_backup(device::zklib& lib, const std::string& path,
                                         const BackupFile& backup,
                                         const FractionSink& to_progress) {
    auto failed = write_backup_settings(lib, path, backup.settings, to_progress);
    // The file does not hold the macro limit, which a reset lowers: the mouse gets its whole
    // macro memory back.
    if (!failed && !device::write_macro_limit(lib, path, restored_macro_limit(backup.image)))
        failed = WriteFailure{"macro limit"};
    if (!failed)
        failed = write_memory_image(lib, path, backup.image, to_progress);
    if (!failed && !device::write_profile(lib, path, 1))
        failed = WriteFailure{"profile"};
    if (!failed && !device::write_profile(lib, path, 0))
        failed = WriteFailure{"profile"};
    if (!failed && !device::commit_settings(lib, path))
        failed = WriteFailure{"store settings"};
    return failed;
}

}  // namespace

OverwriteOptions default_overwrite_options() {
    return OverwriteOptions{default_safety_copy_directory(), {}};
}

JobResult backup_to_file(device::zklib& lib, const device::_DEVICE_& device,
                         const BackupSettings& current, const std::filesystem::path& target,
                         JobProgress& progress, int linger_ms) {
    // The file is created before the mouse is read, so a target that cannot be written is
    // known at once; it replaces the target only when complete.
    platform::ReplacingFile out(target);
    if (!out.ok())
        return file_failure(out);
    const std::string& caption = lang::strings().process_captions[kBackupCaption];
    ProgressScope box(progress, caption);
    // One image: no other program writes while it is read.
    const auto lock = hold_mouse_for_job(lib, device.path, progress, &caption);
    if (!lock.held())
        return mouse_unavailable_result(lock);
    progress.set_text(
        phase_text(caption, lang::own_text("zk_phase_backup_read", "Reading the mouse\u2026")));
    BackupFile backup;
    backup.date = today_date_text();
    backup.settings = current;
    auto image = read_memory_image(lib, device.path, device.memory_size,
                                   [&progress](double f) { progress.set_fraction(f); });
    if (!image)
        return failure(std::string(kMsgError) +
                       ": the mouse stopped answering while it was read; " + target.string() +
                       " was not written.");
    backup.image = std::move(*image);
    if (!out.commit(encode_backup(backup)))
        return file_failure(out);
    progress.set_fraction(1.0);
    lib.timing().sleep_ms(linger_ms);
    return JobResult{};
}

JobResult restore_backup(device::zklib& lib, const device::_DEVICE_& device,
                         const BackupFile& backup, JobProgress& progress,
                         const OverwriteOptions& options) {
    if (auto refused = restore_refusal(device, backup))
        return *refused;
    OverwriteJob job{
        "restore", kRestoreCaption,
        lang::own_text("zk_phase_restore_write", "Writing the backup to the mouse\u2026"),
        [&](const FractionSink& to_progress) {
            return write_backup(lib, device.path, backup, to_progress);
        }};
    return overwrite_mouse(lib, device, progress, options, job);
}

std::optional<JobResult> restore_refusal(const device::_DEVICE_& device, const BackupFile& backup) {
    if (device.memory_size > 0 && static_cast<int>(backup.image.size()) == device.memory_size)
        return std::nullopt;
    JobResult r;
    r.status = JobStatus::refused;
    r.message = kMsgMemorySizeMismatch;
    return r;
}

}  // namespace zentrik::core
