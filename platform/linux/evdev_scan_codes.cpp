// The main block of a PC keyboard has evdev codes equal to its set-1 make codes (Esc = 1 up to
// keypad Del = 83); the keys sent with an E0 prefix and a few others are listed one by one.
#include "platform/linux/evdev_scan_codes.h"

#include <linux/input-event-codes.h>

namespace zentrik::platform {

std::optional<Set1Key> set1_from_evdev(int code) {
    if (code >= KEY_ESC && code <= KEY_KPDOT)
        return Set1Key{code};
    switch (code) {
        case KEY_102ND:
            return Set1Key{0x56};
        case KEY_F11:
            return Set1Key{0x57};
        case KEY_F12:
            return Set1Key{0x58};
        case KEY_KPENTER:
            return Set1Key{0x1C, true};
        case KEY_RIGHTCTRL:
            return Set1Key{0x1D, true};
        case KEY_KPSLASH:
            return Set1Key{0x35, true};
        case KEY_SYSRQ:
            return Set1Key{0x37, true};
        case KEY_RIGHTALT:
            return Set1Key{0x38, true};
        case KEY_HOME:
            return Set1Key{0x47, true};
        case KEY_UP:
            return Set1Key{0x48, true};
        case KEY_PAGEUP:
            return Set1Key{0x49, true};
        case KEY_LEFT:
            return Set1Key{0x4B, true};
        case KEY_RIGHT:
            return Set1Key{0x4D, true};
        case KEY_END:
            return Set1Key{0x4F, true};
        case KEY_DOWN:
            return Set1Key{0x50, true};
        case KEY_PAGEDOWN:
            return Set1Key{0x51, true};
        case KEY_INSERT:
            return Set1Key{0x52, true};
        case KEY_DELETE:
            return Set1Key{0x53, true};
        case KEY_LEFTMETA:
            return Set1Key{0x5B, true};
        case KEY_RIGHTMETA:
            return Set1Key{0x5C, true};
        case KEY_COMPOSE:
            return Set1Key{0x5D, true};
        case KEY_PAUSE:  // E1 1D 45
            return Set1Key{0x45, false, true, kVirtualKeyPause};
        case KEY_HANGEUL:
            return Set1Key{0x72, false, false, kVirtualKeyNone, true};
        case KEY_HANJA:
            return Set1Key{0x71, false, false, kVirtualKeyNone, true};
        case KEY_F13:
        case KEY_F14:
        case KEY_F15:
        case KEY_F16:
        case KEY_F17:
        case KEY_F18:
        case KEY_F19:
        case KEY_F20:
        case KEY_F21:
        case KEY_F22:
        case KEY_F23:
            return Set1Key{0x64 + (code - KEY_F13)};
        case KEY_F24:
            return Set1Key{0x76};
        default:
            return std::nullopt;
    }
}

}  // namespace zentrik::platform

namespace zentrik::platform {

std::optional<RawKeyEvent> raw_key_from_xkb_keycode(int keycode, bool down, std::uint32_t time_ms) {
    constexpr int kXkbKeycodeOffset = 8;
    const std::optional<Set1Key> key = set1_from_evdev(keycode - kXkbKeycodeOffset);
    if (!key || (key->release_only && down))
        return std::nullopt;
    return RawKeyEvent{key->make_code, key->e0, key->e1, key->virtual_key, down, time_ms};
}

std::uint8_t raw_button_bit(int button) {
    switch (button) {
        case 1:
            return kRawButtonLeft;
        case 2:
            return kRawButtonMiddle;
        case 3:
            return kRawButtonRight;
        case 8:
            return kRawButton4;  // back
        case 9:
            return kRawButton5;  // forward
        default:
            return 0;  // 4/5 are the wheel, 6/7 the horizontal wheel (never recorded)
    }
}

}  // namespace zentrik::platform
