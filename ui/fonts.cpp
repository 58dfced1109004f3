#include "ui/fonts.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <array>
#include <filesystem>
#include <mutex>

namespace zentrik::ui {

namespace {

struct FontSpec {
    const char* family;  // nullptr: the generic monospace family
    int pixel_size;
};

constexpr std::array<FontSpec, kFontCount> kTable{{
    {"Tahoma", 16},
    {"Tahoma", 16},
    {"Tahoma", 15},
    {"Tahoma", 20},
    {"Tahoma", 32},
    {"Arial Black", 16},
    {"Arial Black", 20},
    {nullptr, 18},
    {nullptr, 16},
    {"Tahoma", 14},
    {"Tahoma", 10},
    {"Tahoma", 12},
    {"Tahoma", 11},
}};

std::array<FontEntry, kFontCount> g_fonts;
std::once_flag g_once;
// The map prepare_fonts_for_handover loaded the faces into (a reference held for adoption).
PangoFontMap* g_prepared_map = nullptr;

// The family name fontconfig resolves a request to.
std::string resolved_family(const char* name) {
    PangoFontMap* map = pango_cairo_font_map_get_default();
    PangoContext* context = pango_font_map_create_context(map);
    PangoFontDescription* desc = pango_font_description_from_string(name);
    std::string family = name;
    if (PangoFont* font = pango_font_map_load_font(map, context, desc)) {
        PangoFontDescription* got = pango_font_describe(font);
        if (const char* f = pango_font_description_get_family(got))
            family = f;
        pango_font_description_free(got);
        g_object_unref(font);
    }
    pango_font_description_free(desc);
    g_object_unref(context);
    return family;
}

// Debian's fonts-wine ships a Tahoma with the original's metrics outside fontconfig's paths;
// when it is there the captions get the face and widths they were laid out for.
constexpr const char* kTahomaFiles[] = {"/usr/share/wine/fonts/tahoma.ttf",
                                        "/usr/share/wine/fonts/tahomabd.ttf"};

void set_up_fontconfig() {
    FcInit();
    for (const char* file : kTahomaFiles)
        if (std::error_code ec; std::filesystem::exists(file, ec))
            FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(file));
}

void build() {
    // Fontconfig is set up here, before pango would start it on a thread of its own.
    set_up_fontconfig();
    for (int i = 0; i < kFontCount; ++i) {
        FontEntry& e = g_fonts[i];
        const FontSpec& spec = kTable[i];
        e.monospace = spec.family == nullptr;
        e.requested = e.monospace ? "monospace" : spec.family;
        e.pixel_size = spec.pixel_size;
        e.family = resolved_family(e.requested.c_str());
        e.description = pango_font_description_new();
        // A missing family gets the generic sans-serif family.
        const bool found = e.monospace || e.family == e.requested;
        pango_font_description_set_family(e.description, found ? e.family.c_str() : "sans-serif");
        // Stand-ins for the black face keep its heavy look.
        if (!found && e.requested == "Arial Black")
            pango_font_description_set_weight(e.description, PANGO_WEIGHT_HEAVY);
        pango_font_description_set_absolute_size(e.description, spec.pixel_size * PANGO_SCALE);
    }
}

}  // namespace

void build_font_tables() {
    std::call_once(g_once, build);
}

void prepare_fonts_for_handover() {
    // Building the table loads a face of each family (see resolved_family), so the map keeps
    // them loaded. Loading every entry's size as well cost 0.8 MB for little time.
    build_font_tables();
    g_prepared_map = PANGO_FONT_MAP(g_object_ref(pango_cairo_font_map_get_default()));
}

void adopt_prepared_fonts() {
    if (!g_prepared_map)
        return;
    if (pango_cairo_font_map_get_default() != g_prepared_map)
        pango_cairo_font_map_set_default(PANGO_CAIRO_FONT_MAP(g_prepared_map));
}

TextSize measure_text(const std::string& text, int index, int max_width) {
    const FontEntry& font = font_entry(index);
    PangoContext* context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, font.description);
    pango_layout_set_width(layout, max_width * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    TextSize size;
    pango_layout_get_pixel_size(layout, &size.width, &size.height);
    g_object_unref(layout);
    g_object_unref(context);
    return size;
}

const FontEntry& font_entry(int index) {
    build_font_tables();
    if (index < 0 || index >= kFontCount)
        index = 0;
    return g_fonts[index];
}

}  // namespace zentrik::ui
