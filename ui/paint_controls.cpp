// Painters of the buttons, panels, texts, callouts, sliders, bars, spin and check boxes.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <cairo.h>

#include "ui/painters.h"
#include "ui/skin_image.h"

namespace zentrik::ui {

namespace {

constexpr Argb kWhite = 0xFEFFFFFF;

BoxF box_of(const Widget& w) {
    return {double(w.x), double(w.y), double(w.width), double(w.height)};
}

}  // namespace

void shade_bar(Canvas& c, double x1, double x2, double top, int top_lines, double bottom) {
    static constexpr Argb kTop[4] = {0xC8404040, 0x98404040, 0x68404040, 0x38404040};
    for (int i = 0; i < top_lines && i < 4; ++i)
        c.line(x1, top + i, x2, top + i, kTop[i]);
    c.line(x1, bottom, x2, bottom, 0x78404040);
    c.line(x1, bottom - 1, x2, bottom - 1, 0x58404040);
}

void paint_default(PaintEnv& env, const Widget& w) {
    Canvas& c = env.canvas;
    if (w.images[kNormal]) {
        if (w.enabled == 1) {
            if (w.hover_box && w.state != 0) {
                c.save();
                c.clip_rounded(w.x, w.y, w.width, w.height, 2);
                c.fill_rect(w.x, w.y, w.width, w.height, 0x80909090);
                c.restore();
            }
            const int slot = w.checked ? kChecked : std::clamp(w.state, 0, 2);
            c.draw_image(w.images[slot], w.x, w.y);
        } else {
            c.draw_image(w.images[kDisabled], w.x, w.y);
        }
        return;
    }
    // A text button drawn by code.
    const int x = w.x, y = w.y, wd = w.width, h = w.height;
    c.save();
    c.clip_rounded(x, y, wd, h, 2);
    const bool lit = w.enabled && !w.checked && (w.state == 1 || w.state == 2);
    const Argb brush = lit ? 0xA0808080 : 0x80909090;
    if (w.state == 2) {  // pressed, sunken
        for (int d = 0; d <= 2; ++d)
            c.fill_rect(x - d, y - d, wd, h, brush);
        const Argb pen = 0x90606060;
        c.line(x + 1, y + 1, x + wd - 1, y + 1, pen);
        for (int i = 0; i < 2; ++i)
            c.line(x, y, x + wd, y, pen);
        c.line(x + 1, y + 1, x + 1, y + h - 1, pen);
        for (int i = 0; i < 2; ++i)
            c.line(x, y + 2, x + 2, y, pen);
    } else {  // raised
        for (int d = 0; d <= 2; ++d)
            c.fill_rect(x + d, y + d, wd, h, brush);
        const Argb pen = 0x90404040;
        c.line(x + 1, y + h - 1, x + wd - 1, y + h - 1, pen);
        for (int i = 0; i < 2; ++i)
            c.line(x, y + h, x + wd, y + h, pen);
        c.line(x + wd - 1, y + 1, x + wd - 1, y + h - 1, pen);
        for (int i = 0; i < 2; ++i)
            c.line(x + wd, y, x + wd, y + h, pen);
        for (int i = 0; i < 2; ++i)
            c.line(x + wd - 2, y + h, x + wd, y + h - 2, pen);
    }
    c.text(w.text, w.font, kWhite, box_of(w), kCentre);
    c.restore();
}

void paint_region_button(PaintEnv& env, const Widget& w) {
    Canvas& c = env.canvas;
    if (!w.images[kNormal])
        return;
    Argb caption = 0xFEFEFEFE;
    if (w.enabled == 1 && !w.checked) {
        c.draw_image(w.images[std::clamp(w.state, 0, 2)], w.x, w.y);
        caption = 0xB4B4B4B4;
    } else if (w.enabled == 1) {
        c.draw_image(w.images[kHover], w.x, w.y);
    } else {
        c.draw_image(w.images[kDisabled], w.x, w.y);
    }
    c.text(w.text, w.font, caption,
           {double(w.x + w.text_dx), double(w.y + w.text_dy), double(w.width - w.text_dx),
            double(w.height - w.text_dy)},
           w.align);
}

void paint_panel(PaintEnv& env, const Widget& w) {
    Canvas& c = env.canvas;
    if (w.images[kNormal]) {
        c.draw_image(w.images[kNormal], w.x, w.y);
        return;
    }
    c.save();
    c.clip_rounded(w.x, w.y, w.width, w.height, 4);
    c.fill_rect(w.x, w.y, w.width, w.height, w.colors[4]);
    c.restore();
}

void paint_static_text(PaintEnv& env, const Widget& w) {
    Canvas& c = env.canvas;
    c.save();
    c.clip_rounded(w.x, w.y, w.width, w.height, 4);
    const Argb fill = w.enabled ? w.colors[1] : with_alpha(w.colors[1], 0x80);
    c.fill_rect(w.x, w.y, w.width, w.height, fill);
    c.text(w.text, w.font, w.colors[0],
           {double(w.x + 4), double(w.y), double(w.width - 4), double(w.height)}, w.align);
    c.restore();
}

void paint_callout(PaintEnv& env, const Widget& w) {
    Canvas& c = env.canvas;
    const PointerState& p = env.board.pointer;
    Argb fill = w.colors[2];
    enum { kNone, kNormalLine, kStrongLine } style = kNone;
    const bool drop = p.drop_highlight == &w;
    const bool under = p.under == &w;
    if (w.kind == kCallout) {
        if (drop) {
            style = kStrongLine;
            fill = 0x80606060;
        } else if (w.checked) {
            style = kNormalLine;
            fill = w.colors[1];
        } else if (under) {
            style = kStrongLine;
            fill = 0xFE909090;
        }
    } else {
        fill = w.checked ? w.colors[1] : w.colors[2];
    }
    const int x = w.x, y = w.y, wd = w.width, h = w.height;
    if (style != kNone) {
        const int m = y + h / 2;
        double px[5], py[5];
        px[0] = x + wd;
        py[0] = m;
        px[4] = w.line_from_x;
        py[4] = w.line_from_y;
        if (w.elbow_x == -1) {
            px[1] = x + wd + 10;
            py[1] = m;
            px[2] = x + wd + 10 + std::abs(w.elbow_y - m);
            py[2] = w.elbow_y;
            px[3] = w.line_from_x - std::abs(w.line_from_y - w.elbow_y);
            py[3] = w.elbow_y;
        } else {
            px[1] = w.elbow_x;
            py[1] = m;
            px[2] = w.elbow_x + std::abs(w.elbow_y - m);
            py[2] = w.elbow_y;
            px[3] = px[2];
            const int d = std::abs(w.line_from_x - static_cast<int>(px[2]));
            py[3] = w.line_from_y < w.elbow_y ? w.line_from_y + d : w.line_from_y - d;
        }
        auto polyline = [&](Argb color, double width) {
            c.set_color(color);
            cairo_set_line_width(c.cr(), width);
            cairo_set_line_join(c.cr(), CAIRO_LINE_JOIN_ROUND);
            for (int i = 0; i < 5; ++i) {
                if (i == 0)
                    cairo_move_to(c.cr(), px[i] + 0.5, py[i] + 0.5);
                else
                    cairo_line_to(c.cr(), px[i] + 0.5, py[i] + 0.5);
            }
            cairo_stroke(c.cr());
        };
        if (style == kNormalLine) {
            polyline(0xC8BC2C2C, 3);
            polyline(0xFEFF1616, 1);
        } else {
            polyline(0xFEBC1616, 1);
        }
    }
    c.save();
    if (w.edit_mode != 2)
        c.clip_rect(x, y, wd, h);
    else if (!w.images[kNormal])
        c.clip_rounded(x, y, wd, h, 4);
    if (w.edit_mode == 1)
        c.clip_rounded(x, y, wd, h, 2);
    Argb text_color = w.colors[0];
    if (!w.enabled) {
        fill = with_alpha(fill, 0xDC);
        text_color = with_alpha(text_color, 0x60);
    }
    c.fill_rect(x, y, wd, h, fill);
    if (w.edit_mode != 1) {
        if (!w.images[kNormal])
            c.fill_rect(x, y, wd, h, fill);
        else if (w.checked)
            c.draw_image(w.images[2], x, y);
        else if (drop || under)
            c.draw_image(w.images[1], x, y);
        else
            c.draw_image(w.images[0], x, y);
    }
    c.text(w.text, w.font, text_color, box_of(w), kCentre);
    c.restore();
}

void paint_slider(PaintEnv& env, const Widget& w) {
    Canvas& c = env.canvas;
    const SkinImage* thumb = w.enabled ? w.images[kNormal] : w.images[kDisabled];
    const ThumbPos t = slider_thumb(w);
    const int x = w.x, y = w.y, h = w.height;
    c.save();
    c.clip_rect(x, y, w.width, h);
    c.fill_rect(x, y, w.width, h, w.colors[2]);
    c.fill_rect(x, y, t.left - x + 2, h, w.colors[1]);
    shade_bar(c, x, t.left + 2, y + 1, 4, y + h - 1);
    c.stroke_rect(x, y, w.width, h, w.colors[4]);
    if (w.ticks > 0) {
        const int spacing = w.width / (w.ticks + 1);
        for (int k = 1; k <= w.ticks; ++k)
            c.line(x + k * spacing, y, x + k * spacing, y + h, w.colors[4]);
    }
    c.restore();
    c.draw_image(thumb, t.left, t.top);
}

void paint_progress_bar(PaintEnv& env, const Widget& w) {
    Canvas& c = env.canvas;
    const int x = w.x, y = w.y, h = w.height;
    c.fill_rect(x + 1, y + 1, w.width - 1, h - 1, w.colors[2]);
    c.fill_rect(x + 1, y + 1, (w.width - 1) * std::clamp(w.fraction, 0.0, 1.0), h - 1, w.colors[1]);
    shade_bar(c, x + 1, x + w.width - 1, y + 1, 3, y + h - 1);
    c.stroke_rect(x, y, w.width, h, w.colors[4]);
}

void paint_spin_box(PaintEnv& env, const Widget& w) {
    Canvas& c = env.canvas;
    c.save();
    c.clip_rect(w.x, w.y, w.width, w.height);
    c.clip_rounded(w.x, w.y, w.width, w.height, 4);
    char text[16];
    std::snprintf(text, sizeof text, "%d", w.value);
    c.text(text, w.font, w.colors[0],
           {double(w.x + 4), double(w.y), double(w.width - 28), double(w.height)}, kCentre);
    c.restore();
}

void paint_check_box(PaintEnv& env, const Widget& w) {
    Canvas& c = env.canvas;
    const SkinImage* box = w.checked ? w.images[1] : w.images[0];
    const int iw = image_width(box);
    c.save();
    c.clip_rect(w.x, w.y, w.width, w.height);
    c.draw_image(box, w.x, w.y + (w.height - image_height(box)) / 2);
    c.text(w.text, w.font, w.colors[0],
           {double(w.x + iw + 4), double(w.y), double(w.width - 8 - iw), double(w.height)},
           w.align);
    c.restore();
}

void paint_selectable_row(PaintEnv& env, const Widget& w) {
    Canvas& c = env.canvas;
    const SkinImage* icon = w.images[kNormal];
    const int iw = image_width(icon), ih = image_height(icon);
    c.save();
    c.clip_rounded(w.x, w.y, w.width, w.height, 6);
    Argb back = 0x80808080;
    if (w.checked)
        back = 0x80404040;
    else if (env.board.pointer.under == &w)
        back = 0x80606060;
    c.fill_rect(w.x, w.y, w.width, w.height, back);
    if (w.icon_above) {
        c.draw_image(icon, w.x + (w.width - iw) / 2, w.y + 4);
        c.text(
            w.text, w.font, w.colors[0],
            {double(w.x + 4), double(w.y + 8 + ih), double(w.width - 8), double(w.height - ih - 8)},
            kCentre);
    } else {
        c.draw_image(icon, w.x + 8, w.y + (w.height - ih) / 2);
        c.text(w.text, w.font, w.colors[0],
               {double(w.x + iw + 20), double(w.y), double(w.width - 16 - iw), double(w.height)},
               kNear);
    }
    c.restore();
}

}  // namespace zentrik::ui
