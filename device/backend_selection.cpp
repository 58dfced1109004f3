#include "device/backend_selection.h"

#include <algorithm>

#include "device/joined_backend.h"
#include "device/zklib.h"

namespace zentrik::device {

bool any_confirmed(const std::vector<UnopenedInterface>& unopened) {
    return std::any_of(unopened.begin(), unopened.end(),
                       [](const UnopenedInterface& u) { return u.confirmed; });
}

BackendChoice select_backend(std::shared_ptr<platform::HidBackend> system,
                             const BackendFactory& simulated, std::shared_ptr<Timing> timing,
                             Arrivals arrivals) {
    std::vector<UnopenedInterface> unopened;
    if (system) {
        zklib probe(system, timing);
        probe.discover();
        if (probe.device_count() > 0)
            return {std::move(system), false, {}};
        unopened = probe.unopened();
        if (any_confirmed(unopened))
            return {std::move(system), false, std::move(unopened)};
    }
    std::shared_ptr<platform::HidBackend> fallback = simulated();
    if (system && arrivals == Arrivals::kFollow)
        fallback = make_joined_backend(std::move(system), std::move(fallback), std::move(timing));
    return {std::move(fallback), true, std::move(unopened)};
}

}  // namespace zentrik::device
