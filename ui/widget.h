#pragma once
// One widget of the main window and one row of a list widget: plain records that the widget
// board owns and every other module reaches by the widget's name.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/geometry.h"

namespace zentrik::ui {

class SkinImage;

enum WidgetKind : int {
    kPicture = 0,         // one image, no interaction
    kImageButton = 1,     // image button / icon with states
    kCallout = 2,         // coloured text box with a leader line to an anchor point
    kLevelButton = 3,     // image button (DPI level buttons)
    kList = 4,            // list of rows
    kTextBox = 5,         // filled box with centred text
    kSlider = 6,          // horizontal slider
    kStaticText = 7,      // static text, drawn above everything
    kSpinBox = 8,         // numeric spin box
    kCheckBox = 9,        // box image plus text
    kSelectableRow = 10,  // selectable row with text and icon (device list)
    kProgressBar = 11,    // progress bar
    kRegionButton = 12,   // picture button shaped like its image
    kPanel = 13,          // image, or translucent rounded rectangle
};

// Image slots, indexed by state.
enum ImageSlot : int { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3, kChecked = 4 };

// Caption and row alignment.
enum Align : int { kNear = 0, kCentre = 1, kFar = 2 };

// Row value that can be neither dragged, edited in place nor deleted.
inline constexpr std::uint32_t kFixedRowValue = 0xFFFF;

// One row of a list widget, kept by value.
struct ListItem {
    std::uint32_t offset = 0;  // position of the payload; step lists chain it (see recompute)
    std::uint32_t size = 1;    // byte size of the payload
    std::uint8_t code = 0;     // payload code byte (for macro rows the instruction code)
    std::array<std::uint8_t, 7> payload{};  // bytes after the code; 0-1 carry a 16-bit value
    std::array<std::uint32_t, 5> extra{};   // marker words: a bar per non-zero word
    std::string text{};  // "_@" starts a group header, "_#" a special macro-list row
    std::uint32_t value = 0;
    std::uint32_t tag = 0;
    std::uint32_t expanded = 0;    // header: children shown
    std::uint32_t level = 0;       // 0 header, 1 child
    std::uint32_t full_index = 0;  // index in the list's all_rows
    std::uint32_t text_align = kNear;
    Argb color = 0xFF000000;

    bool is_header() const { return text.starts_with("_@"); }
};

struct Widget {
    // Kind 12: opaque pixels of the normal image, offset to (x, y); the hit shape.
    std::optional<Region> region;
    std::array<const SkinImage*, 5> images{};
    int x = 0;
    int y = 0;
    int width = 0;
    int scroll_px = 0;  // lists: row_height * first_row
    int edit_limit = 13;
    int height = 0;
    int state = 0;  // 0 normal, 1 hover, 2 pressed
    int visible = 1;
    int id = -1;
    int page = -1;
    int kind = kPicture;
    int checked = 0;
    int enabled = 1;
    int group = 0;
    int selected_row = 0;
    int icon_above = 0;
    int text_dx = 0;
    int text_dy = 0;
    int first_row = 0;
    int scrollbar_fade = 0;
    double fraction = 0.0;
    int data = 0;
    int max = 100;
    int ticks = 9;
    int row_height = 34;
    int has_tooltip = 0;
    std::string tooltip{};
    std::array<int, 12> arrows{};  // kind 8: up (apex, base-left, base-right), then down
    int min = 0;
    int step = 1;
    int pinned_first_row = 0;
    int value = 0;
    std::array<Argb, 6> colors{0xFF000000, 0xFF000000, 0xFF000000,
                               0xFF000000, 0xFF000000, 0xFF000000};
    std::vector<ListItem> rows;
    std::vector<ListItem> all_rows;
    std::string text{};
    // A device row's model tag; the device list sets it from the model table. The creation
    // default belongs to the widget model: ui/ does not depend on the model table.
    std::string model_tag = "qx10";
    int line_from_x = 0;
    int line_from_y = 0;
    int elbow_x = 0;
    int elbow_y = 0;
    int edit_mode = 0;  // 1 step list (and rounded text box), 2 callout look
    int row_markers = 0;
    int editable = 0;
    int draggable = 0;
    std::string text_3{};
    int font = 0;
    int visible_rows = 1;
    int drop_row = -1;
    int align = kNear;
    int hover_box = 0;
    int renamable = 0;
    int no_header_rows = 0;
    int always_active = 0;
    int foldable = 0;
    int delete_target = 0;

    // The box (x, y, x + width, y + height).
    Rect box() const { return {x, y, x + width, y + height}; }
    int row_count() const { return static_cast<int>(rows.size()); }
    bool has_row(int index) const { return index >= 0 && index < row_count(); }
};

// Rows that fit in a list of this height: (height - 31) / row_height + 1.
int visible_rows_for(int height, int row_height);

// The spin-box arrow triangles for the widget's current box.
void compute_arrows(Widget& w);

// Slider thumb position (left, top) for the widget's value and thumb image.
struct ThumbPos {
    int left;
    int top;
};
ThumbPos slider_thumb(const Widget& w);

}  // namespace zentrik::ui
