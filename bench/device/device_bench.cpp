// read_memory against the simulated mouse with real sleeps: the time one exchange takes, and
// its ratio to the sleeps the handshake mandates (1 ms before and 1 ms after a delay-0 request).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "device/commands.h"
#include "device/timing.h"
#include "sim/sim_backend.h"

namespace {

using namespace zentrik;

constexpr double kMandatedMsPerRead = 2.0;

void BM_ReadMemory(benchmark::State& state) {
    auto backend = std::make_shared<sim::SimBackend>();
    backend->add(std::make_shared<sim::SimMouse>(
        sim::SimMouseConfig::family_mouse(7, 1, 3, 100, static_cast<int>(state.range(0)))));
    device::zklib lib(backend, device::make_system_timing());
    lib.discover();
    const std::string path = lib.path_of(0);
    std::uint16_t address = 0;
    std::int64_t failures = 0;
    const auto start = std::chrono::steady_clock::now();
    std::vector<double> each_ms;
    for (auto _ : state) {
        device::Report reply{};
        const auto before = std::chrono::steady_clock::now();
        if (!device::read_memory(lib, path, address, reply))
            ++failures;
        each_ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before)
                .count());
        benchmark::DoNotOptimize(reply);
        address = static_cast<std::uint16_t>(address + 7);
    }
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    const double ms_per_exchange =
        elapsed.count() /
        static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["ms_per_exchange"] = ms_per_exchange;
    state.counters["ratio_to_mandated"] = ms_per_exchange / kMandatedMsPerRead;
    // The median leaves out the exchanges that a busy machine preempted.
    std::sort(each_ms.begin(), each_ms.end());
    if (!each_ms.empty()) {
        state.counters["median_ratio"] = each_ms[each_ms.size() / 2] / kMandatedMsPerRead;
    }
    state.counters["failures"] = static_cast<double>(failures);
}
BENCHMARK(BM_ReadMemory)
    ->Arg(8192)
    ->Arg(32768)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
