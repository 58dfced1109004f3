// The mouse seen from above, in every size the window uses: the button-page picture (one per
// profile colour), the home page picture, the device-row pictures and the DPI level pictures.
//
// Button-page picture geometry (picture at window position 688, 195). The leader line of
// button i ends on its part and the program places its number badge about 38 pixels left of
// that end, so each part reaches right of its badge:
//   wheel channel x 108..132 (scroll-up arrow at its top, y 19; wheel around y 65; scroll-down
//   arrow at its bottom, y 110), left button left of it (its line ends at 82, 35), right
//   button right of it (162, 28), tilt arrows pointing out from the wheel's sides to x 75 and
//   163 on y 62, side buttons 3 and 4 on the left flank (y 136 and 186), extra buttons 5 and
//   6 on the right flank (y 46 and 90).
#include <string>
#include <utility>

#include "res/skin_gen/catalog.h"
#include "res/skin_gen/palette.h"

namespace zentrik::skin {
namespace {

namespace p = palette;

// The wheel channel parts the two main buttons.
constexpr double kChannelLeft = 108;
constexpr double kChannelRight = 132;

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
    cairo_curve_to(cr, 175, 143, 150, 139, 120, 139);
    cairo_curve_to(cr, 80, 140, 30, 147, 0, 156);
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

// A filled arrowhead with its tip at (x, y), pointing along (dx, dy) (a unit vector).
void arrowhead(cairo_t* cr, double x, double y, double dx, double dy, double length,
               double half_width) {
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x - dx * length - dy * half_width, y - dy * length + dx * half_width);
    cairo_line_to(cr, x - dx * length + dy * half_width, y - dy * length - dx * half_width);
    cairo_close_path(cr);
}

// The wheel in its channel, the scroll arrows at the channel's ends and the tilt arrows out of
// the wheel's sides.
void wheel(cairo_t* cr, const MouseStyle& st) {
    constexpr double cx = (kChannelLeft + kChannelRight) / 2.0;
    rounded_rect(cr, kChannelLeft, 6, kChannelRight - kChannelLeft, 122, 12);
    set_color(cr, rgb(0x0B0C0F));
    cairo_fill(cr);
    rounded_rect(cr, cx - 8, 30, 16, 70, 8);
    vertical_gradient(cr, 30, 100, rgb(0x5A606B), rgb(0x2C3038));
    cairo_fill(cr);
    for (double ry = 36; ry < 96; ry += 5) {
        line(cr, cx - 6, ry, cx + 6, ry, rgb(0x000000, 0.45), 1.2);
    }
    line(cr, cx - 7.5, 32, cx - 7.5, 98, with_alpha(st.trim, 0.7), 1.2);
    line(cr, cx + 7.5, 32, cx + 7.5, 98, with_alpha(st.trim, 0.7), 1.2);

    // Scroll up at the top of the channel, scroll down at its bottom.
    arrowhead(cr, cx, 12, 0, -1, 12, 7);
    arrowhead(cr, cx, 117, 0, 1, 12, 7);
    set_color(cr, rgb(0xFFFFFF, 0.55));
    cairo_fill(cr);

    // Tilt: arrows from the wheel's sides out over the buttons, on a dark outline so they
    // read on the shell.
    constexpr double tilt_y = 62;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (const auto& [width, colour] :
         {std::pair{5.5, rgb(0x07080A, 0.85)}, std::pair{2.5, with_alpha(st.trim, 0.95)}}) {
        line(cr, kChannelLeft - 3, tilt_y, 78, tilt_y, colour, width);
        line(cr, kChannelRight + 3, tilt_y, 160, tilt_y, colour, width);
    }
    arrowhead(cr, 70, tilt_y, -1, 0, 12, 8);
    arrowhead(cr, 170, tilt_y, 1, 0, 12, 8);
    set_color(cr, with_alpha(st.trim, 0.95));
    cairo_fill_preserve(cr);
    set_color(cr, rgb(0x07080A, 0.85));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
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
    cairo_curve_to(cr, 30, 147, 80, 140, 120, 139);
    cairo_curve_to(cr, 150, 139, 175, 143, 215, 150);
    set_color(cr, rgb(0x07080A, 0.9));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Parting lines beside the wheel.
    line(cr, kChannelLeft - 1, 2, kChannelLeft - 1, 140, rgb(0x07080A, 0.9), 2);
    line(cr, kChannelRight + 1, 2, kChannelRight + 1, 139, rgb(0x07080A, 0.9), 2);

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

    wheel(cr, st);

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
