#pragma once
// Whether the program shows a desktop note when the mouse's profile changes while its window is
// hidden (on unless the user turned it off): key "profile_change" of section [NOTIFY] in the
// user's own "set.ini".
#include <filesystem>
#include <string>

namespace zentrik::core {

bool profile_notes_enabled(const std::filesystem::path& config_directory);
// Stores the choice (the file written whole); false with `error` set when it cannot be.
bool store_profile_notes(const std::filesystem::path& config_directory, bool on,
                         std::string* error);

}  // namespace zentrik::core
