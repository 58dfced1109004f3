#pragma once
// Job progress shown as the window's progress box.
#include "core/job_progress.h"
#include "ui/renderer.h"
#include "ui/widget_board.h"

namespace zentrik::core {

class OverlayProgress final : public JobProgress {
  public:
    OverlayProgress(ui::ProgressOverlay& overlay, ui::WidgetBoard& board)
        : overlay_(overlay), board_(board) {}
    void begin(const std::string& text) override {
        overlay_.set_message(text);
        if (!overlay_.shown()) {
            overlay_.show(0.0, text);
            board_.invalidate_all();
        }
    }
    void set_text(const std::string& text) override {
        overlay_.set_message(text);
        overlay_.set_progress(board_, overlay_.fraction());
    }
    void set_fraction(double fraction) override { overlay_.set_progress(board_, fraction); }
    void end() override {
        overlay_.set_message({});
        if (overlay_.shown()) {
            overlay_.hide();
            board_.invalidate_all();
        }
    }

  private:
    ui::ProgressOverlay& overlay_;
    ui::WidgetBoard& board_;
};

}  // namespace zentrik::core
