#include "ui/widget.h"

#include "ui/skin_image.h"

namespace zentrik::ui {

int visible_rows_for(int height, int row_height) {
    if (row_height <= 0)
        return 1;  // a list without a row height shows one row
    return (height - 31) / row_height + 1;
}

void compute_arrows(Widget& w) {
    const int x = w.x;
    const int y = w.y;
    const int wd = w.width;
    const int h = w.height;
    w.arrows = {
        x + wd - 12, y + 2,     x + wd - 20, y + h / 2 - 2,     x + wd - 4, y + h / 2 - 2,
        x + wd - 12, y + h - 3, x + wd - 19, y + h - h / 2 + 2, x + wd - 4, y + h - h / 2 + 2};
}

ThumbPos slider_thumb(const Widget& w) {
    const SkinImage* thumb = w.images[kNormal];
    const int range = w.max == w.min ? 1 : w.max - w.min;
    const long long along = static_cast<long long>(w.value - w.min) * w.width / range;
    return {w.x + static_cast<int>(along) - image_width(thumb) / 2,
            w.y + w.height / 2 - image_height(thumb) / 2};
}

}  // namespace zentrik::ui
