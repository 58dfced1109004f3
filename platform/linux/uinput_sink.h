#pragma once
// What the virtual scroll device needs from the kernel's uinput node, behind an interface so
// tests check the exact set-up and events without /dev/uinput.
#include <linux/uinput.h>

#include <memory>
#include <span>
#include <string>

namespace zentrik::platform {

class UinputSink {
  public:
    virtual ~UinputSink() = default;
    // An ioctl that takes an int: UI_SET_EVBIT, UI_SET_RELBIT, UI_SET_KEYBIT.
    virtual bool enable(unsigned long request, int code) = 0;
    // UI_DEV_SETUP, then UI_DEV_CREATE.
    virtual bool create(const uinput_setup& setup) = 0;
    // One write of whole events.
    virtual bool write(std::span<const input_event> events) = 0;
};

// /dev/uinput, opened for writing without blocking; nullptr with `error` set (e.g. "Permission
// denied") when it cannot be opened. The device goes away when the sink is destroyed.
std::unique_ptr<UinputSink> open_uinput_node(std::string& error);

}  // namespace zentrik::platform
