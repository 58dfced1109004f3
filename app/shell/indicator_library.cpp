#include "app/shell/indicator_library.h"

#include "app/shell/runtime_library.h"

namespace zentrik::app {

const IndicatorLibrary* indicator_library() {
    return load_function_table<IndicatorLibrary>(
        "libayatana-appindicator3.so.1", "the tray shows a status icon instead",
        [](RuntimeLibrary& library, IndicatorLibrary& table) {
            return ZENTRIK_BIND(library, table, app_indicator_new) &&
                   ZENTRIK_BIND(library, table, app_indicator_set_title) &&
                   ZENTRIK_BIND(library, table, app_indicator_set_menu) &&
                   ZENTRIK_BIND(library, table, app_indicator_set_secondary_activate_target) &&
                   ZENTRIK_BIND(library, table, app_indicator_set_status);
        });
}

}  // namespace zentrik::app
