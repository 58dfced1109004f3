#pragma once
// Begins a job's progress box and ends it however the job leaves.
#include <string>

#include "core/job_progress.h"

namespace zentrik::core {

class ProgressScope {
  public:
    ProgressScope(JobProgress& progress, const std::string& caption) : progress_(progress) {
        progress_.begin(caption);
        progress_.set_fraction(0.0);
    }
    ~ProgressScope() { progress_.end(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

  private:
    JobProgress& progress_;
};

}  // namespace zentrik::core
