// Any byte string handed to the report-descriptor parser: it must not crash, read outside the
// input, or come back with lengths no report can have.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/hid/report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto info = zentrik::platform::hid::parse_report_descriptor(std::span(data, size));
    if (info.error_offset > size)
        std::abort();
    for (const auto& c : info.collections) {
        for (int len : {c.input_report_length, c.output_report_length, c.feature_report_length}) {
            if (len < 0 || len > 0x10000)
                std::abort();
        }
    }
    return 0;
}
