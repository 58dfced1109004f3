#pragma once
// How the user's rule files name a program: the instance or class name of its window's
// WM_CLASS (as `xprop WM_CLASS` prints it), compared without regard to case; a trailing '*'
// matches every name that begins with what precedes it.
#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

namespace zentrik::platform {

inline bool window_class_matches(std::string_view pattern, std::string_view name) {
    const bool prefix = !pattern.empty() && pattern.back() == '*';
    if (prefix)
        pattern.remove_suffix(1);
    if (prefix ? name.size() < pattern.size() : name.size() != pattern.size())
        return false;
    return std::equal(pattern.begin(), pattern.end(), name.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

// True when `pattern` matches any of a window's class names.
inline bool window_class_matches_any(std::string_view pattern,
                                     const std::vector<std::string>& classes) {
    return std::any_of(classes.begin(), classes.end(), [&](const std::string& name) {
        return window_class_matches(pattern, name);
    });
}

}  // namespace zentrik::platform
