#pragma once
// The accessible object (ATK) of one widget, one list row or the progress box: role, name,
// states, extents, the click action and, for sliders, spin boxes and gauges, the value. It
// shows what AccessibleBoard last read from the widget board and reports every change.
#include <gtk/gtk.h>

#include "ui/accessible_info.h"

namespace zentrik::app {

class AccessibleBoard;

// A new object (one reference, the caller's) under `parent`.
AtkObject* accessible_node_new(AccessibleBoard& owner, const ui::AccessibleNode& node,
                               AtkObject* parent);
// Takes the widget's current description and announces what changed: name, states, value,
// and for a list its rows.
void accessible_node_update(AtkObject* object, const ui::AccessibleNode& node, int index);
const ui::AccessibleNode& accessible_node_data(AtkObject* object);
// The window is going: the object reports itself defunct and does nothing any more.
void accessible_node_orphan(AtkObject* object);

}  // namespace zentrik::app
