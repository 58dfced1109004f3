#pragma once
// The font table every painter indexes: thirteen regular faces with pixel sizes. Families
// that this system lacks fall back through fontconfig to the generic sans-serif family.
#include <string>

typedef struct _PangoFontDescription PangoFontDescription;

namespace zentrik::ui {

inline constexpr int kFontCount = 13;
inline constexpr int kTooltipFont = 9;

struct FontEntry {
    std::string requested;  // family the table asks for
    std::string family;     // family the system actually provides for it
    int pixel_size = 0;
    bool monospace = false;  // entries 7 and 8 (the inline editor uses fixed pitch for them)
    PangoFontDescription* description = nullptr;
};

// Builds the table once (thread-safe); later calls return at once.
void build_font_tables();
// The table made ready on a helper thread while another thread starts the window: fontconfig,
// the table, and a face of each family loaded. Pango's default font map belongs to the thread
// that asks for it, so the faces loaded here are kept in this thread's map, which
// adopt_prepared_fonts hands on.
void prepare_fonts_for_handover();
// Makes the font map of prepare_fonts_for_handover the calling thread's default, so what that
// thread draws uses the faces already loaded. Call it once the preparing thread has finished
// (joined); without a prepared map it does nothing.
void adopt_prepared_fonts();
// Entry `index`; out-of-range indexes give entry 0.
const FontEntry& font_entry(int index);

struct TextSize {
    int width = 0;
    int height = 0;
};
// Size of a text laid out in font `index`, wrapped at `max_width` pixels (tooltips are
// measured in a 1000 x 600 box).
TextSize measure_text(const std::string& text, int index, int max_width);

}  // namespace zentrik::ui
