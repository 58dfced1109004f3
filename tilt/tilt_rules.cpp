#include "tilt/tilt_rules.h"

#include "platform/window_class_pattern.h"

namespace zentrik::tilt {

void TiltRuleTable::add(ProgramRule rule) {
    rules_.push_back(std::move(rule));
}

void TiltRuleTable::append(const TiltRuleTable& later) {
    rules_.insert(rules_.end(), later.rules_.begin(), later.rules_.end());
}

std::optional<TiltAction> TiltRuleTable::find(const std::vector<std::string>& classes) const {
    for (auto rule = rules_.rbegin(); rule != rules_.rend(); ++rule) {
        if (platform::window_class_matches_any(rule->class_pattern, classes))
            return rule->action;
    }
    return std::nullopt;
}

std::optional<TiltStep> choose_tilt_step(int amount, const platform::WindowFacts& facts,
                                         const TiltRuleTable& rules) {
    if (amount == 0)
        return std::nullopt;
    TiltStep step;
    step.toward_left = amount < 0;
    // Without window facts (Wayland) the horizontal wheel goes to whatever is under the pointer.
    if (!facts.windows_known)
        return step;
    if (!facts.has_pointer_window)
        return std::nullopt;
    if (facts.has_foreground &&
        facts.foreground_title.find(kExcludedForegroundTitle) != std::string::npos)
        return std::nullopt;
    switch (rules.find(facts.pointer_classes).value_or(TiltAction::kHorizontalButtons)) {
        case TiltAction::kNothing:
            return std::nullopt;
        case TiltAction::kHorizontalButtons:
            step.gesture = platform::ScrollGesture::kHorizontalButtons;
            break;
        case TiltAction::kShiftWheel:
            step.gesture = platform::ScrollGesture::kShiftWheel;
            break;
        case TiltAction::kCtrlWheel:
            step.gesture = platform::ScrollGesture::kCtrlWheel;
            break;
    }
    return step;
}

}  // namespace zentrik::tilt
