#pragma once
// A desktop notification (the tray host of a status-notifier item shows no balloons).
#include <string>

namespace zentrik::app {

// Shows a notification with `title` and `body`; false when no notification service answers.
bool show_desktop_notice(const std::string& title, const std::string& body);

// A notification that each show() replaces in place, rather than adding another one.
class ReplacingNotice {
  public:
    ReplacingNotice() = default;
    ~ReplacingNotice();
    ReplacingNotice(const ReplacingNotice&) = delete;
    ReplacingNotice& operator=(const ReplacingNotice&) = delete;
    bool show(const std::string& title, const std::string& body);

  private:
    void* notification_ = nullptr;  // the NotifyNotification shown last
};

}  // namespace zentrik::app
