#include <gtest/gtest.h>

#include "macro/key_names.h"
#include "macro/scan_code_table.h"
#include "platform/key_names.h"

namespace zentrik::macro {
namespace {

std::string name(const platform::KeyNameService& service, int usage) {
    return KeyNamer(ScanCodeTable::builtin(), service).key_name(usage);
}

TEST(KeyNameService, NonCharacterKeysHaveTheirUsualNames) {
    const auto& us = platform::us_key_name_service();
    EXPECT_EQ(name(us, 225), "Shift");
    EXPECT_EQ(name(us, 229), "Right Shift");
    EXPECT_EQ(name(us, 224), "Ctrl");
    EXPECT_EQ(name(us, 228), "Right Ctrl");
    EXPECT_EQ(name(us, 226), "Alt");
    EXPECT_EQ(name(us, 230), "Right Alt");
    EXPECT_EQ(name(us, 40), "Enter");
    EXPECT_EQ(name(us, 88), "Num Enter");
    EXPECT_EQ(name(us, 80), "Left");
    EXPECT_EQ(name(us, 92), "Num 4");
    EXPECT_EQ(name(us, 83), "Num Lock");
    EXPECT_EQ(name(us, 72), "Pause");
    EXPECT_EQ(name(us, 75), "Page Up");
    EXPECT_EQ(name(us, 70), "Prnt Scrn");
    EXPECT_EQ(name(us, 57), "Caps Lock");
    EXPECT_EQ(name(us, 44), "Space");
    EXPECT_EQ(name(us, 42), "Backspace");
    EXPECT_EQ(name(us, 41), "Esc");
    EXPECT_EQ(name(us, 58), "F1");
    EXPECT_EQ(name(us, 69), "F12");
    EXPECT_EQ(name(us, 255), "");
    EXPECT_EQ(name(us, 0), "");
}

TEST(KeyNameService, CharacterKeysFollowTheLayout) {
    const auto us = platform::make_layout_key_name_service({"evdev", "pc105", "us", "", ""});
    EXPECT_EQ(name(*us, 4), "A");
    EXPECT_EQ(name(*us, 28), "Y");
    EXPECT_EQ(name(*us, 30), "1");
    EXPECT_EQ(name(*us, 51), ";");
    EXPECT_EQ(name(*us, 83), "Num Lock");  // fixed names stay with any layout

    const auto de = platform::make_layout_key_name_service({"evdev", "pc105", "de", "", ""});
    EXPECT_EQ(name(*de, 28), "Z");
    EXPECT_EQ(name(*de, 29), "Y");
    EXPECT_EQ(name(*de, 51), "Ö");
    EXPECT_FALSE(name(*de, 53).empty());  // a dead key still gets a name
    EXPECT_EQ(name(*de, 225), "Shift");
}

TEST(KeyNameService, UnknownLayoutFallsBackToUsCharacters) {
    const auto bad = platform::make_layout_key_name_service({"", "", "no-such-layout", "", ""});
    EXPECT_EQ(name(*bad, 4), "A");
    EXPECT_EQ(name(*bad, 56), "/");
    EXPECT_EQ(name(platform::us_key_name_service(), 49), "\\");
}

}  // namespace
}  // namespace zentrik::macro
