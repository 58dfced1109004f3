#include "macro/macro_library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "lang/text_codec.h"
#include "macro/macro_file.h"

namespace zentrik::macro {
namespace {

namespace fs = std::filesystem;

class MacroLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               (std::string("zentrik-lib-") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "macros");
        ASSERT_TRUE(write_macro_file(dir_ / "macros" / "reload.mf", MacroCode{0x04, 0x83, 0x15}));
    }
    void TearDown() override { fs::remove_all(dir_); }
    static std::string utf16(std::string_view text) { return lang::utf8_to_utf16le(text); }
    fs::path dir_;
};

TEST_F(MacroLibraryTest, HeadersAndEntriesWithFullPathsAndSizes) {
    const auto lib = parse_library(utf16("cat=Games\r\nstr=Reload\r\nfile=macros\\reload.mf\r\n"
                                         "str=Gone\r\nfile= missing.mf\r\n"),
                                   dir_);
    ASSERT_EQ(lib.rows.size(), 3u);
    EXPECT_TRUE(lib.rows[0].header);
    EXPECT_EQ(lib.rows[0].text, "_@Games");
    EXPECT_EQ(lib.rows[1].text, "Reload");
    EXPECT_EQ(lib.rows[1].path, dir_ / "macros/reload.mf");
    EXPECT_EQ(lib.rows[1].size, 4u);
    EXPECT_TRUE(library_entry_writable(lib.rows[1]));
    EXPECT_EQ(lib.rows[2].path, dir_ / "missing.mf");
    EXPECT_EQ(lib.rows[2].size, 0u);
    EXPECT_FALSE(library_entry_writable(lib.rows[2]));
    ASSERT_EQ(lib.paths.size(), 2u);
    EXPECT_EQ(*lib.library_path(lib.rows[2].path_index), dir_ / "missing.mf");
    EXPECT_EQ(lib.library_path(2), nullptr);
}

TEST_F(MacroLibraryTest, KeyRulesAndLinePairing) {
    // A dropped title, upper-case keys, blank lines between a title and its file, keys with
    // blanks, and short keys.
    const auto lib = parse_library(utf16("str=A\nstr=B\r\n\r\n\rFILE=b.mf\nab=c\ncat =x\n"
                                         "CAT=Tools\nstr=C\ncat=D\nfile=c.mf\nstr=E"),
                                   dir_);
    std::vector<std::string> texts;
    for (const auto& row : lib.rows)
        texts.push_back(row.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"B", "_@Tools", "_@D"}));
    EXPECT_EQ(lib.paths.size(), 1u);
}

TEST_F(MacroLibraryTest, ReadsUtf16WithBomAndUtf8Catalogues) {
    const std::string text = "cat=Jeux vidéo\nstr=Recharger\nfile=macros/reload.mf\n";
    for (const std::string& bytes : {"\xFF\xFE" + utf16(text), text, "\xEF\xBB\xBF" + text}) {
        const auto lib = parse_library(bytes, dir_);
        ASSERT_EQ(lib.rows.size(), 2u);
        EXPECT_EQ(lib.rows[0].text, "_@Jeux vidéo");
        EXPECT_EQ(lib.rows[1].size, 4u);
    }
    // Text after a NUL character is not read; invalid UTF-8 does not lose later lines.
    EXPECT_EQ(
        parse_library(utf16("cat=A\n") + std::string(2, '\0') + utf16("cat=B\n"), dir_).rows.size(),
        1u);
    EXPECT_EQ(parse_library("cat=\xFF\xFE\ncat=B\n", dir_).rows.size(), 2u);
}

TEST_F(MacroLibraryTest, LoadsTheCatalogueBesideTheProgram) {
    EXPECT_TRUE(load_library(dir_).rows.empty());
    std::ofstream(dir_ / kLibraryFileName, std::ios::binary)
        << "\xFF\xFE" + utf16("str=Reload\nfile=\\macros\\reload.mf\n");
    const auto lib = load_library(dir_);
    ASSERT_EQ(lib.rows.size(), 1u);
    EXPECT_EQ(lib.rows[0].path, dir_ / "macros/reload.mf");
    EXPECT_EQ(lib.rows[0].size, 4u);
}

TEST_F(MacroLibraryTest, EntriesMayNameFilesOutsideTheProgramsFolder) {
    // The catalogue is the user's own: ".." is followed, not cut away.
    const auto lib = parse_library("str=Shared\nfile=..\\shared\\x.mf\n", dir_);
    ASSERT_EQ(lib.rows.size(), 1u);
    EXPECT_EQ(lib.rows[0].path, dir_ / "../shared/x.mf");
}

TEST_F(MacroLibraryTest, EntriesWhoseCodeCannotGoIntoASlotShowSizeZero) {
    const auto put = [&](const char* name, std::string code) {
        std::string bytes = "\x07_@_MF5_";
        const auto n = static_cast<std::uint32_t>(code.size());
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
        std::ofstream(dir_ / name, std::ios::binary) << bytes + code;
    };
    put("half.mf", std::string("\x04\x83", 2));  // N ends inside the key-down
    put("seven.mf", "\x07");
    put("good.mf", std::string("\x04\x83\x04", 3));
    const auto lib =
        parse_library("str=H\nfile=half.mf\nstr=S\nfile=seven.mf\nstr=G\nfile=good.mf\n", dir_);
    ASSERT_EQ(lib.rows.size(), 3u);
    EXPECT_EQ(lib.rows[0].size, 0u);
    EXPECT_EQ(lib.rows[1].size, 0u);
    EXPECT_EQ(lib.rows[2].size, 4u);
    EXPECT_FALSE(library_entry_writable(lib.rows[0]));
    EXPECT_TRUE(library_entry_writable(lib.rows[2]));
}

}  // namespace
}  // namespace zentrik::macro
