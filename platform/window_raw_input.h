#pragma once
// The recorder's input for the window: heard through the toolkit's own display connection, so
// the events arrive in the window's main loop and nothing else connects to the desktop.
#include <memory>

#include "platform/raw_input_source.h"

typedef struct _GtkWidget GtkWidget;

namespace zentrik::platform {

// Null when this backend cannot hear the display that `window` is on. On a Wayland display the
// source hears only the input that reaches the program's own window (hears_only_own_window).
std::unique_ptr<RawInputSource> make_window_raw_input_source(GtkWidget* window);

}  // namespace zentrik::platform
