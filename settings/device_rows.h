#pragma once
// How the device page names a mouse: its row text, model tag and picture by model code.
#include <cstdint>
#include <optional>
#include <string>

#include "device/device_record.h"

namespace zentrik::settings {

struct ModelInfo {
    const char* row_format;  // identity number and firmware version fill it
    const char* model_tag;   // decides the model-dependent parts of the settings
    int picture;             // skin image of the row
};

ModelInfo model_info(int model_code);

// "QX10 - Wired / Wireless Mouse (id: 00A5) , Firmware: v3 , EEPROM: 16K". A mouse whose
// identity could not be read shows "----" and a memory size it does not know as "?".
std::string device_row_text(const device::_DEVICE_& mouse, std::optional<std::uint16_t> identity);

}  // namespace zentrik::settings
