#include "lang/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "lang/text_codec.h"

namespace zentrik::lang {
namespace {

std::string utf16_file(std::string_view utf8) {
    return "\xFF\xFE" + utf8_to_utf16le(utf8);
}

TEST(IniFile, FindsValuesCaseInsensitivelyAndTrimmed) {
    const auto ini =
        IniFile::parse("; comment\r\n[Lang]\r\n  ID = 1041  \r\n[APP]\r\nstr=\"Quoted\"\r\n");
    EXPECT_EQ(ini.get_int("LANG", "id", 0), 1041);
    EXPECT_EQ(ini.get_string("app", "STR", "x"), "Quoted");
    EXPECT_EQ(ini.get_string("app", "missing", "fallback"), "fallback");
    EXPECT_EQ(ini.get_string("nosection", "str", "fallback"), "fallback");
    EXPECT_EQ(ini.get_int("APP", "str", 7), 0);  // present but not a number
}

TEST(IniFile, OnePairOfEnclosingQuotesGoesEvenAroundNothing) {
    const auto ini = IniFile::parse(
        "[A]\r\nempty=\"\"\r\nsingle=''\r\nlone=\"\r\nmixed=\"a'\r\ntwice=\"\"x\"\"\r\n");
    // An empty quoted value is a value: empty, not the caller's default.
    EXPECT_EQ(ini.find("A", "empty"), std::optional<std::string>(""));
    EXPECT_EQ(ini.get_string("A", "empty", "default"), "");
    EXPECT_EQ(ini.get_string("A", "single", "default"), "");
    EXPECT_EQ(ini.get_string("A", "lone", "default"), "\"");  // one quote is no pair
    EXPECT_EQ(ini.get_string("A", "mixed", "default"), "\"a'");
    EXPECT_EQ(ini.get_string("A", "twice", "default"), "\"x\"");
    EXPECT_EQ(ini.entries("A").front().second, "");  // the macro library reads the same way
}

TEST(IniFile, ReadsUtf16WithBomAndEveryLineEnding) {
    const auto ini = IniFile::parse(utf16_file("[1041]\rtab_str0=デバイス\nmsg=a\r\n"));
    EXPECT_EQ(ini.encoding(), TextEncoding::kUtf16Le);
    EXPECT_EQ(ini.get_string("1041", "tab_str0", ""), "デバイス");
    EXPECT_EQ(ini.get_string("1041", "msg", ""), "a");
}

TEST(IniFile, OddLengthUtf16AndInvalidUtf8DoNotLoseTheRest) {
    auto bytes = utf16_file("[A]\r\nk=v\r\n");
    bytes.push_back('\x41');  // odd trailing byte
    EXPECT_EQ(IniFile::parse(bytes).get_string("A", "k", ""), "v");

    const auto ini = IniFile::parse("[A]\nbad=\xFF\xFEok\ngood=yes\n");
    EXPECT_EQ(ini.get_string("A", "bad", ""), "\xC3\xBF\xC3\xBEok");  // Latin-1 reading
    EXPECT_EQ(ini.get_string("A", "good", ""), "yes");
}

TEST(IniFile, EightBitFilesAreDecodedInTheCodePageOfEachLanguageSection) {
    // Windows-1252 "€ café" in the English section; Shift-JIS "ソフト" (whose first character's
    // second byte is a backslash) and "デバイス" in the Japanese one; [APP] in the reader's page.
    const std::string bytes =
        "[APP]\r\nstr=\x83\x7D\x83\x45\x83\x58\r\n"
        "[1033]\r\nmsg=\x80 caf\xE9\r\n"
        "[1041]\r\nsoft=\x83\x5C\x83\x74\x83\x67\r\ntab=\x83\x66\x83\x6F\x83\x43\x83\x58\r\n"
        "[1049]\r\nword=\xEC\xFB\xF8\xFC\r\n";
    const auto ini = IniFile::parse(bytes, 932);
    EXPECT_EQ(ini.get_string("1033", "msg", ""), "\u20AC caf\u00E9");
    EXPECT_EQ(ini.get_string("1041", "soft", ""), "ソフト");
    EXPECT_EQ(ini.get_string("1041", "tab", ""), "デバイス");
    EXPECT_EQ(ini.get_string("1049", "word", ""), "мышь");  // Windows-1251
    EXPECT_EQ(ini.get_string("APP", "str", ""), "マウス");
    // Read for a Western language, [APP] is Windows-1252.
    EXPECT_EQ(IniFile::parse(bytes).get_string("APP", "str", ""), "\u0192}\u0192E\u0192X");
}

TEST(IniFile, ReadsUtf16OfEitherByteOrderWithOrWithoutBom) {
    const std::string text = "[1041]\r\ntab_str0=デバイス\r\nid=7\r\n";
    const std::string le = utf8_to_utf16le(text), be = utf8_to_utf16be(text);
    for (const auto& [bytes, encoding] :
         {std::pair{"\xFE\xFF" + be, TextEncoding::kUtf16Be}, std::pair{be, TextEncoding::kUtf16Be},
          std::pair{le, TextEncoding::kUtf16Le}}) {
        const auto ini = IniFile::parse(bytes);
        EXPECT_EQ(ini.encoding(), encoding);
        EXPECT_EQ(ini.get_string("1041", "tab_str0", ""), "デバイス");
        EXPECT_EQ(ini.get_int("1041", "id", 0), 7);
    }
    // A value set in a big-endian file is written back big-endian.
    auto ini = IniFile::parse(be);
    ini.set("1041", "id", "8");
    EXPECT_EQ(ini.serialize().substr(0, 2), "\xFE\xFF");
    EXPECT_EQ(IniFile::parse(ini.serialize()).get_int("1041", "id", 0), 8);
}

TEST(IniFile, AValueEndsAtANulByte) {
    using namespace std::string_literals;
    const std::string text = "[A]\r\nk = ab\0cd \r\nq=\"x\0\"\r\nnext=1\r\n"s;
    for (const std::string& bytes : {text, "\xFF\xFE"s + utf8_to_utf16le(text)}) {
        const auto ini = IniFile::parse(bytes);
        EXPECT_EQ(ini.get_string("A", "k", ""), "ab");
        EXPECT_EQ(ini.get_string("A", "q", ""), "\"x");
        EXPECT_EQ(ini.get_int("A", "next", 0), 1);
    }
}

TEST(IniFile, CutsLongValuesTo999Characters) {
    const auto ini = IniFile::parse("[A]\nk=" + std::string(5000, 'x') + "\n");
    EXPECT_EQ(ini.get_string("A", "k", "").size(), kMaxIniValueChars);
}

TEST(IniFile, SetKeepsOtherLinesAndReplacesInPlace) {
    auto ini = IniFile::parse("; keep me\n[LANG]\nid=1\n\n[OTHER]\nx=2\n");
    ini.set("lang", "ID", "9");
    ini.set("LANG", "extra", "e");
    ini.set("NEW", "k", "v");
    const auto again = IniFile::parse(ini.serialize());
    EXPECT_EQ(again.get_string("LANG", "id", ""), "9");
    EXPECT_EQ(again.get_string("LANG", "extra", ""), "e");
    EXPECT_EQ(again.get_string("OTHER", "x", ""), "2");
    EXPECT_EQ(again.get_string("NEW", "k", ""), "v");
    EXPECT_EQ(ini.serialize().rfind("; keep me\r\n[LANG]\r\nid=9\r\nextra=e\r\n", 0), 0u);
}

TEST(IniFile, SettingAValueKeepsUtf16FilesAndNeverLosesAnUnreadableOne) {
    const auto dir = std::filesystem::temp_directory_path() / "zentrik-ini-test";
    std::filesystem::create_directories(dir);
    const auto file = dir / "set.ini";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << utf16_file("[LANG]\r\nid=1\r\n");
    }
    std::string error;
    const auto bytes = ini_file_with_value(file, "LANG", "id", "1042", error);
    ASSERT_TRUE(bytes);
    const auto ini = IniFile::parse(*bytes);
    EXPECT_EQ(ini.encoding(), TextEncoding::kUtf16Le);
    EXPECT_EQ(ini.get_int("LANG", "id", 0), 1042);
    std::filesystem::remove_all(dir);
    // No file yet: a new one.
    EXPECT_TRUE(ini_file_with_value(dir / "no" / "such" / "set.ini", "LANG", "id", "1", error));
    // Something there that cannot be read would be replaced by one line: refused instead.
    std::filesystem::create_directories(dir / "set.ini");
    EXPECT_FALSE(ini_file_with_value(dir / "set.ini", "LANG", "id", "1", error));
    EXPECT_NE(error.find("set.ini"), std::string::npos) << error;
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zentrik::lang

namespace zentrik::lang {
namespace {

TEST(TextCodec, Utf16StringsRoundTripIncludingSurrogatePairs) {
    const std::string text = "G\xC3\xA4me \xF0\x9F\x8E\xAE";  // "Gäme 🎮"
    const std::u16string wide = utf8_to_utf16(text);
    EXPECT_EQ(wide.size(), 7u);  // the emoji takes a surrogate pair
    EXPECT_EQ(utf16_to_utf8(wide), text);
    EXPECT_EQ(utf16_to_utf8(u"\xD800x"), "\xEF\xBF\xBDx");  // lone surrogate → U+FFFD
}

}  // namespace
}  // namespace zentrik::lang

namespace zentrik::lang {
namespace {

TEST(IniIndex, LookupsFollowTheFirstSectionAndKeyAndEveryChange) {
    IniFile ini = IniFile::parse("[A]\r\nk=1\r\nK=2\r\n[b]\r\nx=3\r\n[a]\r\nk=9\r\nonly=10\r\n");
    EXPECT_EQ(ini.find("a", "K"), "1");
    EXPECT_EQ(ini.find(" A ", " k "), "1");
    EXPECT_EQ(ini.find("a", "only"), std::nullopt);  // a second [a] is never read
    EXPECT_EQ(ini.find("B", "X"), "3");
    ini.set("b", "x", "4");
    ini.set("b", "y", "5");
    ini.set("new", "z", "6");
    EXPECT_EQ(ini.find("b", "x"), "4");
    EXPECT_EQ(ini.find("b", "y"), "5");
    EXPECT_EQ(ini.find("NEW", "Z"), "6");
    EXPECT_EQ(ini.find("a", "k"), "1");
}

}  // namespace
}  // namespace zentrik::lang

namespace zentrik::lang {
namespace {

TEST(IniIndex, NamesHoldingNulBytesNeverAnswerForOthers) {
    using namespace std::string_literals;
    IniFile ini = IniFile::parse("[a\0]\r\nb=1\r\n[a]\r\n\0b=2\r\n"s);
    EXPECT_EQ(ini.find("a\0"s, "b"), "1");
    EXPECT_EQ(ini.find("a", "\0b"s), "2");
    EXPECT_EQ(ini.find("a", "b"), std::nullopt);
}

}  // namespace
}  // namespace zentrik::lang
