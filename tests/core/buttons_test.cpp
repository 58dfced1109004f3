// The button page: labels, the left-click rule, assignments by drag and by click.
#include <gtest/gtest.h>

#include "core/button_page.h"
#include "device/commands.h"
#include "support/core_harness.h"

namespace zentrik::testing {
namespace {

int function_row(CoreHarness& h, const std::string& name) {
    const ui::Widget& list = h.widget("list macro");
    for (int i = 0; i < list.row_count(); ++i)
        if (list.rows[static_cast<std::size_t>(i)].text == name)
            return i;
    return -1;
}

TEST(Buttons, AFreshMouseShowsDefaultNamesAndGuardsLeftClick) {
    CoreHarness h;
    h.start_and_load();
    EXPECT_EQ(h.text("zz_button 0"), "Left click");
    EXPECT_EQ(h.text("zz_button 6"), "Zentrik Button 2");
    EXPECT_EQ(h.widget("zz_button 0").enabled, 0);
    EXPECT_EQ(h.widget("zz_button 1").enabled, 1);
    // The greyed label says why it cannot be changed.
    EXPECT_EQ(h.widget("zz_button 0").has_tooltip, 1);
    EXPECT_NE(h.widget("zz_button 0").tooltip.find("left click"), std::string::npos);
    EXPECT_EQ(h.widget("zz_button 1").has_tooltip, 0);
    // The selection moved off the disabled label.
    EXPECT_EQ(h.widget("zz_button 1").checked, 1);
}

TEST(Buttons, RightClickAsLeftClickFreesTheLeftButtonAndBack) {
    CoreHarness h;
    h.start_and_load();
    h.clear_requests();
    h.drop("list macro", function_row(h, "Left click"), "zz_button 1");
    EXPECT_EQ(h.text("zz_button 1"), "Left click");
    EXPECT_EQ(h.widget("zz_button 0").enabled, 1);
    EXPECT_EQ(h.widget("zz_button 0").has_tooltip, 0);  // nothing to explain any more
    const auto reqs = h.requests();
    ASSERT_EQ(reqs.size(), 1u);
    EXPECT_EQ(reqs[0][2], 0x85);
    EXPECT_EQ(reqs[0][4], 1);     // device index of Right click
    EXPECT_EQ(reqs[0][5], 0x80);  // remapped
    h.drop("list macro", function_row(h, "Right click"), "zz_button 1");
    EXPECT_EQ(h.text("zz_button 1"), "Right click");
    EXPECT_EQ(h.widget("zz_button 0").enabled, 0);
}

TEST(Buttons, TheLastLeftClickCannotBeReassignedAnyWay) {
    CoreHarness h;
    h.start_and_load();
    h.clear_requests();
    h.drop("list macro", function_row(h, "Copy"), "zz_button 0");
    EXPECT_EQ(h.text("zz_button 0"), "Left click");
    EXPECT_TRUE(h.requests().empty());
    EXPECT_FALSE(h.session->buttons().assign(0, 0xFF32, "Copy", false));
}

TEST(Buttons, UnknownCodesShowDisableDefaultAndOwnFunctionAreNotRemapped) {
    CoreHarness h;
    device::write_button(*h.lib, "sim:mouse0", 0, 5, true, 0x1234);
    h.start_and_load();
    EXPECT_EQ(h.text("zz_button 5"), "Disable");
    h.clear_requests();
    // Forward (device index 4) given its own function.
    h.drop("list macro", function_row(h, "Forward"), "zz_button 3");
    auto reqs = h.requests();
    ASSERT_EQ(reqs.size(), 1u);
    EXPECT_EQ(reqs[0][4], 4);
    EXPECT_EQ(reqs[0][5], 0x00);
    EXPECT_EQ(h.text("zz_button 3"), "Forward");
    h.clear_requests();
    h.drop("list macro", function_row(h, "Default"), "zz_button 5");
    reqs = h.requests();
    ASSERT_EQ(reqs.size(), 1u);
    EXPECT_EQ(reqs[0][5], 0x00);
    EXPECT_EQ(h.text("zz_button 5"), "Zentrik Button 1");
}

TEST(Buttons, ClickOnARowAssignsToButtonZeroOnlyWhileItsLabelIsChecked) {
    CoreHarness h;
    h.start_and_load();
    h.drop("list macro", function_row(h, "Left click"), "zz_button 1");
    h.click("zz_button 0");
    ASSERT_EQ(h.widget("zz_button 0").checked, 1);
    h.clear_requests();
    h.widget("list macro").selected_row = function_row(h, "Copy");
    h.click("list macro");
    EXPECT_EQ(h.text("zz_button 0"), "Copy");
    ASSERT_EQ(h.requests().size(), 1u);
    h.clear_requests();
    h.click("zz_button 2");
    h.widget("list macro").selected_row = function_row(h, "Paste");
    h.click("list macro");
    EXPECT_TRUE(h.requests().empty());
}

TEST(Buttons, Qx10HasNoAdjustLift) {
    CoreHarness qx10({family_mouse(8)});
    qx10.start_and_load();
    EXPECT_EQ(function_row(qx10, "Adjust lift"), -1);
    CoreHarness qx19({family_mouse(7)});
    qx19.start_and_load();
    EXPECT_NE(function_row(qx19, "Adjust lift"), -1);
}

TEST(Buttons, ProfileChangeReloadsOnlyUnloadedProfilesAfter100Ms) {
    CoreHarness h;
    h.start_and_load();
    device::write_button(*h.lib, "sim:mouse0", 2, 1, true, 0xFF32);
    h.clear_requests();
    h.click("profile 2");
    EXPECT_EQ(h.count_requests(0x01, 0x88), 1);  // the profile is written
    h.advance(100);
    EXPECT_EQ(h.count_requests(0x01, 0x05), 0);  // every profile was read during the load
    h.session->model().buttons.clear_loaded();
    h.click("profile 1");
    h.advance(100);
    EXPECT_EQ(h.count_requests(0x01, 0x05), 55);
    h.click("profile 2");
    h.advance(100);
    EXPECT_EQ(h.text("zz_button 1"), "Copy");
}

TEST(Profiles, ARenameWritesTheNameOnceAndOnlyWhenChanged) {
    CoreHarness h;
    h.start_and_load();
    h.clear_requests();
    h.edit_text("profile 1", "Office work");
    EXPECT_EQ(h.text("profile 1"), "Office");
    const int writes = static_cast<int>(h.requests().size());
    EXPECT_GT(writes, 0);
    auto name = device::read_profile_name(*h.lib, "sim:mouse0", 1);
    ASSERT_TRUE(name);
    EXPECT_EQ(*name, u"Office");
    h.clear_requests();
    h.edit_text("profile 1", "Office");
    EXPECT_TRUE(h.requests().empty());
}

}  // namespace
}  // namespace zentrik::testing
