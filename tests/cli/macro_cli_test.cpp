#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_command.h"
#include "macro/key_names.h"
#include "macro/macro_file.h"

namespace zentrik::cli {
namespace {

namespace fs = std::filesystem;

struct Run {
    int status;
    std::string out;
    std::string err;
};

Run zentrikctl(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = run_cli(args, out, err);
    return {status, out.str(), err.str()};
}

class MacroCli : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               (std::string("zentrik-cli-") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        macro::set_key_name_service(
            platform::make_layout_key_name_service({"evdev", "pc105", "us", "", ""}));
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const char* name) const { return (dir_ / name).string(); }
    fs::path dir_;
};

TEST_F(MacroCli, BuildThenShowListsEveryStep) {
    const auto built =
        zentrikctl({"macro", "build", path("m.mf"), "05", "83", "04", "88", "32", "84", "04"});
    ASSERT_EQ(built.status, 0) << built.err;
    const auto shown = zentrikctl({"macro", "show", path("m.mf")});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out,
              "     0  05              Loop mode\n"
              "     1  83 04           Press & hold Keyboard  A\n"
              "     3  88 32           Wait 50 ms\n"
              "     5  84 04           Release Keyboard  A\n");
}

TEST_F(MacroCli, BuildSaysWhenMacrosWriteWouldRefuseOrAddTheMode) {
    const auto bare = zentrikctl({"macro", "build", path("b.mf"), "83", "04", "84", "04"});
    ASSERT_EQ(bare.status, 0) << bare.err;
    EXPECT_NE(bare.err.find("no run-mode byte"), std::string::npos) << bare.err;
    const auto ended = zentrikctl({"macro", "build", path("e.mf"), "04", "00", "83", "04"});
    ASSERT_EQ(ended.status, 0) << ended.err;
    EXPECT_NE(ended.err.find("will refuse"), std::string::npos) << ended.err;
}

TEST_F(MacroCli, ShowMarksTheAddedModeStepAndReportsShortFiles) {
    ASSERT_EQ(zentrikctl({"macro", "build", path("n.mf"), "0x8304", "8404"}).status, 0);
    const auto shown = zentrikctl({"macro", "show", path("n.mf")});
    EXPECT_EQ(shown.out.substr(0, shown.out.find('\n')),
              "     -  (added)         Execute one time");

    std::ofstream(path("short.mf"), std::ios::binary)
        << std::string("\x07_@_MF5_\x09\x00\x00\x00\x04\x89\xE8", 15);
    const auto short_file = zentrikctl({"macro", "show", path("short.mf")});
    EXPECT_EQ(short_file.status, 0);
    EXPECT_EQ(short_file.out, "     0  04              Execute one time\n");
    EXPECT_NE(short_file.err.find("states 9 code bytes but holds 3; 1 byte(s)"), std::string::npos);
}

TEST_F(MacroCli, BadArgumentsAndFilesGiveMessagesAndNonZeroStatus) {
    EXPECT_EQ(zentrikctl({"macro"}).status, kUsageError);
    EXPECT_EQ(zentrikctl({"macro", "build", path("x.mf")}).status, kUsageError);
    EXPECT_EQ(zentrikctl({"macro", "build", path("x.mf"), "0g"}).status, kUsageError);
    EXPECT_EQ(zentrikctl({"macro", "build", path("x.mf"), "123"}).status, kUsageError);
    EXPECT_FALSE(fs::exists(dir_ / "x.mf"));
    EXPECT_EQ(zentrikctl({"macro", "build", path("no/dir.mf"), "04"}).status, kExitBadFile);
    EXPECT_EQ(zentrikctl({"macro", "show", path("missing.mf")}).status, kExitBadFile);
    std::ofstream(path("bad.mf"), std::ios::binary) << "\x07_@_MF4_";
    const auto bad = zentrikctl({"macro", "show", path("bad.mf")});
    EXPECT_EQ(bad.status, kExitBadFile);
    EXPECT_NE(bad.err.find("invalid format"), std::string::npos);
    EXPECT_EQ(zentrikctl({"macro", "--help"}).status, 0);
}

TEST_F(MacroCli, KeyNamesAndConsumerKeys) {
    EXPECT_EQ(zentrikctl({"keyname", "--layout", "us", "4"}).out, "A\n");
    EXPECT_EQ(zentrikctl({"keyname", "--layout", "de", "28"}).out, "Z\n");
    EXPECT_EQ(zentrikctl({"keyname", "--layout", "us", "0x53"}).out, "Num Lock\n");
    EXPECT_EQ(zentrikctl({"keyname", "--layout", "us", "--scan", "0xE01C"}).out,
              "Num Enter (usage 88)\n");
    EXPECT_EQ(zentrikctl({"keyname", "consumer", "0xE9"}).out, "Volume +\n");
    EXPECT_EQ(zentrikctl({"keyname", "256"}).status, kUsageError);
    EXPECT_EQ(zentrikctl({"keyname"}).status, kUsageError);
    EXPECT_EQ(zentrikctl({"keyname", "4", "--scan", "30"}).status, kUsageError);
}

TEST_F(MacroCli, LibraryListsHeadersEntriesPathsAndSizes) {
    fs::create_directories(dir_ / "macros");
    ASSERT_TRUE(macro::write_macro_file(dir_ / "macros" / "reload.mf", macro::MacroCode{4, 0x20}));
    std::ofstream(dir_ / "macro library.ini", std::ios::binary)
        << "cat=Games\nstr=Reload\nfile=macros\\reload.mf\nstr=Gone\nfile=gone.mf\n";
    const auto run = zentrikctl({"library", "--dir", dir_.string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "header\t_@Games\nentry\tReload\t" + (dir_ / "macros/reload.mf").string() +
                           "\t3\nentry\tGone\t" + (dir_ / "gone.mf").string() + "\t0\n");
    EXPECT_EQ(zentrikctl({"library", "--dir"}).status, kUsageError);
}

// Failures that once went unnoticed: each now says what happened.
TEST_F(MacroCli, LibraryAndMacroProblemsAreReported) {
    // A library with a stray NUL in UTF-8 text keeps the lines before it and says where it ends.
    std::ofstream(dir_ / "macro library.ini", std::ios::binary)
        << std::string("cat=Games\nstr=Reload\nfile=r.mf\n\0cat=Lost\n", 37);
    const auto nul = zentrikctl({"library", "--dir", dir_.string()});
    EXPECT_EQ(nul.status, kExitOk);
    EXPECT_NE(nul.out.find("header\t_@Games\nentry\tReload"), std::string::npos) << nul.out;
    EXPECT_EQ(nul.out.find("Lost"), std::string::npos);
    EXPECT_NE(nul.err.find("NUL character at byte 31"), std::string::npos) << nul.err;

    // A library that exists but cannot be read is an error, not an empty library.
    fs::remove(dir_ / "macro library.ini");
    fs::create_directories(dir_ / "macro library.ini");
    const auto unreadable = zentrikctl({"library", "--dir", dir_.string()});
    EXPECT_EQ(unreadable.status, kExitBadFile);
    EXPECT_NE(unreadable.err.find("cannot read"), std::string::npos);
    EXPECT_EQ(unreadable.out, "");

    // A macro stating more code than the cap: the note names the cap, not a false file size.
    macro::MacroCode code(0x10000 + 10, 0x20);
    code[0] = 0x04;
    std::string big = macro::macro_file_bytes(code);
    big[big.size() - code.size() - 2] = 0x02;  // the stated length becomes 0x2000A
    std::ofstream(path("big.mf"), std::ios::binary) << big;
    const auto shown = zentrikctl({"macro", "show", path("big.mf")});
    EXPECT_EQ(shown.err.find("holds 65536"), std::string::npos) << shown.err;
    EXPECT_NE(shown.err.find("more than the 65536 a macro can have"), std::string::npos)
        << shown.err;

    // An unknown keyboard layout is refused instead of quietly naming keys as US.
    const auto layout = zentrikctl({"keyname", "--layout", "nosuchlayout", "4"});
    EXPECT_EQ(layout.status, kExitUsage);
    EXPECT_EQ(layout.out, "");
    EXPECT_NE(layout.err.find("nosuchlayout"), std::string::npos);
}

}  // namespace
}  // namespace zentrik::cli
