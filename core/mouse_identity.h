#pragma once
// The one place this module asks the mouse who it is (identity number and memory size).
#include <cstdint>
#include <optional>
#include <string>

#include "device/zklib.h"

namespace zentrik::core {

struct MouseIdentity {
    std::uint16_t number = 0;
    int memory_size = 0;  // bytes
};

// Identifies the mouse (giving it an identity number when it has none) and records its memory
// size in the device list; nullopt when the mouse did not answer.
std::optional<MouseIdentity> identify_mouse(device::zklib& lib, const std::string& path);

// The identity number the mouse holds, read without changing anything; nullopt when it holds
// none. `answered` is false when the read failed.
std::optional<std::uint16_t> stored_identity(device::zklib& lib, const std::string& path,
                                             bool& answered);

}  // namespace zentrik::core
