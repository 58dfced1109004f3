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

namespace zentrik::platform {

// The key of an X (or xkb) keycode, which is the Linux input code + 8, as the recorder hears
// it; nullopt for a key without a set-1 code and for the press of a release-only key.
std::optional<RawKeyEvent> raw_key_from_xkb_keycode(int keycode, bool down, std::uint32_t time_ms);

// The recorder's bit for pointer button `button` as X and GDK number them (8 back, 9 forward);
// 0 for the wheel buttons 4-7, which are never recorded as buttons, and unknown buttons.
std::uint8_t raw_button_bit(int button);

}  // namespace zentrik::platform
