#include "lang/text_format.h"

#include <gtest/gtest.h>

namespace zentrik::lang {
namespace {

TEST(FormatText, FillsThePlaceholdersTheTextIsMeantToHold) {
    EXPECT_EQ(format_text("Wait %d ms", 50), "Wait 50 ms");
    EXPECT_EQ(format_text("Remove macro '%s' ?", "Reload"), "Remove macro 'Reload' ?");
    EXPECT_EQ(format_text("Remaining: %d B , Total: %d B",
                          {TextArg{std::int64_t{100}}, TextArg{std::int64_t{6144}}}),
              "Remaining: 100 B , Total: 6144 B");
    EXPECT_EQ(format_text("Wheel Scrolling  %d count(unit)", -16),
              "Wheel Scrolling  -16 count(unit)");
    EXPECT_EQ(format_text("100%% %d", 7), "100% 7");
    EXPECT_EQ(format_text("%03d|%-4d|%+d", {TextArg{std::int64_t{5}}, TextArg{std::int64_t{6}},
                                            TextArg{std::int64_t{7}}}),
              "005|6   |+7");
}

TEST(FormatText, HostileTranslationsCannotCrashOrReadMemory) {
    // Mismatched letters show the argument in its natural form.
    EXPECT_EQ(format_text("Wait %s ms", 50), "Wait 50 ms");
    EXPECT_EQ(format_text("Remove %d?", "Reload"), "Remove Reload?");
    // More conversions than arguments, and %n: kept as typed.
    EXPECT_EQ(format_text("%s%s%n", "x"), "x%s%n");
    EXPECT_EQ(format_text("%d %d", 1), "1 %d");
    // Widths are capped.
    EXPECT_EQ(format_text("%99999d", 1).size(), static_cast<std::size_t>(kMaxFieldWidth));
    // A lone or trailing percent, and unknown conversions.
    EXPECT_EQ(format_text("50%", 1), "50%");
    EXPECT_EQ(format_text("%y %d", 3), "%y 3");
    EXPECT_EQ(format_text("no placeholder", 3), "no placeholder");
}

}  // namespace
}  // namespace zentrik::lang
