#pragma once
// Scan-code facts shared by the key-name services: which evdev key a set-1 make code is, the
// fixed names of keys that type no character, and the characters of the US layout.
#include <string>

namespace zentrik::platform::key_names {

struct KeyFacts {
    int evdev = 0;                // Linux input key code; 0 for an unknown key
    const char* fixed = nullptr;  // the name of a key that types no character
};

KeyFacts key_facts(int make_code, bool extended);
// The character the US layout types with the key (upper case), or 0.
char32_t us_character(int evdev);
std::string to_utf8(char32_t cp);

}  // namespace zentrik::platform::key_names
