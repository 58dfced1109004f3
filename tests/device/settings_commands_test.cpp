// Settings, link and wheel commands against the simulated mouse, and how replies are read.
#include <gtest/gtest.h>

#include "device/commands.h"
#include "tests/device/device_test_support.h"

namespace zentrik::device {
namespace {

using testing::ScriptedBackend;
using testing::ScriptedInterface;
using testing::SimRig;

constexpr const char* kPath = "sim:mouse0";

TEST(SettingsCommands, WritesChangeWorkingSettingsUntilCommitted) {
    SimRig rig;
    auto mouse = rig.add_mouse();
    const sim::SimSettings before = mouse->stored_settings();
    EXPECT_EQ(write_dpi_value(rig.lib, kPath, 0, 2, 20), 1);
    EXPECT_EQ(write_dpi_value(rig.lib, kPath, 1, 2, 0), 1);
    EXPECT_EQ(write_dpi_level(rig.lib, kPath, 2), 1);
    EXPECT_EQ(write_profile(rig.lib, kPath, 4), 1);
    EXPECT_EQ(write_rate_byte(rig.lib, kPath, 0x62), 1);
    EXPECT_EQ(write_wheel_rate(rig.lib, kPath, 7), 1);
    EXPECT_EQ(write_macro_limit(rig.lib, kPath, 0x1F00), 1);
    EXPECT_EQ(write_link_tag(rig.lib, kPath, 9), 1);

    int x = 0, y = 0;
    ASSERT_EQ(read_dpi_values(rig.lib, kPath, 2, x, y), 1);
    EXPECT_EQ(x, 20);
    EXPECT_EQ(y, 20) << "a Y of 0 reads as X";
    EXPECT_EQ(read_dpi_level(rig.lib, kPath), 2);
    EXPECT_EQ(read_profile(rig.lib, kPath), 4);
    EXPECT_EQ(read_rate_byte(rig.lib, kPath), 0x62);
    EXPECT_EQ(read_wheel_rate(rig.lib, kPath), 7);
    EXPECT_EQ(read_macro_limit(rig.lib, kPath), 0x1F00);
    EXPECT_EQ(read_link_tag(rig.lib, kPath), 9);
    EXPECT_EQ(mouse->stored_settings(), before);

    rig.timing->clear();
    EXPECT_EQ(commit_settings(rig.lib, kPath), 1);
    EXPECT_EQ(rig.timing->sleeps(), (std::vector<int>{2, 150, 3}));
    EXPECT_EQ(mouse->stored_settings(), mouse->working_settings());
    EXPECT_EQ(mouse->stored_settings().macro_limit, 0x1F00);
}

TEST(SettingsCommands, ButtonsRoundTripThroughTheMousesMemory) {
    SimRig rig;
    auto mouse = rig.add_mouse(8192);
    EXPECT_EQ(write_button(rig.lib, kPath, 4, 11, true, 0x0A31), 1);
    EXPECT_EQ(mouse->requests().back(), (Report{0, 1, 0x85, 4, 11, 0x80, 0x31, 0x0A, 0x12}));
    const auto f = read_button(rig.lib, kPath, 4, 11);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, 0x80);
    EXPECT_EQ(f->value, 0x0A31);
    // No function: the value reads as 0xFFFF whatever the mouse holds.
    EXPECT_EQ(write_button(rig.lib, kPath, 0, 0, false, 0x1234), 1);
    EXPECT_EQ(read_button(rig.lib, kPath, 0, 0)->value, 0xFFFF);
    // The last button cell ends below the profile names.
    const auto memory = mouse->memory();
    EXPECT_EQ(memory[8192 - 79], 0x80);
    EXPECT_EQ(memory[8192 - 77], 0x0A);
    EXPECT_EQ(memory[8192 - 75], 0xFF);
}

TEST(SettingsCommands, ReadButtonSleepsAfterItsExchange) {
    SimRig rig;
    rig.add_mouse();
    read_button(rig.lib, kPath, 0, 0);
    EXPECT_EQ(rig.timing->sleeps(), (std::vector<int>{2, 10, 3, 1}));
}

// Replies the simulated mouse does not give: out-of-range values from the wire.
TEST(SettingsCommands, RepliesAreBroughtIntoRange) {
    auto iface = std::make_shared<ScriptedInterface>();
    zklib lib(std::make_shared<ScriptedBackend>(iface), std::make_shared<testing::FakeTiming>());
    iface->reads = {testing::idle_status(), testing::done_reply({0, 5})};
    EXPECT_EQ(read_dpi_level(lib, "scripted"), 3);
    iface->reads = {testing::idle_status(), testing::done_reply({0, 7})};
    EXPECT_EQ(read_profile(lib, "scripted"), 2);
    EXPECT_EQ(iface->sent.back(), (Report{0, 1, 0x08, 0x02, 0x12, 0, 0, 0, 0}));
}

TEST(SettingsCommands, FailedReadsReportFailureAndKeepResults) {
    SimRig rig;
    rig.add_mouse()->set_faults({.unplugged = true});
    int x = 11, y = 12;
    EXPECT_EQ(read_dpi_values(rig.lib, kPath, 0, x, y), 0);
    EXPECT_EQ(x, 11);
    EXPECT_EQ(y, 12);
    EXPECT_FALSE(read_button(rig.lib, kPath, 0, 0));
    EXPECT_FALSE(read_dpi_level(rig.lib, kPath));
    EXPECT_FALSE(read_profile(rig.lib, kPath));
    EXPECT_FALSE(read_macro_limit(rig.lib, kPath));
    EXPECT_FALSE(read_rate_byte(rig.lib, kPath));
    EXPECT_FALSE(read_link_tag(rig.lib, kPath));
    EXPECT_FALSE(read_wheel_rate(rig.lib, kPath));
    EXPECT_EQ(write_profile(rig.lib, kPath, 1), 0);
    EXPECT_EQ(commit_settings(rig.lib, kPath), 0);
}

TEST(SettingsCommands, GarbageRepliesStayInRange) {
    SimRig rig;
    rig.add_mouse()->set_faults({.garbage_replies = true});
    for (int i = 0; i < 50; ++i) {
        const auto level = read_dpi_level(rig.lib, kPath);
        ASSERT_TRUE(level);
        EXPECT_LE(*level, 3);
        const auto profile = read_profile(rig.lib, kPath);
        ASSERT_TRUE(profile);
        EXPECT_LE(*profile, 4);
    }
}

}  // namespace
}  // namespace zentrik::device
