#pragma once
// The frame of the jobs that overwrite the whole mouse (restore, reset): the progress box, the
// mouse's lock from the safety copy to the last write, the caller's `before_writes`, the safety
// copy (no copy, no write) and then the job's own writes. The box names each phase.
#include <functional>
#include <optional>
#include <string>

#include "core/backup_jobs.h"
#include "core/mouse_memory.h"

namespace zentrik::core {

struct OverwriteJob {
    const char* name;           // "restore", "reset": for the messages
    int caption;                // index of its process caption
    std::string writing_label;  // the box's text while `writes` runs
    // The writes, fractions 0-1; the first that fails names the step.
    std::function<std::optional<WriteFailure>(const FractionSink&)> writes;
};

JobResult overwrite_mouse(device::zklib& lib, const device::_DEVICE_& device, JobProgress& progress,
                          const OverwriteOptions& options, const OverwriteJob& job);

// The box's text for a phase: the label, after the job's caption when a language gives one.
std::string phase_text(const std::string& caption, const std::string& label);

}  // namespace zentrik::core
