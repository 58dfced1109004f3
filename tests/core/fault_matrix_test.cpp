// The mouse unplugged after N exchanges, for N over the whole of each job: every run ends,
// reports the failure with a message, ends its progress box, and leaves every file it writes
// either as it was or complete.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "core/backup_jobs.h"
#include "tests/core/settings_test_support.h"

namespace zentrik::core {
namespace {

using testing::MouseRig;
using testing::RecordingProgress;
using testing::TempDir;

// Makes exchange `n` (1-based) the first one the mouse does not answer.
void fail_from_exchange(sim::SimMouse& mouse, int n) {
    sim::SimFaults f;
    if (n <= 1)
        f.unplugged = true;
    else
        f.unplug_after_exchanges = n - 1;
    mouse.set_faults(f);
}

// What a request belongs to, so that runs of the same kind make one phase.
std::string phase_of(const sim::FeatureReport& r) {
    const int kind = r[1] << 8 | r[2];
    switch (kind) {
        case 0x0200:
            return "read memory";
        case 0x010B:
        case 0x0700:
        case 0x0103:
            return "read settings";
        case 0x0203:
        case 0x0205:
        case 0x0206:
        case 0x0207:
        case 0x0208:
        case 0x0209:
        case 0x020A:
            return "page";
        case 0x0204:
            return "block commit";
        case 0x0202:
            return "word";
        case 0x0185:
            return "button";
        default:
            return "setting";
    }
}

// The first and last exchange of every phase of a clean run, and every `spread`-th between.
std::set<int> exchanges_to_fail(const std::vector<sim::FeatureReport>& clean_run, int spread) {
    std::set<int> out;
    const int total = static_cast<int>(clean_run.size());
    for (int i = 0; i < total; ++i) {
        const bool first = i == 0 || phase_of(clean_run[i]) != phase_of(clean_run[i - 1]);
        const bool last = i + 1 == total || phase_of(clean_run[i]) != phase_of(clean_run[i + 1]);
        if (first || last || i % spread == 0)
            out.insert(i + 1);
    }
    out.insert(total + 1);  // the mouse stays: the job succeeds
    return out;
}

bool no_temporary_files(const std::filesystem::path& dir) {
    std::error_code ec;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir, ec)) {
        if (e.path().extension() == ".tmp")
            return false;
    }
    return true;
}

// Checks one run of a job that overwrites the mouse; returns false on the first broken rule.
void check_overwrite_run(const JobResult& r, const RecordingProgress& progress,
                         const std::filesystem::path& safety_dir, bool mouse_stayed,
                         const std::vector<std::uint8_t>& memory_before, int n) {
    SCOPED_TRACE("failing exchange " + std::to_string(n));
    EXPECT_EQ(progress.ends, progress.begins);
    EXPECT_TRUE(no_temporary_files(safety_dir));
    if (mouse_stayed) {
        EXPECT_TRUE(r.ok()) << r.message;
        return;
    }
    EXPECT_EQ(r.status, JobStatus::failed);
    EXPECT_FALSE(r.message.empty());
    // Every safety copy in the directory is complete and holds the mouse as it was.
    std::error_code ec;
    int copies = 0;
    for (const auto& e : std::filesystem::directory_iterator(safety_dir, ec)) {
        ++copies;
        const auto decoded = load_backup_file(e.path());
        ASSERT_EQ(decoded.error, BackupFileError::none);
        EXPECT_TRUE(std::equal(memory_before.begin(), memory_before.end() - 4,
                               decoded.backup.image.begin()));
    }
    if (r.partly_written) {
        ASSERT_TRUE(r.safety_copy);
        EXPECT_EQ(copies, 1);
        EXPECT_THAT(r.message, ::testing::HasSubstr(r.safety_copy->string()));
    } else {
        EXPECT_EQ(copies, 0);
        EXPECT_FALSE(r.reload);
    }
}

TEST(FaultMatrix, BackupUnpluggedAfterEveryExchange) {
    TempDir dir;
    const auto target = dir / "backup.mbf";
    int runs = 0;
    for (int n = 1; n <= 1171; ++n, ++runs) {
        std::ofstream(target, std::ios::trunc) << "earlier";
        MouseRig m;
        RecordingProgress progress;
        fail_from_exchange(*m.mouse, n);
        const JobResult r = backup_to_file(m.rig.lib, m.device, {}, target, progress);
        EXPECT_EQ(progress.ends, 1);
        if (n <= 1170) {
            ASSERT_EQ(r.status, JobStatus::failed) << n;
            ASSERT_EQ(r.message.rfind("error: the mouse stopped answering", 0), 0u) << r.message;
            std::ifstream in(target);
            ASSERT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "earlier") << n;
        } else {
            ASSERT_TRUE(r.ok());
            ASSERT_EQ(load_backup_file(target).error, BackupFileError::none);
        }
        ASSERT_EQ(dir.names(), std::vector<std::string>{"backup.mbf"}) << n;
    }
    RecordProperty("runs", runs);
    std::printf("backup fault runs: %d\n", runs);
}

template <typename Job>
int run_overwrite_matrix(const char* name, Job job, int spread) {
    // A clean run gives the exchanges and their phases.
    std::vector<sim::FeatureReport> clean;
    {
        TempDir dir;
        MouseRig m;
        RecordingProgress progress;
        EXPECT_TRUE(job(m, progress, dir / "safety").ok());
        clean = m.mouse->requests();
    }
    int runs = 0;
    for (int n : exchanges_to_fail(clean, spread)) {
        TempDir dir;
        MouseRig m;
        m.fill(0x30);
        const auto before = m.mouse->memory();
        RecordingProgress progress;
        fail_from_exchange(*m.mouse, n);
        const JobResult r = job(m, progress, dir / "safety");
        check_overwrite_run(r, progress, dir / "safety", n > static_cast<int>(clean.size()), before,
                            n);
        ++runs;
    }
    std::printf("%s fault runs: %d of %zu exchanges\n", name, runs, clean.size());
    return runs;
}

BackupFile restore_source(int memory_size) {
    BackupFile b;
    b.settings.rate_divisor = 1;
    b.settings.levels = {{{4, 4}, {8, 8}, {16, 16}, {32, 32}}};
    b.image.assign(static_cast<std::size_t>(memory_size), 0x5A);
    return b;
}

TEST(FaultMatrix, RestoreUnpluggedAtEveryPhaseEdgeAndBetween) {
    const int runs = run_overwrite_matrix(
        "restore",
        [](MouseRig& m, JobProgress& progress, const std::filesystem::path& safety) {
            return restore_backup(m.rig.lib, m.device, restore_source(m.device.memory_size),
                                  progress, {safety, {}});
        },
        23);
    RecordProperty("runs", runs);
}

TEST(FaultMatrix, ResetUnpluggedAtEveryPhaseEdgeAndBetween) {
    const int runs = run_overwrite_matrix(
        "reset",
        [](MouseRig& m, JobProgress& progress, const std::filesystem::path& safety) {
            return reset_mouse(m.rig.lib, m.device, progress, {safety, {}});
        },
        13);
    RecordProperty("runs", runs);
}

}  // namespace
}  // namespace zentrik::core
