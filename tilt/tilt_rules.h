#pragma once
// Which scroll step a tilt of the wheel becomes, decided from the windows the user works in.
//
// Most X11 programs scroll sideways on the horizontal wheel buttons, so that is the default.
// Programs that want another gesture (Shift or Ctrl with the vertical wheel) or none are named
// by their window class in a rule table, which the user can extend with a file of rules.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_system.h"

namespace zentrik::tilt {

enum class TiltAction {
    kNothing,
    kHorizontalButtons,
    kShiftWheel,
    kCtrlWheel,
};

struct TiltStep {
    platform::ScrollGesture gesture = platform::ScrollGesture::kHorizontalButtons;
    bool toward_left = false;  // a tilt to the left (negative amount)
};

// A program's rule: its window class (instance or class name of WM_CLASS, compared without
// regard to case; a trailing '*' matches every name that begins with what precedes it).
struct ProgramRule {
    std::string class_pattern;
    TiltAction action = TiltAction::kHorizontalButtons;
};

class TiltRuleTable {
  public:
    // Later rules are asked first, so a rule further down a file overrides one above it.
    void add(ProgramRule rule);
    // The rules of `later` after these, so they win over them.
    void append(const TiltRuleTable& later);
    // The action of the last rule that matches any of `classes`.
    std::optional<TiltAction> find(const std::vector<std::string>& classes) const;
    std::size_t size() const { return rules_.size(); }

  private:
    std::vector<ProgramRule> rules_;
};

// A window whose title holds this is never scrolled while it is in the foreground.
inline constexpr std::string_view kExcludedForegroundTitle = "Dido Zeriv Uzid";

// The one step for a tilt of `amount` (only its sign counts), or nullopt for none: a tilt of
// 0, an excluded foreground window, no window under the pointer, or a rule saying "none".
// Without window facts (`windows_known` false) every tilt is the horizontal wheel.
std::optional<TiltStep> choose_tilt_step(int amount, const platform::WindowFacts& facts,
                                         const TiltRuleTable& rules);

}  // namespace zentrik::tilt
