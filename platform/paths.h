#pragma once
// Where the program finds itself and the user's per-user directories.
#include <filesystem>
#include <string_view>
#include <vector>

namespace zentrik::platform {

// Full path of the running executable, symlinks resolved; empty when it cannot be read.
std::filesystem::path executable_path();
// The directory of the executable ("module directory"): language.ini, set.ini, the macro library.
std::filesystem::path module_directory();
// $XDG_CONFIG_HOME/zentrik (default ~/.config/zentrik); not created here.
std::filesystem::path user_config_directory();
// $XDG_STATE_HOME/zentrik (default ~/.local/state/zentrik); not created here.
std::filesystem::path user_state_directory();

// The installed data folder (<prefix>/share/zentrik): the one the install laid out beside the
// program's folder (so a DESTDIR or relocated install finds its own), else the folder compiled
// in. It need not exist: a run from the build tree has none.
std::filesystem::path installed_data_directory();

// The folders searched for "set.ini", "language.ini" and "macro library.ini", first match wins:
// the user's folder, the installed data folder, the program's own folder.
std::vector<std::filesystem::path> config_search_path();
// The first of `folders` that holds a file `file_name`; the last folder when none does.
std::filesystem::path first_folder_holding(const std::vector<std::filesystem::path>& folders,
                                           std::string_view file_name);
// first_folder_holding(config_search_path(), file_name).
std::filesystem::path config_file_directory(std::string_view file_name);

// Where "set.ini" is written: always the user's folder, so a choice is the user's own and a
// program folder (the system's, or a build tree) is never written into.
std::filesystem::path settings_directory();

}  // namespace zentrik::platform
