#include "platform/linux/uinput_scroll_device.h"

#include <cstring>
#include <vector>

namespace zentrik::platform {
namespace {

// What one notch is worth on the high-resolution axes (the kernel's convention).
constexpr int kHighResolutionNotch = 120;

input_event event(int type, int code, int value) {
    input_event e{};
    e.type = static_cast<__u16>(type);
    e.code = static_cast<__u16>(code);
    e.value = value;
    return e;
}

input_event report() {
    return event(EV_SYN, SYN_REPORT, 0);
}

}  // namespace

std::unique_ptr<UinputScrollDevice> UinputScrollDevice::create(std::unique_ptr<UinputSink> sink) {
    if (!sink)
        return nullptr;
    // Pointer motion and the three buttons make the device a mouse for udev and libinput (a
    // device with wheels alone is not taken as a pointer); it never moves or clicks.
    const struct {
        unsigned long request;
        int code;
    } capabilities[] = {
        {UI_SET_EVBIT, EV_REL},
        {UI_SET_EVBIT, EV_KEY},
        {UI_SET_EVBIT, EV_SYN},
        {UI_SET_RELBIT, REL_X},
        {UI_SET_RELBIT, REL_Y},
        {UI_SET_RELBIT, REL_WHEEL},
        {UI_SET_RELBIT, REL_HWHEEL},
        {UI_SET_RELBIT, REL_WHEEL_HI_RES},
        {UI_SET_RELBIT, REL_HWHEEL_HI_RES},
        {UI_SET_KEYBIT, BTN_LEFT},
        {UI_SET_KEYBIT, BTN_RIGHT},
        {UI_SET_KEYBIT, BTN_MIDDLE},
        {UI_SET_KEYBIT, KEY_LEFTSHIFT},
        {UI_SET_KEYBIT, KEY_LEFTCTRL},
    };
    for (const auto& capability : capabilities) {
        if (!sink->enable(capability.request, capability.code))
            return nullptr;
    }
    uinput_setup setup{};
    setup.id.bustype = BUS_VIRTUAL;
    std::strncpy(setup.name, kUinputDeviceName, UINPUT_MAX_NAME_SIZE - 1);
    if (!sink->create(setup))
        return nullptr;
    return std::unique_ptr<UinputScrollDevice>(new UinputScrollDevice(std::move(sink)));
}

bool UinputScrollDevice::send(ScrollGesture gesture, bool toward_left) {
    std::vector<input_event> events;
    int modifier = 0;
    switch (gesture) {
        case ScrollGesture::kHorizontalButtons: {
            const int notch = toward_left ? -1 : 1;
            events = {event(EV_REL, REL_HWHEEL, notch),
                      event(EV_REL, REL_HWHEEL_HI_RES, notch * kHighResolutionNotch), report()};
            return sink_->write(events);
        }
        case ScrollGesture::kShiftWheel:
            modifier = KEY_LEFTSHIFT;
            break;
        case ScrollGesture::kCtrlWheel:
            modifier = KEY_LEFTCTRL;
            break;
    }
    // The modifier goes down in a report of its own, so the step arrives with it held.
    const int notch = toward_left ? 1 : -1;
    events = {event(EV_KEY, modifier, 1),
              report(),
              event(EV_REL, REL_WHEEL, notch),
              event(EV_REL, REL_WHEEL_HI_RES, notch * kHighResolutionNotch),
              report(),
              event(EV_KEY, modifier, 0),
              report()};
    if (sink_->write(events))
        return true;
    // Never leave the modifier held: a failed write may have stopped after the press.
    const input_event release[] = {event(EV_KEY, modifier, 0), report()};
    sink_->write(release);
    return false;
}

}  // namespace zentrik::platform
