#pragma once
// Names kept in fixed-width fields of the mouse's memory (profile names, macro names): UTF-16
// little-endian, cut to the field, padded with zero bytes, not terminated.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zentrik::device {

// The first `units` UTF-16 units of `text`, less a high surrogate at the end: a character that
// does not fit whole is left out whole.
std::u16string fit_name(std::u16string_view text, std::size_t units);

// `text` fitted to field.size() / 2 units, little-endian, the rest of the field zero.
void encode_name(std::u16string_view text, std::span<std::uint8_t> field);

// The units of `field` up to the first zero unit (or the end of the field).
std::u16string decode_name(std::span<const std::uint8_t> field);

}  // namespace zentrik::device
