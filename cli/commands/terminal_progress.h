#pragma once
// A job's progress as a bar on stderr, redrawn in place: "[#####.....]  50%  caption".
#include <iosfwd>
#include <string>

#include "core/job_progress.h"

namespace zentrik::cli {

class TerminalProgress final : public core::JobProgress {
  public:
    TerminalProgress(std::ostream& err, std::string label) : err_(err), label_(std::move(label)) {}
    void begin(const std::string& text) override;
    void set_text(const std::string& text) override;
    void set_fraction(double fraction) override;
    void end() override;

  private:
    void draw();

    std::ostream& err_;
    std::string label_;  // shown when the job's caption is empty
    std::string text_;
    int percent_ = -1;
    bool shown_ = false;
};

// The progress a command shows: a bar when `err` is the process's stderr on a terminal,
// nothing otherwise.
bool progress_bar_wanted(const std::ostream& err);

}  // namespace zentrik::cli
