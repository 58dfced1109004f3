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

}  // namespace zentrik::platform
