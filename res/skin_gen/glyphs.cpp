#include "res/skin_gen/glyphs.h"

#include <cmath>

namespace zentrik::skin {
namespace {

void stroke(cairo_t* cr, Rgba c, double w) {
    set_color(cr, c);
    cairo_set_line_width(cr, w);
    cairo_stroke(cr);
}

void fill(cairo_t* cr, Rgba c) {
    set_color(cr, c);
    cairo_fill(cr);
}

// A solid arrow head with its tip at (x, y) pointing in direction `angle` (radians).
void arrow_head(cairo_t* cr, double x, double y, double angle, double size, Rgba c) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, -size, -size * 0.62);
    cairo_line_to(cr, -size, size * 0.62);
    cairo_close_path(cr);
    fill(cr, c);
    cairo_restore(cr);
}

void vertical_arrow(cairo_t* cr, double x, double y0, double y1, Rgba c) {
    const double dir = y1 > y0 ? 1 : -1;
    cairo_move_to(cr, x, y0);
    cairo_line_to(cr, x, y1 - dir * 3.5);
    stroke(cr, c, 2.2);
    arrow_head(cr, x, y1, dir > 0 ? M_PI / 2 : -M_PI / 2, 5.0, c);
}

void key_cap(cairo_t* cr, double y, Rgba ink) {
    rounded_rect(cr, 4, y, 16, 8, 2);
    stroke(cr, ink, 1.6);
    cairo_move_to(cr, 8, y + 8);
    cairo_line_to(cr, 16, y + 8);
    stroke(cr, ink, 1.0);
}

void mouse_body(cairo_t* cr, Rgba ink, Rgba accent, bool pressed) {
    // Body with a parting line and the left button.
    rounded_rect(cr, 6, 2.5, 12, 19, 6);
    stroke(cr, ink, 1.6);
    if (pressed) {
        cairo_move_to(cr, 12, 3.2);
        cairo_line_to(cr, 12, 10);
        cairo_line_to(cr, 6.8, 10);
        cairo_arc_negative(cr, 12, 8.5, 5.2, M_PI, 3 * M_PI / 2);
        cairo_close_path(cr);
        fill(cr, accent);
    }
    cairo_move_to(cr, 12, 3);
    cairo_line_to(cr, 12, 10);
    cairo_move_to(cr, 6.5, 10);
    cairo_line_to(cr, 17.5, 10);
    stroke(cr, ink, 1.2);
}

void sheet(cairo_t* cr, Rgba ink) {
    cairo_move_to(cr, 6, 3);
    cairo_line_to(cr, 14, 3);
    cairo_line_to(cr, 18, 7);
    cairo_line_to(cr, 18, 21);
    cairo_line_to(cr, 6, 21);
    cairo_close_path(cr);
    stroke(cr, ink, 1.6);
    cairo_move_to(cr, 14, 3);
    cairo_line_to(cr, 14, 7);
    cairo_line_to(cr, 18, 7);
    stroke(cr, ink, 1.2);
}

void tray(cairo_t* cr, Rgba ink) {
    cairo_move_to(cr, 3.5, 14);
    cairo_line_to(cr, 3.5, 20.5);
    cairo_line_to(cr, 20.5, 20.5);
    cairo_line_to(cr, 20.5, 14);
    stroke(cr, ink, 1.8);
}

}  // namespace

void draw_glyph(cairo_t* cr, Glyph g, double x, double y, double size, Rgba ink, Rgba accent) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, size / 24.0, size / 24.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    switch (g) {
        case Glyph::clock:
            circle(cr, 12, 12, 8.5);
            stroke(cr, ink, 1.8);
            cairo_move_to(cr, 12, 7);
            cairo_line_to(cr, 12, 12);
            cairo_line_to(cr, 15.5, 14);
            stroke(cr, accent, 1.8);
            break;
        case Glyph::key_down:
            vertical_arrow(cr, 12, 2, 12, accent);
            key_cap(cr, 13.5, ink);
            break;
        case Glyph::key_up:
            key_cap(cr, 13.5, ink);
            vertical_arrow(cr, 12, 12, 2, accent);
            break;
        case Glyph::mouse_pressed:
            mouse_body(cr, ink, accent, true);
            break;
        case Glyph::mouse_released:
            mouse_body(cr, ink, accent, false);
            cairo_move_to(cr, 21, 4);
            cairo_line_to(cr, 21, 9);
            stroke(cr, accent, 1.6);
            arrow_head(cr, 21, 2.2, -M_PI / 2, 3.2, accent);
            break;
        case Glyph::one_arrow:
            // A figure one followed by a forward arrow: run once.
            cairo_move_to(cr, 5, 7);
            cairo_line_to(cr, 8.5, 4.5);
            cairo_line_to(cr, 8.5, 19.5);
            cairo_move_to(cr, 5.5, 19.5);
            cairo_line_to(cr, 11.5, 19.5);
            stroke(cr, ink, 1.8);
            cairo_move_to(cr, 13, 12);
            cairo_line_to(cr, 19, 12);
            stroke(cr, accent, 2.0);
            arrow_head(cr, 22, 12, 0, 4.5, accent);
            break;
        case Glyph::circular_arrows:
            cairo_arc(cr, 12, 12, 7.5, M_PI * 1.15, M_PI * 1.95);
            stroke(cr, ink, 1.9);
            arrow_head(cr, 19.4, 10.6, M_PI * 0.55, 4.2, ink);
            cairo_arc(cr, 12, 12, 7.5, M_PI * 0.15, M_PI * 0.95);
            stroke(cr, accent, 1.9);
            arrow_head(cr, 4.6, 13.4, M_PI * 1.55, 4.2, accent);
            break;
        case Glyph::fan_arrows:
            cairo_move_to(cr, 3, 12);
            cairo_line_to(cr, 10, 12);
            stroke(cr, ink, 2.0);
            for (int k = -1; k <= 1; ++k) {
                const double ty = 12 + k * 7.5;
                cairo_move_to(cr, 10, 12);
                cairo_curve_to(cr, 13, 12, 14, ty, 18, ty);
                stroke(cr, accent, 1.7);
                arrow_head(cr, 21.5, ty, 0, 3.8, accent);
            }
            break;
        case Glyph::arc_arrows:
            cairo_arc(cr, 12, 17, 9, M_PI * 1.12, M_PI * 1.88);
            stroke(cr, ink, 1.9);
            arrow_head(cr, 3.2, 15.4, M_PI * 0.62, 4.2, accent);
            arrow_head(cr, 20.8, 15.4, M_PI * 0.38, 4.2, accent);
            circle(cr, 12, 17, 1.8);
            fill(cr, accent);
            break;
        case Glyph::tools:
            // Wrench from top left, screwdriver from top right, crossing.
            cairo_move_to(cr, 6.5, 8.5);
            cairo_line_to(cr, 18.5, 20.5);
            stroke(cr, ink, 2.6);
            circle(cr, 6, 6, 3.6);
            stroke(cr, ink, 2.0);
            cairo_move_to(cr, 19, 3.5);
            cairo_line_to(cr, 13, 9.5);
            stroke(cr, accent, 2.0);
            cairo_move_to(cr, 12, 12);
            cairo_line_to(cr, 5, 19);
            stroke(cr, accent, 3.4);
            break;
        case Glyph::question:
            cairo_arc(cr, 12, 8.5, 4.5, M_PI, 2.3 * M_PI);
            cairo_curve_to(cr, 14, 12.5, 12, 13, 12, 15.5);
            stroke(cr, ink, 2.2);
            circle(cr, 12, 20, 1.5);
            fill(cr, accent);
            break;
        case Glyph::wheel:
            rounded_rect(cr, 8.5, 6, 7, 12, 3.5);
            stroke(cr, ink, 1.7);
            cairo_move_to(cr, 12, 9);
            cairo_line_to(cr, 12, 15);
            stroke(cr, ink, 1.4);
            arrow_head(cr, 12, 1, -M_PI / 2, 3.8, accent);
            arrow_head(cr, 12, 23, M_PI / 2, 3.8, accent);
            break;
        case Glyph::trash:
            cairo_move_to(cr, 4, 6.5);
            cairo_line_to(cr, 20, 6.5);
            stroke(cr, ink, 1.8);
            cairo_move_to(cr, 9.5, 6.5);
            cairo_line_to(cr, 10, 3.5);
            cairo_line_to(cr, 14, 3.5);
            cairo_line_to(cr, 14.5, 6.5);
            stroke(cr, ink, 1.5);
            cairo_move_to(cr, 6, 6.5);
            cairo_line_to(cr, 7, 20.5);
            cairo_line_to(cr, 17, 20.5);
            cairo_line_to(cr, 18, 6.5);
            stroke(cr, ink, 1.8);
            cairo_move_to(cr, 10, 10);
            cairo_line_to(cr, 10.3, 17);
            cairo_move_to(cr, 14, 10);
            cairo_line_to(cr, 13.7, 17);
            stroke(cr, accent, 1.4);
            break;
        case Glyph::new_sheet:
            sheet(cr, ink);
            cairo_move_to(cr, 12, 10.5);
            cairo_line_to(cr, 12, 17.5);
            cairo_move_to(cr, 8.5, 14);
            cairo_line_to(cr, 15.5, 14);
            stroke(cr, accent, 1.9);
            break;
        case Glyph::import_file:
            tray(cr, ink);
            cairo_move_to(cr, 12, 2.5);
            cairo_line_to(cr, 12, 12);
            stroke(cr, accent, 2.0);
            arrow_head(cr, 12, 16, M_PI / 2, 5, accent);
            break;
        case Glyph::export_file:
            tray(cr, ink);
            cairo_move_to(cr, 12, 17);
            cairo_line_to(cr, 12, 7);
            stroke(cr, accent, 2.0);
            arrow_head(cr, 12, 2.5, -M_PI / 2, 5, accent);
            break;
        case Glyph::record:
            circle(cr, 12, 12, 8.5);
            stroke(cr, ink, 1.6);
            circle(cr, 12, 12, 5.5);
            fill(cr, accent);
            break;
        case Glyph::stop:
            circle(cr, 12, 12, 8.5);
            stroke(cr, ink, 1.6);
            rounded_rect(cr, 8, 8, 8, 8, 1.2);
            fill(cr, accent);
            break;
        case Glyph::mouse_buttons:
            rounded_rect(cr, 5, 1.5, 14, 21, 7);
            stroke(cr, ink, 1.5);
            cairo_move_to(cr, 5.3, 10);
            cairo_line_to(cr, 18.7, 10);
            cairo_move_to(cr, 12, 1.8);
            cairo_line_to(cr, 12, 10);
            stroke(cr, ink, 1.1);
            rounded_rect(cr, 10.8, 4, 2.4, 4.5, 1.2);
            fill(cr, accent);
            break;
        case Glyph::macro_steps:
            for (int k = 0; k < 3; ++k) {
                const double ly = 5 + k * 6.5;
                circle(cr, 5, ly, 1.6);
                fill(cr, k == 1 ? accent : ink);
                cairo_move_to(cr, 9, ly);
                cairo_line_to(cr, k == 1 ? 16 : 20, ly);
                stroke(cr, k == 1 ? accent : ink, 1.7);
            }
            cairo_move_to(cr, 17.5, 8);
            cairo_curve_to(cr, 22.5, 8, 22.5, 14.5, 18.5, 14.5);
            stroke(cr, accent, 1.3);
            break;
        case Glyph::dpi_gauge:
            cairo_arc(cr, 12, 14, 9, M_PI, 2 * M_PI);
            stroke(cr, ink, 1.7);
            for (int k = 0; k <= 4; ++k) {
                const double a = M_PI + k * M_PI / 4;
                cairo_move_to(cr, 12 + 6.5 * std::cos(a), 14 + 6.5 * std::sin(a));
                cairo_line_to(cr, 12 + 8 * std::cos(a), 14 + 8 * std::sin(a));
                stroke(cr, ink, 1.0);
            }
            cairo_move_to(cr, 12, 14);
            cairo_line_to(cr, 12 + 7 * std::cos(-M_PI / 4.2), 14 + 7 * std::sin(-M_PI / 4.2));
            stroke(cr, accent, 1.9);
            circle(cr, 12, 14, 1.8);
            fill(cr, accent);
            cairo_move_to(cr, 4, 19.5);
            cairo_line_to(cr, 20, 19.5);
            stroke(cr, ink, 1.2);
            break;
        case Glyph::close:
            cairo_move_to(cr, 7, 7);
            cairo_line_to(cr, 17, 17);
            cairo_move_to(cr, 17, 7);
            cairo_line_to(cr, 7, 17);
            stroke(cr, ink, 2.0);
            break;
        case Glyph::minimise:
            cairo_move_to(cr, 7, 16);
            cairo_line_to(cr, 17, 16);
            stroke(cr, ink, 2.0);
            break;
        case Glyph::home:
            cairo_move_to(cr, 5, 11.5);
            cairo_line_to(cr, 12, 5);
            cairo_line_to(cr, 19, 11.5);
            cairo_move_to(cr, 7, 10);
            cairo_line_to(cr, 7, 18.5);
            cairo_line_to(cr, 17, 18.5);
            cairo_line_to(cr, 17, 10);
            stroke(cr, ink, 1.8);
            cairo_move_to(cr, 12, 18.5);
            cairo_line_to(cr, 12, 14.5);
            stroke(cr, accent, 2.0);
            break;
    }
    cairo_restore(cr);
}

}  // namespace zentrik::skin
