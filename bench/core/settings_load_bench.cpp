// One full settings load of a simulated mouse (choose, identify, every setting, button table,
// DPI levels, names) with real sleeps: its exchanges, its time, and the ratio of that time to
// the sleeps the transport had to make.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>

#include "core/session.h"
#include "device/timing.h"
#include "sim/sim_backend.h"
#include "ui/input/virtual_timers.h"
#include "ui/layout.h"

namespace {

using namespace zentrik;

// Real sleeps, added up.
class CountingTiming final : public device::Timing {
  public:
    void sleep_ms(int ms) override {
        slept_ms += ms;
        real_.sleep_ms(ms);
    }
    std::int64_t now_us() override { return real_.now_us(); }
    std::atomic<std::int64_t> slept_ms{0};

  private:
    device::SystemTiming real_;
};

struct NoDialogs final : ui::Dialogs {
    void message(const std::string&, const std::string&) override {}
    bool ask_yes_no(const std::string&, const std::string&) override { return false; }
    std::optional<std::filesystem::path> open_file(const ui::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> save_file(const ui::FileDialogRequest&) override {
        return std::nullopt;
    }
};

void BM_FullSettingsLoad(benchmark::State& state) {
    auto backend = std::make_shared<sim::SimBackend>();
    auto mouse = std::make_shared<sim::SimMouse>(
        sim::SimMouseConfig::family_mouse(8, 1, 3, 100, static_cast<int>(state.range(0))));
    backend->add(mouse);
    auto timing = std::make_shared<CountingTiming>();
    device::zklib lib(backend, timing);
    ui::WidgetBoard board;
    ui::WindowShell build_shell;
    ui::build_main_window(board, nullptr, build_shell);
    ui::ManualClock clock;
    ui::VirtualTimers timers(clock);
    NoDialogs dialogs;
    core::Workers workers(core::Workers::Mode::kInline);
    core::SessionShell shell;
    core::Session session({board, lib, timers, dialogs, workers, shell, {}});
    std::atomic<std::int64_t> traced{0};
    lib.set_trace([&](const device::ExchangeTrace&) { ++traced; });
    double exchanges = 0;
    double slept = 0;
    double taken = 0;
    for (auto _ : state) {
        mouse->restart();  // the mouse forgets the tag, so the poll drops the selection
        session.poll();
        traced = 0;
        timing->slept_ms = 0;
        const auto start = std::chrono::steady_clock::now();
        session.list_devices();  // identifies, lists and chooses the mouse, then loads it
        taken += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count();
        exchanges += static_cast<double>(traced.load());
        slept += static_cast<double>(timing->slept_ms.load());
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["exchanges"] = exchanges / n;
    state.counters["load_ms"] = taken / n;
    state.counters["sleeps_ms"] = slept / n;
    state.counters["ratio_to_sleeps"] = slept > 0 ? taken / slept : 0;
}
BENCHMARK(BM_FullSettingsLoad)
    ->Arg(8192)
    ->Arg(32768)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
