#pragma once
// The user's tilt rules: a text file "tilt-rules" in the user's configuration directory.
//
//   # comment
//   <window class> <action>        action: buttons | shift-wheel | ctrl-wheel | none
//
// One rule a line; the class is the instance or class name of the window's WM_CLASS (as
// `xprop WM_CLASS` prints it), without regard to case, with an optional trailing '*'. Later
// lines win over earlier ones and over the shipped rules (the same format, in the data folder).
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tilt/tilt_rules.h"

namespace zentrik::tilt {

inline constexpr char kTiltRuleFileName[] = "tilt-rules";

struct RuleFileResult {
    std::vector<ProgramRule> rules;
    std::vector<std::string> errors;  // "line N: ..." for each line that was skipped
};

RuleFileResult parse_tilt_rules(std::string_view text);

// A rule file is a few lines; a larger one is refused, as is anything but a regular file (a
// FIFO, a device), so a stray file never blocks or floods the start.
inline constexpr std::size_t kMaxTiltRuleFileBytes = 256 * 1024;

// The rules of `file`; none when it is missing or refused (said in `errors`). Lines that are
// not rules are skipped and described in `errors`.
TiltRuleTable load_tilt_rules(const std::filesystem::path& file, std::vector<std::string>* errors);
// The rule file's place: $XDG_CONFIG_HOME/zentrik/tilt-rules.
std::filesystem::path user_tilt_rule_file();
// The rules the program ships: "tilt-rules" in the installed data folder.
std::filesystem::path shipped_tilt_rule_file();
// The shipped rules, then the user's, which win over them.
TiltRuleTable load_shipped_and_user_tilt_rules(std::vector<std::string>* errors);

}  // namespace zentrik::tilt
