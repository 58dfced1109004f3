#pragma once
// The tag this program writes into the mouse it selects; the mouse's own reports carry it back,
// so reports meant for another program (which wrote its own tag) are told apart.
#include <cstdint>

namespace zentrik::core {

inline constexpr std::uint8_t kInitialLinkTag = 1;

// The tag for the next selection: one more, and 2 after 255 (0 and 1 are never sent).
constexpr std::uint8_t next_link_tag(std::uint8_t tag) {
    const std::uint8_t next = static_cast<std::uint8_t>(tag + 1);
    return next < 2 ? 2 : next;
}

}  // namespace zentrik::core
