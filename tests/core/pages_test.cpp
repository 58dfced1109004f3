// Page switches from the tabs and home buttons, hide and minimise.
#include <gtest/gtest.h>

#include "support/core_harness.h"

namespace zentrik::testing {
namespace {

TEST(Pages, HomeButtonsAndTabsShowTheirPageAndCheckTheTab) {
    CoreHarness h;
    h.start_and_load();
    h.click("function dpi");
    EXPECT_EQ(h.page(), ui::kPageDpi);
    EXPECT_TRUE(h.widget("_tab_dpi").checked);
    h.click("_tab_macro");
    EXPECT_EQ(h.page(), ui::kPageMacros);
    EXPECT_TRUE(h.widget("_tab_macro").checked);
    EXPECT_FALSE(h.widget("_tab_dpi").checked);
    h.click("function button");
    EXPECT_EQ(h.page(), ui::kPageButtons);
    h.click("_home");
    EXPECT_EQ(h.page(), ui::kPageHome);
}

TEST(Pages, WithoutAMouseATabShowsTheDevicePages) {
    CoreHarness none(std::vector<sim::SimMouseConfig>{});
    none.start_and_load();
    none.click("_tab_dpi");
    EXPECT_EQ(none.page(), ui::kPageNoDevice);
    CoreHarness unloaded;
    unloaded.session->start();
    unloaded.advance(1);  // polled, not yet listed
    unloaded.click("_tab_dpi");
    EXPECT_EQ(unloaded.page(), ui::kPageDevices);
}

TEST(Pages, CloseHidesMinimiseIconifiesSecondPressesDoNothing) {
    CoreHarness h;
    h.start_and_load();
    h.click("_close");
    h.click("_mini");
    EXPECT_EQ(h.shell.hides, 1);
    EXPECT_EQ(h.shell.minimises, 1);
    ui::Widget& tab = h.widget("_tab_dpi");
    h.session->handle_widget_event({ui::kActionSecondPress, tab.id, &tab, nullptr});
    EXPECT_NE(h.page(), ui::kPageDpi);
}

TEST(Pages, APreviewShowsAPageWithoutAMouse) {
    CoreHarness h;
    h.session->preview_page(ui::kPageDpi);
    EXPECT_EQ(h.page(), ui::kPageDpi);
    EXPECT_TRUE(h.requests().empty());
}

}  // namespace
}  // namespace zentrik::testing

namespace zentrik::testing {
namespace {

TEST(Pages, DragsSetTheGuideAndHoverShowsButtonPictures) {
    CoreHarness h;
    h.start_and_load();
    ui::Widget& functions = h.widget("list macro");
    h.session->handle_widget_event({ui::kActionDragStarted, functions.id, &functions, &functions});
    EXPECT_EQ(h.session->drag_source_kind(), 2);
    h.session->handle_widget_event({ui::kActionDragEnded, functions.id, &functions, &functions});
    EXPECT_EQ(h.session->drag_source_kind(), 0);

    ui::Widget& label = h.widget("zz_button 4");
    ASSERT_EQ(label.checked, 0);
    h.session->handle_widget_event({ui::kActionUnderChanged, 0, nullptr, &label});
    EXPECT_EQ(h.widget("ov_button_pic_1 4").visible, 1);
    EXPECT_EQ(h.widget("bb_button_pic 4").visible, 1);
    h.session->handle_widget_event({ui::kActionUnderChanged, 0, &label, nullptr});
    EXPECT_EQ(h.widget("ov_button_pic_1 4").visible, 0);
}

}  // namespace
}  // namespace zentrik::testing
