// The window's own commands: page switches from the tabs and home buttons, hide, minimise;
// and the --page switch.
#include <gtest/gtest.h>

#include "app/shell/page_commands.h"
#include "app/window_switches.h"
#include "ui/layout.h"

namespace zentrik::app {
namespace {

struct FakeWindow : WindowControl {
    int hidden = 0;
    int minimised = 0;
    void hide_window() override { ++hidden; }
    void minimise_window() override { ++minimised; }
};

class PageCommandsTest : public ::testing::Test {
  protected:
    PageCommandsTest() {
        ui::build_main_window(board, &owner, shell);
        choice.mouse_selected = true;
    }
    void click(const char* name) {
        ui::Widget* w = board.find_widget(name);
        ASSERT_NE(w, nullptr) << name;
        commands.handle_widget_event({ui::kActionClick, w->id, w, nullptr});
    }
    ui::WidgetBoard board;
    ui::HeadlessOwner owner;
    ui::WindowShell shell;
    ui::PageChoice choice;
    FakeWindow window;
    PageCommands commands{board, choice, window};
};

TEST_F(PageCommandsTest, HomeButtonsAndTabsShowTheirPageAndCheckTheTab) {
    click("function dpi");
    EXPECT_EQ(board.page(), ui::kPageDpi);
    EXPECT_TRUE(board.find_widget("_tab_dpi")->checked);
    click("_tab_macro");
    EXPECT_EQ(board.page(), ui::kPageMacros);
    EXPECT_TRUE(board.find_widget("_tab_macro")->checked);
    EXPECT_FALSE(board.find_widget("_tab_dpi")->checked);
    click("function button");
    EXPECT_EQ(board.page(), ui::kPageButtons);
    click("_home");
    EXPECT_EQ(board.page(), ui::kPageHome);
}

TEST_F(PageCommandsTest, WithoutAMouseThePageSwitchShowsTheNoDevicePage) {
    choice.mouse_selected = false;
    click("_tab_dpi");
    EXPECT_EQ(board.page(), ui::kPageNoDevice);
}

TEST_F(PageCommandsTest, CloseHidesMinimiseIconifiesOtherActionsDoNothing) {
    click("_close");
    click("_mini");
    EXPECT_EQ(window.hidden, 1);
    EXPECT_EQ(window.minimised, 1);
    ui::Widget* tab = board.find_widget("_tab_dpi");
    commands.handle_widget_event({ui::kActionSecondPress, tab->id, tab, nullptr});
    EXPECT_NE(board.page(), ui::kPageDpi);
}

TEST(WindowSwitches, PageSwitchIsTakenOutOfTheArgumentsAndChecked) {
    std::string error;
    std::vector<std::string> args{"/hide", "--page", "5"};
    EXPECT_EQ(take_page_switch(args, error), 5);
    EXPECT_EQ(args, std::vector<std::string>{"/hide"});
    EXPECT_TRUE(error.empty());

    for (const char* bad : {"4", "x", "2x", "-1"}) {
        std::vector<std::string> a{"--page", bad};
        EXPECT_FALSE(take_page_switch(a, error).has_value()) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    std::vector<std::string> missing{"--page"};
    EXPECT_FALSE(take_page_switch(missing, error).has_value());
    EXPECT_FALSE(error.empty());
    std::vector<std::string> none{"/close"};
    EXPECT_FALSE(take_page_switch(none, error).has_value());
    EXPECT_TRUE(error.empty());
}

}  // namespace
}  // namespace zentrik::app
