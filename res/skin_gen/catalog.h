#pragma once
// The list of every built-in image: id, size, role and the code that draws it.
#include <functional>
#include <string>
#include <vector>

#include "res/skin_gen/canvas.h"

namespace zentrik::skin {

struct Entry {
    int id;
    int width;
    int height;
    std::string role;
    std::function<void(cairo_t*)> paint;
};

using Catalog = std::vector<Entry>;

// Each painter file adds its images.
void add_window_images(Catalog& c);
void add_control_images(Catalog& c);
void add_icon_images(Catalog& c);
void add_mouse_images(Catalog& c);
void add_app_images(Catalog& c);

// All images, sorted by id; throws if an id appears twice.
Catalog build_catalog();

}  // namespace zentrik::skin
