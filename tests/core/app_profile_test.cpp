// Per-program profiles: the rule file and the follower that applies it once the focus rests.
#include <gtest/gtest.h>

#include "core/app_profile_follower.h"
#include "core/app_profile_rules.h"
#include "ui/input/virtual_timers.h"

namespace zentrik::core {
namespace {

TEST(AppProfileRules, LaterLinesWinAndTheDefaultCoversTheRest) {
    std::vector<std::string> errors;
    const auto rules = AppProfileRules::parse(
        "# games\r\nsteam_app_* 3\ngimp 1\nGIMP 2  # later wins\ndefault 0\n"
        "firefox 7\nbroken\n",
        &errors);
    EXPECT_EQ(rules.profile_for({"gimp-2.10", "Gimp-2.10"}), 0);  // no rule: the default
    EXPECT_EQ(rules.profile_for({"gimp", "Gimp"}), 2);
    EXPECT_EQ(rules.profile_for({"steam_app_570", "steam_app_570"}), 3);
    EXPECT_EQ(rules.profile_for({"steam_ap"}), 0);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].rfind("line 6:", 0), 0u);
    EXPECT_EQ(errors[1].rfind("line 7:", 0), 0u);
    EXPECT_EQ(AppProfileRules::parse("gimp 1\n", nullptr).profile_for({"xterm"}), std::nullopt);
}

TEST(AppProfileRules, EditsKeepTheUsersOtherLines) {
    auto rules = AppProfileRules::parse("# mine\ngimp 1\nxterm 2\ngimp* 3\nGimp 4\n", nullptr);
    rules.set_rule("GIMP", 0);  // replaces both "gimp" lines in place, not "gimp*"
    rules.set_default(2);
    rules.set_rule("inkscape", 1);
    EXPECT_EQ(rules.text(), "# mine\nGIMP 0\nxterm 2\ngimp* 3\ndefault 2\ninkscape 1\n");
    EXPECT_TRUE(rules.remove_rule("XTERM"));
    EXPECT_FALSE(rules.remove_rule("default"));
    rules.set_default(std::nullopt);
    EXPECT_EQ(rules.text(), "# mine\nGIMP 0\ngimp* 3\ninkscape 1\n");
}

struct FollowerRig {
    ui::ManualClock clock;
    ui::VirtualTimers timers{clock};
    std::optional<int> mouse_profile = 0;
    std::vector<int> written;
    AppProfileFollower follower{timers,
                                12,
                                {[this] { return mouse_profile; },
                                 [this](int p) {
                                     written.push_back(p);
                                     mouse_profile = p;
                                 }}};
    FollowerRig() {
        follower.set_rules(AppProfileRules::parse("gimp 1\nxterm 2\ndefault 0\n", nullptr));
    }
    void focus(std::uint64_t id, std::string name) { follower.focus_changed({id, {name, name}}); }
};

TEST(AppProfileFollower, WritesOnceTheFocusRestsAndOnlyWhenTheProfileChanges) {
    FollowerRig rig;
    // Alt+Tab through two programs: only where the focus rests counts.
    rig.focus(1, "gimp");
    rig.timers.advance(200);
    rig.focus(2, "xterm");
    rig.timers.advance(299);
    EXPECT_TRUE(rig.written.empty());
    rig.timers.advance(1);
    EXPECT_EQ(rig.written, std::vector<int>{2});
    // Another xterm: already on profile 2, nothing written.
    rig.focus(3, "xterm");
    rig.timers.advance(300);
    EXPECT_EQ(rig.written, std::vector<int>{2});
    // Leaving for a program without a rule brings the default back.
    rig.focus(4, "nautilus");
    rig.timers.advance(300);
    EXPECT_EQ(rig.written, (std::vector<int>{2, 0}));
}

TEST(AppProfileFollower, NeverFightsTheUsersChoice) {
    FollowerRig rig;
    rig.focus(1, "gimp");
    rig.timers.advance(300);
    ASSERT_EQ(rig.written, std::vector<int>{1});
    rig.mouse_profile = 4;  // the user pressed the mouse's profile button
    // A burst of focus changes that ends where it began is no change of focus.
    rig.focus(2, "xterm");
    rig.timers.advance(100);
    rig.focus(1, "gimp");
    rig.timers.advance(300);
    // The program's own window, the bare desktop and no mouse change nothing either.
    rig.focus(5, "zentrik");
    rig.timers.advance(300);
    rig.focus(0, "");
    rig.timers.advance(300);
    rig.mouse_profile.reset();
    rig.focus(2, "xterm");
    rig.timers.advance(300);
    EXPECT_EQ(rig.written, std::vector<int>{1});
    rig.mouse_profile = 4;
    rig.focus(1, "gimp");
    rig.timers.advance(300);
    EXPECT_EQ(rig.written, (std::vector<int>{1, 1}));
}

}  // namespace
}  // namespace zentrik::core
