#pragma once
// How a long job (select, backup, restore, reset, macro memory work) shows its progress: the
// window draws the progress box from these while the job runs on a worker.
#include <string>

namespace zentrik::core {

class JobProgress {
  public:
    virtual ~JobProgress() = default;
    // Shows the box (when hidden) with `text` as its caption; fraction starts at 0.
    virtual void begin(const std::string& text) = 0;
    virtual void set_text(const std::string& text) = 0;
    // 0.0-1.0; values outside are clamped.
    virtual void set_fraction(double fraction) = 0;
    // Hides the box.
    virtual void end() = 0;
};

// Progress that goes nowhere (command-line use without a terminal, tests that do not look).
class NoProgress final : public JobProgress {
  public:
    void begin(const std::string&) override {}
    void set_text(const std::string&) override {}
    void set_fraction(double) override {}
    void end() override {}
};

}  // namespace zentrik::core
