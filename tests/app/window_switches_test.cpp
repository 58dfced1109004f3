// The window's development switches.
#include <gtest/gtest.h>

#include "app/window_switches.h"

namespace zentrik::app {
namespace {

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

TEST(WindowSwitches, SimulateSwitchTakesItsSpec) {
    std::vector<std::string> args{"/hide", "--simulate=model=8,memory=8"};
    EXPECT_EQ(take_simulate_switch(args), "model=8,memory=8");
    EXPECT_EQ(args, std::vector<std::string>{"/hide"});
    std::vector<std::string> plain{"--simulate"};
    EXPECT_EQ(take_simulate_switch(plain), "");
    std::vector<std::string> none{"/close"};
    EXPECT_FALSE(take_simulate_switch(none).has_value());
}

}  // namespace
}  // namespace zentrik::app
