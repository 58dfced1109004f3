#include "app/shell/notify_library.h"

#include "app/shell/runtime_library.h"

namespace zentrik::app {

namespace {

const NotifyLibrary* open_notify_library() {
    static RuntimeLibrary library("libnotify.so.4");
    static NotifyLibrary table;
    const bool complete = ZENTRIK_BIND(library, table, notify_is_initted) &&
                          ZENTRIK_BIND(library, table, notify_init) &&
                          ZENTRIK_BIND(library, table, notify_notification_new) &&
                          ZENTRIK_BIND(library, table, notify_notification_set_timeout) &&
                          ZENTRIK_BIND(library, table, notify_notification_show);
    if (!complete) {
        g_printerr("zentrik: %s; desktop notices are not shown\n", library.error().c_str());
        return nullptr;
    }
    return &table;
}

}  // namespace

const NotifyLibrary* notify_library() {
    static const NotifyLibrary* const loaded = open_notify_library();
    return loaded;
}

}  // namespace zentrik::app
