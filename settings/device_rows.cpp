#include "settings/device_rows.h"

#include <cstdio>

namespace zentrik::settings {

ModelInfo model_info(int model_code) {
    switch (model_code) {
        case 1:
            return {"QX6 - Wired  Mouse (id: %04X) , Firmware: v%d", "qx6", 232};
        case 0:
            return {"QX8 - Wired  Mouse (id: %04X) , Firmware: v%d", "qx9", 170};
        case 7:
            return {"QX19 - Wired / Wireless Mouse (id: %04X) , Firmware: v%d", "qx19", 175};
        case 8:
            return {"QX10 - Wired / Wireless Mouse (id: %04X) , Firmware: v%d", "qx10", 170};
        default:
            return {"QX9 - Wired Zentrik Mouse (id: %04X) , Firmware: v%d", "qx9", 170};
    }
}

std::string device_row_text(const device::_DEVICE_& mouse, std::optional<std::uint16_t> identity) {
    char text[160];
    // The formats are the program's own constants, never translated text.
    std::snprintf(text, sizeof text, model_info(mouse.model).row_format, identity.value_or(0),
                  mouse.firmware);
    std::string row = text;
    if (!identity) {
        const auto id = row.find("(id: ");
        if (id != std::string::npos)
            row.replace(id + 5, 4, "----");
    }
    char memory[40];
    if (mouse.memory_size > 0)
        std::snprintf(memory, sizeof memory, " , EEPROM: %dK", mouse.memory_size / 1024);
    else
        std::snprintf(memory, sizeof memory, " , EEPROM: ?K");
    return row + memory;
}

}  // namespace zentrik::settings
