// Scan-code facts and the built-in US key names.
#include <linux/input-event-codes.h>

#include "lang/text_codec.h"
#include "platform/key_names.h"
#include "platform/linux/key_names_table.h"

namespace zentrik::platform {
namespace key_names {
namespace {

// Make codes 0x00-0x58 without E0 are the evdev codes of the same number.
KeyFacts plain_key(int code) {
    switch (code) {
        case KEY_ESC:
            return {code, "Esc"};
        case KEY_BACKSPACE:
            return {code, "Backspace"};
        case KEY_TAB:
            return {code, "Tab"};
        case KEY_ENTER:
            return {code, "Enter"};
        case KEY_LEFTCTRL:
            return {code, "Ctrl"};
        case KEY_LEFTSHIFT:
            return {code, "Shift"};
        case KEY_RIGHTSHIFT:
            return {code, "Right Shift"};
        case KEY_KPASTERISK:
            return {code, "Num *"};
        case KEY_LEFTALT:
            return {code, "Alt"};
        case KEY_SPACE:
            return {code, "Space"};
        case KEY_CAPSLOCK:
            return {code, "Caps Lock"};
        case KEY_F1:
            return {code, "F1"};
        case KEY_F2:
            return {code, "F2"};
        case KEY_F3:
            return {code, "F3"};
        case KEY_F4:
            return {code, "F4"};
        case KEY_F5:
            return {code, "F5"};
        case KEY_F6:
            return {code, "F6"};
        case KEY_F7:
            return {code, "F7"};
        case KEY_F8:
            return {code, "F8"};
        case KEY_F9:
            return {code, "F9"};
        case KEY_F10:
            return {code, "F10"};
        case 0x45:
            return {KEY_PAUSE, "Pause"};  // the plain code; Num Lock is the E0 one
        case KEY_SCROLLLOCK:
            return {code, "Scroll Lock"};
        case KEY_KP7:
            return {code, "Num 7"};
        case KEY_KP8:
            return {code, "Num 8"};
        case KEY_KP9:
            return {code, "Num 9"};
        case KEY_KPMINUS:
            return {code, "Num -"};
        case KEY_KP4:
            return {code, "Num 4"};
        case KEY_KP5:
            return {code, "Num 5"};
        case KEY_KP6:
            return {code, "Num 6"};
        case KEY_KPPLUS:
            return {code, "Num +"};
        case KEY_KP1:
            return {code, "Num 1"};
        case KEY_KP2:
            return {code, "Num 2"};
        case KEY_KP3:
            return {code, "Num 3"};
        case KEY_KP0:
            return {code, "Num 0"};
        case KEY_KPDOT:
            return {code, "Num Del"};
        case 0x54:
            return {KEY_SYSRQ, "Sys Req"};
        case KEY_F11:
            return {code, "F11"};
        case KEY_F12:
            return {code, "F12"};
        case 0x00:
        case 0x55:
            return {};
        default:
            break;
    }
    if (code > 0 && code <= KEY_F12)
        return {code, nullptr};  // a character key
    return {};
}

KeyFacts extended_key(int code) {
    switch (code) {
        case 0x1C:
            return {KEY_KPENTER, "Num Enter"};
        case 0x1D:
            return {KEY_RIGHTCTRL, "Right Ctrl"};
        case 0x35:
            return {KEY_KPSLASH, "Num /"};
        case 0x37:
            return {KEY_SYSRQ, "Prnt Scrn"};
        case 0x38:
            return {KEY_RIGHTALT, "Right Alt"};
        case 0x45:
            return {KEY_NUMLOCK, "Num Lock"};
        case 0x46:
            return {KEY_PAUSE, "Break"};
        case 0x47:
            return {KEY_HOME, "Home"};
        case 0x48:
            return {KEY_UP, "Up"};
        case 0x49:
            return {KEY_PAGEUP, "Page Up"};
        case 0x4B:
            return {KEY_LEFT, "Left"};
        case 0x4D:
            return {KEY_RIGHT, "Right"};
        case 0x4F:
            return {KEY_END, "End"};
        case 0x50:
            return {KEY_DOWN, "Down"};
        case 0x51:
            return {KEY_PAGEDOWN, "Page Down"};
        case 0x52:
            return {KEY_INSERT, "Insert"};
        case 0x53:
            return {KEY_DELETE, "Delete"};
        case 0x5B:
            return {KEY_LEFTMETA, "Left Super"};
        case 0x5C:
            return {KEY_RIGHTMETA, "Right Super"};
        case 0x5D:
            return {KEY_COMPOSE, "Menu"};
        default:
            return {};
    }
}

class UsKeyNames final : public KeyNameService {
  public:
    std::string key_name(int make_code, bool extended) const override {
        const KeyFacts facts = key_facts(make_code, extended);
        if (facts.fixed != nullptr)
            return facts.fixed;
        return to_utf8(us_character(facts.evdev));
    }
};

}  // namespace

KeyFacts key_facts(int make_code, bool extended) {
    if (make_code < 0 || make_code > 0xFF)
        return {};
    return extended ? extended_key(make_code) : plain_key(make_code);
}

char32_t us_character(int evdev) {
    static constexpr char kRow1[] = "1234567890-=";  // KEY_1 ... KEY_EQUAL
    static constexpr char kRow2[] = "QWERTYUIOP[]";  // KEY_Q ... KEY_RIGHTBRACE
    static constexpr char kRow3[] = "ASDFGHJKL;'`";  // KEY_A ... KEY_GRAVE
    static constexpr char kRow4[] = "\\ZXCVBNM,./";  // KEY_BACKSLASH ... KEY_SLASH
    if (evdev >= KEY_1 && evdev <= KEY_EQUAL)
        return kRow1[evdev - KEY_1];
    if (evdev >= KEY_Q && evdev <= KEY_RIGHTBRACE)
        return kRow2[evdev - KEY_Q];
    if (evdev >= KEY_A && evdev <= KEY_GRAVE)
        return kRow3[evdev - KEY_A];
    if (evdev >= KEY_BACKSLASH && evdev <= KEY_SLASH)
        return kRow4[evdev - KEY_BACKSLASH];
    if (evdev == KEY_102ND)
        return U'\\';
    return 0;
}

std::string to_utf8(char32_t cp) {
    std::string out;
    // No character (0) or an invalid code point names nothing, rather than U+FFFD.
    if (cp != 0 && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF))
        lang::append_utf8(out, cp);
    return out;
}

}  // namespace key_names

const KeyNameService& us_key_name_service() {
    static const key_names::UsKeyNames service;
    return service;
}

}  // namespace zentrik::platform
