// The device page: polling, listing, choosing the first mouse, hot-plug and tag checks.
#include <gtest/gtest.h>

#include "device/commands.h"
#include "lang/string_tables.h"
#include "support/core_harness.h"

namespace zentrik::testing {
namespace {

TEST(DeviceList, ElevenMiceGiveTenRowsAndTheFirstIsChosen) {
    std::vector<sim::SimMouseConfig> mice(11, family_mouse());
    CoreHarness h(mice);
    h.start_and_load();
    EXPECT_EQ(h.lib->device_count(), 11);
    for (int i = 0; i < 10; ++i)
        EXPECT_NE(h.board.find_widget("device " + std::to_string(i)), nullptr) << i;
    EXPECT_EQ(h.board.find_widget("device 10"), nullptr);
    EXPECT_EQ(h.session->selected_path(), "sim:mouse0");
    EXPECT_EQ(h.page(), ui::kPageHome);
    EXPECT_EQ(h.board.live.load(), 1);
    EXPECT_FALSE(h.session->progress_overlay().shown());
}

TEST(DeviceList, RowTextsFollowTheModelTable) {
    CoreHarness h({family_mouse(0, 1, 2, 100, 8192), family_mouse(8, 1, 3, 100, 16384)});
    h.start_and_load();
    const ui::Widget& qx8 = h.widget("device 0");
    EXPECT_TRUE(qx8.text.starts_with("QX8 - Wired  Mouse (id: ")) << qx8.text;
    EXPECT_TRUE(qx8.text.ends_with(" , Firmware: v2 , EEPROM: 8K")) << qx8.text;
    EXPECT_EQ(qx8.model_tag, "qx9");
    EXPECT_EQ(qx8.data, 8192);
    EXPECT_EQ(qx8.text_3, "sim:mouse0");
    const ui::Widget& qx10 = h.widget("device 1");
    EXPECT_EQ(qx10.model_tag, "qx10");
    EXPECT_EQ(qx10.y, 160);
    EXPECT_EQ(qx10.width, 930);
    EXPECT_EQ(qx10.height, 72);
}

TEST(DeviceList, IdentityFromTheMouseShowsInTheRow) {
    CoreHarness h({family_mouse(8, 1, 3, 100, 16384)});
    // Identity bytes as the mouse keeps them at the end of its memory.
    h.mouse().poke_memory(16384 - 4, std::vector<std::uint8_t>{0xA5, 0x00, 0x12});
    h.start_and_load();
    EXPECT_EQ(h.text("device 0"),
              "QX10 - Wired / Wireless Mouse (id: 00A5) , Firmware: v3 , EEPROM: 16K");
}

TEST(DeviceList, NoMouseShowsTheNoDevicePageAndArmsNoListing) {
    CoreHarness h(std::vector<sim::SimMouseConfig>{});
    h.session->start();
    h.advance(1);
    EXPECT_EQ(h.page(), ui::kPageNoDevice);
    EXPECT_FALSE(h.timers.armed(core::kTimerListing));
    EXPECT_EQ(h.text("device not found").find("!!r"), std::string::npos);
}

TEST(DeviceList, AnotherProgramsTagDropsTheSelection) {
    CoreHarness h;
    h.start_and_load();
    ASSERT_EQ(h.page(), ui::kPageHome);
    // Another program selected the mouse and wrote its own tag.
    device::write_link_tag(*h.lib, "sim:mouse0", 200);
    h.session->poll();
    EXPECT_EQ(h.session->selected_path(), "");
    EXPECT_EQ(h.page(), ui::kPageDevices);
    EXPECT_EQ(h.shell.selections.back(), "");
}

TEST(DeviceList, LinkTagsRunFromTwoTo255AndWrap) {
    EXPECT_EQ(core::next_link_tag(1), 2);
    EXPECT_EQ(core::next_link_tag(2), 3);
    EXPECT_EQ(core::next_link_tag(254), 255);
    EXPECT_EQ(core::next_link_tag(255), 2);
}

TEST(DeviceList, EachSelectionWritesTheNextTag) {
    CoreHarness h({family_mouse(), family_mouse()});
    h.start_and_load();
    EXPECT_EQ(h.mouse(0).link_tag(), 2);
    h.click("device 1");
    EXPECT_EQ(h.session->selected_path(), "sim:mouse1");
    EXPECT_EQ(h.mouse(1).link_tag(), 3);
    h.clear_requests();
    h.click("device 1");  // the current mouse: just the home page
    EXPECT_TRUE(h.requests(1).empty());
    EXPECT_EQ(h.page(), ui::kPageHome);
}

TEST(DeviceList, ARowChosenWhileAJobRunsLeavesTheSelectionAsItWas) {
    CoreHarness h({family_mouse(), family_mouse()});
    h.start_and_load();
    const std::size_t selections = h.shell.selections.size();
    h.clear_requests();
    // Inline workers: the row is clicked while this job is still running.
    ASSERT_TRUE(h.session->jobs().run([&] { h.click("device 1"); }));
    EXPECT_EQ(h.session->selected_path(), "sim:mouse0");
    EXPECT_EQ(h.shell.selections.size(), selections);
    EXPECT_TRUE(h.requests(1).empty());
    // Once the job has ended the same click selects, tags and loads the mouse.
    h.click("device 1");
    EXPECT_EQ(h.session->selected_path(), "sim:mouse1");
    EXPECT_EQ(h.shell.selections.back(), "sim:mouse1");
    EXPECT_EQ(h.mouse(1).link_tag(), 3);
    EXPECT_EQ(h.page(), ui::kPageHome);
}

TEST(DeviceChange, PartialArrivalsDoNotPollTheFourthDoesAfter1300Ms) {
    CoreHarness h;
    using platform::DeviceChange;
    h.session->on_device_change({DeviceChange::Kind::kArrival, "sim:mouse0", 1});
    EXPECT_FALSE(h.timers.armed(core::kTimerPoll));
    h.session->on_device_change({DeviceChange::Kind::kArrival, "sim:mouse0:1", 2 | 4});
    EXPECT_FALSE(h.timers.armed(core::kTimerPoll));
    h.session->on_device_change({DeviceChange::Kind::kArrival, "sim:mouse0:1", 8});
    EXPECT_TRUE(h.timers.armed(core::kTimerPoll));
    h.advance(1299);
    EXPECT_EQ(h.timers.fired(core::kTimerPoll), 0);
    h.advance(1);
    EXPECT_EQ(h.timers.fired(core::kTimerPoll), 1);
}

TEST(DeviceChange, UnpluggingTheCurrentMouseShowsTheDevicePageAndRelists) {
    CoreHarness h({family_mouse(), family_mouse()});
    h.start_and_load();
    ASSERT_EQ(h.session->selected_path(), "sim:mouse0");
    h.session->on_device_change(
        {platform::DeviceChange::Kind::kRemoval, "SIM:MOUSE0", platform::kAllInterfaceBits});
    EXPECT_EQ(h.session->selected_path(), "");
    EXPECT_EQ(h.page(), ui::kPageDevices);
    EXPECT_EQ(h.lib->device_count(), 1);
    EXPECT_TRUE(h.timers.armed(core::kTimerListing));
    EXPECT_FALSE(h.timers.armed(core::kTimerPoll));
}

TEST(DeviceChange, UnpluggingTheLastMousePollsAfter500Ms) {
    CoreHarness h;
    h.start_and_load();
    auto faults = h.mouse().faults();
    faults.unplugged = true;
    h.mouse().set_faults(faults);
    h.session->on_device_change(
        {platform::DeviceChange::Kind::kRemoval, "sim:mouse0", platform::kAllInterfaceBits});
    EXPECT_TRUE(h.timers.armed(core::kTimerPoll));
    h.advance(500);
    EXPECT_EQ(h.page(), ui::kPageNoDevice);
}

}  // namespace
}  // namespace zentrik::testing
