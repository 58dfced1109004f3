#include <cstdlib>
#include <system_error>

#include "platform/paths.h"

namespace zentrik::platform {
namespace {

std::filesystem::path xdg_dir(const char* variable, const char* home_suffix) {
    if (const char* v = std::getenv(variable); v && *v == '/')
        return std::filesystem::path(v);
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : "/tmp") / home_suffix;
}

}  // namespace

std::filesystem::path executable_path() {
    std::error_code ec;
    auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : p;
}

std::filesystem::path module_directory() {
    return executable_path().parent_path();
}

std::filesystem::path user_config_directory() {
    return xdg_dir("XDG_CONFIG_HOME", ".config") / "zentrik";
}

std::filesystem::path user_state_directory() {
    return xdg_dir("XDG_STATE_HOME", ".local/state") / "zentrik";
}

std::filesystem::path installed_data_directory() {
    std::error_code ec;
    const auto beside = module_directory() / ZENTRIK_DATA_DIR_FROM_BINDIR;
    if (!module_directory().empty() && std::filesystem::is_directory(beside, ec))
        return beside.lexically_normal();
    return ZENTRIK_INSTALLED_DATA_DIR;
}

std::vector<std::filesystem::path> config_search_path() {
    return {user_config_directory(), installed_data_directory(), module_directory()};
}

std::filesystem::path first_folder_holding(const std::vector<std::filesystem::path>& folders,
                                           std::string_view file_name) {
    for (const auto& folder : folders) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(folder / file_name, ec))
            return folder;
    }
    return folders.empty() ? std::filesystem::path() : folders.back();
}

std::filesystem::path config_file_directory(std::string_view file_name) {
    return first_folder_holding(config_search_path(), file_name);
}

std::filesystem::path settings_directory() {
    return user_config_directory();
}

}  // namespace zentrik::platform
