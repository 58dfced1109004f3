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

// Whether two names are the same but for case; a '*' equals only a '*'. Rule lines name the
// same program when their names compare so.
inline bool same_class_name(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

inline bool window_class_matches(std::string_view pattern, std::string_view name) {
    if (pattern.empty() || pattern.back() != '*')
        return same_class_name(pattern, name);
    pattern.remove_suffix(1);
    return name.size() >= pattern.size() &&
           same_class_name(pattern, name.substr(0, pattern.size()));
}

// True when `pattern` matches any of a window's class names.
inline bool window_class_matches_any(std::string_view pattern,
                                     const std::vector<std::string>& classes) {
    return std::any_of(classes.begin(), classes.end(), [&](const std::string& name) {
        return window_class_matches(pattern, name);
    });
}

}  // namespace zentrik::platform
