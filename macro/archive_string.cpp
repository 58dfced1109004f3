#include "macro/archive_string.h"

#include "lang/text_codec.h"

namespace zentrik::macro {

std::optional<std::uint64_t> ByteReader::read_le(std::size_t width) {
    if (width > 8 || remaining() < width)
        return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= std::uint64_t{bytes_[pos_ + i]} << (8 * i);
    pos_ += width;
    return value;
}

std::optional<std::span<const std::uint8_t>> ByteReader::read_bytes(std::uint64_t count) {
    if (count > remaining())
        return std::nullopt;
    auto out = bytes_.subspan(pos_, static_cast<std::size_t>(count));
    pos_ += static_cast<std::size_t>(count);
    return out;
}

std::optional<std::string> read_archive_string(ByteReader& reader) {
    ByteReader r = reader;
    bool wide = false;
    auto length = r.read_le(1);
    if (length && *length == 0xFF) {
        length = r.read_le(2);
        if (length && *length == 0xFFFE) {
            wide = true;
            length = r.read_le(1);
            if (length && *length == 0xFF)
                length = r.read_le(2);
        }
        if (length && *length == 0xFFFF) {
            length = r.read_le(4);
            if (length && *length == 0xFFFFFFFF)
                length = r.read_le(8);
        }
    }
    if (!length)
        return std::nullopt;
    const std::uint64_t unit = wide ? 2 : 1;
    if (*length > r.remaining() / unit)
        return std::nullopt;  // never trust the length
    const auto chars = r.read_bytes(*length * unit);
    const std::string_view raw(reinterpret_cast<const char*>(chars->data()), chars->size());
    reader = r;
    return wide ? lang::utf16le_to_utf8(raw) : lang::sanitize_8bit(raw);
}

std::string archive_string_bytes(std::string_view utf8) {
    const std::string chars = lang::utf8_to_utf16le(utf8);
    const std::uint64_t n = chars.size() / 2;
    std::string out = "\xFF\xFE\xFF";
    auto put = [&out](std::uint64_t v, int width) {
        for (int i = 0; i < width; ++i)
            out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    if (n < 0xFF) {
        put(n, 1);
    } else if (n < 0xFFFF) {
        put(0xFF, 1);
        put(n, 2);
    } else {
        put(0xFF, 1);
        put(0xFFFF, 2);
        put(n, 4);
    }
    return out + chars;
}

}  // namespace zentrik::macro
