// Full-frame composition of the main pages against one memcpy of the frame buffer. Each page
// is composed three ways and printed as a multiple of the copy (goal: 3 or less):
//   still   nothing changes between frames (a repaint of a settled window);
//   moving  the pointer crosses the page's controls, one hover state changes every frame;
//   plain   the widget layer off: every widget painted every frame, as the first frame of a page.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "device/mouse_models.h"
#include "ui/layout.h"
#include "ui/renderer.h"

namespace {

using namespace zentrik;

enum Mode { kStill, kMoving, kPlain };

struct Window {
    ui::WidgetBoard board;
    ui::HeadlessOwner owner;
    ui::WindowShell shell;
    std::unique_ptr<ui::Renderer> renderer;
    std::vector<ui::Widget*> hoverable;
    std::size_t next = 0;
    Mode mode;

    Window(int page, Mode mode) : mode(mode) {
        ui::build_main_window(board, &owner, shell);
        if (page == ui::kPageDevices) {
            // Two mice of model codes 8 and 1.
            const device::_DEVICE_ mice[] = {{"", 2, 8, 100, 3, 16384}, {"", 2, 1, 100, 2, 8192}};
            for (int row = 0; row < 2; ++row) {
                const device::_DEVICE_& mouse = mice[row];
                const device::MouseModel& model = device::mouse_model(mouse.model);
                ui::add_device_row(board, row, device::device_row_text(mouse, 0x00A5),
                                   model.row_picture, model.tag, mouse.memory_size, "");
            }
        }
        board.set_page(page);
        board.for_each_widget([&](const std::string&, ui::Widget& w) {
            const bool hovers = w.kind == ui::kImageButton || w.kind == ui::kLevelButton ||
                                w.kind == ui::kTextBox || w.kind == ui::kRegionButton;
            if (w.visible && board.on_current_page(w) && hovers)
                hoverable.push_back(&w);
        });
        renderer = std::make_unique<ui::Renderer>(board);
        renderer->set_layer_enabled(mode != kPlain);
        for (int i = 0; i < 8; ++i)  // pictures decoded, texts laid out, layer settled
            renderer->compose({});
    }

    // One frame; when moving, the pointer first leaves one control for the next.
    void frame() {
        if (mode == kMoving && !hoverable.empty()) {
            auto lock = board.lock();
            hoverable[next]->state = 0;
            next = (next + 1) % hoverable.size();
            hoverable[next]->state = 1;
            board.pointer.under = hoverable[next];
        }
        benchmark::DoNotOptimize(renderer->compose({}));
    }
};

void BM_FrameCopy(benchmark::State& state) {
    const std::size_t size = std::size_t(ui::kWindowWidth) * ui::kWindowHeight * 4;
    std::vector<unsigned char> a(size, 1), b(size);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), size);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameCopy);

template <Mode mode>
void BM_ComposePage(benchmark::State& state) {
    Window window(static_cast<int>(state.range(0)), mode);
    for (auto _ : state)
        window.frame();
}
BENCHMARK(BM_ComposePage<kStill>)->Name("BM_ComposePage/still")->DenseRange(0, 3)->Arg(5);
BENCHMARK(BM_ComposePage<kMoving>)->Name("BM_ComposePage/moving")->DenseRange(0, 3)->Arg(5);
BENCHMARK(BM_ComposePage<kPlain>)->Name("BM_ComposePage/plain")->DenseRange(0, 3)->Arg(5);

// Median of repeated timings, in nanoseconds.
template <typename Fn>
double median_ns(Fn&& fn, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        fn();
        times.push_back(
            std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void print_ratios() {
    const std::size_t size = std::size_t(ui::kWindowWidth) * ui::kWindowHeight * 4;
    std::vector<unsigned char> a(size, 1), b(size);
    auto copy_ns = [&] {
        return median_ns(
            [&] {
                std::memcpy(b.data(), a.data(), size);
                benchmark::DoNotOptimize(b.data());
            },
            401);
    };
    const double copy_before = copy_ns();
    std::printf("frame copy: %.1f us\n", copy_before / 1000);
    std::printf("%-6s %20s %20s %20s %10s\n", "page", "still", "moving", "plain", "layer KB");
    for (int page : {0, 1, 2, 3, 5}) {
        double us[3];
        std::size_t layer_bytes = 0;
        for (Mode mode : {kStill, kMoving, kPlain}) {
            Window window(page, mode);
            us[mode] = median_ns([&] { window.frame(); }, 201) / 1000;
            if (mode == kStill)
                layer_bytes = window.renderer->layer().bytes();
        }
        const double copy = copy_before / 1000;
        std::printf("%-6d %8.1f us = %4.1f x %8.1f us = %4.1f x %8.1f us = %4.1f x %10zu\n", page,
                    us[kStill], us[kStill] / copy, us[kMoving], us[kMoving] / copy, us[kPlain],
                    us[kPlain] / copy, layer_bytes / 1024);
    }
    std::printf("frame copy again: %.1f us (goal: every page <= 3 x copy)\n", copy_ns() / 1000);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    print_ratios();
    benchmark::Shutdown();
    return 0;
}
