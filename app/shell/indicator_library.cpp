#include "app/shell/indicator_library.h"

#include "app/shell/runtime_library.h"

namespace zentrik::app {

namespace {

const IndicatorLibrary* open_indicator_library() {
    static RuntimeLibrary library("libayatana-appindicator3.so.1");
    static IndicatorLibrary table;
    const bool complete =
        ZENTRIK_BIND(library, table, app_indicator_new) &&
        ZENTRIK_BIND(library, table, app_indicator_set_title) &&
        ZENTRIK_BIND(library, table, app_indicator_set_menu) &&
        ZENTRIK_BIND(library, table, app_indicator_set_secondary_activate_target) &&
        ZENTRIK_BIND(library, table, app_indicator_set_status);
    if (!complete) {
        g_printerr("zentrik: %s; the tray shows a status icon instead\n", library.error().c_str());
        return nullptr;
    }
    return &table;
}

}  // namespace

const IndicatorLibrary* indicator_library() {
    static const IndicatorLibrary* const loaded = open_indicator_library();
    return loaded;
}

}  // namespace zentrik::app
