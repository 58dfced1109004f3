#pragma once
// The window's own commands until the settings module's command handler takes over: the page
// tabs, the home buttons, "_home", "_close" (hides the window) and "_mini" (minimises it).
#include "ui/input/widget_event.h"
#include "ui/layout.h"
#include "ui/widget_board.h"

namespace zentrik::app {

class WindowControl {
  public:
    virtual ~WindowControl() = default;
    virtual void hide_window() = 0;
    virtual void minimise_window() = 0;
};

inline constexpr int kCloseCommand = 1;
inline constexpr int kMinimiseCommand = 2;
inline constexpr int kHomeCommand = 9;

class PageCommands : public ui::WidgetEventHandler {
  public:
    PageCommands(ui::WidgetBoard& board, ui::PageChoice& choice, WindowControl& window)
        : board_(board), choice_(choice), window_(window) {}

    void handle_widget_event(const ui::WidgetEvent& event) override;
    // Shows a page as the command with id `page` + 4 does (checking its side tab).
    void choose_page(int page);

  private:
    ui::WidgetBoard& board_;
    ui::PageChoice& choice_;
    WindowControl& window_;
};

}  // namespace zentrik::app
