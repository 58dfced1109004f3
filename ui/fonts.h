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
// Entry `index`; out-of-range indexes give entry 0.
const FontEntry& font_entry(int index);

}  // namespace zentrik::ui
