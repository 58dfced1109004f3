#include "start_watch.h"

#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <time.h>

#include <map>
#include <optional>

namespace startup_bench {
namespace {

double now_ms() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

}  // namespace

StartWatcher::StartWatcher(Display* dpy) : dpy_(dpy), root_(DefaultRootWindow(dpy)) {
    int error_base = 0;
    if (!XDamageQueryExtension(dpy_, &damage_event_, &error_base))
        die("the X server has no DAMAGE extension");
    XSelectInput(dpy_, root_, SubstructureNotifyMask);
    XSync(dpy_, False);
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
            result.shots.push_back({at - t0, hash, finished, main_thread_times(pid)});
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
