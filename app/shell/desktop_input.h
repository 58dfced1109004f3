#pragma once
// The window's link to the rest of the desktop: keys and clicks heard for the macro recorder
// (the platform's source on the toolkit's own display connection), and the tilt thread that
// scrolls the window under the pointer sideways.
#include <gtk/gtk.h>

#include <memory>

#include "core/session.h"
#include "macro/recording_controller.h"
#include "platform/raw_input_source.h"
#include "tilt/tilt_scroller.h"
#include "ui/dialogs.h"
#include "ui/renderer.h"
#include "ui/widget_board.h"

namespace zentrik::app {

class DesktopInput {
  public:
    // Adds the recording tools' command rows to `session` and starts the tilt thread (only the
    // running instance builds a window, so only it scrolls).
    DesktopInput(GtkWidget* window, ui::WidgetBoard& board, core::Session& session,
                 ui::Dialogs& dialogs);
    ~DesktopInput();
    DesktopInput(const DesktopInput&) = delete;
    DesktopInput& operator=(const DesktopInput&) = delete;

    void fill_overlay(ui::OverlayState& overlay) const { recording_->fill_overlay(overlay); }

  private:
    // The tilt thread with the shipped and the user's rules, one program per desktop sending.
    void start_tilt_scrolling(GtkWidget* window);
    bool start_input();
    void stop_input();

    core::Session& session_;
    std::unique_ptr<platform::RawInputSource> raw_;  // none on a display the platform cannot hear
    std::unique_ptr<macro::RecordingController> recording_;
    std::unique_ptr<tilt::TiltScroller> tilt_;
};

}  // namespace zentrik::app
