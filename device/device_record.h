#pragma once
// One discovered mouse, copied by value.
#include <string>

namespace zentrik::device {

struct _DEVICE_ {
    std::string path;     // the interface path: the only handle the rest of the program keeps
    int sensor = 0;       // identity byte 4
    int model = 0;        // identity byte 3
    int dpi_step = 100;   // identity byte 5: DPI per step of the DPI settings
    int firmware = 0;     // identity byte 2
    int memory_size = 0;  // bytes; set by identify() when it succeeds, 0 while not known
    bool operator==(const _DEVICE_&) const = default;
};

}  // namespace zentrik::device
