#include "core/overwrite_job.h"

#include "core/mouse_job_lock.h"
#include "core/overwrite_messages.h"
#include "core/progress_scope.h"
#include "core/safety_copies.h"
#include "lang/string_tables.h"

namespace zentrik::core {

std::string phase_text(const std::string& caption, const std::string& label) {
    return caption.empty() ? label : caption + ": " + label;
}

JobResult overwrite_mouse(device::zklib& lib, const device::_DEVICE_& device, JobProgress& progress,
                          const OverwriteOptions& options, const OverwriteJob& job) {
    const std::string& caption = lang::strings().process_captions[job.caption];
    ProgressScope box(progress, caption);
    // From the safety copy to the last write.
    const auto lock = hold_mouse_for_job(lib, device.path, progress, &caption);
    if (!lock.held())
        return mouse_unavailable_result(lock);
    if (options.before_writes)
        options.before_writes();

    progress.set_text(
        phase_text(caption, lang::own_text("zk_phase_safety_copy", "Saving a safety copy\u2026")));
    const SafetyCopy copy = make_safety_copy(lib, device, progress, options.safety_directory);
    JobResult result;
    if (!copy.file) {
        result.status = JobStatus::failed;
        result.message = no_safety_copy_message(job.name, copy.error);
        result.file_failed = copy.file_failed;
        return result;
    }

    progress.set_text(phase_text(caption, job.writing_label));
    progress.set_fraction(0.0);
    result.safety_copy = copy.file;
    result.reload = true;
    if (const auto failed = job.writes([&progress](double f) { progress.set_fraction(f); })) {
        result.status = JobStatus::failed;
        result.partly_written = true;
        result.message = partly_written_message(job.name, failed->step, copy.file);
        return result;
    }
    progress.set_fraction(1.0);
    return result;
}

}  // namespace zentrik::core
