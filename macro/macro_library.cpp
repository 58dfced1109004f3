#include "macro/macro_library.h"

#include "lang/file_bytes.h"
#include "lang/text_codec.h"
#include "macro/macro_file.h"

namespace zentrik::macro {
namespace {

enum class CatalogueEncoding { utf16_bom, utf8_bom, utf16, utf8 };

// UTF-16LE text of the ASCII keys has a zero high byte in nearly every pair; a stray NUL in
// UTF-8 text does not make it UTF-16.
bool looks_like_utf16le(std::string_view bytes) {
    const std::size_t pairs = bytes.size() / 2;
    std::size_t zero_high = 0;
    for (std::size_t i = 1; i < bytes.size(); i += 2)
        zero_high += bytes[i] == '\0';
    return pairs > 0 && zero_high * 2 >= pairs;
}

CatalogueEncoding encoding_of(std::string_view bytes) {
    if (bytes.substr(0, 2) == "\xFF\xFE")
        return CatalogueEncoding::utf16_bom;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return CatalogueEncoding::utf8_bom;
    return looks_like_utf16le(bytes) ? CatalogueEncoding::utf16 : CatalogueEncoding::utf8;
}

// The catalogue's text, up to its first NUL character.
std::string catalogue_text(std::string_view bytes) {
    std::string text;
    switch (encoding_of(bytes)) {
        case CatalogueEncoding::utf16_bom:
            text = lang::utf16le_to_utf8(bytes.substr(2));
            break;
        case CatalogueEncoding::utf8_bom:
            text = lang::sanitize_8bit(bytes.substr(3));
            break;
        case CatalogueEncoding::utf16:
            text = lang::utf16le_to_utf8(bytes);
            break;
        case CatalogueEncoding::utf8:
            text = lang::sanitize_8bit(bytes);
            break;
    }
    return text.substr(0, text.find('\0'));
}

std::vector<std::string_view> non_empty_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start)
            lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

struct KeyValue {
    std::string key;  // lower case
    std::string_view value;
};

KeyValue split(std::string_view line) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return {};
    KeyValue kv;
    for (char c : line.substr(0, eq))
        kv.key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    kv.value = line.substr(eq + 1);
    return kv;
}

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// The file's full path: blanks around the relative path dropped (the original platform ignored
// trailing ones too), "\" read as a separator, and a leading separator read as relative to the
// module directory. ".." is kept: the catalogue is the user's own file, so an entry may name a
// macro file beside or above the program's folder; the file is only ever read, and what it
// holds must still pass the macro-file checks before it reaches a mouse.
std::filesystem::path entry_path(std::string_view value, const std::filesystem::path& module_dir) {
    while (!value.empty() && is_space(value.front()))
        value.remove_prefix(1);
    while (!value.empty() && is_space(value.back()))
        value.remove_suffix(1);
    std::string relative(value);
    for (char& c : relative) {
        if (c == '\\')
            c = '/';
    }
    const auto first = relative.find_first_not_of('/');
    relative.erase(0, first == std::string::npos ? relative.size() : first);
    return module_dir / relative;
}

}  // namespace

const std::filesystem::path* MacroLibrary::library_path(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= paths.size())
        return nullptr;
    return &paths[static_cast<std::size_t>(index)];
}

MacroLibrary parse_library(std::string_view file_bytes,
                           const std::filesystem::path& module_directory) {
    MacroLibrary library;
    const std::string text = catalogue_text(file_bytes);
    const auto lines = non_empty_lines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const KeyValue kv = split(lines[i]);
        if (kv.key == "cat") {
            LibraryRow row;
            row.header = true;
            row.text = kHeaderPrefix + std::string(kv.value);
            library.rows.push_back(std::move(row));
        } else if (kv.key == "str" && i + 1 < lines.size()) {
            const KeyValue file = split(lines[i + 1]);
            if (file.key != "file")
                continue;  // the next line is read on its own
            ++i;
            LibraryRow row;
            row.text = std::string(kv.value);
            row.path = entry_path(file.value, module_directory);
            row.size = macro_file_size(row.path);
            row.path_index = static_cast<int>(library.paths.size());
            library.paths.push_back(row.path);
            library.rows.push_back(std::move(row));
        }
    }
    return library;
}

std::optional<std::size_t> catalogue_nul_offset(std::string_view bytes) {
    const auto encoding = encoding_of(bytes);
    if (encoding == CatalogueEncoding::utf16_bom || encoding == CatalogueEncoding::utf16) {
        for (std::size_t i = encoding == CatalogueEncoding::utf16 ? 0 : 2; i + 1 < bytes.size();
             i += 2) {
            if (bytes[i] == '\0' && bytes[i + 1] == '\0')
                return i;
        }
        return std::nullopt;
    }
    const auto at = bytes.find('\0');
    return at == std::string_view::npos ? std::nullopt : std::optional<std::size_t>(at);
}

MacroLibrary load_library(const std::filesystem::path& module_directory) {
    const auto bytes =
        lang::read_file_bytes(module_directory / kLibraryFileName, lang::kMaxTextFileBytes);
    return bytes ? parse_library(*bytes, module_directory) : MacroLibrary{};
}

}  // namespace zentrik::macro
