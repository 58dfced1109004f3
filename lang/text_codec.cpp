#include "lang/text_codec.h"

#include <algorithm>
#include <utility>

namespace zentrik::lang {

void append_utf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = 0xFFFD;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string utf16le_to_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    auto unit = [&](std::size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    };
    for (std::size_t i = 0; i < units; ++i) {
        char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            char32_t low = unit(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                append_utf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        append_utf8(out, u);  // lone surrogates become U+FFFD there
    }
    return out;
}

namespace {

// Decodes one UTF-8 sequence at `s[i]`; returns its length, or 0 when it is not valid UTF-8.
std::size_t decode_one(std::string_view s, std::size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t len;
    char32_t min;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

}  // namespace

std::string utf8_to_utf16le(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    auto put = [&](char16_t u) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    };
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp;
        std::size_t len = decode_one(utf8, i, cp);
        if (len == 0) {
            cp = static_cast<unsigned char>(utf8[i]);  // Latin-1 reading of a stray byte
            len = 1;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(static_cast<char16_t>(0xD800 + (cp >> 10)));
            put(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            put(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

namespace {

// UTF-16 bytes with every unit's two bytes exchanged (an odd trailing byte is dropped).
std::string swapped_units(std::string_view bytes) {
    std::string out(bytes.substr(0, bytes.size() / 2 * 2));
    for (std::size_t i = 0; i + 1 < out.size(); i += 2)
        std::swap(out[i], out[i + 1]);
    return out;
}

}  // namespace

std::string utf16be_to_utf8(std::string_view bytes) {
    return utf16le_to_utf8(swapped_units(bytes));
}

std::string utf8_to_utf16be(std::string_view utf8) {
    return swapped_units(utf8_to_utf16le(utf8));
}

bool is_utf8(std::string_view bytes) {
    char32_t cp;
    for (std::size_t i = 0, len; i < bytes.size(); i += len)
        if ((len = decode_one(bytes, i, cp)) == 0)
            return false;
    return true;
}

Utf16Order guess_utf16_order(std::string_view bytes) {
    // The start of the file tells; a few kilobytes are plenty.
    const std::size_t units = std::min<std::size_t>(bytes.size(), 8192) / 2;
    if (units < 2)
        return Utf16Order::kNotUtf16;
    std::size_t nul_low = 0, nul_high = 0;  // NULs at even and at odd positions
    for (std::size_t i = 0; i < units; ++i) {
        nul_low += bytes[2 * i] == '\0';
        nul_high += bytes[2 * i + 1] == '\0';
    }
    // At least two units in five with a NUL on one side, almost none on the other.
    auto looks_like = [&](std::size_t side, std::size_t other) {
        return side * 5 >= units * 2 && other * 10 <= side;
    };
    if (looks_like(nul_high, nul_low))
        return Utf16Order::kLittleEndian;
    if (looks_like(nul_low, nul_high))
        return Utf16Order::kBigEndian;
    return Utf16Order::kNotUtf16;
}

std::string sanitize_8bit(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t cp;
        std::size_t len = decode_one(bytes, i, cp);
        if (len == 0) {
            append_utf8(out, static_cast<unsigned char>(bytes[i]));
            ++i;
        } else {
            out.append(bytes.substr(i, len));
            i += len;
        }
    }
    return out;
}

std::size_t utf8_length(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

std::string utf8_prefix(std::string_view utf8, std::size_t max_chars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (chars == max_chars)
                return std::string(utf8.substr(0, i));
            ++chars;
        }
    }
    return std::string(utf8);
}

std::string utf16_to_utf8(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return utf16le_to_utf8(bytes);
}

std::u16string utf8_to_utf16(std::string_view utf8) {
    const std::string bytes = utf8_to_utf16le(utf8);
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return out;
}

}  // namespace zentrik::lang
