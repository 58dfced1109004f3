#pragma once
// The virtual mouse that tilt scrolling sends its steps through: a wheel device the kernel hands
// to every compositor and X server like a real mouse, so whatever program is under the pointer
// scrolls, native Wayland programs included.
#include <memory>

#include "platform/linux/uinput_sink.h"
#include "platform/window_system.h"

namespace zentrik::platform {

// Shown in device lists (libinput list-devices, xinput).
inline constexpr char kUinputDeviceName[] = "Zentrik tilt scrolling";

class UinputScrollDevice {
  public:
    // Sets the device up on `sink`; nullptr when the kernel refuses a step of it.
    static std::unique_ptr<UinputScrollDevice> create(std::unique_ptr<UinputSink> sink);

    // One step: the horizontal wheel (REL_HWHEEL -1/+1 with REL_HWHEEL_HI_RES -120/+120, a left
    // tilt negative), or Shift/Ctrl held around one vertical wheel step (REL_WHEEL +1/-1 with
    // REL_WHEEL_HI_RES, up for a left tilt). Each is followed by its SYN_REPORT.
    bool send(ScrollGesture gesture, bool toward_left);

  private:
    explicit UinputScrollDevice(std::unique_ptr<UinputSink> sink) : sink_(std::move(sink)) {}
    std::unique_ptr<UinputSink> sink_;
};

}  // namespace zentrik::platform
