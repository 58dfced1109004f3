#pragma once
// How a mouse of the family is told apart by its USB strings. Discovery and the udev probe share
// these, so a mouse the program lists is exactly a mouse the udev rule opens to the user.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zentrik::device {

inline constexpr int kIdentityString = 120;
inline constexpr int kVariantString = 199;

// The variant answers string 199 with "KP-3"; its first four bytes, each taken as one
// character, are compared. It is not a mouse of the family.
inline bool is_variant_string(const std::vector<std::uint8_t>& s) {
    constexpr std::string_view kVariantCode = "KP-3";
    return s.size() >= kVariantCode.size() &&
           std::equal(kVariantCode.begin(), kVariantCode.end(), s.begin());
}

// The family signature opens string 120 with the raw bytes 'Z' '4' (not UTF-16 text).
inline bool has_family_signature(const std::vector<std::uint8_t>& s) {
    return s.size() >= 2 && s[0] == 'Z' && s[1] == '4';
}

}  // namespace zentrik::device
