#pragma once
// Which buttons use a macro: the window's removal question and `zentrikctl macros remove` name
// them the same way.
#include <array>
#include <string>

#include "device/button_table.h"
#include "device/protocol.h"

namespace zentrik::core {

using ProfileNames = std::array<std::string, device::kProfileCount>;

// The buttons whose function is the macro starting at `start`, as "NAME: BUTTON, ..." with each
// profile's name and the buttons' names in label order; empty when no button uses it.
std::string buttons_using_macro(const device::ButtonTable& buttons, const ProfileNames& names,
                                int start);

}  // namespace zentrik::core
