// zentrikctl macros, run in-process against a simulated mouse kept in a temporary state
// directory; each run_cli call stands for a new process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/cli_command.h"
#include "cli/commands/device_session.h"
#include "cli/commands/macros.h"
#include "cli/exit_codes.h"
#include "lang/string_tables.h"
#include "macro/macro_file.h"
#include "tests/device/device_test_support.h"

namespace zentrik::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class MacrosCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("zentrik-macros-cli-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        use_device_timing(std::make_shared<device::testing::FakeTiming>());
        use_mouse_safety_copy([this](device::zklib&, const std::string&, int) {
            ++copies_;
            return std::optional<fs::path>(dir_ / "copy.bin");
        });
    }
    void TearDown() override {
        use_device_timing(nullptr);
        use_mouse_safety_copy({});
        fs::remove_all(dir_);
    }
    int run(std::vector<std::string> args, const char* command = "macros") {
        args.insert(args.begin(),
                    {"--simulate=memory=8,state=" + (dir_ / "state").string(), command});
        out_.str("");
        err_.str("");
        return run_cli(args, out_, err_);
    }
    fs::path file(const char* name, std::vector<std::uint8_t> code) {
        EXPECT_TRUE(macro::write_macro_file(dir_ / name, code));
        return dir_ / name;
    }
    nlohmann::json listing() {
        EXPECT_EQ(run({"--json"}), kExitOk) << err_.str();
        return nlohmann::json::parse(out_.str());
    }

    fs::path dir_;
    std::ostringstream out_, err_;
    int copies_ = 0;
};

TEST_F(MacrosCommand, WriteListReadRenameRemove) {
    const auto a = file("a.mf", {0x04, 0x83, 0x04, 0x84, 0x04});
    ASSERT_EQ(run({"write", "3", a.string()}), kExitOk) << err_.str();
    ASSERT_EQ(run({"write", "5", a.string(), "--name", "Reload"}), kExitOk) << err_.str();
    auto j = listing();
    ASSERT_EQ(j["macros"].size(), 2u);
    EXPECT_EQ(j["macros"][0]["slot"], 3);
    EXPECT_EQ(j["macros"][0]["name"], "Unknown 01");
    EXPECT_EQ(j["macros"][0]["code"], "04 83 04 84 04");
    EXPECT_EQ(j["macros"][0]["start"], 0x800);
    EXPECT_EQ(j["macros"][0]["size"], 6);
    EXPECT_EQ(j["macros"][1]["name"], "Reload");
    EXPECT_EQ(j["free_bytes"].get<int>(), j["total_bytes"].get<int>() - 12);

    ASSERT_EQ(run({"read", "5", (dir_ / "back.mf").string()}), kExitOk);
    EXPECT_EQ(macro::read_macro_file(dir_ / "back.mf").code, macro::read_macro_file(a).code);
    ASSERT_EQ(run({"rename", "3", "Jump"}), kExitOk);
    ASSERT_EQ(run({}), kExitOk);
    EXPECT_THAT(out_.str(), HasSubstr(" 3  Jump            0800-0805      6  -\n"));
    ASSERT_EQ(run({"remove", "3"}), kExitOk);
    EXPECT_EQ(listing()["macros"].size(), 1u);
}

TEST_F(MacrosCommand, ButtonsAssignedBySlotAreListedAndFollowDefrag) {
    const auto a = file("a.mf", {0x04, 0x88, 0x05});
    ASSERT_EQ(run({"write", "2", a.string()}), kExitOk);
    ASSERT_EQ(run({"write", "7", a.string(), "--name", "Burst"}), kExitOk);
    ASSERT_EQ(run({"1", "3", "macro:7"}, "button"), kExitOk) << err_.str();
    auto j = listing();
    EXPECT_EQ(j["macros"][1]["profiles"], nlohmann::json::array({1}));
    EXPECT_EQ(j["macros"][1]["buttons"][0]["button"], 3);
    ASSERT_EQ(run({"remove", "2"}), kExitOk);
    ASSERT_EQ(run({"defrag"}), kExitOk);
    j = listing();
    ASSERT_EQ(j["macros"].size(), 1u);
    EXPECT_EQ(j["macros"][0]["slot"], 0);
    EXPECT_EQ(j["macros"][0]["start"], 0x800);
    EXPECT_EQ(j["macros"][0]["profiles"], nlohmann::json::array({1}));
    ASSERT_EQ(run({"--json"}, "settings"), kExitOk);
    EXPECT_THAT(out_.str(), HasSubstr("Burst"));
}

// Removing names the buttons that used the macro, as the window's question does, and gives
// exactly those their default function back; another macro's button keeps it.
TEST_F(MacrosCommand, RemoveNamesAndResetsTheButtonsThatUsedTheMacro) {
    const auto a = file("a.mf", {0x04, 0x88, 0x05});
    ASSERT_EQ(run({"write", "2", a.string()}), kExitOk);
    ASSERT_EQ(run({"write", "7", a.string(), "--name", "Burst"}), kExitOk);
    ASSERT_EQ(run({"1", "Games"}, "name"), kExitOk) << err_.str();
    ASSERT_EQ(run({"1", "3", "macro:7"}, "button"), kExitOk) << err_.str();
    ASSERT_EQ(run({"4", "4", "macro:7"}, "button"), kExitOk) << err_.str();
    ASSERT_EQ(run({"4", "5", "macro:2"}, "button"), kExitOk) << err_.str();

    ASSERT_EQ(run({"remove", "7"}), kExitOk) << err_.str();
    const auto& names = lang::default_string_tables();
    EXPECT_THAT(err_.str(), HasSubstr("default function again: Games: " + names.button_name(3) +
                                      ", profile 5: " + names.button_name(4) + "\n"));
    ASSERT_EQ(run({"--json"}, "settings"), kExitOk);
    const auto profiles = nlohmann::json::parse(out_.str())["profiles"];
    EXPECT_EQ(profiles[1]["buttons"][3]["remapped"], false);
    EXPECT_EQ(profiles[4]["buttons"][4]["remapped"], false);
    EXPECT_EQ(profiles[4]["buttons"][5]["remapped"], true);

    ASSERT_EQ(run({"remove", "2"}), kExitOk);
    EXPECT_THAT(err_.str(), HasSubstr("profile 5: " + names.button_name(5) + "\n"));
}

TEST_F(MacrosCommand, OverwriteAsksAndInvalidFilesAreRefused) {
    const auto a = file("a.mf", {0x04, 0x88, 0x05});
    ASSERT_EQ(run({"write", "0", a.string()}), kExitOk);
    // Answered no on stdin: nothing written.
    std::istringstream no("n\n");
    auto* old = std::cin.rdbuf(no.rdbuf());
    EXPECT_EQ(run({"write", "0", file("b.mf", {0x05}).string()}), kExitDeclined);
    std::cin.rdbuf(old);
    EXPECT_EQ(listing()["macros"][0]["code"], "04 88 05");
    EXPECT_EQ(run({"write", "0", (dir_ / "b.mf").string(), "--yes"}), kExitOk);
    EXPECT_EQ(listing()["macros"][0]["code"], "05");

    std::ofstream(dir_ / "half.mf", std::ios::binary)
        << std::string("\x07_@_MF5_\x02\0\0\0\x04\x83", 14);
    EXPECT_EQ(run({"write", "1", (dir_ / "half.mf").string()}), kExitBadFile);
    EXPECT_THAT(err_.str(), HasSubstr("invalid format !!"));
    EXPECT_EQ(run({"write", "1", (dir_ / "none.mf").string()}), kExitBadFile);
    EXPECT_EQ(run({"write", "64", a.string()}), kExitUsage);
    EXPECT_EQ(run({"read", "9", (dir_ / "x.mf").string()}), kExitFailure);  // empty slot
}

TEST_F(MacrosCommand, DamagedRecordsAreMarkedNeverReadAndCanBeRemoved) {
    ASSERT_EQ(run({"write", "0", file("a.mf", {0x04, 0x88, 0x05}).string()}), kExitOk);
    // A modeless file gets the default run mode, and says so.
    ASSERT_EQ(run({"write", "1", file("m.mf", {0x83, 0x04, 0x84, 0x04}).string()}), kExitOk);
    EXPECT_THAT(err_.str(), HasSubstr("no run-mode byte"));
    // Slot 2's record as a damaged backup leaves it: 00 08 FE FF.
    {
        std::fstream mem(dir_ / "state" / "mouse0-8k.mem",
                         std::ios::in | std::ios::out | std::ios::binary);
        mem.seekp(2 * 32);
        mem.write("\x00\x08\xFE\xFF", 4);
    }
    auto j = listing();
    ASSERT_EQ(j["macros"].size(), 3u);
    EXPECT_EQ(j["macros"][1]["code"], "04 83 04 84 04");
    EXPECT_EQ(j["macros"][1]["damaged"], false);
    EXPECT_EQ(j["macros"][2]["damaged"], true);
    EXPECT_TRUE(j["macros"][2]["code"].is_null());
    EXPECT_EQ(j["free_bytes"].get<int>(), j["total_bytes"].get<int>() - 4 - 6);
    ASSERT_EQ(run({}), kExitOk);
    EXPECT_THAT(out_.str(), HasSubstr("0800-fffe      0  -  DAMAGED"));

    EXPECT_EQ(run({"read", "2", (dir_ / "x.mf").string()}), kExitFailure);
    EXPECT_EQ(run({"defrag"}), kExitFailure);
    EXPECT_THAT(err_.str(), HasSubstr("slot 2 is damaged"));
    EXPECT_EQ(copies_, 0);
    EXPECT_EQ(run({"rename", "1", "a\tb"}), kExitUsage);
    EXPECT_EQ(run({"rename", "1", "_@_@Evil"}), kExitUsage);
    ASSERT_EQ(run({"rename", "1", "\u00FFes"}), kExitOk);
    EXPECT_EQ(listing()["macros"][1]["name"], "\u00FFes");

    ASSERT_EQ(run({"remove", "2"}), kExitOk);
    ASSERT_EQ(run({"defrag"}), kExitOk) << err_.str();
    EXPECT_EQ(listing()["macros"].size(), 2u);
}

TEST_F(MacrosCommand, DefragMovesMacrosAndSavesACopyFirst) {
    const auto a = file("a.mf", {0x04, 0x88, 0x05});
    ASSERT_EQ(run({"write", "4", a.string()}), kExitOk);
    ASSERT_EQ(run({"write", "9", a.string()}), kExitOk);
    ASSERT_EQ(run({"remove", "4"}), kExitOk);
    ASSERT_EQ(run({"defrag"}), kExitOk) << err_.str();
    EXPECT_EQ(copies_, 1);
    EXPECT_THAT(err_.str(), HasSubstr("copy.bin"));
    const auto j = listing();
    ASSERT_EQ(j["macros"].size(), 1u);
    EXPECT_EQ(j["macros"][0]["slot"], 0);
    EXPECT_EQ(j["macros"][0]["start"], 0x800);
}

}  // namespace
}  // namespace zentrik::cli
