#pragma once
// A record of one exchange with a mouse, for "--trace" and for debugging.
#include <functional>
#include <optional>
#include <string>

#include "device/report.h"

namespace zentrik::device {

struct ExchangeTrace {
    std::string path;
    Report request{};
    int delay_ms = 0;
    std::optional<Report> reply;  // nullopt when the exchange failed
    std::string failure;  // why it failed ("busy", "no reply", ...), or what went wrong in an
                          // exchange that was answered all the same ("send failed")
    double elapsed_ms = 0;
};

using TraceSink = std::function<void(const ExchangeTrace&)>;

// One line: "00 02 00 fc ff 00 00 00 12  delay 0  ->  00 00 34 12 12 ff ff ff ff  2.10 ms",
// or "... ->  failed (busy)  80.52 ms".
std::string format_exchange(const ExchangeTrace& trace);
// The bytes as lowercase two-digit hex separated by single spaces.
std::string hex_bytes(const Report& report);

}  // namespace zentrik::device
