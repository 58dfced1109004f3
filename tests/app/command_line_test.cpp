#include "app/startup/command_line.h"

#include <gtest/gtest.h>

namespace zentrik::app {
namespace {

TEST(StartSwitches, NoneGiven) {
    const auto o = parse_start_switches({});
    EXPECT_FALSE(o.langid);
    EXPECT_FALSE(o.hide || o.close || o.showtip || o.help || o.version);
}

TEST(StartSwitches, CapitalsAnyOrderAndBothSpellings) {
    const auto o = parse_start_switches({"/SHOWTIP", "--Hide", "/LangID=1041"});
    EXPECT_TRUE(o.hide);
    EXPECT_TRUE(o.showtip);
    EXPECT_FALSE(o.close);
    EXPECT_EQ(o.langid, "1041");
    EXPECT_TRUE(parse_start_switches({"--close"}).close);
    EXPECT_EQ(parse_start_switches({"--langid=2052"}).langid, "2052");
}

TEST(StartSwitches, LangidValueEndsAtTheFirstBlank) {
    // "/langid=9 /hide" in one argument, as a shell-less launcher would pass it.
    const auto o = parse_start_switches({"/langid=9 /hide"});
    EXPECT_EQ(o.langid, "9");
    EXPECT_TRUE(o.hide);
    EXPECT_EQ(parse_start_switches({"/langid=", "/hide"}).langid, "");
    EXPECT_EQ(parse_start_switches({"/langid=AbC"}).langid, "abc");  // the line is lower-cased
}

TEST(StartSwitches, SubstringsInsideArgumentsCount) {
    EXPECT_TRUE(parse_start_switches({"x/hidey"}).hide);
    EXPECT_TRUE(parse_start_switches({"foo", "/CLOSE"}).close);
}

TEST(StartSwitches, UnknownArgumentsAreIgnored) {
    const auto o = parse_start_switches({"--frobnicate", "hello", "/x"});
    EXPECT_FALSE(o.hide || o.close || o.showtip || o.help || o.langid);
}

TEST(StartSwitches, HelpAndVersionAreWholeArguments) {
    EXPECT_TRUE(parse_start_switches({"--help"}).help);
    EXPECT_TRUE(parse_start_switches({"--version"}).version);
    EXPECT_FALSE(parse_start_switches({"--helpful"}).help);
}

}  // namespace
}  // namespace zentrik::app
