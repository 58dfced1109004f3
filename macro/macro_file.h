#pragma once
// Macro files ("*.mf"): the tag string "_@_MF5_", a 32-bit code length N, then N bytes of macro
// code (run-mode byte first, no end byte).
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "macro/instruction.h"

namespace zentrik::macro {

inline constexpr char kMacroFileTag[] = "_@_MF5_";
inline constexpr char kMacroFileExtension[] = "mf";
// No mouse holds more code than its 16-bit address space; longer code is not read.
inline constexpr std::uint32_t kMaxMacroCodeBytes = 0x10000;

enum class MacroFileStatus {
    kOk,
    kUnreadable,  // missing or cannot be opened
    kInvalid,     // wrong tag, or the file ends before its length field
};

struct MacroFileContents {
    MacroFileStatus status = MacroFileStatus::kUnreadable;
    std::uint32_t declared_length = 0;  // N as the file states it
    MacroCode code;                     // the code bytes present (at most N)
    bool truncated = false;             // fewer than N bytes were present or read
};

// The file's bytes for `code`.
std::string macro_file_bytes(std::span<const std::uint8_t> code);
// Writes a macro file; false when it cannot be written.
bool write_macro_file(const std::filesystem::path& path, std::span<const std::uint8_t> code);

MacroFileContents parse_macro_file(std::span<const std::uint8_t> bytes);
// Reads at most the header and kMaxMacroCodeBytes of code, whatever N says.
MacroFileContents read_macro_file(const std::filesystem::path& path);

// The space the file's macro needs in the mouse: its code bytes + 1 end byte; 0 when the file
// cannot be read or is not a macro file. A file shorter than its N counts what it holds.
std::uint32_t macro_file_size(const std::filesystem::path& path);

}  // namespace zentrik::macro
