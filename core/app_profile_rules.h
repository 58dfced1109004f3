#pragma once
// The user's per-program profiles: a text file "app-profiles" in the user's configuration
// folder that names, for a program's window class, the mouse profile to use while that program
// has the focus, and optionally the profile for every other program.
//
//   # comment
//   default <profile>              optional; the profile for programs without a rule
//   <window class> <profile>       profile 0-4
//
// Classes are matched as in the tilt rules (instance or class name of WM_CLASS, case ignored,
// optional trailing '*'); a later line wins over an earlier one.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrik::core {

inline constexpr char kAppProfileFileName[] = "app-profiles";
// A rule file is a few lines: a larger one (or anything but a regular file) is refused.
inline constexpr std::size_t kMaxAppProfileFileBytes = 256 * 1024;

struct AppProfileRule {
    std::string class_pattern;
    int profile = 0;
};

class AppProfileRules {
  public:
    // The rules of `text`; lines that are not rules are kept (as text) and described in
    // `errors` ("line N: ..."), so an edit never drops what the user wrote.
    static AppProfileRules parse(std::string_view text, std::vector<std::string>* errors);

    const std::vector<AppProfileRule>& rules() const { return rules_; }
    std::optional<int> default_profile() const { return default_profile_; }

    // The profile of the last rule that matches one of `classes`, else the default profile.
    std::optional<int> profile_for(const std::vector<std::string>& classes) const;

    // Edits keep comments and the order of the other lines. `set_rule` replaces the rules of
    // the same class (case ignored) with one line at the place of the first, or appends it.
    void set_rule(const std::string& class_pattern, int profile);
    // False when no rule names `class_pattern`.
    bool remove_rule(const std::string& class_pattern);
    void set_default(std::optional<int> profile);

    std::string text() const;

  private:
    void reparse();

    std::vector<std::string> lines_;
    std::vector<AppProfileRule> rules_;
    std::optional<int> default_profile_;
};

// True when `word` is a class pattern a rule may hold (no blanks, no '#', not "default").
bool valid_app_class(std::string_view word);

struct AppProfileFile {
    AppProfileRules rules;
    std::vector<std::string> errors;  // a refused file, and each line that is not a rule
    bool missing = false;
    bool refused = false;  // there, but not read (too large, not a regular file, unreadable)
};
AppProfileFile load_app_profiles(const std::filesystem::path& file);
// $XDG_CONFIG_HOME/zentrik/app-profiles.
std::filesystem::path user_app_profile_file();

}  // namespace zentrik::core
