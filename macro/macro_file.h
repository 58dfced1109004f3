#pragma once
// Macro files ("*.mf"): the tag string "_@_MF5_", a 32-bit code length N, then N bytes of macro
// code (run-mode byte first, no end byte).
#include <cstdint>
#include <filesystem>
#include <optional>
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
    std::uint32_t present_length = 0;   // code bytes the file really holds (at most N, capped)
    // The usable code: all N bytes; for a truncated file only the whole instructions before
    // the cut. Whether it may go into a mouse slot is slot_code_of's decision (N itself may end
    // inside an instruction).
    MacroCode code;
    bool truncated = false;  // fewer than N bytes were present or read
};

// The file's bytes for `code`.
std::string macro_file_bytes(std::span<const std::uint8_t> code);
// Writes a macro file; false when it cannot be written.
bool write_macro_file(const std::filesystem::path& path, std::span<const std::uint8_t> code);

MacroFileContents parse_macro_file(std::span<const std::uint8_t> bytes);
// Reads at most the header and kMaxMacroCodeBytes of code, whatever N says.
MacroFileContents read_macro_file(const std::filesystem::path& path);

// The code of a parsed file that may go into a mouse slot: nullopt unless the file is a macro
// file whose usable code is whole, known instructions (valid_slot_code). Code without a run-mode
// byte gets MI_MODE_ONCE in front, as the editor shows it. Code whose N ends in the middle of an
// instruction, or holding an unknown code, an end code or the mode byte 0x07, is refused rather
// than written.
std::optional<MacroCode> slot_code_of(const MacroFileContents& contents);

// The space the file's macro needs in the mouse: its usable code bytes + 1 end byte; 0 when the
// file cannot be read, is not a macro file, or its code cannot go into a slot. A file shorter
// than its N counts the whole instructions it holds.
std::uint32_t macro_file_size(const std::filesystem::path& path);

// The code to write into a mouse slot, read once: nullopt when the file is missing, not a macro
// file, holds no code (an empty macro is never written) or its code cannot go into a slot.
// Write exactly these bytes (plus the end byte) into the space reserved for their size, rather
// than reading the file again.
std::optional<MacroCode> macro_code_for_slot(const std::filesystem::path& path);

// Export of the editor's rows: N counts the bytes written (the sum of the row sizes), so rows
// whose offsets were not recomputed still give a consistent file.
bool export_macro_file(const std::filesystem::path& path, const InstructionList& rows);

// Import into the editor's rows: the decoded instructions (a run-mode row first when the code
// has none). kInvalid asks the caller to report "invalid format !!"; kUnreadable ends silently.
struct MacroImport {
    MacroFileStatus status = MacroFileStatus::kUnreadable;
    InstructionList rows;
};
MacroImport import_macro_file(const std::filesystem::path& path);

}  // namespace zentrik::macro
