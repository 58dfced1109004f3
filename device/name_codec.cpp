#include "device/name_codec.h"

#include <algorithm>

namespace zentrik::device {

std::u16string fit_name(std::u16string_view text, std::size_t units) {
    std::u16string cut(text.substr(0, units));
    if (!cut.empty() && cut.back() >= 0xD800 && cut.back() <= 0xDBFF)
        cut.pop_back();
    return cut;
}

void encode_name(std::u16string_view text, std::span<std::uint8_t> field) {
    std::fill(field.begin(), field.end(), std::uint8_t{0});
    const std::u16string cut = fit_name(text, field.size() / 2);
    for (std::size_t i = 0; i < cut.size(); ++i) {
        field[2 * i] = static_cast<std::uint8_t>(cut[i] & 0xFF);
        field[2 * i + 1] = static_cast<std::uint8_t>(cut[i] >> 8);
    }
}

std::u16string decode_name(std::span<const std::uint8_t> field) {
    std::u16string name;
    for (std::size_t i = 0; i + 1 < field.size(); i += 2) {
        const auto unit = static_cast<char16_t>(field[i] | (field[i + 1] << 8));
        if (unit == 0)
            break;
        name.push_back(unit);
    }
    return name;
}

}  // namespace zentrik::device
