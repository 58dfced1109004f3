#pragma once
// Reading a whole (small) file: the INI files, the macro library, macro files.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace zentrik::lang {

// The first `max_bytes` bytes of the regular file at `path`; nullopt when it is missing, not a
// regular file (a directory, a device) or unreadable.
std::optional<std::string> read_file_bytes(const std::filesystem::path& path,
                                           std::size_t max_bytes);

// Text files the program reads are far smaller; anything larger is read only this far.
inline constexpr std::size_t kMaxTextFileBytes = 16 * 1024 * 1024;

}  // namespace zentrik::lang
