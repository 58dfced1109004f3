#include "tilt/tilt_rule_file.h"

#include <sstream>

#include "lang/file_bytes.h"
#include "platform/paths.h"

namespace zentrik::tilt {
namespace {

std::optional<TiltAction> action_named(const std::string& word) {
    if (word == "buttons")
        return TiltAction::kHorizontalButtons;
    if (word == "shift-wheel")
        return TiltAction::kShiftWheel;
    if (word == "ctrl-wheel")
        return TiltAction::kCtrlWheel;
    if (word == "none")
        return TiltAction::kNothing;
    return std::nullopt;
}

}  // namespace

RuleFileResult parse_tilt_rules(std::string_view text) {
    RuleFileResult result;
    std::istringstream lines{std::string(text)};
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (const auto hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string pattern;
        std::string action;
        std::string extra;
        if (!(words >> pattern))
            continue;  // blank or comment
        const auto prefix = "line " + std::to_string(number) + ": ";
        if (!(words >> action) || (words >> extra)) {
            result.errors.push_back(prefix + "expected \"<window class> <action>\"");
            continue;
        }
        const std::optional<TiltAction> named = action_named(action);
        if (!named) {
            result.errors.push_back(prefix + "unknown action \"" + action +
                                    "\" (buttons, shift-wheel, ctrl-wheel or none)");
            continue;
        }
        result.rules.push_back({pattern, *named});
    }
    return result;
}

TiltRuleTable load_tilt_rules(const std::filesystem::path& file, std::vector<std::string>* errors) {
    TiltRuleTable table;
    const lang::FileRead read = lang::read_regular_file(file, kMaxTiltRuleFileBytes);
    if (!read.bytes) {
        if (!read.missing && errors != nullptr)
            errors->push_back(read.refusal + "; no rules of it are used");
        return table;
    }
    RuleFileResult parsed = parse_tilt_rules(*read.bytes);
    for (ProgramRule& rule : parsed.rules)
        table.add(std::move(rule));
    if (errors != nullptr) {
        for (std::string& error : parsed.errors)
            errors->push_back(file.string() + ": " + error);
    }
    return table;
}

std::filesystem::path user_tilt_rule_file() {
    return platform::user_config_directory() / kTiltRuleFileName;
}

std::filesystem::path shipped_tilt_rule_file() {
    return platform::installed_data_directory() / kTiltRuleFileName;
}

TiltRuleTable load_shipped_and_user_tilt_rules(std::vector<std::string>* errors) {
    TiltRuleTable rules = load_tilt_rules(shipped_tilt_rule_file(), errors);
    rules.append(load_tilt_rules(user_tilt_rule_file(), errors));
    return rules;
}

}  // namespace zentrik::tilt
