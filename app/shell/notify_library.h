#pragma once
// The desktop notification library, opened at the first notice: most runs show none.
#include <libnotify/notify.h>

namespace zentrik::app {

// The library's functions a notice uses, typed from its header.
struct NotifyLibrary {
    decltype(&::notify_is_initted) notify_is_initted = nullptr;
    decltype(&::notify_init) notify_init = nullptr;
    decltype(&::notify_notification_new) notify_notification_new = nullptr;
    decltype(&::notify_notification_set_timeout) notify_notification_set_timeout = nullptr;
    decltype(&::notify_notification_show) notify_notification_show = nullptr;
    decltype(&::notify_notification_update) notify_notification_update = nullptr;
};

// The loaded library, or null when it or one of its functions is missing (said once on
// stderr). The first call opens it; later calls return the same answer.
const NotifyLibrary* notify_library();

}  // namespace zentrik::app
