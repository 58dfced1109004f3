#pragma once
// The keyboard's marks over the widgets: the focus ring, the ring of a widget picked up to be
// dropped elsewhere, and the number being typed into a spin box. Drawn over the widgets and
// under the tooltip, with the board's lock held.
#include "ui/canvas.h"
#include "ui/widget_board.h"

namespace zentrik::ui {

void paint_focus(Canvas& canvas, const WidgetBoard& board);

}  // namespace zentrik::ui
