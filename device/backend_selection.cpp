#include "device/backend_selection.h"

#include "device/zklib.h"

namespace zentrik::device {

BackendChoice select_backend(std::shared_ptr<platform::HidBackend> system,
                             const BackendFactory& simulated, std::shared_ptr<Timing> timing) {
    if (system) {
        zklib probe(system, std::move(timing));
        probe.discover();
        if (probe.device_count() > 0)
            return {std::move(system), false, {}};
        if (auto unopened = probe.unopened(); !unopened.empty())
            return {std::move(system), false, std::move(unopened)};
    }
    return {simulated(), true, {}};
}

}  // namespace zentrik::device
