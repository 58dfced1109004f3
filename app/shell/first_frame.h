#pragma once
// Work that must not delay the window's first picture (tray icon, device listing, settings)
// runs once that picture is on screen.
#include <functional>

typedef struct _GtkWidget GtkWidget;

namespace zentrik::app {

// Runs `then` once on the main loop after `widget` has drawn for the first time (the idle
// after that draw, when the frame has gone to the screen). Nothing runs if it never draws.
void after_first_frame(GtkWidget* widget, std::function<void()> then);

}  // namespace zentrik::app
