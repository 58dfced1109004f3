#include "core/profile_notes_setting.h"

#include <system_error>

#include "lang/ini_file.h"
#include "lang/language_files.h"
#include "platform/replacing_file.h"

namespace zentrik::core {
namespace {

constexpr char kSection[] = "NOTIFY";
constexpr char kKey[] = "profile_change";

}  // namespace

bool profile_notes_enabled(const std::filesystem::path& config_directory) {
    const auto file = lang::IniFile::load(config_directory / lang::kSetIniName);
    return file.get_string(kSection, kKey, "on") != "off";
}

bool store_profile_notes(const std::filesystem::path& config_directory, bool on,
                         std::string* error) {
    std::string why;
    std::error_code ec;
    std::filesystem::create_directories(config_directory, ec);
    const auto path = config_directory / lang::kSetIniName;
    const auto bytes = lang::ini_file_with_value(path, kSection, kKey, on ? "on" : "off", why);
    if (bytes && platform::replace_file(path, *bytes, &why))
        return true;
    if (error != nullptr)
        *error = why;
    return false;
}

}  // namespace zentrik::core
