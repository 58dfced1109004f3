#include "lang/string_tables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "lang/ini_file.h"
#include "lang/language_files.h"
#include "lang/language_id.h"
#include "lang/text_codec.h"

namespace zentrik::lang {
namespace {

namespace fs = std::filesystem;

class LanguageLoad : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = fs::temp_directory_path() / (std::string("zentrik-lang-") + info->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "module");
        fs::create_directories(root_ / "config");
    }
    void TearDown() override { fs::remove_all(root_); }

    void write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void language_ini(const std::string& utf8, bool utf16 = false) {
        write(root_ / "module" / kLanguageIniName,
              utf16 ? "\xFF\xFE" + utf8_to_utf16le(utf8) : utf8);
    }
    StringTables load(int user_language_id = 1033) {
        return load_string_tables({root_ / "module", root_ / "config", user_language_id});
    }

    fs::path root_;
};

TEST_F(LanguageLoad, WithoutLanguageFileEveryTextIsTheEnglishDefault) {
    const auto t = load();
    EXPECT_EQ(t.caption, "Zentrik Mouse  Rev 1.0");
    EXPECT_EQ(t.language_id, 1033);
    EXPECT_EQ(t.language_section, "1033");
    EXPECT_TRUE(t.wired_mode_note.empty());
    ASSERT_EQ(t.button_names.size(), 12u);
    EXPECT_EQ(t.button_names[5], "Zentrik Button 1");
    EXPECT_EQ(t.button_names[11], kStopMarker);
    ASSERT_EQ(t.function_names.size(), 30u);
    EXPECT_EQ(t.function_names[28], "Speedup 9x");
    EXPECT_EQ(t.function_names[29], kStopMarker);
    ASSERT_EQ(t.messages.size(), 21u);
    EXPECT_EQ(t.messages[0], "Can not detect mouse !!\nPlease check the connection.");
    EXPECT_EQ(t.messages[20], kStopMarker);
    EXPECT_EQ(t.macro_texts[kMacroKeyDown], "Press & hold Keyboard  %s");
    EXPECT_EQ(t.macro_texts[kMacroMouseDown], "Press & hold mouse button ");
    EXPECT_EQ(t.macro_texts[kMacroWheel], "Wheel Scrolling  %d count(unit)");
    EXPECT_EQ(t.tooltips[5], "Drag-drop it into editor area to insert 'wheel scoll command'");
    EXPECT_EQ(t.menu_texts[kMenuLibrary], "macro library");
    EXPECT_EQ(t.tab_texts[4], "DPI & tool");
    EXPECT_EQ(t.panel_captions[kCaptionMacroLibrary], "Macro Library");
    for (const auto& caption : t.process_captions)
        EXPECT_TRUE(caption.empty());
}

TEST_F(LanguageLoad, OneTranslatedMessageChangesOnlyThatMessage) {
    language_ini("[1033]\nmsg_str14=Really reset?\n");
    const auto t = load();
    const auto defaults = default_string_tables();
    for (int i = 0; i < kMessageCount; ++i) {
        if (i == kMsgResetQuestion)
            EXPECT_EQ(t.message(i), "Really reset?");
        else
            EXPECT_EQ(t.message(i), defaults.message(i)) << i;
    }
}

TEST_F(LanguageLoad, EscapesBecomeLineBreaksInMessagesAndFunctionsOnly) {
    language_ini(
        "[1033]\nmsg_str6=one\\r\\ntwo\\nthree\\x\nfunc_str3=Right\\nclick\n"
        "tab_str0=Tab\\nText\nproc_str2=Saving\\n\n");
    const auto t = load();
    EXPECT_EQ(t.message(kMsgDefragQuestion), "one\r\ntwo\r\nthree\\x");
    EXPECT_EQ(t.function_name(3), "Right\r\nclick");
    EXPECT_EQ(t.tab_texts[0], "Tab\\nText");
    EXPECT_EQ(t.process_captions[2], "Saving\\n");
}

TEST_F(LanguageLoad, NoStringMarkerCountsAsMissing) {
    language_ini(
        "[1033]\nbutton_str0=@_NOSTR_\nmacro_str1=@_NOSTR_\ntab_str1=@_NOSTR_\n"
        "proc_str0=@_NOSTR_\n[APP]\nstr=@_NOSTR_\n");
    const auto t = load();
    EXPECT_EQ(t.button_name(0), "Left click");
    EXPECT_EQ(t.macro_texts[kMacroLoop], "Loop mode");
    EXPECT_EQ(t.tab_texts[1], "Control panel");
    EXPECT_EQ(t.process_captions[0], "");
    EXPECT_EQ(t.caption, kDefaultCaption);
}

TEST_F(LanguageLoad, SentinelEntriesCannotBeTranslatedAway) {
    language_ini("[1033]\nbutton_str11=oops\nfunc_str29=oops\nfunc_str30=more\nmsg_str20=x\n");
    const auto t = load();
    EXPECT_EQ(t.button_names.back(), kStopMarker);
    EXPECT_EQ(t.function_names.size(), 30u);
    EXPECT_EQ(t.function_names.back(), kStopMarker);
    EXPECT_EQ(t.messages.back(), kStopMarker);
}

TEST_F(LanguageLoad, TranslationsReadFromUtf16AndUtf8Files) {
    for (bool utf16 : {true, false}) {
        language_ini(
            "[APP]\nstr=Zentrik マウス\n[1041]\ntab_str0=デバイス\nmacro_bt_str4=ボタン5\n", utf16);
        const auto t = load(1041);
        EXPECT_EQ(t.caption, "Zentrik マウス") << utf16;
        EXPECT_EQ(t.tab_texts[0], "デバイス") << utf16;
        EXPECT_EQ(t.macro_button_names[4], "ボタン5") << utf16;
        EXPECT_EQ(t.tab_texts[1], "Control panel") << utf16;
    }
}

TEST_F(LanguageLoad, ALegacyJapaneseFileReadsInItsCodePage) {
    // Shift-JIS bytes: "マウス" as the caption, "デバイス" as the first tab.
    language_ini(
        "[APP]\nstr=\x83\x7D\x83\x45\x83\x58\n[1041]\ntab_str0=\x83\x66\x83\x6F\x83\x43\x83\x58\n");
    const auto t = load(1041);
    EXPECT_EQ(t.caption, "マウス");
    EXPECT_EQ(t.tab_texts[0], "デバイス");
}

TEST_F(LanguageLoad, SetIniChoosesTheSectionAndPerUserFileComesFirst) {
    language_ini("[1041]\ntab_str0=ja\n[1042]\ntab_str0=ko\n");
    write(root_ / "module" / kSetIniName, "[LANG]\nid=1041\n");
    EXPECT_EQ(load(1033).tab_texts[0], "ja");

    write(root_ / "config" / kSetIniName, "[LANG]\nid=1042\n");
    const auto t = load(1033);
    EXPECT_EQ(t.language_id, 1042);
    EXPECT_EQ(t.tab_texts[0], "ko");
    EXPECT_NE(t.wired_mode_note.find("유선"), std::string::npos);

    // A per-user file without a positive id does not hide the program's one.
    write(root_ / "config" / kSetIniName, "[LANG]\nid=0\n");
    EXPECT_EQ(load(1033).language_id, 1041);
    write(root_ / "module" / kSetIniName, "[LANG]\nid=-5\n");
    EXPECT_EQ(load(1033).language_id, 1033);
}

TEST_F(LanguageLoad, UserLanguageIdIsMaskedTo12Bits) {
    EXPECT_EQ(load(0x0409).language_section, "1033");
    EXPECT_EQ(load(0x1009).language_section, "9");
    const auto t = load(1028);
    EXPECT_EQ(t.wired_mode_note, "\r\n\r\n只支援有線模式");
    EXPECT_EQ(t.no_mouse_text(),
              "Can not detect mouse !!\nPlease check the connection.\r\n\r\n只支援有線模式");
}

TEST(StringTables, ParsedLanguageFileTranslatesOnlyTheChosenSection) {
    const auto t = translated_string_tables(
        1042, IniFile::parse("[1033]\r\nmsg_str3=No\r\n[1042]\r\nmsg_str3=Yes\r\n"));
    EXPECT_EQ(t.language_section, "1042");
    EXPECT_EQ(t.message(kMsgOverwriteTitle), "Yes");
    EXPECT_FALSE(t.wired_mode_note.empty());
}

TEST(StringTables, OwnTextsComeFromTheChosenSectionOnly) {
    const auto t = translated_string_tables(
        1031, IniFile::parse("[1033]\r\nzk_a=English\r\n[1031]\r\nzk_a=Zeile\\nzwei\r\n"
                             "zk_b=@_NOSTR_\r\nplain=x\r\n"));
    ASSERT_EQ(t.own_texts.size(), 1u);
    EXPECT_EQ(t.own_texts.at("zk_a"), "Zeile\r\nzwei");
}

TEST(StringTables, IndexOutsideATableGivesEmptyText) {
    const auto t = default_string_tables();
    EXPECT_EQ(t.message(-1), "");
    EXPECT_EQ(t.message(100), "");
    EXPECT_EQ(t.macro_text(16), "");
    EXPECT_EQ(t.function_name(kFunctionDisable), "Disable");
}

TEST(LanguageId, LocaleNamesMapToLanguageIds) {
    EXPECT_EQ(language_id_from_locale("en_US.UTF-8"), 1033);
    EXPECT_EQ(language_id_from_locale("zh_TW.UTF-8"), 1028);
    EXPECT_EQ(language_id_from_locale("zh_CN"), 2052);
    EXPECT_EQ(language_id_from_locale("ko_KR.UTF-8"), 1042);
    EXPECT_EQ(language_id_from_locale("ja_JP.eucJP"), 1041);
    EXPECT_EQ(language_id_from_locale("de_DE@euro"), 1031);
    EXPECT_EQ(language_id_from_locale("de_AT.UTF-8"), 3079);
    EXPECT_EQ(language_id_from_locale("es_ES"), 3082);
    EXPECT_EQ(language_id_from_locale("pt_BR"), 1046);
    EXPECT_EQ(language_id_from_locale("fr_XX"), 1036);  // unknown territory: main id
    EXPECT_EQ(language_id_from_locale("C"), 1033);
    EXPECT_EQ(language_id_from_locale("POSIX"), 1033);
    EXPECT_EQ(language_id_from_locale(""), 1033);
    EXPECT_EQ(language_id_from_locale("xx_YY"), 1033);
}

TEST(LanguageId, TheTerritoryCountsWhateverFollowsItAndHowItIsSpelled) {
    const std::pair<const char*, int> cases[] = {
        // Territories whose id is not the bare language's.
        {"pt", 2070},
        {"pt_BR.UTF-8", 1046},
        {"zh", 2052},
        {"zh-tw", 1028},
        {"ZH_TW", 1028},
        // A modifier, with or without a codeset before it, does not hide the territory.
        {"de_AT@euro", 3079},
        {"de_AT.UTF-8@euro", 3079},
        {"pt_BR@x.y", 1046},
    };
    for (const auto& [locale, id] : cases)
        EXPECT_EQ(language_id_from_locale(locale), id) << locale;
}

}  // namespace
}  // namespace zentrik::lang
