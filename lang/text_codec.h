#pragma once
// Conversions between the text encodings the program's files use and UTF-8, its in-memory form.
#include <cstddef>
#include <string>
#include <string_view>

namespace zentrik::lang {

// UTF-16LE bytes (no BOM) to UTF-8. An odd trailing byte is ignored; unpaired surrogates
// become U+FFFD.
std::string utf16le_to_utf8(std::string_view bytes);
// UTF-8 to UTF-16LE bytes (no BOM).
std::string utf8_to_utf16le(std::string_view utf8);
// The same for UTF-16BE.
std::string utf16be_to_utf8(std::string_view bytes);
std::string utf8_to_utf16be(std::string_view utf8);
// Whether the bytes are valid UTF-8 as a whole.
bool is_utf8(std::string_view bytes);
// Whether bytes without a byte-order mark look like UTF-16, and of which order, by where their
// NUL bytes sit: in text that is mostly ASCII nearly every unit has a NUL high byte, on the odd
// positions for little-endian and the even ones for big-endian; 8-bit text has hardly any NUL.
enum class Utf16Order { kNotUtf16, kLittleEndian, kBigEndian };
Utf16Order guess_utf16_order(std::string_view bytes);
// 8-bit text to UTF-8: valid UTF-8 passes through; every byte of an invalid sequence is read
// as its Latin-1 character, so nothing after it is lost. (INI files decode such text by their
// language's code page instead: code_pages.h.)
std::string sanitize_8bit(std::string_view bytes);
// Number of characters (code points) in valid UTF-8.
std::size_t utf8_length(std::string_view utf8);
// The first `max_chars` code points of valid UTF-8.
std::string utf8_prefix(std::string_view utf8, std::size_t max_chars);
// UTF-16 strings (as the mouse stores profile names) to and from UTF-8.
std::string utf16_to_utf8(std::u16string_view text);
std::u16string utf8_to_utf16(std::string_view utf8);
// Appends the UTF-8 form of one code point.
void append_utf8(std::string& out, char32_t cp);

}  // namespace zentrik::lang
