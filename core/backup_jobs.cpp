// The backup and restore jobs.
#include "core/backup_jobs.h"

#include "core/mouse_job_lock.h"
#include "core/mouse_memory.h"
#include "core/overwrite_messages.h"
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

JobResult file_failure() {
    JobResult r = failure(kMsgError);
    r.file_failed = true;
    return r;
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
        return file_failure();
    const std::string& caption = lang::strings().process_captions[kBackupCaption];
    ProgressScope box(progress, caption);
    // One image: no other program writes while it is read.
    const auto lock = hold_mouse_for_job(lib, device.path, progress, &caption);
    if (!lock.held())
        return mouse_unavailable_result(lock);
    BackupFile backup;
    backup.date = today_date_text();
    backup.settings = current;
    auto image = read_memory_image(lib, device.path, device.memory_size,
                                   [&progress](double f) { progress.set_fraction(f); });
    if (!image)
        return failure(kMsgError);
    backup.image = std::move(*image);
    if (!out.commit(encode_backup(backup)))
        return file_failure();
    progress.set_fraction(1.0);
    lib.timing().sleep_ms(linger_ms);
    return JobResult{};
}

JobResult restore_backup(device::zklib& lib, const device::_DEVICE_& device,
                         const BackupFile& backup, JobProgress& progress,
                         const OverwriteOptions& options) {
    if (device.memory_size <= 0 || static_cast<int>(backup.image.size()) != device.memory_size) {
        JobResult r;
        r.status = JobStatus::refused;
        r.message = kMsgMemorySizeMismatch;
        return r;
    }
    const std::string& caption = lang::strings().process_captions[kRestoreCaption];
    ProgressScope box(progress, caption);
    // From the safety copy to the last write.
    const auto lock = hold_mouse_for_job(lib, device.path, progress, &caption);
    if (!lock.held())
        return mouse_unavailable_result(lock);
    if (options.before_writes)
        options.before_writes();
    const SafetyCopy copy = make_safety_copy(lib, device, progress, options.safety_directory);
    if (!copy.file) {
        JobResult r = failure(no_safety_copy_message("restore", copy.error));
        r.file_failed = copy.file_failed;
        return r;
    }
    progress.set_fraction(0.0);

    JobResult result;
    result.safety_copy = copy.file;
    result.reload = true;
    const auto to_progress = [&progress](double f) { progress.set_fraction(f); };
    auto failed = write_backup_settings(lib, device.path, backup.settings, to_progress);
    if (!failed)
        failed = write_memory_image(lib, device.path, backup.image, to_progress);
    if (!failed && !device::write_profile(lib, device.path, 1))
        failed = WriteFailure{"profile"};
    if (!failed && !device::write_profile(lib, device.path, 0))
        failed = WriteFailure{"profile"};
    if (!failed && !device::commit_settings(lib, device.path))
        failed = WriteFailure{"store settings"};
    if (failed) {
        result.status = JobStatus::failed;
        result.partly_written = true;
        result.message = partly_written_message("restore", failed->step, copy.file);
        return result;
    }
    progress.set_fraction(1.0);
    return result;
}

}  // namespace zentrik::core
