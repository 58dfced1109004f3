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

// Real time. A sleep blocks until an absolute deadline with the calling thread's timer slack
// lowered, so an exchange costs what the protocol asks and little more, also while other
// programs keep the processor busy, and burns no processor time while it waits.
class SystemTiming final : public Timing {
  public:
    void sleep_ms(int ms) override;
    std::int64_t now_us() override;
};

std::shared_ptr<Timing> make_system_timing();

}  // namespace zentrik::device
