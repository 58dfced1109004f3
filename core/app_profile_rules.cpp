#include "core/app_profile_rules.h"

#include <sstream>

#include "device/protocol.h"
#include "lang/file_bytes.h"
#include "platform/paths.h"
#include "platform/window_class_pattern.h"

namespace zentrik::core {
namespace {

constexpr std::string_view kDefaultWord = "default";

std::optional<int> profile_number(const std::string& word) {
    if (word.size() != 1 || word[0] < '0' || word[0] >= '0' + device::kProfileCount)
        return std::nullopt;
    return word[0] - '0';
}

// A line split into its words, comment removed.
std::vector<std::string> words_of(const std::string& line) {
    std::istringstream in(line.substr(0, line.find('#')));
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

}  // namespace

bool valid_app_class(std::string_view word) {
    if (word.empty() || word == kDefaultWord)
        return false;
    for (const char c : word) {
        if (c == '#' || static_cast<unsigned char>(c) <= ' ')
            return false;
    }
    return true;
}

AppProfileRules AppProfileRules::parse(std::string_view text, std::vector<std::string>* errors) {
    AppProfileRules result;
    std::istringstream in{std::string(text)};
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        result.lines_.push_back(line);
    }
    result.reparse();
    if (errors != nullptr) {
        int number = 0;
        for (const std::string& line : result.lines_) {
            ++number;
            const auto words = words_of(line);
            if (words.empty())
                continue;
            const auto prefix = "line " + std::to_string(number) + ": ";
            if (words.size() != 2)
                errors->push_back(prefix +
                                  "expected \"<window class> <profile>\" or "
                                  "\"default <profile>\"");
            else if (!profile_number(words[1]))
                errors->push_back(prefix + "the profile must be 0-4, not \"" + words[1] + "\"");
        }
    }
    return result;
}

void AppProfileRules::reparse() {
    rules_.clear();
    default_profile_.reset();
    for (const std::string& line : lines_) {
        const auto words = words_of(line);
        if (words.size() != 2)
            continue;
        const auto profile = profile_number(words[1]);
        if (!profile)
            continue;
        if (words[0] == kDefaultWord)
            default_profile_ = profile;
        else
            rules_.push_back({words[0], *profile});
    }
}

std::optional<int> AppProfileRules::profile_for(const std::vector<std::string>& classes) const {
    for (auto rule = rules_.rbegin(); rule != rules_.rend(); ++rule) {
        if (platform::window_class_matches_any(rule->class_pattern, classes))
            return rule->profile;
    }
    return default_profile_;
}

void AppProfileRules::set_rule(const std::string& class_pattern, int profile) {
    const std::string line = class_pattern + " " + std::to_string(profile);
    bool placed = false;
    std::vector<std::string> kept;
    for (std::string& old : lines_) {
        const auto words = words_of(old);
        if (!words.empty() && platform::same_class_name(words[0], class_pattern) &&
            words[0] != kDefaultWord) {
            if (!placed)
                kept.push_back(line);
            placed = true;
            continue;
        }
        kept.push_back(std::move(old));
    }
    if (!placed)
        kept.push_back(line);
    lines_ = std::move(kept);
    reparse();
}

bool AppProfileRules::remove_rule(const std::string& class_pattern) {
    const auto before = lines_.size();
    std::erase_if(lines_, [&](const std::string& line) {
        const auto words = words_of(line);
        return !words.empty() && words[0] != kDefaultWord &&
               platform::same_class_name(words[0], class_pattern);
    });
    reparse();
    return lines_.size() != before;
}

void AppProfileRules::set_default(std::optional<int> profile) {
    std::erase_if(lines_, [](const std::string& line) {
        const auto words = words_of(line);
        return !words.empty() && words[0] == kDefaultWord;
    });
    if (profile)
        lines_.push_back(std::string(kDefaultWord) + " " + std::to_string(*profile));
    reparse();
}

std::string AppProfileRules::text() const {
    std::string out;
    for (const std::string& line : lines_)
        out += line + "\n";
    return out;
}

AppProfileFile load_app_profiles(const std::filesystem::path& file) {
    AppProfileFile result;
    const lang::FileRead read = lang::read_regular_file(file, kMaxAppProfileFileBytes);
    if (!read.bytes) {
        result.missing = read.missing;
        result.refused = !read.missing;
        if (result.refused)
            result.errors.push_back(read.refusal + "; no rules of it are used");
        return result;
    }
    std::vector<std::string> errors;
    result.rules = AppProfileRules::parse(*read.bytes, &errors);
    for (std::string& error : errors)
        result.errors.push_back(file.string() + ": " + error);
    return result;
}

std::filesystem::path user_app_profile_file() {
    return platform::user_config_directory() / kAppProfileFileName;
}

}  // namespace zentrik::core
