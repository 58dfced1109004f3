#include "core/app_profile_follower.h"

#include "platform/window_class_pattern.h"

namespace zentrik::core {

AppProfileFollower::AppProfileFollower(ui::TimerService& timers, int timer_id, Hooks hooks)
    : timers_(timers), timer_id_(timer_id), hooks_(std::move(hooks)) {
    timers_.set_handler(timer_id_, [this] { on_rest(); });
}

AppProfileFollower::~AppProfileFollower() {
    timers_.stop(timer_id_);
    timers_.set_handler(timer_id_, {});
}

void AppProfileFollower::set_rules(AppProfileRules rules) {
    rules_ = std::move(rules);
}

bool AppProfileFollower::is_own_window(const ActiveWindow& window) {
    return platform::window_class_matches_any("zentrik", window.classes);
}

void AppProfileFollower::focus_changed(ActiveWindow window) {
    pending_ = std::move(window);
    timers_.arm(timer_id_, kRestMs);  // restarts the rest on every change
}

void AppProfileFollower::on_rest() {
    timers_.stop(timer_id_);
    // Back on the window the focus rested on before (Alt+Tab and back): nothing changed.
    if (has_settled_ && pending_.id == settled_id_)
        return;
    has_settled_ = true;
    settled_id_ = pending_.id;
    if (pending_.id == 0 || is_own_window(pending_))
        return;
    const std::optional<int> wanted = rules_.profile_for(pending_.classes);
    const std::optional<int> current = hooks_.current_profile();
    if (wanted && current && *wanted != *current)
        hooks_.choose_profile(*wanted);
}

}  // namespace zentrik::core
