#pragma once
// The name a profile shows in the window and in zentrikctl's notes: the mouse's own, or
// "profile N" (counted from 1) for a profile without one.
#include <string>

#include "lang/text_format.h"

namespace zentrik::core {

inline std::string shown_profile_name(std::string name, int profile) {
    return name.empty() ? lang::format_text("profile %d", profile + 1) : name;
}

}  // namespace zentrik::core
