#pragma once
// Chooses the mouse's profile by the program in front, from the user's per-program rules.
//
// It acts only when the focus has rested on another window for kRestMs, so Alt+Tab through
// windows does not churn the mouse, and only when the rule's profile differs from the mouse's:
// a profile the user chose (on the mouse or in the window) holds until the focus moves on.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app_profile_rules.h"
#include "platform/active_window.h"
#include "ui/input/timer_service.h"

namespace zentrik::core {

using platform::ActiveWindow;

class AppProfileFollower {
  public:
    static constexpr int kRestMs = 300;

    struct Hooks {
        std::function<std::optional<int>()> current_profile;  // nullopt: no mouse to set
        std::function<void(int profile)> choose_profile;
    };
    // `timer_id` is a timer of `timers` that this follower alone arms.
    AppProfileFollower(ui::TimerService& timers, int timer_id, Hooks hooks);
    ~AppProfileFollower();
    AppProfileFollower(const AppProfileFollower&) = delete;
    AppProfileFollower& operator=(const AppProfileFollower&) = delete;

    void set_rules(AppProfileRules rules);
    // The focus moved to `window`; the rule is applied once it has rested there.
    void focus_changed(ActiveWindow window);

    // Window classes of this program's own windows: focusing them changes nothing.
    static bool is_own_window(const ActiveWindow& window);

  private:
    void on_rest();

    ui::TimerService& timers_;
    int timer_id_;
    Hooks hooks_;
    AppProfileRules rules_;
    ActiveWindow pending_;
    std::uint64_t settled_id_ = 0;
    bool has_settled_ = false;
};

}  // namespace zentrik::core
