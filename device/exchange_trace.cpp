#include "device/exchange_trace.h"

#include <cstdio>

namespace zentrik::device {

std::string hex_bytes(const Report& report) {
    std::string out;
    char byte[4];
    for (std::size_t i = 0; i < report.size(); ++i) {
        std::snprintf(byte, sizeof byte, "%02x", report[i]);
        if (i)
            out += ' ';
        out += byte;
    }
    return out;
}

std::string format_exchange(const ExchangeTrace& trace) {
    std::string line =
        hex_bytes(trace.request) + "  delay " + std::to_string(trace.delay_ms) + "  ->  ";
    line += trace.reply ? hex_bytes(*trace.reply) : "failed (" + trace.failure + ")";
    if (trace.reply && !trace.failure.empty())
        line += "  (" + trace.failure + ")";  // answered all the same
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "  %.2f ms", trace.elapsed_ms);
    return line + elapsed;
}

}  // namespace zentrik::device
