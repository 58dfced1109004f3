// Buttons, tabs, check box, slider thumb, fold arrows, callout plates and number badges.
#include <string>

#include "res/skin_gen/catalog.h"
#include "res/skin_gen/glyphs.h"
#include "res/skin_gen/palette.h"

namespace zentrik::skin {
namespace {

namespace p = palette;

enum class Look { normal, hover, pressed };

// Window corner buttons, 26 x 26.
void corner_button(cairo_t* cr, Glyph g, Look look, bool danger) {
    Rgba fill = look == Look::normal ? p::raised : look == Look::hover ? p::raised_hi : p::sunken;
    Rgba ink = p::ink_muted;
    if (look != Look::normal) {
        fill = danger ? (look == Look::hover ? p::danger : rgb(0xB0353A)) : fill;
        ink = p::ink_light;
    }
    fill_rounded(cr, 0.5, 0.5, 25, 25, 6, fill);
    stroke_rounded(cr, 0.5, 0.5, 25, 25, 6,
                   look == Look::pressed ? rgb(0x000000, 0.5) : rgb(0xFFFFFF, 0.10));
    const double shift = look == Look::pressed ? 1 : 0;
    draw_glyph(cr, g, 3 + shift, 3 + shift, 20, ink, look == Look::normal ? ink : p::accent_hi);
}

// Side tabs, 130 x 118: pictogram in the upper 82 pixels, caption band below.
void side_tab(cairo_t* cr, Glyph g, bool lit) {
    chamfer_rect(cr, 0.5, 0.5, 129, 117, 10);
    vertical_gradient(cr, 0, 118, lit ? rgb(0x353B47) : rgb(0x232730),
                      lit ? rgb(0x262B33) : rgb(0x191C22));
    cairo_fill_preserve(cr);
    set_color(cr, lit ? rgb(0x5A6272) : rgb(0x333844));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    if (lit) {
        fill_rounded(cr, 0, 22, 4, 74, 2, p::accent);
        cairo_pattern_t* glow = cairo_pattern_create_radial(65, 42, 4, 65, 42, 48);
        cairo_pattern_add_color_stop_rgba(glow, 0, 1.0, 0.48, 0.1, 0.22);
        cairo_pattern_add_color_stop_rgba(glow, 1, 1.0, 0.48, 0.1, 0.0);
        cairo_set_source(cr, glow);
        chamfer_rect(cr, 1, 1, 128, 116, 10);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
    }
    draw_glyph(cr, g, 41, 18, 48, lit ? p::ink_light : p::ink_muted,
               lit ? p::accent : p::ink_muted);
    line(cr, 16, 82.5, 114, 82.5, lit ? rgb(0xFFFFFF, 0.10) : rgb(0xFFFFFF, 0.05), 1);
}

// Home page category cards, 370 x 120: big pictogram in the first 180 pixels, the caption is
// drawn by the program from x 180, left-aligned and centred vertically.
void home_card(cairo_t* cr, Glyph g, int number, bool lit) {
    chamfer_rect(cr, 0.5, 0.5, 369, 119, 14);
    vertical_gradient(cr, 0, 120, lit ? rgb(0x373D4A) : rgb(0x252A33),
                      lit ? rgb(0x272C35) : rgb(0x191C22));
    cairo_fill_preserve(cr);
    set_color(cr, lit ? p::accent : rgb(0x39404C));
    cairo_set_line_width(cr, lit ? 1.5 : 1);
    cairo_stroke(cr);
    // Pictogram disc.
    circle(cr, 90, 60, 42);
    set_color(cr, lit ? rgb(0xFF7A1A, 0.16) : rgb(0x000000, 0.22));
    cairo_fill(cr);
    circle(cr, 90, 60, 42);
    set_color(cr, lit ? rgb(0xFF7A1A, 0.7) : rgb(0xFFFFFF, 0.08));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    draw_glyph(cr, g, 62, 32, 56, lit ? p::ink_light : rgb(0xB8BFCA),
               lit ? p::accent_hi : p::accent);
    line(cr, 168.5, 28, 168.5, 92, rgb(0xFFFFFF, 0.08), 1);
    text(cr, "0" + std::to_string(number), 11, true, 352, 18, lit ? p::accent_hi : p::ink_dim,
         Align::right, 1.5);
}

// Backup, restore and reset buttons, 150 x 40; the caption is drawn centred by the program.
void action_button(cairo_t* cr, bool lit) {
    chamfer_rect(cr, 0.5, 0.5, 149, 39, 8);
    vertical_gradient(cr, 0, 40, lit ? rgb(0x3A404D) : rgb(0x2A2F38),
                      lit ? rgb(0x2A2F38) : rgb(0x1C1F26));
    cairo_fill_preserve(cr);
    set_color(cr, lit ? p::accent : rgb(0x454C59));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    line(cr, 9, 1.5, 141, 1.5, rgb(0xFFFFFF, lit ? 0.14 : 0.07), 1);
    fill_rounded(cr, 55, 34, 40, 2, 1, lit ? p::accent : rgb(0x454C59));
}

// DPI level buttons, 288 x 62: level number on the left, a light plate on the right where the
// program writes "X: n" and "Y: n" in dark grey (centred 34 pixels from the top).
void dpi_level_button(cairo_t* cr, int level, bool lit) {
    const double y = 7, h = 54;
    chamfer_rect(cr, 0.5, y + 0.5, 287, h - 1, 8);
    set_color(cr, lit ? rgb(0x2D323C) : rgb(0x20242B));
    cairo_fill_preserve(cr);
    set_color(cr, lit ? p::accent : rgb(0x3A414D));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Level badge.
    fill_rounded(cr, 8, y + 8, 80, h - 16, 5, lit ? p::accent : rgb(0x2F3540));
    text(cr, "DPI", 9, true, 30, y + 27, lit ? rgb(0x2A1404) : p::ink_dim, Align::centre, 1);
    text(cr, std::to_string(level), 24, true, 64, y + 27, lit ? rgb(0x1A0D03) : p::ink_muted);
    // Plate for the resolution labels.
    rounded_rect(cr, 97, y + 8, 182, h - 16, 5);
    vertical_gradient(cr, y + 8, y + h - 8, lit ? rgb(0xF6F7F9) : rgb(0xC9CED6),
                      lit ? rgb(0xE3E7EC) : rgb(0xB3B9C3));
    cairo_fill(cr);
    line(cr, 188.5, y + 14, 188.5, y + h - 14, rgb(0x000000, 0.18), 1);
}

// Check box, 16 x 16, readable on the dark pages and on the light strips.
void check_box(cairo_t* cr, bool checked) {
    rounded_rect(cr, 0.5, 0.5, 15, 15, 3);
    if (checked) {
        set_color(cr, p::accent);
    } else {
        vertical_gradient(cr, 0, 16, rgb(0xF2F4F7), rgb(0xCDD2DA));
    }
    cairo_fill_preserve(cr);
    set_color(cr, checked ? p::accent_lo : rgb(0x0E1014));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    if (checked) {
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_move_to(cr, 4, 8.2);
        cairo_line_to(cr, 6.8, 11);
        cairo_line_to(cr, 12, 5);
        set_color(cr, rgb(0x1A0D03));
        cairo_set_line_width(cr, 2.2);
        cairo_stroke(cr);
    }
}

// Slider thumb, 14 x 22 (the track is 11 pixels high; the thumb overhangs it evenly).
void slider_thumb(cairo_t* cr) {
    fill_rounded(cr, 1, 2, 13, 20, 4, rgb(0x000000, 0.35));
    rounded_rect(cr, 0.5, 0.5, 13, 20, 4);
    vertical_gradient(cr, 0, 21, rgb(0xF7F8FA), rgb(0xBFC5CF));
    cairo_fill_preserve(cr);
    set_color(cr, rgb(0x16191E));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    fill_rounded(cr, 5.5, 4, 3, 13, 1.5, p::accent);
}

// Fold arrows of the list headers, 12 x 12, drawn on the light grey header row.
void fold_arrow(cairo_t* cr, bool expanded) {
    cairo_save(cr);
    cairo_translate(cr, 6, 6);
    if (expanded) {
        cairo_rotate(cr, M_PI / 2);
    }
    cairo_move_to(cr, -2.5, -4.5);
    cairo_line_to(cr, 3.5, 0);
    cairo_line_to(cr, -2.5, 4.5);
    cairo_close_path(cr);
    set_color(cr, rgb(0x3A404C));
    cairo_fill(cr);
    cairo_restore(cr);
}

// Callout plates, 200 x 28, under black text; the button badge sits at (3, 3). The program
// fills the whole box before drawing the plate, so the plate is square and fully opaque.
enum class Plate { normal, hover, checked };
void callout_plate(cairo_t* cr, Plate look) {
    Rgba top = rgb(0xD3D8DF), bottom = rgb(0xBCC2CC), edge = rgb(0x0E1014);
    if (look == Plate::hover) {
        top = rgb(0xF4F6F8);
        bottom = rgb(0xDDE1E7);
    } else if (look == Plate::checked) {
        top = rgb(0xFFA14F);
        bottom = rgb(0xF27612);
        edge = rgb(0x5A2703);
    }
    cairo_rectangle(cr, 0.5, 0.5, 199, 27);
    vertical_gradient(cr, 0, 28, top, bottom);
    cairo_fill_preserve(cr);
    set_color(cr, edge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    line(cr, 4, 1.5, 196, 1.5, rgb(0xFFFFFF, 0.45), 1);
    if (look == Plate::hover) {
        fill_rounded(cr, 194, 6, 3, 16, 1.5, p::accent);
    }
}

// Number badges, 22 x 22, that tie a callout to its button on the mouse picture.
enum class Badge { callout, marker, selected, hover };
void badge(cairo_t* cr, int number, Badge look) {
    const std::string s = std::to_string(number);
    const double px = number >= 10 ? 10 : 12;
    switch (look) {
        case Badge::callout:
            circle(cr, 11, 11, 10);
            set_color(cr, rgb(0x262A32));
            cairo_fill(cr);
            text(cr, s, px, true, 11, 11, p::ink_light);
            break;
        case Badge::marker:
            circle(cr, 11, 11, 9.5);
            set_color(cr, rgb(0x0A0B0E, 0.72));
            cairo_fill_preserve(cr);
            set_color(cr, rgb(0xFFFFFF, 0.55));
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
            text(cr, s, px, true, 11, 11, p::ink_light);
            break;
        case Badge::selected:
            circle(cr, 11, 11, 10);
            set_color(cr, p::accent);
            cairo_fill_preserve(cr);
            set_color(cr, rgb(0xFFFFFF));
            cairo_set_line_width(cr, 1.6);
            cairo_stroke(cr);
            text(cr, s, px, true, 11, 11, rgb(0x1A0D03));
            break;
        case Badge::hover:
            circle(cr, 11, 11, 10);
            set_color(cr, rgb(0xF4F6F8));
            cairo_fill_preserve(cr);
            set_color(cr, p::accent);
            cairo_set_line_width(cr, 1.8);
            cairo_stroke(cr);
            text(cr, s, px, true, 11, 11, rgb(0x1C1F26));
            break;
    }
}

}  // namespace

void add_control_images(Catalog& c) {
    struct Corner {
        Glyph glyph;
        int normal, hover, pressed;
        bool danger;
        const char* name;
    };
    for (const Corner& k : {Corner{Glyph::close, 132, 133, 135, true, "close (hide)"},
                            Corner{Glyph::minimise, 261, 262, -1, false, "minimise"},
                            Corner{Glyph::home, 264, 265, -1, false, "home page"}}) {
        const std::string name = k.name;
        const Glyph g = k.glyph;
        const bool danger = k.danger;
        c.push_back({k.normal, 26, 26, "corner button " + name + ", normal",
                     [=](cairo_t* cr) { corner_button(cr, g, Look::normal, danger); }});
        c.push_back({k.hover, 26, 26,
                     "corner button " + name + (k.pressed < 0 ? ", hover and pressed" : ", hover"),
                     [=](cairo_t* cr) { corner_button(cr, g, Look::hover, danger); }});
        if (k.pressed > 0) {
            c.push_back({k.pressed, 26, 26, "corner button " + name + ", pressed",
                         [=](cairo_t* cr) { corner_button(cr, g, Look::pressed, danger); }});
        }
    }

    struct Tab {
        Glyph glyph;
        int normal, lit, home_normal, home_lit, number;
        const char* name;
    };
    for (const Tab& t : {Tab{Glyph::mouse_buttons, 267, 268, 223, 258, 1, "button functions"},
                         Tab{Glyph::macro_steps, 271, 272, 225, 260, 2, "macros"},
                         Tab{Glyph::dpi_gauge, 269, 270, 224, 259, 3, "DPI and sensor"}}) {
        const Glyph g = t.glyph;
        const int n = t.number;
        const std::string name = t.name;
        c.push_back({t.normal, 130, 118, "side tab " + name + ", normal",
                     [=](cairo_t* cr) { side_tab(cr, g, false); }});
        c.push_back({t.lit, 130, 118, "side tab " + name + ", hover, pressed and checked",
                     [=](cairo_t* cr) { side_tab(cr, g, true); }});
        c.push_back({t.home_normal, 370, 120, "home card " + name + ", normal",
                     [=](cairo_t* cr) { home_card(cr, g, n, false); }});
        c.push_back({t.home_lit, 370, 120, "home card " + name + ", hover and pressed",
                     [=](cairo_t* cr) { home_card(cr, g, n, true); }});
    }

    c.push_back({277, 150, 40, "backup / restore / reset button, normal",
                 [](cairo_t* cr) { action_button(cr, false); }});
    c.push_back({276, 150, 40, "backup / restore / reset button, hover, pressed, disabled",
                 [](cairo_t* cr) { action_button(cr, true); }});

    for (int level = 1; level <= 4; ++level) {
        const int normal = 161 + 2 * (level - 1);
        c.push_back({normal, 288, 62, "DPI level " + std::to_string(level) + " button, normal",
                     [=](cairo_t* cr) { dpi_level_button(cr, level, false); }});
        c.push_back({normal - 1, 288, 62,
                     "DPI level " + std::to_string(level) + " button, pressed and checked",
                     [=](cairo_t* cr) { dpi_level_button(cr, level, true); }});
    }

    c.push_back({168, 16, 16, "check box, unchecked", [](cairo_t* cr) { check_box(cr, false); }});
    c.push_back({169, 16, 16, "check box, checked", [](cairo_t* cr) { check_box(cr, true); }});
    c.push_back({154, 14, 22, "slider thumb", slider_thumb});
    c.push_back({230, 12, 12, "list header fold arrow, folded",
                 [](cairo_t* cr) { fold_arrow(cr, false); }});
    c.push_back({231, 12, 12, "list header fold arrow, expanded",
                 [](cairo_t* cr) { fold_arrow(cr, true); }});

    c.push_back({307, 200, 28, "button callout plate, normal",
                 [](cairo_t* cr) { callout_plate(cr, Plate::normal); }});
    c.push_back({308, 200, 28, "button callout plate, hover and drop target",
                 [](cairo_t* cr) { callout_plate(cr, Plate::hover); }});
    c.push_back({309, 200, 28, "button callout plate, checked",
                 [](cairo_t* cr) { callout_plate(cr, Plate::checked); }});

    for (int i = 0; i <= 10; ++i) {
        const int n = i + 1;
        const std::string which = "button " + std::to_string(i) + " badge";
        c.push_back({i < 10 ? 177 + i : 197, 22, 22, which + " in its callout",
                     [=](cairo_t* cr) { badge(cr, n, Badge::callout); }});
        c.push_back({i < 10 ? 187 + i : 198, 22, 22, which + ", selected (callout and mouse)",
                     [=](cairo_t* cr) { badge(cr, n, Badge::selected); }});
        c.push_back({246 + i, 22, 22, which + ", pointer over its callout (callout and mouse)",
                     [=](cairo_t* cr) { badge(cr, n, Badge::hover); }});
        c.push_back({315 + i, 22, 22, which + " on the mouse picture",
                     [=](cairo_t* cr) { badge(cr, n, Badge::marker); }});
    }
}

}  // namespace zentrik::skin
