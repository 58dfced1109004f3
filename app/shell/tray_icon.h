#pragma once
// The notification-area icon with its "Restore" / "Exit" menu.
#include <functional>
#include <memory>
#include <string>

namespace zentrik::app {

struct TrayActions {
    std::function<void()> restore;
    std::function<void()> exit;
};

class TrayIcon {
  public:
    // Shows the icon. `title` is its tooltip; the menu items take the given texts.
    TrayIcon(const std::string& title, const std::string& restore_text,
             const std::string& exit_text, TrayActions actions);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // The "Restore" item is greyed while the window is visible.
    void set_window_visible(bool visible);
    // Takes the icon out of the panel (the program is ending).
    void hide();
    // Whether a panel shows the icon (a desktop without a tray host shows none).
    bool shown_in_panel() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zentrik::app
