// zentrikctl backup, restore, reset and backups against simulated mice kept in a temporary
// state directory; each run_cli call stands for a new process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_command.h"
#include "cli/commands/device_session.h"
#include "cli/exit_codes.h"
#include "macro/macro_file.h"
#include "platform/terminal.h"
#include "tests/device/device_test_support.h"

namespace zentrik::cli {
namespace {

using ::testing::HasSubstr;

class BackupCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("zentrik-backup-cli-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "state");
        if (const char* old = std::getenv("XDG_STATE_HOME"))
            saved_state_home_ = old;
        setenv("XDG_STATE_HOME", (root_ / "state").c_str(), 1);
        use_device_timing(std::make_shared<device::testing::FakeTiming>());
    }
    void TearDown() override {
        use_device_timing(nullptr);
        if (saved_state_home_)
            setenv("XDG_STATE_HOME", saved_state_home_->c_str(), 1);
        else
            unsetenv("XDG_STATE_HOME");
        std::filesystem::remove_all(root_);
    }

    int run(std::vector<std::string> args, const std::string& memory = "8") {
        args.insert(args.begin(),
                    "--simulate=memory=" + memory + ",state=" + (root_ / "mice").string());
        out_.str("");
        err_.str("");
        return run_cli(args, out_, err_);
    }
    std::filesystem::path file(const std::string& name) const { return root_ / name; }

    std::filesystem::path root_;
    std::optional<std::string> saved_state_home_;
    std::ostringstream out_, err_;
};

// A safety-copy folder that cannot be made is a file failure, named, and nothing is written.
TEST_F(BackupCommands, RestoreAndResetStopWhenNoSafetyCopyCanBeSaved) {
    ASSERT_EQ(run({"name", "2", "Work"}), kExitOk) << err_.str();
    ASSERT_EQ(run({"backup", file("mouse.mbf").string()}), kExitOk) << err_.str();
    std::ofstream(root_ / "state" / "zentrik") << "in the way";
    const std::string folder = (root_ / "state" / "zentrik" / "backups").string();
    EXPECT_EQ(run({"reset", "--yes"}), kExitBadFile);
    EXPECT_THAT(err_.str(), HasSubstr(folder));
    EXPECT_EQ(run({"restore", file("mouse.mbf").string()}), kExitBadFile);
    EXPECT_THAT(err_.str(), HasSubstr(folder));
    ASSERT_EQ(run({"names"}), kExitOk);
    EXPECT_THAT(out_.str(), HasSubstr("Work"));
}

TEST_F(BackupCommands, BackupResetRestoreBringsEverythingBack) {
    ASSERT_EQ(run({"name", "2", "Work"}), kExitOk) << err_.str();
    ASSERT_EQ(run({"backup", file("mouse.mbf").string()}), kExitOk) << err_.str();
    EXPECT_THAT(out_.str(), HasSubstr("saved 8192 bytes"));

    ASSERT_EQ(run({"reset", "--yes"}), kExitOk) << err_.str();
    EXPECT_THAT(out_.str(), HasSubstr("safety copy: " + (root_ / "state").string()));
    ASSERT_EQ(run({"names"}), kExitOk);
    EXPECT_THAT(out_.str(), ::testing::Not(HasSubstr("Work")));

    ASSERT_EQ(run({"restore", "--verify", file("mouse.mbf").string()}), kExitOk) << err_.str();
    EXPECT_THAT(out_.str(), HasSubstr("verify: 0 bytes differ"));
    ASSERT_EQ(run({"names"}), kExitOk);
    EXPECT_THAT(out_.str(), HasSubstr("Work"));

    // One safety copy before the reset, one before the restore.
    ASSERT_EQ(run({"backups", "--json"}), kExitOk);
    const auto list = nlohmann::json::parse(out_.str());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]["memory_size"], 8192);
    EXPECT_THAT(list[0]["file"].get<std::string>(),
                HasSubstr((root_ / "state" / "zentrik" / "backups").string()));
    ASSERT_EQ(run({"backups"}), kExitOk);
    EXPECT_THAT(out_.str(), HasSubstr("8192 bytes"));
}

TEST_F(BackupCommands, RestoreRefusesOtherFilesAndOtherMemorySizes) {
    ASSERT_TRUE(macro::write_macro_file(file("m.mf"), std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(run({"restore", file("m.mf").string()}), kExitBadFile);
    EXPECT_THAT(err_.str(), HasSubstr("invalid format !!"));
    EXPECT_EQ(run({"restore", file("missing.mbf").string()}), kExitBadFile);

    ASSERT_EQ(run({"backup", file("small.mbf").string()}), kExitOk);
    EXPECT_EQ(run({"restore", file("small.mbf").string()}, "16"), kExitBadFile);
    EXPECT_THAT(err_.str(), HasSubstr("memory size doesn't match !!"));
    EXPECT_FALSE(std::filesystem::exists(root_ / "state" / "zentrik" / "backups"));
}

TEST_F(BackupCommands, FailuresGiveTheirExitStatus) {
    EXPECT_EQ(run({"backup", file("no/such/dir.mbf").string()}), kExitBadFile);
    EXPECT_THAT(err_.str(), HasSubstr("error"));
    EXPECT_EQ(run({"backup"}), kExitUsage);
    EXPECT_EQ(run({"restore", "--force", "x.mbf"}), kExitUsage);
    if (!platform::stdin_is_terminal()) {
        EXPECT_EQ(run({"reset"}), kExitUsage);
        EXPECT_THAT(err_.str(), HasSubstr("--yes"));
    }
    ASSERT_EQ(run({"backups"}), kExitOk);
    EXPECT_THAT(out_.str(), HasSubstr("no safety copies"));
}

TEST_F(BackupCommands, AMousePulledOutMidJobFailsAndLeavesNoPartialFile) {
    ASSERT_EQ(run({"backup", file("good.mbf").string()}), kExitOk);
    const auto good_size = std::filesystem::file_size(file("good.mbf"));
    // Identify takes a few exchanges; the mouse goes during the memory reads.
    EXPECT_EQ(run({"backup", file("good.mbf").string()}, "8,fault=unplug-after:300"), kExitDevice);
    EXPECT_THAT(err_.str(), HasSubstr("error"));
    EXPECT_EQ(std::filesystem::file_size(file("good.mbf")), good_size);
    ASSERT_EQ(run({"plug", "0"}), kExitOk) << err_.str();  // the simulated mouse stays out

    // The restore's safety copy takes about 1180 exchanges; the mouse goes during the writes.
    EXPECT_EQ(run({"restore", file("good.mbf").string()}, "8,fault=unplug-after:2000"),
              kExitDevice);
    EXPECT_THAT(err_.str(), HasSubstr("partly written"));
    EXPECT_THAT(out_.str(), HasSubstr("safety copy: "));
    ASSERT_EQ(run({"plug", "0"}), kExitOk) << err_.str();
    ASSERT_EQ(run({"backups", "--json"}), kExitOk);
    EXPECT_EQ(nlohmann::json::parse(out_.str()).size(), 1u);
}

}  // namespace
}  // namespace zentrik::cli
