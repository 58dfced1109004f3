#pragma once
// `zentrik --render-page N OUT.png [--scale 2]`: builds the window as at start, shows page N
// and writes the frame as a PNG with its alpha, without a display; at scale 2 the frame is
// drawn for a high-DPI window (twice the width and height, from the pictures and text made for
// that scale).
#include <optional>
#include <string>
#include <vector>

namespace zentrik::app {

struct RenderPageRequest {
    int page = 0;
    std::string output;
    int scale = 1;  // device pixels per window pixel: 1 or 2
};

// The request when the arguments start with "--render-page" (and "--scale N" may follow);
// nullopt otherwise. `error` receives a message when "--render-page" is given with bad
// arguments.
std::optional<RenderPageRequest> parse_render_page(const std::vector<std::string>& args,
                                                   std::string& error);

// The pages that can be rendered: 0, 1, 2, 3, 5 and 99.
bool is_renderable_page(int page);

// Renders and writes the page; returns the process exit status (0 on success) and prints
// a message on failure.
int render_page(const RenderPageRequest& request);

}  // namespace zentrik::app
