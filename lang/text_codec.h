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
// 8-bit text to UTF-8: valid UTF-8 passes through; every byte of an invalid sequence is read
// as its Latin-1 character, so nothing after it is lost.
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
