#include "app/startup/start_routine.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "lang/ini_file.h"
#include "lang/language_files.h"
#include "tests/support/scratch_mount.h"

namespace zentrik::app {
namespace {

namespace fs = std::filesystem;
using platform::InstanceChannel;
using platform::InstanceListener;
using platform::InstanceMessage;

class StartRoutine : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("zentrik-start-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "program");
    }
    void TearDown() override {
        fs::permissions(root_ / "program", fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(root_);
    }
    StartEnvironment env() const {
        return {root_ / "program", root_ / "config",
                InstanceChannel("zentrik-test-" + std::to_string(::getpid()) + "-" +
                                ::testing::UnitTest::GetInstance()->current_test_info()->name())};
    }
    fs::path root_;
};

TEST_F(StartRoutine, LangidIsWrittenBesideTheProgram) {
    int windows = 0;
    StartOptions o;
    o.langid = "1041";
    const int rc = run_start_routine(o, env(), [&](const StartOptions&, auto) {
        ++windows;
        return 0;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(windows, 1);
    EXPECT_EQ(lang::IniFile::load(root_ / "program" / "set.ini").get_int("LANG", "id", 0), 1041);
}

TEST_F(StartRoutine, ReadOnlyProgramDirectoryFallsBackToUserConfig) {
    if (::geteuid() == 0) {
        // root writes anywhere; make the target unwritable by making it a directory instead.
        fs::create_directories(root_ / "program" / "set.ini");
    } else {
        fs::permissions(root_ / "program", fs::perms::owner_read | fs::perms::owner_exec);
    }
    const auto written = store_language_choice(env(), "1042");
    EXPECT_EQ(written, root_ / "config" / "set.ini");
    EXPECT_EQ(lang::IniFile::load(written).get_int("LANG", "id", 0), 1042);
    const auto order = lang::set_ini_search_order(root_ / "program", root_ / "config");
    EXPECT_EQ(order.front(), written);  // the language loader looks there first
}

TEST_F(StartRoutine, SecondStartRestoresTheFirstAndCloseEndsIt) {
    const auto e = env();
    auto first = e.channel.listen_as_first().listener;
    ASSERT_TRUE(first);
    std::atomic<int> restores = 0, closes = 0;
    std::thread server([&] {
        for (int n = 0; n < 2; ++n) {
            for (;;) {
                if (auto m = first->receive()) {
                    (*m == InstanceMessage::kClose ? closes : restores)++;
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
    });
    int windows = 0;
    auto no_window = [&](const StartOptions&, auto) { return ++windows, 0; };
    EXPECT_EQ(run_start_routine({}, e, no_window), 0);
    StartOptions close;
    close.close = true;
    EXPECT_EQ(run_start_routine(close, e, no_window), 0);
    server.join();
    EXPECT_EQ(windows, 0);
    EXPECT_EQ(restores, 1);
    EXPECT_EQ(closes, 1);
}

// "--langid=N /close" with set.ini on a full, then a read-only file system: the file keeps what
// it held (a full disk once left it empty) and the failure is said, with exit status 1.
TEST_F(StartRoutine, LangidThatCannotBeSavedKeepsSetIniAndFails) {
    zentrik::testing::ScratchMount disk(root_ / "disk", 64 * 1024);
    if (!disk.active())
        GTEST_SKIP() << disk.reason();
    StartEnvironment e = env();
    e.module_directory = disk.path() / "program";
    e.config_directory = disk.path() / "config";
    fs::create_directories(e.module_directory);
    const std::string before = "[LANG]\nid=1041\n; the user's own notes\n";
    std::ofstream(e.module_directory / "set.ini") << before;
    {
        std::ofstream filler(disk.path() / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }
    StartOptions o;
    o.langid = "1042";
    o.close = true;
    for (const char* state : {"full", "read-only"}) {
        if (std::string(state) == "read-only") {
            ASSERT_TRUE(disk.make_read_only());
        }
        ::testing::internal::CaptureStderr();
        const int rc = run_start_routine(o, e, [](const StartOptions&, auto) { return 0; });
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(rc, 1) << state;
        EXPECT_NE(err.find("language choice 1042 was not saved"), std::string::npos) << err;
        std::ifstream in(e.module_directory / "set.ini");
        const std::string after{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(after, before) << state;
    }
}

// An instance that is ending (it finishes a job on the mouse first) answers "ending" and
// takes no message: "/close" returns at once, a start waits for it to go and then opens its own
// window, and a wait that runs out opens nothing and fails.
TEST_F(StartRoutine, AStartWaitsForAnEndingInstanceThenOpensItsOwnWindow) {
    StartEnvironment e = env();
    auto ending = e.channel.listen_as_first().listener;
    ASSERT_TRUE(ending);
    ending->announce_ending();
    std::atomic<bool> serving = true;
    std::atomic<int> passed_on = 0;
    std::thread server([&] {
        while (serving) {
            if (ending->receive())
                ++passed_on;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    int windows = 0;
    bool had_listener = false;
    auto count_window = [&](const StartOptions&, auto listener) {
        had_listener = listener != nullptr;
        return ++windows, 0;
    };
    StartOptions close;
    close.close = true;
    EXPECT_EQ(run_start_routine(close, e, count_window), 0);

    int pauses = 0;
    e.ending_wait_ms = 1000;
    e.pause = [&](int) { ++pauses; };
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(run_start_routine({}, e, count_window), 1);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(windows, 0);
    EXPECT_EQ(pauses, 5);
    EXPECT_NE(said.find("has not ended after 1 s"), std::string::npos) << said;

    pauses = 0;
    e.ending_wait_ms = StartEnvironment::kEndingWaitMs;
    e.pause = [&](int) {
        if (++pauses == 3) {  // the instance ends while the start waits
            serving = false;
            server.join();
            ending.reset();
        }
    };
    EXPECT_EQ(run_start_routine({}, e, count_window), 0);
    EXPECT_EQ(pauses, 3);
    EXPECT_EQ(windows, 1);
    EXPECT_TRUE(had_listener);
    EXPECT_EQ(passed_on, 0);
    if (server.joinable()) {
        serving = false;
        server.join();
    }
}

TEST_F(StartRoutine, CloseWithNoInstanceOpensNothing) {
    int windows = 0;
    StartOptions close;
    close.close = true;
    EXPECT_EQ(
        run_start_routine(close, env(), [&](const StartOptions&, auto) { return ++windows, 0; }),
        0);
    EXPECT_EQ(windows, 0);
}

TEST_F(StartRoutine, ChannelOfAnEndedInstanceIsFreeAgain) {
    const auto e = env();
    {
        auto gone = e.channel.listen_as_first().listener;
        ASSERT_TRUE(gone);
    }
    EXPECT_FALSE(e.channel.send_to_running(InstanceMessage::kRestore));
    EXPECT_TRUE(e.channel.listen_as_first().listener);
}

TEST_F(StartRoutine, WithoutAChannelTheWindowStillOpensAndSaysWhy) {
    const auto e = env();
    // Something that is no socket and cannot be replaced holds the channel's place.
    fs::create_directories(e.channel.socket_path() / "in-the-way");
    int windows = 0;
    bool had_listener = true;
    ::testing::internal::CaptureStderr();
    const int rc = run_start_routine({}, e, [&](const StartOptions&, auto listener) {
        had_listener = listener != nullptr;
        return ++windows, 0;
    });
    const std::string said = ::testing::internal::GetCapturedStderr();
    fs::remove_all(e.channel.socket_path());
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(windows, 1);
    EXPECT_FALSE(had_listener);
    EXPECT_NE(said.find("single-instance channel"), std::string::npos) << said;
    EXPECT_NE(said.find(e.channel.socket_path().string()), std::string::npos) << said;
}

}  // namespace
}  // namespace zentrik::app
