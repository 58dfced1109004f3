#include "app/render_page.h"

#include <cairo.h>

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "device/mouse_models.h"
#include "ui/layout.h"
#include "ui/renderer.h"
#include "ui/widget_board.h"

namespace zentrik::app {

namespace {

// Two mice as the device page lists them (model codes 8 and 1).
void add_example_device_rows(ui::WidgetBoard& board) {
    const struct {
        device::_DEVICE_ mouse;
        std::uint16_t identity;
    } examples[] = {{{"/dev/hidraw3", 2, 8, 100, 3, 16384}, 0x00A5},
                    {{"/dev/hidraw7", 2, 1, 100, 2, 8192}, 0x1C07}};
    int row = 0;
    for (const auto& [mouse, identity] : examples) {
        const device::MouseModel& model = device::mouse_model(mouse.model);
        ui::add_device_row(board, row++, device::device_row_text(mouse, identity),
                           model.row_picture, model.tag, mouse.memory_size, mouse.path);
    }
    board.select_in_group(board.find_widget(ui::device_row_name(0)));
}

// Removes "--scale N" from `args`: N when it is 1 or 2, 1 when absent; nullopt (with `error`
// set) when N is missing or another value.
std::optional<int> take_scale(std::vector<std::string>& args, std::string& error) {
    const auto it = std::find(args.begin(), args.end(), "--scale");
    if (it == args.end())
        return 1;
    const std::string n = it + 1 == args.end() ? std::string() : *(it + 1);
    if (n != "1" && n != "2") {
        error = "zentrik: --scale takes 1 or 2" + (n.empty() ? std::string() : ", not " + n);
        return std::nullopt;
    }
    args.erase(it, it + 2);
    return n == "2" ? 2 : 1;
}

}  // namespace

bool is_renderable_page(int page) {
    return page == 0 || page == 1 || page == 2 || page == 3 || page == 5 || page == 99;
}

std::optional<RenderPageRequest> parse_render_page(const std::vector<std::string>& args,
                                                   std::string& error) {
    if (args.empty() || args[0] != "--render-page")
        return std::nullopt;
    error.clear();
    RenderPageRequest request;
    std::vector<std::string> rest = args;
    const std::optional<int> scale = take_scale(rest, error);
    if (!scale)
        return request;
    request.scale = *scale;
    if (rest.size() != 3) {
        error =
            "usage: zentrik --render-page N OUT.png [--scale 1|2]   (N = 0, 1, 2, 3, 5 or "
            "99)";
        return request;
    }
    const std::string& n = rest[1];
    const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), request.page);
    if (ec != std::errc() || end != n.data() + n.size() || !is_renderable_page(request.page)) {
        error = "zentrik: no such page: " + n + " (pages are 0, 1, 2, 3, 5 and 99)";
        return request;
    }
    request.output = rest[2];
    if (request.output.empty())
        error = "zentrik: the output file name is empty";
    return request;
}

int render_page(const RenderPageRequest& request) {
    ui::WidgetBoard board;
    ui::HeadlessOwner owner;
    ui::WindowShell shell;
    ui::build_main_window(board, &owner, shell);

    ui::PageChoice choice;
    if (request.page == ui::kPageDevices) {
        add_example_device_rows(board);
        choice.any_mouse_listed = true;
    } else if (request.page != ui::kPageNoDevice) {
        choice.mouse_selected = true;
        choice.chosen_page = request.page;
    }
    ui::switch_page(board, choice);
    // The side tab of the page shown is the checked one of its group.
    if (request.page <= ui::kPageDpi) {
        const char* tabs[] = {"_tab_bt", "_tab_macro", "_tab_dpi"};
        board.select_in_group(board.find_widget(tabs[request.page]));
    }

    ui::Renderer renderer(board);
    renderer.set_scale(request.scale);
    cairo_surface_t* frame = renderer.compose({});
    const cairo_status_t status = cairo_surface_write_to_png(frame, request.output.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "zentrik: cannot write %s: %s\n", request.output.c_str(),
                     cairo_status_to_string(status));
        return 1;
    }
    return 0;
}

}  // namespace zentrik::app
