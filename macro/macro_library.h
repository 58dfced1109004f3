#pragma once
// The macro library: "macro library.ini" beside the program, a user-edited catalogue of macro
// files in categories.
//
//   cat=Games              a category: a header row "_@Games"
//   str=Reload             an entry's title; counts only when the next line is its file line
//   file=macros\reload.mf  the entry's file, relative to the program's directory
//
// Keys are matched in lower case ("FILE=" works, "file =" does not); empty lines are ignored.
// The file is UTF-16LE (with or without a byte-order mark) or UTF-8; "\" in a path is a
// directory separator. A path may climb out of the program's directory with ".." (the catalogue
// and its files are the user's own; they are only read).
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrik::macro {

inline constexpr char kLibraryFileName[] = "macro library.ini";
inline constexpr char kHeaderPrefix[] = "_@";

struct LibraryRow {
    bool header = false;
    std::string text;            // "_@" + category for a header; the title for an entry
    std::filesystem::path path;  // entries: the macro file's full path
    std::uint32_t size = 0;      // entries: macro_file_size of the file (0: missing or invalid)
    int path_index = -1;         // entries: index into MacroLibrary::paths
};

struct MacroLibrary {
    std::vector<LibraryRow> rows;              // in file order
    std::vector<std::filesystem::path> paths;  // one per entry, in entry order

    const std::filesystem::path* library_path(int index) const;
};

// Parses catalogue bytes; entry paths are resolved against `module_directory`.
MacroLibrary parse_library(std::string_view file_bytes,
                           const std::filesystem::path& module_directory);
// The byte offset of the NUL character at which the catalogue's text ends early; nullopt when
// the file holds none. Nothing after it is read.
std::optional<std::size_t> catalogue_nul_offset(std::string_view file_bytes);
// Reads "macro library.ini" in `module_directory`; an empty library when it cannot be read.
MacroLibrary load_library(const std::filesystem::path& module_directory);

// Whether an entry may be written into the mouse: its file must be a macro file holding at least
// one code byte. A missing or invalid file must never become an empty macro.
inline bool library_entry_writable(const LibraryRow& row) {
    return !row.header && row.size > 1;
}

}  // namespace zentrik::macro
