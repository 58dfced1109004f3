#pragma once
// Reader and editor of private-profile INI files ("set.ini", "language.ini", the macro library).
//
// Semantics follow the classic private-profile API the files were designed for:
// - a file is UTF-16 (either byte order, with a byte-order mark or recognised by where its
//   NUL bytes sit), UTF-8 (BOM optional), or 8-bit text in a Windows code page: a file that is
//   not valid UTF-8 is decoded section by section, a section named by a language id ("[1041]")
//   in its language's code page (932 for Japanese), the others in the reader's code page
//   (1252 unless the reader names another); bytes that do not decode are read as Latin-1;
// - section and key names match case-insensitively (ASCII), surrounding blanks are ignored;
// - a value ends at a NUL byte, is trimmed, loses one pair of enclosing quotes, and is cut to
//   999 characters;
// - a missing file, section or key yields the caller's default.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zentrik::lang {

// How a file is written back: 8-bit files as UTF-8, UTF-16 with a byte-order mark.
enum class TextEncoding { kUtf8, kUtf8Bom, kUtf16Le, kUtf16Be };

// The code page of 8-bit text outside the language sections unless the reader names another.
inline constexpr int kWesternCodePage = 1252;

// Longest value a reader returns, in characters (the classic 1000-character buffer).
inline constexpr std::size_t kMaxIniValueChars = 999;

class IniFile {
  public:
    IniFile() = default;

    // Loads `path`; a missing or unreadable file gives an empty IniFile. `code_page` decodes
    // the sections of an 8-bit file that are not named by a language id.
    static IniFile load(const std::filesystem::path& path, int code_page = kWesternCodePage);
    // Parses file bytes as they are on disk (encoding detection included).
    static IniFile parse(std::string_view bytes, int code_page = kWesternCodePage);

    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    std::string get_string(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // Leading optional sign and decimal digits; a value without digits reads as 0.
    int get_int(std::string_view section, std::string_view key, int fallback) const;

    // Sets (or adds) one value, keeping every other line of the file as it was.
    void set(std::string_view section, std::string_view key, std::string_view value);

    std::string serialize() const;  // bytes in the file's own encoding
    TextEncoding encoding() const { return encoding_; }
    void set_encoding(TextEncoding e) { encoding_ = e; }

    // The sections' names in file order (used by the macro library).
    std::vector<std::string> section_names() const;
    // The key/value pairs of one section in file order.
    std::vector<std::pair<std::string, std::string>> entries(std::string_view section) const;

  private:
    struct Line {
        std::string text;  // the raw line (UTF-8), without its line ending
    };
    // Rebuilds index_ from lines_ (after parsing and after every change).
    void reindex();

    std::vector<Line> lines_;
    TextEncoding encoding_ = TextEncoding::kUtf8;
    // Section and key (lower case, the section's length first) -> the line that answers a lookup:
    // the first such key of the first section of that name. A file is parsed once and looked up
    // hundreds of times, so lookups must not rescan it.
    std::unordered_map<std::string, std::size_t> index_;
};

// The bytes of the INI file at `path` with one value set, every other line kept: a new file
// when none is there. Nullopt, with `error` set, when a file is there but cannot be read, since
// writing the result would lose what it holds. The caller writes the bytes (safely, whole).
std::optional<std::string> ini_file_with_value(const std::filesystem::path& path,
                                               std::string_view section, std::string_view key,
                                               std::string_view value, std::string& error);

}  // namespace zentrik::lang
