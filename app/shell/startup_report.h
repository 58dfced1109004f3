#pragma once
// What the start-up benchmark reads of a start: the device link's time keeping counts every sleep
// the transport asks for, and once the start-up has reached the home page (or found nothing to
// load) the totals go to the file named by $ZENTRIK_STARTUP_REPORT, when that is set. Nothing
// is written without it.
#include <atomic>
#include <cstdint>
#include <memory>

#include "device/timing.h"

namespace zentrik::app {

class AccountingTiming final : public device::Timing {
  public:
    void sleep_ms(int ms) override;
    std::int64_t now_us() override { return real_.now_us(); }

    // Writes the report (once): the sum of the sleeps so far, and when the first and the
    // last of them began (monotonic clock, microseconds).
    void write_report();

  private:
    device::SystemTiming real_;
    std::atomic<std::int64_t> slept_ms_{0};
    std::atomic<std::int64_t> first_us_{0};
    std::atomic<std::int64_t> last_us_{0};
    std::atomic<bool> written_{false};
};

}  // namespace zentrik::app
