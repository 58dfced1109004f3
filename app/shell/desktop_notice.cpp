#include "app/shell/desktop_notice.h"

#include "app/shell/notify_library.h"

namespace zentrik::app {

bool show_desktop_notice(const std::string& title, const std::string& body) {
    const NotifyLibrary* notify = notify_library();
    if (!notify)
        return false;
    if (!notify->notify_is_initted() && !notify->notify_init("zentrik"))
        return false;
    NotifyNotification* n =
        notify->notify_notification_new(title.c_str(), body.c_str(), "input-mouse");
    notify->notify_notification_set_timeout(n, 30000);
    const bool shown = notify->notify_notification_show(n, nullptr);
    g_object_unref(n);
    return shown;
}

}  // namespace zentrik::app
