#pragma once
// Linux input key codes (X keycode - 8) as the set-1 make codes a PC keyboard sends.
#include <optional>

#include "platform/raw_input.h"

namespace zentrik::platform {

struct Set1Key {
    int make_code = 0;
    bool e0 = false;
    bool e1 = false;
    int virtual_key = kVirtualKeyNone;
    // The key reports only its release (the two language keys of Korean keyboards); its press
    // is not passed on.
    bool release_only = false;
};

// nullopt for keys without a set-1 make code in this table (media keys and the like).
std::optional<Set1Key> set1_from_evdev(int evdev_code);

}  // namespace zentrik::platform
