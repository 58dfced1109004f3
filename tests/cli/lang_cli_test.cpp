#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_command.h"
#include "lang/text_codec.h"

namespace zentrik::cli {
namespace {

namespace fs = std::filesystem;

class LangCli : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               (std::string("zentrik-langcli-") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "config");
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);  // no per-user set.ini
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string lang(std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"lang", "--dir", dir_.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        std::ostringstream out, err;
        EXPECT_EQ(run_cli(args, out, err), 0) << err.str();
        return out.str();
    }
    static bool has(const std::string& out, const std::string& line) {
        return out.find("\n" + line + "\n") != std::string::npos;
    }
    fs::path dir_;
};

TEST_F(LangCli, PrintsTheEnglishDefaultsWithoutALanguageFile) {
    const auto out = lang({"--langid", "1033"});
    EXPECT_TRUE(has(out, "str = Zentrik Mouse  Rev 1.0"));
    EXPECT_TRUE(has(out, "button_str11 = _STOP_"));
    EXPECT_TRUE(has(out, "msg_str0 = Can not detect mouse !!\\nPlease check the connection."));
    EXPECT_TRUE(has(out, "macro_str13 = Press & hold mouse button "));
    EXPECT_TRUE(has(out, "caption_str10 = Macro Library"));
    EXPECT_TRUE(has(out, "caption_str11 = Damaged"));
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 132);
}

TEST_F(LangCli, PrintsTranslationsFromUtf16AndUtf8Files) {
    const std::string text =
        "[APP]\r\nstr=Zentrik "
        "マウス\r\n[1041]\r\nmsg_str6=一行目\\n二行目\r\ntab_str0=デバイス\r\n";
    std::ofstream(dir_ / "language.ini", std::ios::binary)
        << "\xFF\xFE" + lang::utf8_to_utf16le(text);
    auto out = lang({"--langid", "1041"});
    EXPECT_TRUE(has(out, "str = Zentrik マウス"));
    EXPECT_TRUE(has(out, "msg_str6 = 一行目\\r\\n二行目"));
    EXPECT_TRUE(has(out, "tab_str0 = デバイス"));

    std::ofstream(dir_ / "language.ini", std::ios::binary) << text;
    out = lang({"--langid", "1041"});
    EXPECT_TRUE(has(out, "tab_str0 = デバイス"));

    // set.ini beside the program chooses the section when no --langid is given.
    std::ofstream(dir_ / "set.ini") << "[LANG]\nid=1041\n";
    EXPECT_TRUE(has(lang(), "tab_str0 = デバイス"));
}

TEST_F(LangCli, RejectsBadOptions) {
    std::ostringstream out, err;
    EXPECT_EQ(run_cli({"lang", "--langid", "0"}, out, err), kUsageError);
    EXPECT_EQ(run_cli({"lang", "--dir"}, out, err), kUsageError);
    EXPECT_EQ(run_cli({"lang", "extra"}, out, err), kUsageError);
}

}  // namespace
}  // namespace zentrik::cli
