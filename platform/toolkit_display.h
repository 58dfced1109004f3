#pragma once
// Which kind of display the toolkit's connection is, for the few window parts that differ
// (the tray's fallback icon exists only on X11).

typedef struct _GtkWidget GtkWidget;

namespace zentrik::platform {

// True when `widget`'s display is a Wayland compositor (the program runs as a native Wayland
// client, not through XWayland).
bool toolkit_display_is_wayland(GtkWidget* widget);

}  // namespace zentrik::platform
