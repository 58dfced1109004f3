// The window background, the page panels and the recording panel.
#include <cmath>

#include "res/skin_gen/catalog.h"
#include "res/skin_gen/palette.h"

namespace zentrik::skin {
namespace {

namespace p = palette;

// The window's outline inside the 1046 x 655 image; everything outside is transparent, so the
// window shape follows it.
constexpr double kBodyX = 10, kBodyY = 4, kBodyW = 996, kBodyH = 646, kCut = 22;
constexpr double kHeaderH = 58;

void body_path(cairo_t* cr, double inset) {
    chamfer_rect(cr, kBodyX + inset, kBodyY + inset, kBodyW - 2 * inset, kBodyH - 2 * inset,
                 kCut - inset * 0.4);
}

void glow(cairo_t* cr, double cx, double cy, double radius, Rgba c, double strength) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    for (int k = 0; k <= 8; ++k) {
        const double t = k / 8.0;
        const double fall = (1 - t) * (1 - t) * (1 + 2 * t);  // smoothstep from 1 to 0
        cairo_pattern_add_color_stop_rgba(p, t, c.r, c.g, c.b, strength * fall);
    }
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
}

void brand(cairo_t* cr) {
    // Mark: two offset chevrons.
    cairo_save(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    for (int k = 0; k < 2; ++k) {
        const double x = 40 + k * 9;
        cairo_move_to(cr, x, 22);
        cairo_line_to(cr, x + 9, 33);
        cairo_line_to(cr, x, 44);
        set_color(cr, k == 0 ? p::accent : p::accent_hi);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    text(cr, "ZENTRIK", 21, true, 72, 33, p::ink_light, Align::left, 4.0);
    text(cr, "MOUSE CONTROL CENTER", 9.5, false, 205, 34, p::ink_muted, Align::left, 2.2);
}

void paint_background(cairo_t* cr) {
    // Body gradient.
    body_path(cr, 0);
    vertical_gradient(cr, kBodyY, kBodyY + kBodyH, p::body_top, p::body_bottom);
    cairo_fill(cr);

    cairo_save(cr);
    body_path(cr, 0);
    cairo_clip(cr);
    // A faint warm glow behind the work area and a cool one low on the left, each with an
    // eased fall-off so no ring shows.
    glow(cr, 760, 300, 620, rgb(0xFF7A1A), 0.075);
    glow(cr, 0, 655, 700, rgb(0x4073B3), 0.07);

    // Fine diagonal texture.
    cairo_set_line_width(cr, 1);
    set_color(cr, rgb(0xFFFFFF, 0.018));
    for (double x = -700; x < 1100; x += 7) {
        cairo_move_to(cr, x, 700);
        cairo_line_to(cr, x + 700, 0);
    }
    cairo_stroke(cr);

    // Header band with a thin accent line under it.
    cairo_rectangle(cr, 0, 0, 1046, kBodyY + kHeaderH);
    vertical_gradient(cr, 0, kBodyY + kHeaderH, rgb(0x0C0E12), p::header);
    cairo_fill(cr);
    line(cr, kBodyX, kBodyY + kHeaderH + 0.5, kBodyX + kBodyW, kBodyY + kHeaderH + 0.5, p::hairline,
         1);
    cairo_pattern_t* accent = cairo_pattern_create_linear(kBodyX, 0, 420, 0);
    cairo_pattern_add_color_stop_rgba(accent, 0, p::accent.r, p::accent.g, p::accent.b, 0.9);
    cairo_pattern_add_color_stop_rgba(accent, 1, p::accent.r, p::accent.g, p::accent.b, 0.0);
    cairo_rectangle(cr, kBodyX, kBodyY + kHeaderH - 1, 420, 2);
    cairo_set_source(cr, accent);
    cairo_fill(cr);
    cairo_pattern_destroy(accent);

    // Bottom edge: a slim status strip.
    cairo_rectangle(cr, 0, kBodyY + kBodyH - 10, 1046, 10);
    set_color(cr, rgb(0x0C0E12, 0.8));
    cairo_fill(cr);
    cairo_restore(cr);

    brand(cr);

    // Rim light: bright along the top, fading down the sides.
    body_path(cr, 0.5);
    cairo_pattern_t* rim = cairo_pattern_create_linear(0, kBodyY, 0, kBodyY + kBodyH);
    cairo_pattern_add_color_stop_rgba(rim, 0, 0.42, 0.46, 0.54, 0.95);
    cairo_pattern_add_color_stop_rgba(rim, 0.25, 0.25, 0.28, 0.33, 0.9);
    cairo_pattern_add_color_stop_rgba(rim, 1, 0.16, 0.18, 0.22, 1.0);
    cairo_set_source(cr, rim);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Accent corner cuts.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    line(cr, kBodyX + 1.5, kBodyY + kCut + 1, kBodyX + kCut + 1, kBodyY + 1.5, p::accent, 2);
    line(cr, kBodyX + kBodyW - kCut - 1, kBodyY + kBodyH - 1.5, kBodyX + kBodyW - 1.5,
         kBodyY + kBodyH - kCut - 1, p::accent, 2);
}

// A light list card with a dark caption band, as used behind every list.
void list_card(cairo_t* cr, double x, double y, double w, double h) {
    // Soft shadow.
    for (int i = 3; i >= 1; --i) {
        fill_rounded(cr, x - i + 1, y - i + 2, w + 2 * i - 2, h + 2 * i - 1, 6 + i,
                     rgb(0x000000, 0.10));
    }
    cairo_save(cr);
    rounded_rect(cr, x, y, w, h, 6);
    cairo_clip(cr);
    vertical_gradient(cr, y, y + h, rgb(0xECEEF2), rgb(0xDCE0E6));
    cairo_paint(cr);
    cairo_rectangle(cr, x, y, w, 30);
    vertical_gradient(cr, y, y + 30, rgb(0x343A46), p::card_header);
    cairo_fill(cr);
    cairo_rectangle(cr, x, y + 30, w, 2);
    set_color(cr, p::accent);
    cairo_fill(cr);
    cairo_restore(cr);
    stroke_rounded(cr, x + 0.5, y + 0.5, w - 1, h - 1, 6, rgb(0x000000, 0.35));
}

// A light strip for black text below a list.
void light_strip(cairo_t* cr, double x, double y, double w, double h) {
    fill_rounded(cr, x, y, w, h, 5, rgb(0xDCE0E6));
    stroke_rounded(cr, x + 0.5, y + 0.5, w - 1, h - 1, 5, rgb(0x000000, 0.3));
}

// Macro page: the memory list card (left), the editor card (right), and the light strips
// under them for the memory bar and the record check box. Placed at (190, 129).
void paint_macro_panel(cairo_t* cr) {
    list_card(cr, 5, 0, 220, 358);
    list_card(cr, 313, 0, 450, 358);
    light_strip(cr, 5, 363, 220, 50);
    light_strip(cr, 313, 363, 450, 50);
}

// Macro page with the library shown under the editor: the editor's card split into two cards,
// 174 pixels each with a 10-pixel gap (the window places the two lists on them).
void paint_macro_panel_split(cairo_t* cr) {
    list_card(cr, 5, 0, 220, 358);
    list_card(cr, 313, 0, 450, 174);
    list_card(cr, 313, 184, 450, 174);
    light_strip(cr, 5, 363, 220, 50);
    light_strip(cr, 313, 363, 450, 50);
}

// Button page: the card behind the function list. Placed at (190, 179).
void paint_function_panel(cairo_t* cr) {
    list_card(cr, 5, 1, 220, 358);
}

// DPI page: the card under the report-rate and wheel-rate sliders. Placed at (205, 392).
void paint_slider_panel(cairo_t* cr) {
    rounded_rect(cr, 0.5, 0.5, 715, 77, 6);
    vertical_gradient(cr, 0, 78, rgb(0x2A2F38, 0.92), rgb(0x1C2027, 0.92));
    cairo_fill_preserve(cr);
    set_color(cr, rgb(0x454C59));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    line(cr, 1, 1.5, 715, 1.5, rgb(0xFFFFFF, 0.06), 1);
    line(cr, 370.5, 12, 370.5, 66, rgb(0x454C59), 1);
    // Accent ticks at the start of each caption.
    fill_rounded(cr, 0, 16, 3, 16, 1.5, p::accent);
    fill_rounded(cr, 376, 16, 3, 16, 1.5, p::accent);
}

// DPI page: the two fields behind the numeric spin boxes, with their arrow buttons.
// Placed at (822, 314); the boxes are at rows 0 and 35, 20 pixels high.
void paint_spin_fields(cairo_t* cr) {
    for (double y : {0.0, 35.0}) {
        rounded_rect(cr, 0.5, y + 0.5, 64, 19, 4);
        vertical_gradient(cr, y, y + 20, rgb(0xF4F6F9), rgb(0xD9DDE3));
        cairo_fill_preserve(cr);
        set_color(cr, rgb(0x0B0D10));
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        // Arrow column.
        cairo_rectangle(cr, 42, y + 1, 22, 18);
        set_color(cr, rgb(0xC3C9D2));
        cairo_fill(cr);
        line(cr, 42.5, y + 1, 42.5, y + 19, rgb(0x8D95A2), 1);
        line(cr, 43, y + 10.5, 64, y + 10.5, rgb(0x8D95A2), 1);
        cairo_move_to(cr, 53, y + 3);
        cairo_line_to(cr, 57, y + 8);
        cairo_line_to(cr, 49, y + 8);
        cairo_close_path(cr);
        cairo_move_to(cr, 53, y + 18);
        cairo_line_to(cr, 57, y + 13);
        cairo_line_to(cr, 49, y + 13);
        cairo_close_path(cr);
        set_color(cr, rgb(0x2A2F38));
        cairo_fill(cr);
    }
}

// DPI page: the axis letters in front of the X and Y sliders. Placed at (500, 312); the
// sliders run from x 35 to 305 at rows 5 and 41, 11 pixels high.
void paint_axis_labels(cairo_t* cr) {
    const char* names[] = {"X", "Y"};
    for (int k = 0; k < 2; ++k) {
        const double cy = 10.5 + 36 * k;
        fill_rounded(cr, 4, cy - 10, 22, 20, 4, p::raised_hi);
        stroke_rounded(cr, 4.5, cy - 9.5, 21, 19, 4, rgb(0x4A5260));
        text(cr, names[k], 12, true, 15, cy, p::accent_hi);
        // Groove the slider sits in.
        fill_rounded(cr, 32, cy - 8.5, 277, 17, 8.5, rgb(0x000000, 0.28));
    }
}

// The frame around the recording message. The program first draws a 420 x 80 dark band across
// the window's middle and this image over it (centred, so the band runs from y 57 to 137 here
// and stands 6.5 pixels out on each side); the message goes in white across that band. The
// frame is split there and the band's rows are filled nearly opaque in the band's own colour,
// so the band reads as one ribbon running through the frame and hides the page under the text.
void paint_recording_panel(cairo_t* cr) {
    constexpr double band_top = 57, band_bottom = 137;
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, 407, band_top);
    cairo_rectangle(cr, 0, band_bottom, 407, 194 - band_bottom);
    cairo_clip(cr);
    rounded_rect(cr, 1, 1, 405, 192, 14);
    vertical_gradient(cr, 0, 194, rgb(0x2B3039, 0.97), rgb(0x171A20, 0.97));
    cairo_fill_preserve(cr);
    set_color(cr, rgb(0x59616F));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    stroke_rounded(cr, 6.5, 6.5, 394, 181, 10, rgb(0xFFFFFF, 0.06));
    cairo_restore(cr);
    cairo_rectangle(cr, 0, band_top, 407, band_bottom - band_top);
    set_color(cr, rgb(0x141518, 0.93));
    cairo_fill(cr);
    // Accent edges where the band passes through.
    line(cr, 1, band_top + 0.5, 406, band_top + 0.5, rgb(0xFF7A1A, 0.85), 1);
    line(cr, 1, band_bottom - 0.5, 406, band_bottom - 0.5, rgb(0xFF7A1A, 0.85), 1);

    // Recording light and level bars above the message.
    circle(cr, 203.5, 29, 12);
    set_color(cr, rgb(0xF03E3E, 0.25));
    cairo_fill(cr);
    circle(cr, 203.5, 29, 7);
    set_color(cr, palette::record_red);
    cairo_fill(cr);
    const double heights[] = {6, 10, 16, 10, 6};
    for (int k = 0; k < 5; ++k) {
        fill_rounded(cr, 140 + k * 7, 29 - heights[k] / 2, 3.5, heights[k], 1.75,
                     rgb(0xFF7A1A, 0.8));
        fill_rounded(cr, 238 + k * 7, 29 - heights[4 - k] / 2, 3.5, heights[4 - k], 1.75,
                     rgb(0xFF7A1A, 0.8));
    }
    // Keyboard and mouse below: what is being listened to.
    const Rgba ink = rgb(0x8D95A2);
    rounded_rect(cr, 150, 152, 62, 26, 4);
    set_color(cr, ink);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    for (int row = 0; row < 2; ++row) {
        for (int k = 0; k < 6; ++k) {
            fill_rounded(cr, 155 + k * 9.2, 156 + row * 8, 6.5, 5.5, 1, ink);
        }
    }
    fill_rounded(cr, 163, 172, 36, 3.5, 1, ink);
    stroke_rounded(cr, 232, 150, 22, 30, 11, ink, 1.5);
    line(cr, 243, 151, 243, 161, ink, 1.5);
    line(cr, 233, 161, 253, 161, ink, 1.5);
}

}  // namespace

void add_window_images(Catalog& c) {
    c.push_back({244, 1046, 655, "window background; its opaque pixels are the window's shape",
                 paint_background});
    c.push_back({284, 768, 416, "macro page panel behind both lists and their status strips",
                 paint_macro_panel});
    c.push_back({340, 768, 416, "macro page panel with the library card under the editor's",
                 paint_macro_panel_split});
    c.push_back(
        {306, 230, 366, "button page panel behind the function list", paint_function_panel});
    c.push_back({273, 716, 78, "DPI page panel behind the report-rate and wheel-rate sliders",
                 paint_slider_panel});
    c.push_back(
        {274, 66, 56, "DPI page fields and arrows behind the two spin boxes", paint_spin_fields});
    c.push_back({275, 316, 64, "DPI page axis letters and grooves of the X and Y sliders",
                 paint_axis_labels});
    c.push_back({310, 407, 194, "frame of the recording overlay", paint_recording_panel});
}

}  // namespace zentrik::skin
