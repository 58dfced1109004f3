#pragma once
// The tray indicator library (StatusNotifierItem over D-Bus), opened the first time an
// indicator is made: a start without a session bus, or before the tray icon, never loads it.
#include <libayatana-appindicator/app-indicator.h>

namespace zentrik::app {

// The library's functions the tray uses, typed from its header.
struct IndicatorLibrary {
    decltype(&::app_indicator_new) app_indicator_new = nullptr;
    decltype(&::app_indicator_set_title) app_indicator_set_title = nullptr;
    decltype(&::app_indicator_set_menu) app_indicator_set_menu = nullptr;
    decltype(&::app_indicator_set_secondary_activate_target)
        app_indicator_set_secondary_activate_target = nullptr;
    decltype(&::app_indicator_set_status) app_indicator_set_status = nullptr;
};

// The loaded library, or null when it or one of its functions is missing (said once on
// stderr). The first call opens it; later calls return the same answer.
const IndicatorLibrary* indicator_library();

}  // namespace zentrik::app
