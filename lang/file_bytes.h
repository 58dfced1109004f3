#pragma once
// Reading a whole (small) file: the INI files, the macro library, macro files, backups, the tilt
// rules and the simulated mouse's state. Only regular files are read (a link to one is fine):
// a FIFO, a device such as /dev/zero or a directory is refused at once, without blocking or
// reading without end.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace zentrik::lang {

struct FileRead {
    std::optional<std::string> bytes;  // the file's bytes, when it was read
    bool missing = false;              // nothing at that path
    std::string refusal;               // why it was not read otherwise: "PATH: REASON"
};

// The regular file at `path` when it holds at most `max_bytes`; a larger one is refused.
FileRead read_regular_file(const std::filesystem::path& path, std::size_t max_bytes);

// The first `max_bytes` bytes of the regular file at `path`; nullopt when it is missing, not a
// regular file (a directory, a device, a FIFO) or unreadable.
std::optional<std::string> read_file_bytes(const std::filesystem::path& path,
                                           std::size_t max_bytes);

// Text files the program reads are far smaller; anything larger is read only this far.
inline constexpr std::size_t kMaxTextFileBytes = 16 * 1024 * 1024;

}  // namespace zentrik::lang
