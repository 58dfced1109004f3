// Backup and restore of a whole 32 KiB mouse through the transport with real sleeps (simulated
// mouse): the job's time against the sum of the sleeps the handshake and the commands demand.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <filesystem>

#include "core/backup_jobs.h"
#include "core/mouse_identity.h"
#include "device/timing.h"
#include "sim/sim_backend.h"

namespace {

using namespace zentrik;

// Real time that also adds up every sleep asked for.
class SummingTiming final : public device::Timing {
  public:
    void sleep_ms(int ms) override {
        if (ms > 0)
            slept_ms_ += ms;
        real_.sleep_ms(ms);
    }
    std::int64_t now_us() override { return real_.now_us(); }
    std::int64_t slept_ms() const { return slept_ms_; }
    void reset() { slept_ms_ = 0; }

  private:
    device::SystemTiming real_;
    std::atomic<std::int64_t> slept_ms_{0};
};

struct Rig {
    Rig() {
        backend->add(std::make_shared<sim::SimMouse>(
            sim::SimMouseConfig::family_mouse(7, 1, 3, 100, 32768)));
        lib.discover();
        core::identify_mouse(lib, lib.path_of(0));
        device = *lib.find_device(lib.path_of(0));
        std::filesystem::create_directories(dir);
    }
    ~Rig() { std::filesystem::remove_all(dir); }
    std::shared_ptr<sim::SimBackend> backend = std::make_shared<sim::SimBackend>();
    std::shared_ptr<SummingTiming> timing = std::make_shared<SummingTiming>();
    device::zklib lib{backend, timing};
    device::_DEVICE_ device;
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "zentrik-backup-bench";
};

template <typename Job>
void measure(benchmark::State& state, Rig& rig, Job job) {
    double job_ms = 0;
    double sleep_ms = 0;
    for (auto _ : state) {
        rig.timing->reset();
        const auto start = std::chrono::steady_clock::now();
        if (!job())
            state.SkipWithError("the job failed");
        job_ms +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        sleep_ms += static_cast<double>(rig.timing->slept_ms());
    }
    const auto n = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["job_ms"] = job_ms / n;
    state.counters["sleeps_ms"] = sleep_ms / n;
    state.counters["ratio"] = sleep_ms > 0 ? job_ms / sleep_ms : 0;
}

void BM_Backup32K(benchmark::State& state) {
    Rig rig;
    core::NoProgress progress;
    measure(state, rig, [&] {
        return core::backup_to_file(rig.lib, rig.device, {}, rig.dir / "b.mbf", progress).ok();
    });
}

void BM_Restore32K(benchmark::State& state) {
    Rig rig;
    core::NoProgress progress;
    core::BackupFile file;
    file.settings.levels = {{{4, 4}, {8, 8}, {16, 16}, {32, 32}}};
    file.image.assign(32768, 0x5A);
    // Includes the safety copy (a whole backup) taken before the writes.
    measure(state, rig, [&] {
        return core::restore_backup(rig.lib, rig.device, file, progress, {rig.dir / "safety", {}})
            .ok();
    });
}

BENCHMARK(BM_Backup32K)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Restore32K)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
