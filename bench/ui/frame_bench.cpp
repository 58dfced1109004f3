// Full-frame composition of the main pages against one memcpy of the frame buffer.
// Prints each page's time as a multiple of the copy; the goal is 8 or less.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ui/layout.h"
#include "ui/renderer.h"

namespace {

using namespace zentrik;

struct Window {
    ui::WidgetBoard board;
    ui::HeadlessOwner owner;
    ui::WindowShell shell;
    std::unique_ptr<ui::Renderer> renderer;

    explicit Window(int page) {
        ui::build_main_window(board, &owner, shell);
        if (page == ui::kPageDevices) {
            ui::add_device_row(board, 0, "QX10 - Wired / Wireless Mouse (id: 00A5)", 170, "qx10",
                               16384, "");
            ui::add_device_row(board, 1, "QX6 - Wired  Mouse (id: 1C07)", 232, "qx6", 8192, "");
        }
        board.set_page(page);
        renderer = std::make_unique<ui::Renderer>(board);
        renderer->compose({});  // first paint fills the background cache
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

void BM_ComposePage(benchmark::State& state) {
    Window window(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(window.renderer->compose({}));
}
BENCHMARK(BM_ComposePage)->Arg(0)->Arg(1)->Arg(2)->Arg(3);

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
    const double copy = median_ns(
        [&] {
            std::memcpy(b.data(), a.data(), size);
            benchmark::DoNotOptimize(b.data());
        },
        401);
    std::printf("frame copy: %.1f us\n", copy / 1000);
    for (int page : {0, 1, 2, 3}) {
        Window window(page);
        const double frame = median_ns([&] { window.renderer->compose({}); }, 101);
        std::printf("page %d: %.1f us = %.1f x copy (goal <= 8)\n", page, frame / 1000,
                    frame / copy);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    print_ratios();
    benchmark::Shutdown();
    return 0;
}
