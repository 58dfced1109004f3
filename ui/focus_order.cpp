#include "ui/focus_order.h"

#include <algorithm>

#include "ui/skin_image.h"

namespace zentrik::ui {

namespace {

// Radio-group keys of the kinds that have no group number of their own.
constexpr int kLevelGroup = -1;
constexpr int kProfileGroup = -2;
// Gap between the ring and the box it surrounds, and the ring's width.
constexpr int kRingGap = 2;
constexpr int kRingWidth = 2;

}  // namespace

bool interactive_kind(int kind) {
    switch (kind) {
        case kPicture:
        case kStaticText:
        case kProgressBar:
        case kPanel:
            return false;
        default:
            return true;
    }
}

bool takes_focus(const WidgetBoard& board, const Widget& w) {
    return interactive_kind(w.kind) && w.id > 0 && w.visible && w.enabled &&
           board.on_current_page(w);
}

std::vector<Widget*> focus_order(WidgetBoard& board) {
    std::vector<Widget*> order;
    board.for_each_widget([&](const std::string&, Widget& w) {
        if (takes_focus(board, w))
            order.push_back(&w);
    });
    std::stable_sort(order.begin(), order.end(), [](const Widget* a, const Widget* b) {
        return a->y != b->y ? a->y < b->y : a->x < b->x;
    });
    return order;
}

int radio_group(const Widget& w) {
    switch (w.kind) {
        case kCallout:
        case kSelectableRow:
        case kRegionButton:
            return w.group;
        case kLevelButton:
            return kLevelGroup;
        case kTextBox:
            return w.editable ? kProfileGroup : 0;
        default:
            return 0;
    }
}

bool can_drag(const Widget& w, int row) {
    if (!w.draggable)
        return false;
    if (w.kind == kList)
        return w.edit_mode == 1 ||
               (w.has_row(row) && !w.rows[static_cast<std::size_t>(row)].is_header() &&
                w.rows[static_cast<std::size_t>(row)].value != kFixedRowValue);
    return w.kind == kImageButton;
}

Rect focus_box(const Widget& w) {
    if (w.kind == kSlider) {
        const ThumbPos t = slider_thumb(w);
        const int th = image_height(w.images[kNormal]);
        return {w.x - 4, std::min(w.y, t.top), w.x + w.width + 4,
                std::max(w.y + w.height, t.top + th)};
    }
    if (w.kind == kCheckBox) {
        // The box and its text, not the empty rest of the row.
        const SkinImage* box = w.images[w.checked ? 1 : 0];
        const int top = w.y + (w.height - image_height(box)) / 2;
        return {w.x, top, w.x + w.width, top + image_height(box)};
    }
    return w.box();
}

Rect focus_ring_area(const Widget& w) {
    const Rect b = focus_box(w);
    const int out = kRingGap + kRingWidth + 1;
    return {b.left - out, b.top - out, b.right + out, b.bottom + out};
}

}  // namespace zentrik::ui
