#include "start_watch.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <time.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>

namespace startup_bench {
namespace {

double now_ms() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct DamageOf {
    int type;
    Window window;
};

Bool is_damage_of(Display*, XEvent* e, XPointer arg) {
    const auto* want = reinterpret_cast<const DamageOf*>(arg);
    return e->type == want->type &&
           reinterpret_cast<const XDamageNotifyEvent*>(e)->drawable == want->window;
}

}  // namespace

StartWatcher::StartWatcher(Display* dpy) : dpy_(dpy), root_(DefaultRootWindow(dpy)) {
    int error_base = 0;
    if (!XDamageQueryExtension(dpy_, &damage_event_, &error_base))
        die("the X server has no DAMAGE extension");
    XSelectInput(dpy_, root_, SubstructureNotifyMask | PropertyChangeMask);
    clock_probe_ = XInternAtom(dpy_, "_STARTUP_BENCH_CLOCK", False);
    XSync(dpy_, False);
    calibrate_server_clock();
}

// A property change comes back with the server's time of it: the probe with the shortest round
// trip places the server's clock within a fraction of a millisecond of ours.
void StartWatcher::calibrate_server_clock() {
    double best_round_trip = 1e9;
    for (int i = 0; i < 20; ++i) {
        const double before = now_ms();
        XChangeProperty(dpy_, root_, clock_probe_, XA_INTEGER, 32, PropModeReplace, nullptr, 0);
        XEvent e;
        do
            XNextEvent(dpy_, &e);
        while (e.type != PropertyNotify || e.xproperty.atom != clock_probe_);
        const double after = now_ms();
        if (after - before < best_round_trip) {
            best_round_trip = after - before;
            server_offset_ms_ = (before + after) / 2 - static_cast<double>(e.xproperty.time);
        }
    }
}

double StartWatcher::server_to_local_ms(Time server_ms) const {
    // X time is 32 bits of milliseconds: take the reading nearest to now.
    const double now = now_ms();
    double local = static_cast<double>(server_ms) + server_offset_ms_;
    const double wrap = 4294967296.0;
    while (local < now - wrap / 2)
        local += wrap;
    while (local > now + wrap / 2)
        local -= wrap;
    return local;
}

Start StartWatcher::measure(const StartRequest& request) {
    drain();
    Start result;
    Window target = 0;
    int width = 0, height = 0;
    std::map<Window, Damage> damages;
    double last_change = 0;
    const Picture behind = capture_screen(dpy_);
    const double t0 = now_ms();
    result.exec_at_ms = t0;
    const pid_t pid = spawn(request.argv, request.env);
    const int fd = ConnectionNumber(dpy_);
    for (;;) {
        const double now = now_ms();
        if (now - t0 > 30000)
            break;
        if (target && !result.shots.empty() && now - last_change > request.settle_ms)
            break;
        if (!XPending(dpy_)) {
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, 10);
            continue;
        }
        XEvent e;
        XNextEvent(dpy_, &e);
        const double at = now_ms();
        if (e.type == CreateNotify && e.xcreatewindow.parent == root_) {
            damages[e.xcreatewindow.window] =
                XDamageCreate(dpy_, e.xcreatewindow.window, XDamageReportNonEmpty);
        } else if (e.type == MapNotify && !target) {
            XWindowAttributes a{};
            if (XGetWindowAttributes(dpy_, e.xmap.window, &a) && a.width >= 200) {
                target = e.xmap.window;
                width = a.width;
                height = a.height;
                result.map_ms = at - t0;
                if (!damages.count(target))
                    damages[target] = XDamageCreate(dpy_, target, XDamageReportNonEmpty);
                last_change = at;
            }
        } else if (e.type == damage_event_ + XDamageNotify) {
            const auto& d = reinterpret_cast<const XDamageNotifyEvent&>(e);
            XDamageSubtract(dpy_, d.damage, None, None);
            if (!target || d.drawable != target)
                continue;
            // The picture read below shows every change queued so far: it was on screen from
            // the last of them on, by the server's clock (reading it back takes a few ms, and
            // events queue meanwhile, so the time the event is read would be late).
            Time changed = d.timestamp;
            DamageOf later_damage{damage_event_ + XDamageNotify, target};
            XEvent next;
            while (XCheckIfEvent(dpy_, &next, is_damage_of,
                                 reinterpret_cast<XPointer>(&later_damage))) {
                const auto& later = reinterpret_cast<const XDamageNotifyEvent&>(next);
                XDamageSubtract(dpy_, later.damage, None, None);
                changed = later.timestamp;
            }
            const ThreadTimes times = main_thread_times(pid);
            const auto picture = capture_window(dpy_, target, width, height, &behind);
            if (!picture)
                continue;
            last_change = at;
            const std::uint64_t hash = picture->hash();
            if (!result.shots.empty() && result.shots.back().hash == hash)
                continue;
            const bool finished = request.first_page && same_picture(*picture, *request.first_page);
            if (!request.dump.empty())
                write_ppm(*picture,
                          request.dump + "-" + std::to_string(result.shots.size()) + ".ppm");
            result.shots.push_back({server_to_local_ms(changed) - t0, hash, finished, times});
        }
    }
    if (target && !result.shots.empty()) {
        result.memory = memory_of(pid);
        result.cpu_ms = cpu_ms(pid);
        const auto settled = capture_window(dpy_, target, width, height);
        const bool settled_known = settled && settled->hash() == result.shots.back().hash;
        if (settled_known)
            result.settled_ms = result.shots.back().at_ms;
        result.first_is_settled = settled_known && result.shots.size() == 1;
        if (!request.first_page && settled_known)
            result.shots.back().finished = true;
        for (const Shot& s : result.shots) {
            if (s.finished) {
                result.frame_ms = s.at_ms;
                result.to_frame = s.times;
                break;
            }
            ++result.before_frame;
        }
    }
    stop(pid);
    XSync(dpy_, False);
    drain();
    return result;
}

void StartWatcher::drain() {
    XSync(dpy_, False);
    while (XPending(dpy_)) {
        XEvent e;
        XNextEvent(dpy_, &e);
    }
}

}  // namespace startup_bench
