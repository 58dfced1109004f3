// The list painter: caption, rows (headers, step rows, marker bars), closing row, scroll bar.
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "ui/painters.h"
#include "ui/skin_image.h"

namespace zentrik::ui {

namespace {

constexpr Argb kWhite = 0xFEFFFFFF;
constexpr Argb kBlack = 0xFF000000;
constexpr Argb kMarkerColors[5] = {0xFEFF0000, 0xFE00FF00, 0xFE0000FF, 0xFEF400FF, 0xFE00F4FF};

std::string format_int(const char* format, long long value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void pointer_triangle(Canvas& c, int x, int top, int r, Argb color) {
    const double points[] = {double(x + 7),  double(top + r / 2 - 7),
                             double(x + 14), double(top + r / 2 - 1),
                             double(x + 7),  double(top + r / 2 + 5)};
    c.fill_polygon(points, 3, color);
}

void dotted_separator(Canvas& c, const Widget& w, int top) {
    cairo_t* cr = c.cr();
    const double dash[] = {1.0, 1.0};  // dots
    cairo_save(cr);
    cairo_set_dash(cr, dash, 2, 0);
    c.line(w.x + 4, top + w.row_height - 2, w.x + w.width - 4, top + w.row_height - 2, 0xA6404040);
    cairo_restore(cr);
}

std::string step_text(const PaintEnv& env, const ListItem& row) {
    return env.hooks.step_text ? env.hooks.step_text(row) : row.text;
}

const SkinImage* step_icon(const PaintEnv& env, const ListItem& row) {
    return env.board.shared_images[step_icon_slot(row.code)];
}

}  // namespace

int step_icon_slot(std::uint8_t code) {
    if (code >= 0xC0 && code <= 0xCF)
        return 9;
    if (code >= 0x20 && code <= 0x3F)
        return 3;
    if (code >= 0x40 && code <= 0x5F)
        return 4;
    if (code >= 0x60 && code <= 0x7F)
        return 8;
    switch (code) {
        case 0x88:
        case 0x89:
            return 0;
        case 0x83:
        case 0x85:
            return 1;
        case 0x84:
            return 2;
        case 0x04:
            return 5;
        case 0x05:
            return 6;
        case 0x06:
            return 7;
        default:
            return 10;
    }
}

void paint_list(PaintEnv& env, const Widget& w) {
    Canvas& c = env.canvas;
    const int R = w.row_height > 0 ? w.row_height : 34;
    const int x = w.x, y = w.y, wd = w.width, h = w.height;
    const int n = w.row_count();
    const bool steps = w.edit_mode == 1;

    c.save();
    c.clip_rounded(x, y, wd, h, 6);
    c.text(w.text, w.font, kWhite, {double(x), double(y), double(wd), 28}, kCentre);
    if (steps) {
        const long long total =
            n > 0 ? (long long)w.rows.back().offset + w.rows.back().size + 1 : 2;
        c.text(format_int("%d B", total), 10, kWhite, {double(x), double(y), double(wd - 8), 28},
               kFar);
    }

    // Row area.
    c.save();
    c.clip_rect(x, y + 32, wd, h - 33);
    int first = w.scroll_px / R;
    int top = y + 32 - (w.scroll_px % R);
    if (w.pinned_first_row && n > 0) {
        const ListItem& row = w.rows[0];
        const int ptop = y + 32;
        const bool selected = w.selected_row == 0;
        if (selected) {
            c.fill_rect(x, ptop, wd, R - 4, 0x40404040);
            pointer_triangle(c, x, ptop, R, 0xFE404040);
        } else if (w.drop_row == 0) {
            pointer_triangle(c, x, ptop, R, 0x40404040);
        }
        const SkinImage* icon = step_icon(env, row);
        c.draw_image(icon, x + 60, y + 31 + (R - image_height(icon)) / 2);
        c.text(env.hooks.pinned_label, w.font, 0xFE808080,
               {double(x + 10), double(ptop), 45, double(R - 2)}, kNear);
        c.text(step_text(env, row), w.font, kBlack,
               {double(x + 92), double(ptop), double(wd - 100), double(R - 2)}, kNear);
        dotted_separator(c, w, ptop);
        // The other rows scroll below the fixed one.
        c.clip_rect(x, ptop + R, wd, h - 33 - R);
        if (first == 0) {
            first = 1;
            top += R;
        }
    }
    for (int i = first; i <= n && top <= y + h; ++i, top += R) {
        if (i == n) {  // the closing row
            c.text("- " + env.hooks.closing_text + " -", w.font, 0x4D000000,
                   {double(x), double(top), double(wd), double(R - 2)}, kCentre);
            dotted_separator(c, w, top);
            break;
        }
        const ListItem& row = w.rows[i];
        if (row.is_header()) {
            c.save();
            c.clip_rounded(x + 8, top, wd - 16, R - 2, 4);
            c.fill_rect(x + 8, top, wd - 16, R - 2, 0xFED4D4D4);
            c.restore();
            c.text(std::string_view(row.text).substr(2), w.font, kBlack,
                   {double(x + 4), double(top), double(wd - 8), double(R - 2)}, kCentre);
            if (w.foldable) {
                const SkinImage* icon = w.images[row.expanded ? 1 : 0];
                c.draw_image(icon, x + 10, top + R / 2 - image_height(icon) / 2);
            }
        } else {
            if (i == w.selected_row || i == w.drop_row) {
                c.fill_rect(x, top + 1, wd - 4, R - 4, 0x40404040);
                pointer_triangle(c, x, top, R, 0x40404040);
            }
            if ((w.row_markers || w.renamable) && !steps) {
                int drawn = 0;
                for (int k = 0; k < 5; ++k) {
                    if (row.extra[k] == 0)
                        continue;
                    c.fill_rect(x + wd - 13, top + 3 + 5 * drawn, 12, 3, kMarkerColors[k]);
                    ++drawn;
                }
            }
            if (w.no_header_rows && row.value != 0xFFFFFFFFu)
                c.text(format_int("%d", row.tag), w.font, 0xFE404040,
                       {double(x + 8), double(top + 4), double(wd - 16), double(R - 2)}, kFar);
            const int s = steps ? 80 : 0;
            if (steps) {
                const SkinImage* icon = step_icon(env, row);
                c.draw_image(icon, x + 50, top + (R - image_height(icon)) / 2 - 1);
                c.text(format_int("%04d", row.offset), w.font, 0xFE202020,
                       {double(x + 13), double(top), 45, double(R - 2)}, kNear);
            }
            std::string_view text = row.text;
            std::string owned;
            if (steps) {
                owned = step_text(env, row);
                text = owned;
            }
            if (text.starts_with("_#"))
                text.remove_prefix(2);
            c.text(text, w.font, row.color,
                   {double(x + 2 + s), double(top), double(wd - 16 - s), double(R - 2)},
                   static_cast<int>(row.text_align));
            if (w.renamable && env.hooks.macro_size) {
                const int size = env.hooks.macro_size(row.tag);
                if (size >= 0)
                    c.text(format_int("%d", size), w.font, 0xFE0C0C0C,
                           {double(x + 2), double(top), double(wd - 16), double(R - 2)}, kFar);
            }
        }
        dotted_separator(c, w, top);
    }
    c.restore();

    if (w.scrollbar_fade > 0) {
        const int a = std::min(2 * w.scrollbar_fade + 5, 180);
        const int u = std::max(1, n - h / R + 2);
        const int q = std::min(y + R + (h - R - 25) * w.scroll_px / R / u, y + h - 25);
        cairo_set_line_cap(c.cr(), CAIRO_LINE_CAP_ROUND);
        c.line(x + wd - 5, q, x + wd - 5, q + 21, (Argb(a) << 24) | 0x404040, 5);
        cairo_set_line_cap(c.cr(), CAIRO_LINE_CAP_BUTT);
    }
    c.restore();
}

}  // namespace zentrik::ui
