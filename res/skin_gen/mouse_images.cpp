// The mouse seen from above, in every size the window uses: the button-page picture (one per
// profile colour), the home page picture, the device-row pictures and the DPI level pictures.
//
// Button-page picture geometry (picture at window position 688, 195): the badge of button i is
// placed by the program at the marker position, and its leader line ends at the anchor; the
// body below is drawn so both land on button i:
//   wheel channel x 70..94 (badges of scroll up, wheel click, scroll down sit on it),
//   left button left of it, right button right of it, side buttons 3 and 4 on the left flank
//   (y 136 and 186), extra buttons 5 and 6 on the right flank (y 46 and 90).
#include <string>

#include "res/skin_gen/catalog.h"
#include "res/skin_gen/palette.h"

namespace zentrik::skin {
namespace {

namespace p = palette;

struct MouseStyle {
    Rgba trim;           // accent lines on the shell
    Rgba led;            // profile light
    bool right_buttons;  // the two extra buttons on the right flank
    Rgba shell_top = rgb(0x3A3F49);
    Rgba shell_bottom = rgb(0x1E2128);
};

void body_outline(cairo_t* cr) {
    cairo_move_to(cr, 90, 3);
    cairo_curve_to(cr, 140, 2, 184, 10, 192, 30);
    cairo_curve_to(cr, 201, 48, 212, 85, 211, 120);
    cairo_curve_to(cr, 210, 170, 205, 220, 196, 260);
    cairo_curve_to(cr, 188, 310, 150, 338, 110, 338);
    cairo_curve_to(cr, 60, 338, 22, 305, 14, 262);
    cairo_curve_to(cr, 8, 230, 2, 190, 6, 150);
    cairo_curve_to(cr, 8, 100, 10, 50, 20, 28);
    cairo_curve_to(cr, 34, 8, 60, 3, 90, 3);
    cairo_close_path(cr);
}

// The area of the two main buttons (the front of the body down to the parting line).
void buttons_clip(cairo_t* cr) {
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, 215, 0);
    cairo_line_to(cr, 215, 150);
    cairo_curve_to(cr, 160, 142, 120, 138, 82, 140);
    cairo_curve_to(cr, 50, 142, 20, 148, 0, 156);
    cairo_close_path(cr);
}

// A side button seen from above: a key set into the flank, its outer side following the body's
// edge (it is clipped to the body) with the flank's rim lit where the key sits. `inner` is the
// x of its rounded inner end; `left` says which flank it is on.
void flank_button(cairo_t* cr, double inner, double y, double h, bool left, const MouseStyle& st) {
    const double x0 = left ? -30 : inner, x1 = left ? inner : 245;
    cairo_save(cr);
    body_outline(cr);
    cairo_clip(cr);
    rounded_rect(cr, x0, y + 2, x1 - x0, h, h / 2);
    set_color(cr, rgb(0x000000, 0.5));
    cairo_fill(cr);
    rounded_rect(cr, x0, y, x1 - x0, h, h / 2);
    vertical_gradient(cr, y, y + h, rgb(0x5A616D), rgb(0x30343C));
    cairo_fill_preserve(cr);
    set_color(cr, rgb(0x07080A));
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    line(cr, x0 + h / 2, y + 2.5, x1 - h / 2, y + 2.5, rgb(0xFFFFFF, 0.22), 1);
    // The rim of the flank alongside the key.
    cairo_rectangle(cr, x0, y - 1, x1 - x0, h + 2);
    cairo_clip(cr);
    body_outline(cr);
    set_color(cr, with_alpha(st.trim, 0.85));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// Draws the mouse in picture coordinates (about 215 x 345) at (x, y), scaled by `s`.
void draw_mouse(cairo_t* cr, double x, double y, double s, const MouseStyle& st) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, s, s);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    // Contact shadow.
    cairo_save(cr);
    cairo_translate(cr, 4, 6);
    body_outline(cr);
    set_color(cr, rgb(0x000000, 0.45));
    cairo_fill(cr);
    cairo_restore(cr);

    // Shell with a sideways sheen.
    body_outline(cr);
    vertical_gradient(cr, 0, 340, st.shell_top, st.shell_bottom);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_pattern_t* sheen = cairo_pattern_create_linear(0, 0, 215, 0);
    cairo_pattern_add_color_stop_rgba(sheen, 0.0, 1, 1, 1, 0.0);
    cairo_pattern_add_color_stop_rgba(sheen, 0.32, 1, 1, 1, 0.10);
    cairo_pattern_add_color_stop_rgba(sheen, 0.5, 1, 1, 1, 0.02);
    cairo_pattern_add_color_stop_rgba(sheen, 1.0, 0, 0, 0, 0.25);
    cairo_set_source(cr, sheen);
    cairo_fill(cr);
    cairo_pattern_destroy(sheen);

    // Main buttons: slightly lighter, parted by the wheel channel.
    cairo_save(cr);
    buttons_clip(cr);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, 0, 215, 160);
    vertical_gradient(cr, 0, 150, rgb(0xFFFFFF, 0.09), rgb(0xFFFFFF, 0.02));
    cairo_fill(cr);
    cairo_restore(cr);
    // Parting line between the buttons and the palm.
    cairo_move_to(cr, 0, 156);
    cairo_curve_to(cr, 20, 148, 50, 142, 82, 140);
    cairo_curve_to(cr, 120, 138, 160, 142, 215, 150);
    set_color(cr, rgb(0x07080A, 0.9));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Parting lines beside the wheel.
    line(cr, 69, 2, 69, 141, rgb(0x07080A, 0.9), 2);
    line(cr, 95, 2, 95, 139, rgb(0x07080A, 0.9), 2);

    // Trim: accent lines sweeping back along the palm.
    cairo_move_to(cr, 30, 200);
    cairo_curve_to(cr, 40, 260, 70, 300, 110, 312);
    cairo_move_to(cr, 190, 200);
    cairo_curve_to(cr, 182, 260, 150, 300, 110, 312);
    set_color(cr, with_alpha(st.trim, 0.55));
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);

    // Profile light: a glowing bar on the palm.
    cairo_pattern_t* glow = cairo_pattern_create_radial(110, 262, 2, 110, 262, 46);
    cairo_pattern_add_color_stop_rgba(glow, 0, st.led.r, st.led.g, st.led.b, 0.55);
    cairo_pattern_add_color_stop_rgba(glow, 1, st.led.r, st.led.g, st.led.b, 0.0);
    cairo_set_source(cr, glow);
    cairo_paint(cr);
    cairo_pattern_destroy(glow);
    cairo_restore(cr);
    fill_rounded(cr, 84, 258, 52, 8, 4, st.led);
    fill_rounded(cr, 90, 260, 40, 3, 1.5, rgb(0xFFFFFF, 0.55));
    // Logo: two chevrons.
    for (int k = 0; k < 2; ++k) {
        cairo_move_to(cr, 101 + k * 7, 212);
        cairo_line_to(cr, 108 + k * 7, 221);
        cairo_line_to(cr, 101 + k * 7, 230);
    }
    set_color(cr, with_alpha(st.trim, 0.9));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);

    // Rim.
    body_outline(cr);
    set_color(cr, rgb(0x08090B));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);

    // Wheel channel, wheel and tilt marks.
    rounded_rect(cr, 70, 6, 24, 120, 12);
    set_color(cr, rgb(0x0B0C0F));
    cairo_fill(cr);
    rounded_rect(cr, 74, 34, 16, 64, 8);
    vertical_gradient(cr, 34, 98, rgb(0x5A606B), rgb(0x2C3038));
    cairo_fill(cr);
    for (double ry = 40; ry < 94; ry += 5) {
        line(cr, 76, ry, 88, ry, rgb(0x000000, 0.45), 1.2);
    }
    line(cr, 74.5, 36, 74.5, 96, with_alpha(st.trim, 0.7), 1.2);
    line(cr, 89.5, 36, 89.5, 96, with_alpha(st.trim, 0.7), 1.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 62, 58);
    cairo_line_to(cr, 57, 65);
    cairo_line_to(cr, 62, 72);
    cairo_move_to(cr, 102, 58);
    cairo_line_to(cr, 107, 65);
    cairo_line_to(cr, 102, 72);
    set_color(cr, rgb(0xFFFFFF, 0.35));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);

    // Side buttons on the left flank (forward, backward).
    flank_button(cr, 46, 127, 18, true, st);
    flank_button(cr, 46, 177, 18, true, st);
    // Extra buttons on the right flank.
    if (st.right_buttons) {
        flank_button(cr, 150, 37, 18, false, st);
        flank_button(cr, 156, 81, 18, false, st);
    }
    cairo_restore(cr);
}

MouseStyle style_for(bool second_set, Rgba led) {
    MouseStyle st{second_set ? p::accent_cool : p::accent, led, true};
    if (second_set) {
        st.shell_top = rgb(0x434C58);
        st.shell_bottom = rgb(0x1D232B);
    }
    return st;
}

// Button-page picture: 215 x 345, the mouse at its natural size.
void button_page_mouse(cairo_t* cr, bool second_set, Rgba led) {
    draw_mouse(cr, 0, 0, 1.0, style_for(second_set, led));
}

// Home page picture: 520 x 430, a larger mouse on a soft floor glow.
void home_mouse(cairo_t* cr, bool second_set) {
    const MouseStyle st = style_for(second_set, second_set ? p::accent_cool : p::accent);
    cairo_save(cr);
    cairo_translate(cr, 260, 395);
    cairo_scale(cr, 1, 0.22);
    cairo_pattern_t* floor = cairo_pattern_create_radial(0, 0, 10, 0, 0, 230);
    cairo_pattern_add_color_stop_rgba(floor, 0, st.trim.r, st.trim.g, st.trim.b, 0.35);
    cairo_pattern_add_color_stop_rgba(floor, 1, st.trim.r, st.trim.g, st.trim.b, 0.0);
    cairo_set_source(cr, floor);
    circle(cr, 0, 0, 230);
    cairo_fill(cr);
    cairo_pattern_destroy(floor);
    cairo_restore(cr);
    cairo_pattern_t* halo = cairo_pattern_create_radial(260, 200, 40, 260, 200, 230);
    cairo_pattern_add_color_stop_rgba(halo, 0, 1, 1, 1, 0.05);
    cairo_pattern_add_color_stop_rgba(halo, 1, 1, 1, 1, 0.0);
    cairo_set_source(cr, halo);
    circle(cr, 260, 200, 230);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    draw_mouse(cr, 260 - 1.2 * 107, 2, 1.2, st);
}

// Device-row pictures: 80 x 64.
void device_picture(cairo_t* cr, bool right_buttons, bool wireless) {
    MouseStyle st = style_for(false, p::accent);
    st.right_buttons = right_buttons;
    fill_rounded(cr, 0.5, 0.5, 79, 63, 8, rgb(0x14161B, 0.85));
    stroke_rounded(cr, 0.5, 0.5, 79, 63, 8, rgb(0xFFFFFF, 0.12));
    draw_mouse(cr, 40 - 0.165 * 107, 4, 0.165, st);
    if (wireless) {
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int k = 1; k <= 3; ++k) {
            cairo_arc(cr, 63, 22, 4.0 * k, -M_PI * 0.75, -M_PI * 0.25);
            set_color(cr, with_alpha(p::accent, 1.0 - 0.22 * k));
            cairo_set_line_width(cr, 1.8);
            cairo_stroke(cr);
        }
        circle(cr, 63, 22, 1.6);
        set_color(cr, p::accent);
        cairo_fill(cr);
    }
}

// DPI level pictures: 360 x 96, level `n` of four lit.
void dpi_picture(cairo_t* cr, int n, bool second_set) {
    const Rgba accent = second_set ? p::accent_cool : p::accent;
    fill_rounded(cr, 0.5, 0.5, 359, 95, 8, rgb(0x000000, 0.28));
    stroke_rounded(cr, 0.5, 0.5, 359, 95, 8, rgb(0xFFFFFF, 0.10));
    draw_mouse(cr, 14, 4, 0.255, style_for(second_set, accent));
    text(cr, "DPI LEVEL", 10, true, 88, 26, p::ink_muted, Align::left, 2);
    text(cr, std::to_string(n), 40, true, 88, 60, accent, Align::left);
    text(cr, "/ 4", 14, false, 124, 67, p::ink_dim, Align::left);
    for (int k = 0; k < 4; ++k) {
        const double h = 16 + 14 * k, bx = 200 + k * 38;
        const bool lit = k < n;
        if (k == n - 1) {
            fill_rounded(cr, bx - 4, 80 - h - 4, 32, h + 8, 7, with_alpha(accent, 0.22));
        }
        fill_rounded(cr, bx, 80 - h, 24, h, 4, lit ? accent : rgb(0x3A404C));
        if (lit) {
            fill_rounded(cr, bx + 3, 80 - h + 3, 18, 3, 1.5, rgb(0xFFFFFF, 0.35));
        }
    }
}

}  // namespace

void add_mouse_images(Catalog& c) {
    // Profile lights follow the profile colours: red, green, blue, magenta, cyan.
    struct Pic {
        int first_set, second_set;
        std::uint32_t led;
        const char* profile;
    };
    for (const Pic& pic :
         {Pic{136, 331, 0xFF2A2A, "1 (red)"}, Pic{313, 334, 0x2BE04A, "2 (green)"},
          Pic{311, 332, 0x3A6BFF, "3 (blue)"}, Pic{314, 335, 0xF040F0, "4 (magenta)"},
          Pic{312, 333, 0x2AE6E6, "5 (cyan)"}}) {
        const Rgba led = rgb(pic.led);
        const std::string role = std::string("button-page mouse, profile ") + pic.profile;
        c.push_back({pic.first_set, 215, 345, role,
                     [=](cairo_t* cr) { button_page_mouse(cr, false, led); }});
        c.push_back({pic.second_set, 215, 345, role + ", second sensor family",
                     [=](cairo_t* cr) { button_page_mouse(cr, true, led); }});
    }
    c.push_back({257, 520, 430, "home page mouse", [](cairo_t* cr) { home_mouse(cr, false); }});
    c.push_back({330, 520, 430, "home page mouse, second sensor family",
                 [](cairo_t* cr) { home_mouse(cr, true); }});
    c.push_back({232, 80, 64, "device row picture: small wired model without right-flank buttons",
                 [](cairo_t* cr) { device_picture(cr, false, false); }});
    c.push_back({170, 80, 64, "device row picture: wired models",
                 [](cairo_t* cr) { device_picture(cr, true, false); }});
    c.push_back({175, 80, 64, "device row picture: wired / wireless model",
                 [](cairo_t* cr) { device_picture(cr, true, true); }});
    const int first_set[] = {158, 159, 155, 156};
    for (int n = 1; n <= 4; ++n) {
        c.push_back({first_set[n - 1], 360, 96, "DPI page picture, level " + std::to_string(n),
                     [=](cairo_t* cr) { dpi_picture(cr, n, false); }});
        c.push_back({325 + n, 360, 96,
                     "DPI page picture, level " + std::to_string(n) + ", second sensor family",
                     [=](cairo_t* cr) { dpi_picture(cr, n, true); }});
    }
}

}  // namespace zentrik::skin
