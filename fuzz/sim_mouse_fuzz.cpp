// Whatever a host sends, the simulated firmware must answer without crashing or touching memory
// outside its own: a stream of feature reports, reads and button presses.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdlib>

#include "sim/sim_mouse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zentrik::sim;
    FuzzedDataProvider fdp(data, size);
    const int sizes[] = {8192, 16384, 32768};
    const int memory_size = fdp.PickValueInArray(sizes);
    SimMouse mouse(SimMouseConfig::family_mouse(7, 1, 3, 100, memory_size));

    while (fdp.remaining_bytes() > 0) {
        switch (fdp.ConsumeIntegralInRange<int>(0, 7)) {
            case 0:
            case 1:
            case 2: {  // most steps are requests
                FeatureReport report{};
                fdp.ConsumeData(report.data(), report.size());
                mouse.set_feature(report);
                break;
            }
            case 3: {
                FeatureReport reply{};
                mouse.get_feature(reply);
                break;
            }
            case 4: {
                std::array<std::uint8_t, 8> input{};
                mouse.read_input(input, 0);
                break;
            }
            case 5:
                mouse.press_profile_button(fdp.ConsumeIntegral<std::uint8_t>());
                mouse.press_dpi_button(fdp.ConsumeIntegral<std::uint8_t>());
                break;
            case 6:
                mouse.tilt(fdp.ConsumeIntegral<std::int8_t>());
                break;
            case 7:
                mouse.restart();
                break;
        }
    }
    if (mouse.memory().size() != static_cast<std::size_t>(memory_size))
        std::abort();
    return 0;
}
