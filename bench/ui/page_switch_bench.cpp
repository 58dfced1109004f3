// The first switch to each page in a freshly started window: how long composing that page's
// first frame takes, images decoded on the way included (later frames reuse them; see
// ui_bench). Pages are visited in the order a user meets them: the start page, the device
// page, home, then the tabs.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/layout.h"
#include "ui/renderer.h"

namespace {

using namespace zentrik;

double ms_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main() {
    const auto t0 = std::chrono::steady_clock::now();
    ui::WidgetBoard board;
    ui::HeadlessOwner owner;
    ui::WindowShell shell;
    ui::build_main_window(board, &owner, shell);
    ui::Renderer renderer(board);
    const double built = ms_since(t0);
    auto first_frame_of = [&](int page) {
        board.set_page(page);
        const auto t = std::chrono::steady_clock::now();
        renderer.compose({});
        const double first = ms_since(t);
        const auto t2 = std::chrono::steady_clock::now();
        renderer.compose({});
        return std::make_pair(first, ms_since(t2));
    };
    std::printf("window built (headless): %.1f ms\n", built);
    const auto [start_first, start_again] = first_frame_of(ui::kPageNoDevice);
    std::printf("%-22s first frame %6.2f ms, next %5.2f ms\n", "start page (no mouse)", start_first,
                start_again);
    const struct {
        int page;
        const char* name;
    } pages[] = {{ui::kPageDevices, "device page"},
                 {ui::kPageHome, "home page"},
                 {ui::kPageButtons, "button page"},
                 {ui::kPageDpi, "DPI page"},
                 {ui::kPageMacros, "macro page"}};
    for (const auto& p : pages) {
        const auto [first, again] = first_frame_of(p.page);
        std::printf("%-22s first frame %6.2f ms, next %5.2f ms\n", p.name, first, again);
    }
    return 0;
}
