#pragma once
// A profile kept as a file (docs/profile-files.md): its name, what each of the eleven buttons
// does and the macros its buttons run, as a readable JSON document. Reading checks everything
// a mouse would have to take on trust: a document that is read is whole and consistent, so an
// import can plan against the mouse without further doubt about the file.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/button_functions.h"
#include "device/protocol.h"
#include "macro/instruction.h"

namespace zentrik::core {

inline constexpr int kProfileFileVersion = 1;
// Eleven macros of the largest code area, in hex, fit many times over.
inline constexpr std::size_t kMaxProfileFileBytes = 1024 * 1024;

struct ProfileMacro {
    std::string name;       // UTF-8, as a directory record holds it
    macro::MacroCode code;  // without the end byte
};

struct ProfileButton {
    int function = kDefaultFunctionCode;  // a function's code, when `macro` is -1
    int macro = -1;                       // index into ProfileDocument::macros
};

struct ProfileDocument {
    std::string name;  // UTF-8, at most 6 UTF-16 units; empty: no name
    std::array<ProfileButton, device::kButtonCount> buttons{};  // by zentrikctl's button number
    std::vector<ProfileMacro> macros;                           // each used by some button
};

// The document as the file holds it (UTF-8 JSON, a final newline).
std::string profile_json(const ProfileDocument& document);

// A document read, or why not (a message for the user).
struct ProfileRead {
    std::optional<ProfileDocument> document;
    std::string error;
};

// Reads and checks `text`: the format and version, the name, every button exactly once with a
// known function or a listed macro, some button acting as left click, at most eleven macros,
// each used, with distinct names and code a slot can hold.
ProfileRead parse_profile_json(std::string_view text);

// The file at `path` (at most kMaxProfileFileBytes, a regular file) through parse_profile_json.
ProfileRead read_profile_file(const std::filesystem::path& path);

// Writes the document whole or not at all; nullopt when written, else why not.
std::optional<std::string> write_profile_file(const std::filesystem::path& path,
                                              const ProfileDocument& document);

}  // namespace zentrik::core
