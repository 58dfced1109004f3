// XInput2 raw events → RawKeyEvent / RawMouseEvent.
#include "platform/linux/x11_raw_input.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <poll.h>

#include <cerrno>
#include <cmath>
#include <vector>

#include "platform/linux/evdev_scan_codes.h"

namespace zentrik::platform {
namespace {

// A vertical scroll valuator of one physical device; smooth-scrolling devices report the wheel
// here, and the server adds emulated button 4/5 events that carry XIPointerEmulated.
struct ScrollAxis {
    int device = 0;
    int number = 0;
    double increment = 1.0;  // one notch; positive when rising values scroll down
    bool absolute = false;
    bool has_last = false;
    double last = 0.0;
    double pending = 0.0;  // movement short of a whole notch
};

}  // namespace

struct X11RawInput::State {
    Display* display = nullptr;
    bool query_version = false;
    int opcode = -1;
    RawInputSink* sink = nullptr;
    std::vector<ScrollAxis> axes;

    void select(bool on) {
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        if (on) {
            XISetMask(bits, XI_RawKeyPress);
            XISetMask(bits, XI_RawKeyRelease);
            XISetMask(bits, XI_RawButtonPress);
            XISetMask(bits, XI_RawButtonRelease);
            XISetMask(bits, XI_RawMotion);
        }
        XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
        XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
        XFlush(display);
    }

    void load_scroll_axes() {
        axes.clear();
        int count = 0;
        XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &count);
        for (int d = 0; d < count; ++d) {
            const XIDeviceInfo& device = devices[d];
            for (int c = 0; c < device.num_classes; ++c) {
                if (device.classes[c]->type != XIScrollClass)
                    continue;
                const auto* scroll = reinterpret_cast<const XIScrollClassInfo*>(device.classes[c]);
                if (scroll->scroll_type != XIScrollTypeVertical || scroll->increment == 0.0)
                    continue;
                ScrollAxis axis{device.deviceid, scroll->number, scroll->increment};
                for (int v = 0; v < device.num_classes; ++v) {
                    if (device.classes[v]->type != XIValuatorClass)
                        continue;
                    const auto* valuator =
                        reinterpret_cast<const XIValuatorClassInfo*>(device.classes[v]);
                    if (valuator->number == scroll->number)
                        axis.absolute = valuator->mode == XIModeAbsolute;
                }
                axes.push_back(axis);
            }
        }
        if (devices != nullptr)
            XIFreeDeviceInfo(devices);
    }

    void on_key(const XIRawEvent& raw, bool down) {
        if (const auto event =
                raw_key_from_xkb_keycode(raw.detail, down, static_cast<std::uint32_t>(raw.time)))
            sink->on_raw_key(*event);
    }

    void on_button(const XIRawEvent& raw, bool down) {
        RawMouseEvent event;
        event.time_ms = static_cast<std::uint32_t>(raw.time);
        if (raw.detail == 4 || raw.detail == 5) {
            // A notch the server emulated from a scroll valuator was already heard there.
            if (!down || (raw.flags & XIPointerEmulated) != 0)
                return;
            event.wheel_delta = raw.detail == 4 ? kWheelDeltaPerNotch : -kWheelDeltaPerNotch;
        } else {
            const std::uint8_t bit = raw_button_bit(raw.detail);
            if (bit == 0)
                return;
            (down ? event.buttons_down : event.buttons_up) = bit;
        }
        sink->on_raw_mouse(event);
    }

    void on_motion(const XIRawEvent& raw) {
        const double* value = raw.raw_values;
        for (int number = 0; number < raw.valuators.mask_len * 8; ++number) {
            if (!XIMaskIsSet(raw.valuators.mask, number))
                continue;
            const double v = *value++;
            for (ScrollAxis& axis : axes) {
                if (axis.device == raw.sourceid && axis.number == number)
                    scroll(axis, v, static_cast<std::uint32_t>(raw.time));
            }
        }
    }

    void scroll(ScrollAxis& axis, double value, std::uint32_t time) {
        double delta = value;
        if (axis.absolute) {
            delta = axis.has_last ? value - axis.last : 0.0;
            axis.last = value;
            axis.has_last = true;
        }
        axis.pending += delta;
        const double notches = std::trunc(axis.pending / axis.increment);
        if (notches == 0.0)
            return;
        axis.pending -= notches * axis.increment;
        RawMouseEvent event;
        event.time_ms = time;
        // Rising values scroll down, toward the user: a negative wheel delta.
        event.wheel_delta = -static_cast<int>(notches) * kWheelDeltaPerNotch;
        sink->on_raw_mouse(event);
    }
};

X11RawInput::X11RawInput(_XDisplay* display, bool query_version)
    : state_(std::make_unique<State>()) {
    state_->display = display;
    state_->query_version = query_version;
}

X11RawInput::~X11RawInput() {
    stop();
}

bool X11RawInput::start(RawInputSink& sink) {
    State& s = *state_;
    int event_base = 0;
    int error_base = 0;
    if (s.display == nullptr ||
        !XQueryExtension(s.display, "XInputExtension", &s.opcode, &event_base, &error_base))
        return false;
    if (s.query_version) {
        int major = 2;
        int minor = 2;
        if (XIQueryVersion(s.display, &major, &minor) != Success || major < 2)
            return false;
    }
    s.load_scroll_axes();
    s.sink = &sink;
    s.select(true);
    return true;
}

void X11RawInput::stop() {
    if (state_->sink == nullptr)
        return;
    state_->select(false);
    state_->sink = nullptr;
}

bool X11RawInput::running() const {
    return state_->sink != nullptr;
}

bool X11RawInput::handle_event(_XEvent* xevent) {
    State& s = *state_;
    if (s.sink == nullptr || xevent == nullptr || xevent->type != GenericEvent)
        return false;
    XGenericEventCookie* cookie = &xevent->xcookie;
    if (cookie->extension != s.opcode)
        return false;
    const int type = cookie->evtype;
    if (type != XI_RawKeyPress && type != XI_RawKeyRelease && type != XI_RawButtonPress &&
        type != XI_RawButtonRelease && type != XI_RawMotion)
        return false;
    // A toolkit may already have fetched the event's data; then it also frees it.
    const bool fetched_here = cookie->data == nullptr;
    if (fetched_here && !XGetEventData(s.display, cookie))
        return false;
    const auto& raw = *static_cast<const XIRawEvent*>(cookie->data);
    switch (type) {
        case XI_RawKeyPress:
            s.on_key(raw, true);
            break;
        case XI_RawKeyRelease:
            s.on_key(raw, false);
            break;
        case XI_RawButtonPress:
            s.on_button(raw, true);
            break;
        case XI_RawButtonRelease:
            s.on_button(raw, false);
            break;
        default:
            s.on_motion(raw);
            break;
    }
    if (fetched_here)
        XFreeEventData(s.display, cookie);
    return true;
}

X11InputConnection::X11InputConnection(const char* display_name)
    : display_(XOpenDisplay(display_name)) {}

X11InputConnection::~X11InputConnection() {
    input_.reset();
    if (display_ != nullptr)
        XCloseDisplay(display_);
}

bool X11InputConnection::valid() const {
    return display_ != nullptr;
}

bool X11InputConnection::start(RawInputSink& sink) {
    if (display_ == nullptr)
        return false;
    input_ = std::make_unique<X11RawInput>(display_, true);
    return input_->start(sink);
}

void X11InputConnection::stop() {
    if (input_)
        input_->stop();
}

bool X11InputConnection::dispatch(int timeout_ms) {
    if (display_ == nullptr)
        return false;
    XFlush(display_);
    if (XPending(display_) == 0) {
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        const int ready = poll(&fd, 1, timeout_ms);
        if (ready < 0)
            return errno == EINTR;
        if (ready == 0)
            return true;
        if ((fd.revents & (POLLERR | POLLHUP)) != 0)
            return false;
    }
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (input_)
            input_->handle_event(&event);
    }
    return true;
}

std::unique_ptr<RawInputConnection> open_raw_input_connection() {
    auto connection = std::make_unique<X11InputConnection>();
    if (!connection->valid())
        return nullptr;
    return connection;
}

const char kRawInputUnreachable[] = "cannot open the X display (is DISPLAY set?)";
const char kRawInputUnsupported[] = "the X server offers no XInput 2 raw events";
const char kRawInputBroken[] = "the X display connection broke";

}  // namespace zentrik::platform
