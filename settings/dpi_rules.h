#pragma once
// The DPI grid of a mouse: DPI per step and the number of steps, by model and sensor.
#include <string>

namespace zentrik::settings {

struct DpiGrid {
    int step = 100;  // DPI per step
    int count = 56;  // steps
    int min_dpi() const { return step; }
    int max_dpi() const { return step * count; }
};

// 56 steps of the mouse's own step; 32 for sensor 0, 63 for sensor 1; "qx9" 57 x 100 DPI;
// sensor 5 41 x 200 DPI (over the "qx9" rule). A step of 0 (an identity that gives none) is
// read as 100, so nothing divides by it.
DpiGrid dpi_grid(const std::string& model_tag, int sensor, int dpi_step);

}  // namespace zentrik::settings
