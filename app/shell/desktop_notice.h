#pragma once
// A desktop notification (the tray host of a status-notifier item shows no balloons).
#include <string>

namespace zentrik::app {

// Shows a notification with `title` and `body`; false when no notification service answers.
bool show_desktop_notice(const std::string& title, const std::string& body);

}  // namespace zentrik::app
