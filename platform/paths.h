#pragma once
// Where the program finds itself and the user's per-user directories.
#include <filesystem>

namespace zentrik::platform {

// Full path of the running executable, symlinks resolved; empty when it cannot be read.
std::filesystem::path executable_path();
// The directory of the executable ("module directory"): language.ini, set.ini, the macro library.
std::filesystem::path module_directory();
// $XDG_CONFIG_HOME/zentrik (default ~/.config/zentrik); not created here.
std::filesystem::path user_config_directory();
// $XDG_STATE_HOME/zentrik (default ~/.local/state/zentrik); not created here.
std::filesystem::path user_state_directory();

}  // namespace zentrik::platform
