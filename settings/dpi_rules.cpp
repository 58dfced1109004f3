#include "settings/dpi_rules.h"

namespace zentrik::settings {

DpiGrid dpi_grid(const std::string& model_tag, int sensor, int dpi_step) {
    DpiGrid grid{dpi_step > 0 ? dpi_step : 100, 56};
    if (sensor == 0)
        grid.count = 32;
    else if (sensor == 1)
        grid.count = 63;
    if (model_tag == "qx9")
        grid = {100, 57};
    if (sensor == 5)
        grid = {200, 41};
    return grid;
}

}  // namespace zentrik::settings
