#pragma once
// The key-name service: the name the keyboard layout gives a key, asked by its PC scan code.
//
// Keys are given as a scan-code set 1 make code plus the extended flag (keys sent with an E0
// prefix). Keys that do not type a character have fixed English names ("Shift", "Right Ctrl",
// "Num Enter", "Left", "Page Up", "F1" ...); plain make code 0x45 is "Pause" and the extended
// one "Num Lock". Character keys are named by the character the layout puts on them, upper
// case ("A"; "Z" for make code 0x15 on a German layout). Unknown keys have an empty name.
#include <memory>
#include <string>

namespace zentrik::platform {

class KeyNameService {
  public:
    virtual ~KeyNameService() = default;
    virtual std::string key_name(int make_code, bool extended) const = 0;
};

// Rules, model, layout, variant and options of an XKB keymap; empty fields take the
// XKB_DEFAULT_* environment variables, then the library's defaults.
struct KeyboardLayoutNames {
    std::string rules;
    std::string model;
    std::string layout;
    std::string variant;
    std::string options;
};

// The user's current layout: the X server's keymap when a display is reachable, otherwise the
// layout the environment names, otherwise US.
std::unique_ptr<KeyNameService> make_system_key_name_service();
// One fixed layout; the built-in US names when no keymap can be built from the names (then
// `*uses_builtin_names`, when given, is set to true).
std::unique_ptr<KeyNameService> make_layout_key_name_service(const KeyboardLayoutNames& names,
                                                             bool* uses_builtin_names = nullptr);
// Built-in US names; needs no keymap.
const KeyNameService& us_key_name_service();

}  // namespace zentrik::platform
