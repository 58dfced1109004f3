#include "app/shell/desktop_notice.h"

#include <libnotify/notify.h>

namespace zentrik::app {

bool show_desktop_notice(const std::string& title, const std::string& body) {
    if (!notify_is_initted() && !notify_init("zentrik"))
        return false;
    NotifyNotification* n = notify_notification_new(title.c_str(), body.c_str(), "input-mouse");
    notify_notification_set_timeout(n, 30000);
    const bool shown = notify_notification_show(n, nullptr);
    g_object_unref(n);
    return shown;
}

}  // namespace zentrik::app
