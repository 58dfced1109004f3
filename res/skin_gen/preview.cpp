#include "res/skin_gen/preview.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <stdexcept>

#include "res/skin_gen/palette.h"

namespace zentrik::skin {
namespace {

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

Surface render_surface(const Entry& e) {
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, e.width, e.height),
              cairo_surface_destroy);
    cairo_t* cr = cairo_create(s.get());
    e.paint(cr);
    cairo_destroy(cr);
    return s;
}

class Images {
  public:
    explicit Images(const Catalog& c) {
        for (const auto& e : c) {
            by_id_.emplace(e.id, &e);
        }
    }
    void draw(cairo_t* cr, int id, double x, double y) {
        auto it = cache_.find(id);
        if (it == cache_.end()) {
            auto e = by_id_.find(id);
            if (e == by_id_.end()) {
                throw std::runtime_error("preview uses missing image " + std::to_string(id));
            }
            it = cache_.emplace(id, render_surface(*e->second)).first;
        }
        cairo_set_source_surface(cr, it->second.get(), x, y);
        cairo_paint(cr);
    }

  private:
    std::map<int, const Entry*> by_id_;
    std::map<int, Surface> cache_;
};

void save(cairo_surface_t* s, const std::string& path) {
    if (cairo_surface_write_to_png(s, path.c_str()) != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot write " + path);
    }
}

// The text the program would draw (approximated with the skin's own font).
void label(cairo_t* cr, const std::string& s, double px, double x, double y, double w, double h,
           Rgba c, Align align = Align::centre) {
    const double tx = align == Align::left ? x + 4 : align == Align::right ? x + w : x + w / 2;
    text(cr, s, px, false, tx, y + h / 2, c, align);
}

void slider(cairo_t* cr, double x, double y, double w, double frac) {
    cairo_rectangle(cr, x, y, w, 11);
    set_color(cr, rgb(0x606060));
    cairo_fill(cr);
    cairo_rectangle(cr, x, y, w * frac + 2, 11);
    set_color(cr, rgb(0xB4B4C8));
    cairo_fill(cr);
    cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, 10);
    set_color(cr, rgb(0x000000));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void list_rows(cairo_t* cr, double x, double y, double w, double h, const char* caption,
               const std::vector<std::string>& rows) {
    label(cr, caption, 12, x, y, w, 28, rgb(0xFFFFFF));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const double top = y + 32 + 34 * double(i);
        if (top + 34 > y + h) {
            break;
        }
        if (rows[i].rfind("_@", 0) == 0) {
            fill_rounded(cr, x + 8, top, w - 16, 32, 4, rgb(0xD4D4D4));
            label(cr, rows[i].substr(2), 12, x + 4, top, w - 8, 32, rgb(0x000000));
        } else {
            label(cr, rows[i], 12, x + 2, top, w - 16, 32, rgb(0x000000), Align::left);
        }
        cairo_set_dash(cr, std::vector<double>{1, 2}.data(), 2, 0);
        line(cr, x + 4, top + 32.5, x + w - 4, top + 32.5, rgb(0x404040, 0.65), 1);
        cairo_set_dash(cr, nullptr, 0, 0);
    }
}

void corner_and_tabs(cairo_t* cr, Images& img, int page) {
    img.draw(cr, 264, 880, 8);
    img.draw(cr, 261, 910, 8);
    img.draw(cr, 133, 940, 8);
    if (page <= 2) {
        const int normal[] = {267, 271, 269}, lit[] = {268, 272, 270};
        const char* names[] = {"Button function", "Macro management", "DPI & tool"};
        for (int k = 0; k < 3; ++k) {
            img.draw(cr, k == page ? lit[k] : normal[k], 40, 120 + 140 * k);
            label(cr, names[k], 12, 40, 120 + 140 * k + 82, 130, 36,
                  k == page ? rgb(0xFEFEFE) : rgb(0xB4B4B4, 0.7));
        }
    }
}

void page_buttons(cairo_t* cr, Images& img) {
    const char* profile_fill[] = {"", "", "", "", ""};
    (void)profile_fill;
    const std::uint32_t checked[] = {0xFF0000, 0x00EB00, 0x0000FF, 0xFF00FF, 0x00EBEB};
    const std::uint32_t unchecked[] = {0xA60000, 0x00A600, 0x0000D3, 0xA600A6, 0x00A6A6};
    for (int i = 0; i < 5; ++i) {
        fill_rounded(cr, 204 + 142 * i, 128, 140, 40, 2,
                     i == 0 ? rgb(checked[i]) : rgb(unchecked[i], 0x21 / 255.0));
        label(cr, "profile " + std::to_string(i + 1), 16, 204 + 142 * i, 128, 140, 40,
              rgb(0xFFFFFF));
    }
    img.draw(cr, 306, 190, 179);
    list_rows(cr, 195, 180, 220, 358, "Function list",
              {"_@Function", "Default", "Disable", "Left click", "Right click", "Wheel click",
               "_@Macro", "Macro 1"});
    img.draw(cr, 136, 688, 195);
    const char* names[] = {"Left click", "Right click", "Wheel click", "Forward",
                           "Backward",   "No function", "No function", "Tilt left",
                           "Tilt right", "Scroll up",   "Scroll down"};
    const int ax[] = {770, 850, 810, 710, 728, 884, 895, 763, 851, 808, 808};
    const int ay[] = {230, 223, 260, 330, 382, 240, 285, 257, 257, 214, 305};
    const int ex[] = {-1, -1, -1, -1, -1, -1, -1, 740, 791, 710, 680};
    const int ey[] = {209, 195, 293, 320, 377, 245, 287, 417, 411, 410, 458};
    const int mx[] = {718, 805, 759, 670, 678, 837, 842, 713, 803, 759, 759};
    const int my[] = {220, 214, 250, 320, 370, 230, 274, 249, 249, 203, 294};
    const int selected = 2, hovered = 7;
    for (int i = 0; i <= 10; ++i) {
        const double x = 430, y = 180 + 33 * i, w = 200, h = 28, m = y + h / 2;
        img.draw(cr, i == selected ? 309 : i == hovered ? 308 : 307, x, y);
        img.draw(cr,
                 i == selected  ? 187 + i
                 : i == hovered ? 246 + i
                                : (i < 10 ? 177 + i : 197),
                 433, 183 + 33 * i);
        label(cr, names[i], 14, x, y, w, h, rgb(0x000000, i == 0 ? 0.38 : 1.0));
        if (i == selected || i == hovered) {
            double px[5], py[5];
            px[0] = x + w;
            py[0] = m;
            if (ex[i] == -1) {
                px[1] = x + w + 10;
                py[1] = m;
                px[2] = x + w + 10 + std::abs(ey[i] - m);
                py[2] = ey[i];
                px[3] = ax[i] - std::abs(ay[i] - ey[i]);
                py[3] = ey[i];
            } else {
                px[1] = ex[i];
                py[1] = m;
                px[2] = ex[i] + std::abs(ey[i] - m);
                py[2] = ey[i];
                px[3] = px[2];
                py[3] = ay[i] < ey[i] ? ay[i] + std::abs(ax[i] - px[2])
                                      : ay[i] - std::abs(ax[i] - px[2]);
            }
            px[4] = ax[i];
            py[4] = ay[i];
            for (int pass = 0; pass < 2; ++pass) {
                cairo_move_to(cr, px[0], py[0]);
                for (int k = 1; k < 5; ++k) {
                    cairo_line_to(cr, px[k], py[k]);
                }
                set_color(cr, pass == 0 ? rgb(0xBC2C2C, 0.78) : rgb(0xFF1616));
                cairo_set_line_width(cr, pass == 0 ? 3 : 1);
                cairo_stroke(cr);
            }
        }
        img.draw(cr, i == selected ? 187 + i : 315 + i, mx[i], my[i]);
    }
}

void page_macros(cairo_t* cr, Images& img) {
    img.draw(cr, 284, 190, 129);
    list_rows(cr, 195, 129, 220, 358, "Macro (Mouse Memory)", {"Macro 1", "Macro 2", "Empty"});
    list_rows(cr, 503, 129, 450, 358, "Macro Editor", {});
    text(cr, "23 B", 10, false, 945, 129 + 14, rgb(0xFFFFFF), Align::right);
    const int steps[] = {211, 208, 206, 209, 204, 206, 205, 210};
    const char* texts[] = {"Execute one time",
                           "Press & hold Keyboard  A",
                           "Wait 50 ms",
                           "Release Keyboard  A",
                           "Press & hold mouse button Left",
                           "Wait 20 ms",
                           "Release mouse button Left",
                           "Loop mode"};
    for (int k = 0; k < 8; ++k) {
        const double top = 129 + 32 + 34 * k;
        if (k == 2) {
            cairo_rectangle(cr, 503, top + 1, 446, 30);
            set_color(cr, rgb(0x404040, 0.25));
            cairo_fill(cr);
        }
        label(cr, std::to_string(1000 + k * 3).substr(1), 12, 503 + 13, top, 45, 32, rgb(0x202020),
              Align::left);
        img.draw(cr, steps[k], 503 + 50, top + 5 - 1);
        label(cr, texts[k], 12, 503 + 82, top, 350, 32, rgb(0x000000), Align::left);
        cairo_set_dash(cr, std::vector<double>{1, 2}.data(), 2, 0);
        line(cr, 507, top + 32.5, 949, top + 32.5, rgb(0x404040, 0.65), 1);
        cairo_set_dash(cr, nullptr, 0, 0);
    }
    const int tools[] = {289, 285, 287, 291, 293, 295};
    for (int j = 0; j < 6; ++j) {
        img.draw(cr, j == 1 ? tools[j] + 1 : tools[j], 437, 110 + 36 * j);
    }
    img.draw(cr, 297, 437, 326);
    img.draw(cr, 220, 437, 362);
    img.draw(cr, 243, 437, 398);
    img.draw(cr, 235, 437, 434);
    img.draw(cr, 216, 437, 475);
    img.draw(cr, 219, 437, 511);
    cairo_rectangle(cr, 213, 498, 185, 8);
    set_color(cr, rgb(0x606060));
    cairo_fill(cr);
    cairo_rectangle(cr, 213, 498, 70, 8);
    set_color(cr, rgb(0x102A82));
    cairo_fill(cr);
    label(cr, "Remaining: 7424 B , Total: 8192 B", 10, 212, 505, 181, 30, rgb(0x000000),
          Align::right);
    img.draw(cr, 168, 518, 496 + 8);
    label(cr, "Record the duration or invervals", 12, 518 + 16, 496, 300, 32, rgb(0x000000),
          Align::left);
}

void page_dpi(cairo_t* cr, Images& img) {
    fill_rounded(cr, 205, 132, 716, 258, 4, rgb(0x202020, 0x5E / 255.0));
    img.draw(cr, 274, 822, 314);
    img.draw(cr, 273, 205, 392);
    img.draw(cr, 275, 500, 312);
    const int ys[] = {323, 260, 197, 134};
    const int dpi[] = {800, 1600, 2400, 3200};
    for (int k = 0; k < 4; ++k) {
        img.draw(cr, k == 1 ? 160 + 2 * k : 161 + 2 * k, 205, ys[k]);
        const double ly = 341 - 63 * k;
        label(cr, "X: " + std::to_string(dpi[k]), 16, 308, ly, 80, 32, rgb(0x202020), Align::left);
        label(cr, "Y: " + std::to_string(dpi[k]), 16, 400, ly, 80, 32, rgb(0x202020), Align::left);
    }
    img.draw(cr, 159, 547, 158);
    img.draw(cr, 169, 570, 260 + 8);
    label(cr, "Enable angle snapping", 12, 570 + 16, 260, 300, 32, rgb(0xFFFFFF), Align::left);
    img.draw(cr, 168, 570, 280 + 8);
    label(cr, "setting X axle and Y axle resolution independently", 12, 570 + 16, 280, 400, 32,
          rgb(0xFFFFFF), Align::left);
    slider(cr, 535, 317, 270, 0.3);
    img.draw(cr, 154, 535 + 81 - 7, 317 + 5 - 11);
    slider(cr, 535, 353, 270, 0.3);
    img.draw(cr, 154, 535 + 81 - 7, 353 + 5 - 11);
    label(cr, "1600", 12, 824, 314, 38, 20, rgb(0x000000));
    label(cr, "1600", 12, 824, 349, 38, 20, rgb(0x000000));
    label(cr, "Report rate:", 16, 205, 400, 300, 32, rgb(0xFEFEFE), Align::left);
    label(cr, "1000Hz", 12, 522, 430, 150, 31, rgb(0xFEFEFE), Align::left);
    slider(cr, 220, 440, 270, 1.0);
    img.draw(cr, 154, 220 + 270 - 7, 440 - 6);
    label(cr, "Scroll Acceleration:", 16, 585, 400, 300, 32, rgb(0xFEFEFE), Align::left);
    label(cr, "3", 12, 890, 430, 150, 31, rgb(0xFEFEFE), Align::left);
    slider(cr, 600, 440, 270, 0.25);
    img.draw(cr, 154, 600 + 67 - 7, 440 - 6);
    const char* names[] = {"Backup", "Restore", "Reset"};
    for (int k = 0; k < 3; ++k) {
        img.draw(cr, k == 1 ? 276 : 277, 450 + 160 * k, 480);
        label(cr, names[k], 16, 450 + 160 * k, 480, 150, 40,
              k == 1 ? rgb(0xB4B4B4, 0.7) : rgb(0xB4B4B4, 0.7));
    }
}

void page_devices(cairo_t* cr, Images& img) {
    const int pics[] = {170, 175, 232};
    const char* texts[] = {"QX10 - Wired / Wireless Mouse (id: 00A5) , Firmware: v3 , EEPROM: 16K",
                           "QX19 - Wired / Wireless Mouse (id: 1234) , Firmware: v2 , EEPROM: 32K",
                           "QX6 - Wired  Mouse (id: 0042) , Firmware: v1 , EEPROM: 8K"};
    for (int i = 0; i < 3; ++i) {
        const double y = 80 + 80 * i;
        fill_rounded(cr, 50, y, 930, 72, 6, i == 0 ? rgb(0x404040, 0.5) : rgb(0x808080, 0.5));
        img.draw(cr, pics[i], 58, y + 4);
        label(cr, texts[i], 18, 50 + 80 + 20, y, 800, 72, rgb(0xFFFFFF), Align::left);
    }
}

void page_home(cairo_t* cr, Images& img) {
    const int cards[] = {223, 258, 224};
    const char* names[] = {"Button function", "Macro management", "DPI & tool"};
    const int normal[] = {223, 225, 224};
    (void)cards;
    for (int k = 0; k < 3; ++k) {
        img.draw(cr, k == 1 ? 260 : normal[k], 40, 120 + 140 * k);
        label(cr, names[k], 16, 40 + 180, 120 + 140 * k, 190, 120, rgb(0xB4B4B4, 0.7), Align::left);
    }
    img.draw(cr, 257, 430, 170);
}

void page_recording(cairo_t* cr, Images& img) {
    page_macros(cr, img);
    // Overlays only darken what is there: the transparent outside stays transparent.
    cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
    cairo_rectangle(cr, 0, 0, 1046, 655);
    set_color(cr, rgb(0x101010, 0xDC / 255.0));
    cairo_fill(cr);
    const std::uint32_t shadow[] = {0x20, 0x40, 0x60, 0x80};
    for (int i = 0; i < 4; ++i) {
        fill_rounded(cr, 523 - i - 206, 327 - i - 36, 420, 80, 6, rgb(0x202020, shadow[i] / 255.0));
    }
    fill_rounded(cr, 523 - 210, 327 - 40, 420, 80, 6, rgb(0x161616, 0xA6 / 255.0));
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    img.draw(cr, 310, 523 - 203, 327 - 97);
    label(cr, "Wait keyboard action ...", 16, 523 - 210, 327 - 40, 420, 80, rgb(0xFFFFFF));
}

}  // namespace

void write_contact_sheet(const Catalog& catalog, const std::string& path) {
    // Shelf packing, widest first rows kept simple: place in id order, wrap at 1600 pixels.
    const int sheet_w = 1600, pad = 12, caption = 16;
    int x = pad, y = pad, shelf = 0;
    struct Spot {
        const Entry* e;
        int x, y;
    };
    std::vector<Spot> spots;
    std::vector<const Entry*> order;
    for (const auto& e : catalog) {
        order.push_back(&e);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const Entry* a, const Entry* b) { return a->height > b->height; });
    for (const Entry* e : order) {
        const int w = std::max(e->width, 36);
        if (x + w + pad > sheet_w) {
            x = pad;
            y += shelf + caption + pad;
            shelf = 0;
        }
        spots.push_back({e, x, y});
        x += w + pad;
        shelf = std::max(shelf, e->height);
    }
    const int sheet_h = y + shelf + caption + pad;
    Canvas canvas(sheet_w, sheet_h);
    cairo_t* cr = canvas.cr();
    // Checkerboard so transparency shows.
    for (int cy = 0; cy < sheet_h; cy += 8) {
        for (int cx = 0; cx < sheet_w; cx += 8) {
            cairo_rectangle(cr, cx, cy, 8, 8);
            set_color(cr, ((cx + cy) / 8) % 2 ? rgb(0x5A5F68) : rgb(0x4A4E56));
            cairo_fill(cr);
        }
    }
    for (const Spot& s : spots) {
        Surface img = render_surface(*s.e);
        cairo_set_source_surface(cr, img.get(), s.x, s.y);
        cairo_paint(cr);
        text(cr, std::to_string(s.e->id), 11, true, s.x, s.y + s.e->height + 9, rgb(0xFFFFFF),
             Align::left);
    }
    save(canvas.surface(), path);
}

void write_page_previews(const Catalog& catalog, const std::string& dir) {
    Images img(catalog);
    struct Page {
        int number;
        void (*paint)(cairo_t*, Images&);
    };
    for (const Page& page : {Page{0, page_buttons}, Page{1, page_macros}, Page{2, page_dpi},
                             Page{3, page_devices}, Page{5, page_home}, Page{6, page_recording}}) {
        Canvas canvas(1046, 655);
        cairo_t* cr = canvas.cr();
        img.draw(cr, 244, 0, 0);
        page.paint(cr, img);
        if (page.number != 6) {
            corner_and_tabs(cr, img, page.number);
        }
        save(canvas.surface(), dir + "/page" + std::to_string(page.number) + ".png");
    }
}

}  // namespace zentrik::skin
