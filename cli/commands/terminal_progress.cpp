#include "cli/commands/terminal_progress.h"

#include <algorithm>
#include <iostream>

#include "platform/terminal.h"

namespace zentrik::cli {
namespace {
constexpr int kBarWidth = 30;
}

bool progress_bar_wanted(const std::ostream& err) {
    return &err == &std::cerr && platform::stderr_is_terminal();
}

void TerminalProgress::begin(const std::string& text) {
    text_ = text;
    shown_ = true;
    percent_ = -1;
    set_fraction(0.0);
}

void TerminalProgress::set_text(const std::string& text) {
    text_ = text;
    draw();
}

void TerminalProgress::set_fraction(double fraction) {
    const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100.0 + 0.5);
    if (percent == percent_)
        return;  // redraw only when the bar changes
    percent_ = percent;
    draw();
}

void TerminalProgress::end() {
    if (!shown_)
        return;
    shown_ = false;
    err_ << "\n" << std::flush;
}

void TerminalProgress::draw() {
    if (!shown_)
        return;
    const int filled = percent_ * kBarWidth / 100;
    err_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(kBarWidth - filled), '.') << "] ";
    err_.width(3);
    err_ << percent_ << "%  " << (text_.empty() ? label_ : text_) << std::flush;
}

}  // namespace zentrik::cli
