// The application icon and the two cursors.
#include "res/cursor_hotspots.h"
#include "res/skin_gen/catalog.h"
#include "res/skin_gen/palette.h"

namespace zentrik::skin {
namespace {

namespace p = palette;

// 256 x 256; the desktop scales it down for the tray and the window list.
void app_icon(cairo_t* cr) {
    chamfer_rect(cr, 8, 8, 240, 240, 44);
    vertical_gradient(cr, 8, 248, rgb(0x2C313B), rgb(0x111318));
    cairo_fill_preserve(cr);
    set_color(cr, rgb(0x4A5260));
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    cairo_pattern_t* glow = cairo_pattern_create_radial(128, 150, 10, 128, 150, 120);
    cairo_pattern_add_color_stop_rgba(glow, 0, 1.0, 0.48, 0.1, 0.35);
    cairo_pattern_add_color_stop_rgba(glow, 1, 1.0, 0.48, 0.1, 0.0);
    cairo_set_source(cr, glow);
    chamfer_rect(cr, 10, 10, 236, 236, 43);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    // Mouse outline with the wheel.
    rounded_rect(cr, 78, 44, 100, 168, 50);
    // Light shell so the shape still reads at tray size on a dark panel.
    vertical_gradient(cr, 44, 212, rgb(0xE2E6EC), rgb(0x8E96A3));
    cairo_fill_preserve(cr);
    set_color(cr, rgb(0x0A0B0E));
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    line(cr, 80, 118, 176, 118, rgb(0x0A0B0E), 5);
    line(cr, 128, 46, 128, 118, rgb(0x0A0B0E), 5);
    fill_rounded(cr, 119, 66, 18, 36, 9, p::accent);
    // Two chevrons on the palm.
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    for (int k = 0; k < 2; ++k) {
        cairo_move_to(cr, 112 + k * 16, 142);
        cairo_line_to(cr, 128 + k * 16, 162);
        cairo_line_to(cr, 112 + k * 16, 182);
    }
    set_color(cr, p::accent);
    cairo_set_line_width(cr, 9);
    cairo_stroke(cr);
}

void outlined(cairo_t* cr, Rgba fill_colour) {
    set_color(cr, fill_colour);
    cairo_fill_preserve(cr);
    set_color(cr, rgb(0x000000));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

// 32 x 32 pointing hand; the fingertip is at kCursorActiveHotspot.
void hand_cursor(cairo_t* cr) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    const double fx = res::kCursorActiveHotspot.x, fy = res::kCursorActiveHotspot.y;
    cairo_new_path(cr);
    // Index finger.
    cairo_move_to(cr, fx - 3, 14);
    cairo_line_to(cr, fx - 3, fy + 3);
    cairo_arc(cr, fx, fy + 3, 3, M_PI, 2 * M_PI);
    cairo_line_to(cr, fx + 3, 13);
    // Folded fingers.
    cairo_arc(cr, fx + 5.5, 14, 2.5, M_PI, 2 * M_PI);
    cairo_arc(cr, fx + 10.5, 15, 2.5, M_PI, 2 * M_PI);
    cairo_arc(cr, fx + 15, 16.5, 2.3, M_PI, 2 * M_PI);
    cairo_line_to(cr, fx + 17.3, 23);
    cairo_curve_to(cr, fx + 17, 27, fx + 14, 30, fx + 10, 30);
    cairo_line_to(cr, fx + 3, 30);
    cairo_curve_to(cr, fx, 30, fx - 2, 28, fx - 4, 25);
    // Thumb.
    cairo_line_to(cr, fx - 8, 19);
    cairo_curve_to(cr, fx - 9.5, 16.5, fx - 6, 14.5, fx - 4.5, 16.5);
    cairo_line_to(cr, fx - 3, 18);
    cairo_close_path(cr);
    outlined(cr, rgb(0xFFFFFF));
    line(cr, fx + 3, 15, fx + 3, 20, rgb(0x000000, 0.6), 1);
    line(cr, fx + 8, 16, fx + 8, 20, rgb(0x000000, 0.6), 1);
    line(cr, fx + 12.8, 17, fx + 12.8, 21, rgb(0x000000, 0.6), 1);
    circle(cr, fx, fy + 3.5, 1.2);
    set_color(cr, p::accent);
    cairo_fill(cr);
}

// 32 x 32 arrow carrying a row; the arrow tip is at kCursorDragHotspot.
void drag_cursor(cairo_t* cr) {
    // Dragged row.
    rounded_rect(cr, 12.5, 17.5, 18, 11, 2.5);
    set_color(cr, p::accent);
    cairo_fill_preserve(cr);
    set_color(cr, rgb(0x000000));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    line(cr, 16, 21.5, 27, 21.5, rgb(0x1A0D03), 1.2);
    line(cr, 16, 24.5, 23, 24.5, rgb(0x1A0D03), 1.2);
    // Arrow.
    const double x = res::kCursorDragHotspot.x, y = res::kCursorDragHotspot.y;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x, y + 17);
    cairo_line_to(cr, x + 4, y + 13);
    cairo_line_to(cr, x + 6.8, y + 19.5);
    cairo_line_to(cr, x + 9.5, y + 18.3);
    cairo_line_to(cr, x + 6.8, y + 12);
    cairo_line_to(cr, x + 12, y + 12);
    cairo_close_path(cr);
    outlined(cr, rgb(0xFFFFFF));
}

}  // namespace

void add_app_images(Catalog& c) {
    c.push_back({128, 256, 256, "application icon (window list, tray)", app_icon});
    c.push_back({res::kCursorActive, 32, 32, "cursor over an active widget (hand)", hand_cursor});
    c.push_back(
        {res::kCursorDrag, 32, 32, "cursor while dragging (arrow with a row)", drag_cursor});
}

}  // namespace zentrik::skin
