#pragma once
// Line-art pictograms drawn on a 24 x 24 grid and scaled to any size. `ink` is the main
// stroke colour, `accent` the colour of the part that carries the meaning (an arrow, a pressed
// button).
#include "res/skin_gen/canvas.h"

namespace zentrik::skin {

enum class Glyph {
    clock,
    key_down,
    key_up,
    mouse_pressed,
    mouse_released,
    one_arrow,
    circular_arrows,
    fan_arrows,
    arc_arrows,
    tools,
    question,
    wheel,
    trash,
    new_sheet,
    import_file,
    export_file,
    record,
    stop,
    mouse_buttons,
    macro_steps,
    dpi_gauge,
    close,
    minimise,
    home,
};

void draw_glyph(cairo_t* cr, Glyph g, double x, double y, double size, Rgba ink, Rgba accent);

}  // namespace zentrik::skin
