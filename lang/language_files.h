#pragma once
// Names and places of the language files.
#include <filesystem>
#include <vector>

namespace zentrik::lang {

inline constexpr char kSetIniName[] = "set.ini";
inline constexpr char kLanguageIniName[] = "language.ini";

// The set.ini files to consult, first match wins: the per-user one (written when the program
// directory is read-only), then the one beside the program.
inline std::vector<std::filesystem::path> set_ini_search_order(
    const std::filesystem::path& module_directory, const std::filesystem::path& config_directory) {
    return {config_directory / kSetIniName, module_directory / kSetIniName};
}

}  // namespace zentrik::lang
