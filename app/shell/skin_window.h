#pragma once
// The skinned window's look on the display: its shape and its cursors.
#include "ui/geometry.h"

typedef struct _GtkWidget GtkWidget;
typedef struct _GdkCursor GdkCursor;
typedef struct _GdkDisplay GdkDisplay;
typedef struct _GdkPixbuf GdkPixbuf;

namespace zentrik::app {

// Bounding and input shape of a realized window: the given pixels. An empty region (no
// background image) leaves the window rectangular.
void apply_window_shape(GtkWidget* window, const ui::Region& shape);

// A built-in image as a pixbuf (the caller owns it); null when the image is missing.
GdkPixbuf* pixbuf_from_resource(int resource_id);

// A cursor from a built-in image with its hot spot, from its picture at twice the size on a
// screen at scale 2; null when the image is missing.
GdkCursor* cursor_from_resource(GdkDisplay* display, int resource_id);

}  // namespace zentrik::app
