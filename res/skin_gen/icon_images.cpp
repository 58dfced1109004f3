// Step icons of the macro lists (dark, on the light list rows) and the macro tool icons (light,
// on the dark window between the two macro lists).
#include <string>

#include "res/skin_gen/catalog.h"
#include "res/skin_gen/glyphs.h"
#include "res/skin_gen/palette.h"

namespace zentrik::skin {
namespace {

namespace p = palette;

enum class Tool { normal, hover, disabled };

constexpr int kToolW = 40, kToolH = 34;

void tool_icon(cairo_t* cr, Glyph g, Tool look, Rgba accent) {
    Rgba ink = rgb(0xB7BEC9), mark = accent;
    if (look == Tool::hover) {
        ink = rgb(0xFFFFFF);
        mark = mix(accent, rgb(0xFFFFFF), 0.25);
    } else if (look == Tool::disabled) {
        ink = rgb(0x5B6270);
        mark = rgb(0x5B6270);
    }
    draw_glyph(cr, g, (kToolW - 26) / 2.0, (kToolH - 26) / 2.0, 26, ink, mark);
}

}  // namespace

void add_icon_images(Catalog& c) {
    struct Step {
        int id;
        Glyph glyph;
        const char* role;
    };
    for (const Step& s :
         {Step{206, Glyph::clock, "wait"}, Step{208, Glyph::key_down, "key pressed"},
          Step{209, Glyph::key_up, "key released"},
          Step{204, Glyph::mouse_pressed, "mouse button pressed"},
          Step{205, Glyph::mouse_released, "mouse button released"},
          Step{211, Glyph::one_arrow, "run once"}, Step{210, Glyph::circular_arrows, "loop"},
          Step{207, Glyph::fan_arrows, "repeat while held"},
          Step{212, Glyph::arc_arrows, "wheel or pointer movement"},
          Step{213, Glyph::tools, "system command"}, Step{215, Glyph::question, "unknown step"}}) {
        const Glyph g = s.glyph;
        c.push_back({s.id, 24, 24, std::string("macro step icon: ") + s.role, [=](cairo_t* cr) {
                         draw_glyph(cr, g, 0, 0, 24, rgb(0x2A2F38), p::accent_lo);
                     }});
    }

    struct ToolIcon {
        Glyph glyph;
        int normal, hover, disabled;
        const char* role;
        bool red;
    };
    for (const ToolIcon& t :
         {ToolIcon{Glyph::clock, 289, 290, -1, "insert wait", false},
          ToolIcon{Glyph::key_down, 285, 286, -1, "insert key down", false},
          ToolIcon{Glyph::key_up, 287, 288, -1, "insert key up", false},
          ToolIcon{Glyph::mouse_pressed, 291, 292, -1, "insert mouse button down", false},
          ToolIcon{Glyph::mouse_released, 293, 294, -1, "insert mouse button up", false},
          ToolIcon{Glyph::wheel, 295, 296, -1, "insert wheel scroll", false},
          ToolIcon{Glyph::trash, 297, 298, -1, "discard (drop target)", false},
          ToolIcon{Glyph::new_sheet, 220, 305, -1, "new macro", false},
          ToolIcon{Glyph::import_file, 243, 301, -1, "import macro file", false},
          ToolIcon{Glyph::export_file, 235, 300, -1, "export macro file", false},
          ToolIcon{Glyph::record, 216, 303, 217, "record", true},
          ToolIcon{Glyph::stop, 218, 304, 219, "stop recording", false}}) {
        const Glyph g = t.glyph;
        const Rgba accent = t.red ? p::record_red : p::accent;
        const std::string role = std::string("macro tool icon: ") + t.role;
        c.push_back({t.normal, kToolW, kToolH, role + ", normal",
                     [=](cairo_t* cr) { tool_icon(cr, g, Tool::normal, accent); }});
        c.push_back({t.hover, kToolW, kToolH, role + ", hover and pressed",
                     [=](cairo_t* cr) { tool_icon(cr, g, Tool::hover, accent); }});
        if (t.disabled > 0) {
            c.push_back({t.disabled, kToolW, kToolH, role + ", disabled",
                         [=](cairo_t* cr) { tool_icon(cr, g, Tool::disabled, accent); }});
        }
    }
}

}  // namespace zentrik::skin
