// Where rows, the scroll strip and the scroll-bar thumb of a list lie.
#include <algorithm>

#include "ui/input/pointer_dispatcher.h"

namespace zentrik::ui::list_geometry {

namespace {
// Rows start below the caption band.
constexpr int kCaptionBand = 32;
constexpr int kStripWidth = 12;
}  // namespace

int row_at(const Widget& list, int y) {
    const int dy = y - list.y - kCaptionBand;
    if (dy < 0 || y >= list.y + list.height || list.row_height <= 0)
        return -1;
    const int visual = dy / list.row_height;
    const int row = (list.pinned_first_row && visual == 0) ? 0 : visual + list.first_row;
    return list.has_row(row) ? row : -1;
}

bool overflowing(const Widget& list) {
    return list.row_count() - list.visible_rows + 2 > 0;
}

bool in_scroll_strip(const Widget& list, int x, int y) {
    return overflowing(list) && x >= list.x + list.width - kStripWidth &&
           x < list.x + list.width + 1 && y >= list.y && y < list.y + list.height + 1;
}

int thumb_top(const Widget& list) {
    const int R = std::max(1, list.row_height);
    const int u = std::max(1, list.row_count() - list.height / R + 2);
    return std::min(list.y + R + (list.height - R - 25) * list.scroll_px / R / u,
                    list.y + list.height - 25);
}

}  // namespace zentrik::ui::list_geometry
