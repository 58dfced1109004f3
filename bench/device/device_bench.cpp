// read_memory against the simulated mouse with real sleeps: the time one exchange takes, as a
// ratio to the sleeps the handshake mandates (1 ms before and 1 ms after a delay-0 request),
// on an idle machine and beside two busy loops (nice 0 and nice 19) that the benchmark starts
// itself. Counters:
//   median_ratio, mean_ratio  exchange time / mandated sleeps (goal: ≤ 1.05 and ≤ 1.10)
//   cpu_ms_per_exchange       processor time the exchanging thread used per exchange
//   ms_per_exchange, failures
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <numeric>
#include <vector>

#include "bench/device/busy_loops.h"
#include "device/commands.h"
#include "device/timing.h"
#include "sim/sim_backend.h"

namespace {

using namespace zentrik;

constexpr double kMandatedMsPerRead = 2.0;

double thread_cpu_ms() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void BM_ReadMemory(benchmark::State& state) {
    const bool loaded = state.range(1) != 0;
    auto backend = std::make_shared<sim::SimBackend>();
    backend->add(std::make_shared<sim::SimMouse>(
        sim::SimMouseConfig::family_mouse(7, 1, 3, 100, static_cast<int>(state.range(0)))));
    device::zklib lib(backend, device::make_system_timing());
    lib.discover();
    const std::string path = lib.path_of(0);
    std::unique_ptr<bench::BusyLoops> load;
    if (loaded)
        load = std::make_unique<bench::BusyLoops>();
    std::uint16_t address = 0;
    std::int64_t failures = 0;
    std::vector<double> each_ms;
    const double cpu_start = thread_cpu_ms();
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
    const double cpu_ms = thread_cpu_ms() - cpu_start;
    load.reset();
    if (each_ms.empty())
        return;
    const double n = static_cast<double>(each_ms.size());
    const double mean_ms = std::accumulate(each_ms.begin(), each_ms.end(), 0.0) / n;
    std::sort(each_ms.begin(), each_ms.end());
    const double median_ms = each_ms[each_ms.size() / 2];
    state.counters["ms_per_exchange"] = mean_ms;
    state.counters["median_ratio"] = median_ms / kMandatedMsPerRead;
    state.counters["mean_ratio"] = mean_ms / kMandatedMsPerRead;
    state.counters["cpu_ms_per_exchange"] = cpu_ms / n;
    state.counters["failures"] = static_cast<double>(failures);
}
BENCHMARK(BM_ReadMemory)
    ->ArgNames({"memory", "loaded"})
    ->Args({8192, 0})
    ->Args({32768, 0})
    ->Args({8192, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
