#pragma once
// Building requests: class, code and parameter bytes; unlisted bytes are sent as zero.
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "device/report.h"

namespace zentrik::device {

inline Report make_request(std::uint8_t command_class, std::uint8_t code,
                           std::initializer_list<std::pair<int, std::uint8_t>> params = {}) {
    Report r{};
    r[1] = command_class;
    r[2] = code;
    for (const auto& [index, value] : params)
        r[static_cast<std::size_t>(index)] = value;
    return r;
}

inline std::uint8_t low_byte(unsigned v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}
inline std::uint8_t high_byte(unsigned v) {
    return static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

}  // namespace zentrik::device
