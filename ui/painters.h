#pragma once
// The painter of each widget kind (called by the renderer with the board's lock held).
#include <cstdint>

#include "ui/canvas.h"
#include "ui/renderer.h"
#include "ui/widget.h"

namespace zentrik::ui {

struct PaintEnv {
    Canvas& canvas;
    const WidgetBoard& board;
    const ListPaintHooks& hooks;
};

void paint_default(PaintEnv& env, const Widget& w);  // kinds 0, 1, 3 and any other
void paint_region_button(PaintEnv& env, const Widget& w);
void paint_panel(PaintEnv& env, const Widget& w);
void paint_static_text(PaintEnv& env, const Widget& w);
void paint_callout(PaintEnv& env, const Widget& w);  // kinds 2 and 5
void paint_slider(PaintEnv& env, const Widget& w);
void paint_progress_bar(PaintEnv& env, const Widget& w);
void paint_spin_box(PaintEnv& env, const Widget& w);
void paint_check_box(PaintEnv& env, const Widget& w);
void paint_selectable_row(PaintEnv& env, const Widget& w);
void paint_list(PaintEnv& env, const Widget& w);

// The shared-image slot of a macro step's icon, chosen by the step's code.
int step_icon_slot(std::uint8_t code);

// Shading lines along the top and bottom of a bar, as sliders and progress bars draw them.
void shade_bar(Canvas& c, double x1, double x2, double top, int top_lines, double bottom);

}  // namespace zentrik::ui
