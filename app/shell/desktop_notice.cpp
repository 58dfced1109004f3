#include "app/shell/desktop_notice.h"

#include "app/shell/notify_library.h"

namespace zentrik::app {

namespace {

const NotifyLibrary* ready_library() {
    const NotifyLibrary* notify = notify_library();
    if (!notify || (!notify->notify_is_initted() && !notify->notify_init("zentrik")))
        return nullptr;
    return notify;
}

}  // namespace

bool show_desktop_notice(const std::string& title, const std::string& body) {
    const NotifyLibrary* notify = ready_library();
    if (!notify)
        return false;
    NotifyNotification* n =
        notify->notify_notification_new(title.c_str(), body.c_str(), "input-mouse");
    notify->notify_notification_set_timeout(n, 30000);
    const bool shown = notify->notify_notification_show(n, nullptr);
    g_object_unref(n);
    return shown;
}

ReplacingNotice::~ReplacingNotice() {
    if (notification_)
        g_object_unref(notification_);
}

bool ReplacingNotice::show(const std::string& title, const std::string& body) {
    const NotifyLibrary* notify = ready_library();
    if (!notify)
        return false;
    auto* n = static_cast<NotifyNotification*>(notification_);
    if (n) {
        notify->notify_notification_update(n, title.c_str(), body.c_str(), "input-mouse");
    } else {
        n = notify->notify_notification_new(title.c_str(), body.c_str(), "input-mouse");
        notify->notify_notification_set_timeout(n, 5000);
        notification_ = n;
    }
    return notify->notify_notification_show(n, nullptr);
}

}  // namespace zentrik::app
