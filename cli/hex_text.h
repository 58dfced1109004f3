#pragma once
// Codes and numbers as zentrikctl prints them in hex, in text and JSON output alike.
#include <cstdint>
#include <cstdio>
#include <string>

namespace zentrik::cli {

// Four upper-case hex digits ("00A5").
inline std::string hex4(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

// The same with a "0x" prefix ("0x00A5").
inline std::string hex4_0x(unsigned value) {
    return "0x" + hex4(value);
}

}  // namespace zentrik::cli
