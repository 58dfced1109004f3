#pragma once
// Every sleep and clock read of the device link goes through Timing, so tests replace it and
// check the exact sequence of sleeps without waiting.
#include <cstdint>
#include <memory>

namespace zentrik::device {

class Timing {
  public:
    virtual ~Timing() = default;
    virtual void sleep_ms(int ms) = 0;
    // Monotonic time in microseconds.
    virtual std::int64_t now_us() = 0;
};

// Real time. Sleeps end close to their deadline (a coarse sleep, then a short yield loop), so
// an exchange costs what the protocol asks and little more.
class SystemTiming final : public Timing {
  public:
    void sleep_ms(int ms) override;
    std::int64_t now_us() override;
};

std::shared_ptr<Timing> make_system_timing();

}  // namespace zentrik::device
