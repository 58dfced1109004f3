#pragma once
// Which widgets the keyboard reaches on the current page, in which order, and where their
// focus ring goes. Shared by the key logic, the focus ring's painter and the accessible tree.
#include <vector>

#include "ui/widget_board.h"

namespace zentrik::ui {

// Whether a widget of this kind reacts to the pointer at all (pictures, panels, texts and
// gauges do not).
bool interactive_kind(int kind);

// An enabled, visible widget of the current page that reacts to the pointer and carries a
// command (pictures, panels, texts, gauges and id-less boxes do not take the focus).
bool takes_focus(const WidgetBoard& board, const Widget& w);

// The widgets that take the focus, in reading order: top to bottom, then left to right (the
// corner buttons first, the side tabs where their row falls). Hold board.lock().
std::vector<Widget*> focus_order(WidgetBoard& board);

// Widgets with the same non-zero key form one radio group (arrows move the choice within it):
// the side tabs, the button labels, the device rows, the DPI levels and the profiles.
int radio_group(const Widget& w);

// Whether `w` may be dragged from list row `row` (the pointer's press row, the keyboard's
// selected row): a step list from any row, another draggable list from a row that is neither
// a group header nor fixed, a draggable icon.
bool can_drag(const Widget& w, int row);

// The box the focus ring surrounds (the track and thumb of a slider, the arrows and number of
// a spin box, the whole box otherwise), and the area the ring paints.
Rect focus_box(const Widget& w);
Rect focus_ring_area(const Widget& w);

}  // namespace zentrik::ui
