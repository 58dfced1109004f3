#include "app/shell/notify_library.h"

#include "app/shell/runtime_library.h"

namespace zentrik::app {

const NotifyLibrary* notify_library() {
    return load_function_table<NotifyLibrary>(
        "libnotify.so.4", "desktop notices are not shown",
        [](RuntimeLibrary& library, NotifyLibrary& table) {
            return ZENTRIK_BIND(library, table, notify_is_initted) &&
                   ZENTRIK_BIND(library, table, notify_init) &&
                   ZENTRIK_BIND(library, table, notify_notification_new) &&
                   ZENTRIK_BIND(library, table, notify_notification_set_timeout) &&
                   ZENTRIK_BIND(library, table, notify_notification_show) &&
                   ZENTRIK_BIND(library, table, notify_notification_update);
        });
}

}  // namespace zentrik::app
