#include "res/skin_gen/catalog.h"

#include <algorithm>
#include <stdexcept>

namespace zentrik::skin {

Catalog build_catalog() {
    Catalog c;
    add_window_images(c);
    add_control_images(c);
    add_icon_images(c);
    add_mouse_images(c);
    add_app_images(c);
    std::sort(c.begin(), c.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });
    for (std::size_t i = 1; i < c.size(); ++i) {
        if (c[i].id == c[i - 1].id) {
            throw std::logic_error("image id " + std::to_string(c[i].id) + " is drawn twice");
        }
    }
    return c;
}

}  // namespace zentrik::skin
