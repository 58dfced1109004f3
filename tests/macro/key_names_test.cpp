#include "macro/key_names.h"

#include <gtest/gtest.h>

#include "lang/text_codec.h"
#include "macro/scan_code_table.h"

namespace zentrik::macro {
namespace {

std::string resource(std::string_view text) {
    return "\xFF\xFE" + lang::utf8_to_utf16le(text);
}

// Records what it is asked, and answers with it.
class RecordingService : public platform::KeyNameService {
  public:
    std::string key_name(int make_code, bool extended) const override {
        last_argument = (make_code << 16) | (extended ? 1 << 24 : 0);
        return "key " + std::to_string(make_code) + (extended ? "e" : "");
    }
    mutable int last_argument = -1;
};

TEST(ScanCodeTable, BuiltinTableHoldsEveryKeyOfTheResource) {
    const auto& t = ScanCodeTable::builtin();
    EXPECT_EQ(t.scan(4), 0x1E);
    EXPECT_EQ(t.scan(72), 0xC5);
    EXPECT_EQ(t.scan(80), 0xE04B);
    EXPECT_EQ(t.scan(83), 0x45);
    EXPECT_EQ(t.scan(145), 0x71);
    EXPECT_EQ(t.scan(231), 0xE05C);
    EXPECT_EQ(t.scan(255), 0);
    EXPECT_EQ(t.scan(102), 0);
    int keys = 0;
    for (int u = 0; u < 255; ++u)
        keys += t.scan(u) != 0;
    EXPECT_EQ(keys, 108);  // 110 lines, less "0 0" and "255 255"
}

TEST(ScanCodeTable, ReverseLookupTakesTheFirstUsage) {
    const auto& t = ScanCodeTable::builtin();
    EXPECT_EQ(t.usage_from_scan(0xE01C), 88);
    EXPECT_EQ(t.usage_from_scan(0x1C), 40);
    EXPECT_EQ(t.usage_from_scan(0x2B), 49);
    EXPECT_EQ(t.usage_from_scan(0), 0);
    EXPECT_EQ(t.usage_from_scan(0xFF), 0);  // only usage 255 has it, and it is never stored
}

TEST(ScanCodeTable, MalformedResourcesNeverCrashOrMisplaceEntries) {
    EXPECT_EQ(ScanCodeTable::parse("").scan(4), 0);
    EXPECT_EQ(ScanCodeTable::parse("\xFF").scan(4), 0);
    // Odd length, a line without blank, a leading blank, a usage out of range, tabs and blanks.
    auto bytes = resource("4 30\r\nnoblank\r\n 5 48\r\n300 7\r\n6\t \t46 \t\r\n7  32\r\n255 9");
    bytes.push_back('\x01');
    const auto t = ScanCodeTable::parse(bytes);
    EXPECT_EQ(t.scan(4), 30);
    EXPECT_EQ(t.scan(5), 0);
    EXPECT_EQ(t.scan(0), 7);   // usage 300 counts as usage 0
    EXPECT_EQ(t.scan(6), 46);  // the usage text "6\t" reads as 6, the rest is trimmed
    EXPECT_EQ(t.scan(7), 32);
    // LF-only lines work; a CR on its own is dropped and joins the lines around it.
    const auto lf = ScanCodeTable::parse(resource("4 30\n5 48\r6 46"));
    EXPECT_EQ(lf.scan(4), 30);
    EXPECT_EQ(lf.scan(5), 486);
    EXPECT_EQ(lf.scan(6), 0);
}

TEST(KeyNames, ArgumentsCarryTheTwoCorrectionsAndTheFixedNames) {
    RecordingService service;
    const KeyNamer namer(ScanCodeTable::builtin(), service);
    namer.key_name(4);
    EXPECT_EQ(service.last_argument, 0x1E0000);
    namer.key_name(83);
    EXPECT_EQ(service.last_argument, 0x1450000);
    namer.key_name(72);
    EXPECT_EQ(service.last_argument, 0x450000);
    namer.key_name(80);
    EXPECT_EQ(service.last_argument, 0x14B0000);
    namer.key_name(255);
    EXPECT_EQ(service.last_argument, 0);
    namer.key_name(-3);
    EXPECT_EQ(service.last_argument, 0);
    EXPECT_EQ(namer.key_name(144), "Hangul/English");
    EXPECT_EQ(namer.key_name(145), "Hanja");
}

TEST(KeyNames, ConsumerKeys) {
    EXPECT_EQ(consumer_key_name(0xE9), "Volume +");
    EXPECT_EQ(consumer_key_name(0x22A), "Bookmarks");
    EXPECT_EQ(consumer_key_name(0x100), "Unknown");
}

}  // namespace
}  // namespace zentrik::macro
