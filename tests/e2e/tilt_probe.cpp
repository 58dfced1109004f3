// Tilt scrolling against a real X server: a window under the pointer must receive one
// horizontal wheel button per tilt (6 left, 7 right), or the gesture a rule names.
// Usage: tilt_probe RULE_FILE   (run under Xvfb; exit 0 when every check passed)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <thread>

#include "tilt/tilt_rule_file.h"
#include "tilt/tilt_scroller.h"

namespace {

int failures = 0;

void check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what);
    if (!ok)
        ++failures;
}

struct Press {
    unsigned button;
    unsigned state;
};

// The next button press on the window within `ms`; releases and other events are skipped.
std::optional<Press> next_press(Display* display, int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ButtonPress)
                return Press{event.xbutton.button, event.xbutton.state};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

void set_title(Display* display, Window window, const char* title) {
    const Atom net_wm_name = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window, net_wm_name, utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title),
                    static_cast<int>(std::strlen(title)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tilt_probe RULE_FILE\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "tilt_probe: no X display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    const Window window = XCreateSimpleWindow(display, root, 100, 100, 400, 300, 0, 0, 0xFFFFFF);
    char instance[] = "tiltprobe";
    char klass[] = "TiltProbe";
    XClassHint hint{instance, klass};
    XSetClassHint(display, window, &hint);
    set_title(display, window, "Tilt probe");
    XSelectInput(display, window, ButtonPressMask | StructureNotifyMask);
    XMapRaised(display, window);
    for (XEvent event; XNextEvent(display, &event), event.type != MapNotify;) {
    }
    XWarpPointer(display, None, window, 0, 0, 0, 0, 200, 150);
    // The probe plays the window manager: it names itself the active window.
    const Atom active = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    XChangeProperty(display, root, active, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&window), 1);
    XSync(display, False);

    auto make_scroller = [](zentrik::tilt::TiltRuleTable rules) {
        auto windows = zentrik::platform::make_window_system();
        if (!windows) {
            std::fprintf(stderr, "tilt_probe: no window system (XTest missing?)\n");
            std::exit(1);
        }
        auto scroller =
            std::make_unique<zentrik::tilt::TiltScroller>(std::move(windows), std::move(rules));
        scroller->start();
        return scroller;
    };

    {
        auto scroller = make_scroller({});
        scroller->tilt(-1);
        auto press = next_press(display, 3000);
        check(press && press->button == 6, "a left tilt sends button 6 to the window");
        scroller->tilt(1);
        press = next_press(display, 3000);
        check(press && press->button == 7, "a right tilt sends button 7");

        set_title(display, window, "notes - Dido Zeriv Uzid");
        XSync(display, False);
        scroller->tilt(-1);
        check(!next_press(display, 500), "nothing is sent while the excluded title is in front");
        set_title(display, window, "Tilt probe");
        XSync(display, False);
    }

    // The user's rule for this window class.
    std::vector<std::string> errors;
    auto scroller = make_scroller(zentrik::tilt::load_tilt_rules(argv[1], &errors));
    check(errors.empty(), "the rule file reads without errors");
    scroller->tilt(-2);
    auto press = next_press(display, 3000);
    check(press && press->button == 4 && (press->state & ShiftMask) != 0,
          "a left tilt under a shift-wheel rule sends Shift + wheel up");
    scroller.reset();

    XDestroyWindow(display, window);
    XCloseDisplay(display);
    std::printf("%d passed, %d failed\n", 5 - failures, failures);
    return failures == 0 ? 0 : 1;
}
