// The lock a job holds on a mouse across programs: two links to one simulated mouse (as two
// programs sharing its state files) exclude each other, a thread may take its own lock again,
// a waiting job says so once and gives up when its wait runs out, and the lock's folder must be
// the user's alone.
#include "device/mouse_lock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include <unistd.h>

#include "device_test_support.h"

namespace zentrik::device::testing {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// A fresh private runtime folder under `dir`.
fs::path make_runtime_folder(const fs::path& dir) {
    fs::remove_all(dir);
    fs::create_directories(dir / "run");
    fs::permissions(dir / "run", fs::perms::owner_all);
    return dir / "run";
}

struct LockRig {
    fs::path dir = fs::temp_directory_path() / ("zentrik-lock-test-" + std::to_string(::getpid()));
    fs::path run = make_runtime_folder(dir);
    ScopedEnv runtime{"XDG_RUNTIME_DIR", run.c_str()};
    SimRig rig;
    const std::string path = sim::SimBackend::path_of(0);
    LockRig() {
        auto config = sim::SimMouseConfig::family_mouse(7, 1, 3, 100, 8192);
        config.state_file_stem = dir / "sim" / "mouse0-8k";
        rig.add(config);
    }
    ~LockRig() { fs::remove_all(dir); }
    // The outcome of a try from another thread (another holder), and how often it noted the
    // wait.
    std::pair<MouseLock::Outcome, int> try_elsewhere(int wait_ms) {
        std::pair<MouseLock::Outcome, int> result{MouseLock::Outcome::kFailed, 0};
        std::thread([&] {
            const auto lock = lock_mouse(
                rig.lib, path, [&] { ++result.second; }, wait_ms);
            result.first = lock.outcome();
        }).join();
        return result;
    }
};

TEST(MouseLock, OneHolderAtATimeAndTheSameThreadMayNest) {
    LockRig r;
    {
        auto outer = lock_mouse(r.rig.lib, r.path, nullptr, 0);
        ASSERT_TRUE(outer.held()) << outer.error();
        auto inner = lock_mouse(r.rig.lib, r.path, nullptr, 0);
        EXPECT_TRUE(inner.held());  // a job inside a job of the same thread
        r.rig.timing->clear();
        // Another holder waits 1 s of (virtual) time in 100 ms steps, says so once, gives up.
        EXPECT_EQ(r.try_elsewhere(1000), (std::pair{MouseLock::Outcome::kTimedOut, 1}));
        EXPECT_EQ(r.rig.timing->sleeps(), std::vector<int>(10, 100));
        inner.release();
        EXPECT_EQ(r.try_elsewhere(0).first, MouseLock::Outcome::kTimedOut);  // outer still has it
    }
    EXPECT_EQ(r.try_elsewhere(0), (std::pair{MouseLock::Outcome::kHeld, 0}));
    // One lock file, in the user's runtime folder.
    int files = 0;
    for (const auto& e : fs::directory_iterator(r.run / "zentrik"))
        files += e.path().filename().string().rfind("mouse-", 0) == 0 ? 1 : 0;
    EXPECT_EQ(files, 1);
}

TEST(MouseLock, TheFolderMustBeTheUsersAlone) {
    LockRig r;
    fs::create_directories(r.run / "zentrik");
    fs::permissions(r.run / "zentrik", fs::perms::owner_all | fs::perms::group_read |
                                           fs::perms::group_exec | fs::perms::others_read |
                                           fs::perms::others_exec);
    const auto open_to_all = lock_mouse(r.rig.lib, r.path, nullptr, 0);
    EXPECT_EQ(open_to_all.outcome(), MouseLock::Outcome::kFailed);
    EXPECT_NE(open_to_all.error().find("not a private folder"), std::string::npos);

    // Without XDG_RUNTIME_DIR: a folder of the user's own in the temporary folder.
    ScopedEnv no_runtime("XDG_RUNTIME_DIR", nullptr);
    ScopedEnv tmp("TMPDIR", r.dir.c_str());
    const auto fallback = lock_mouse(r.rig.lib, r.path, nullptr, 0);
    ASSERT_TRUE(fallback.held()) << fallback.error();
    const fs::path own = r.dir / ("zentrik-" + std::to_string(::getuid()));
    EXPECT_EQ(fs::status(own).permissions() & fs::perms::all, fs::perms::owner_all);
}

}  // namespace
}  // namespace zentrik::device::testing
