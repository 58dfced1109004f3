#pragma once
// Watches one start of a program under X: when its window maps, every picture it shows
// (XDamage tells when the window changed; each change is read back at once), and its memory and
// processor time once the window has settled.
#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "process_stats.h"
#include "window_pictures.h"

namespace startup_bench {

struct Shot {
    double at_ms;        // since exec: when the server changed the window (its damage time)
    std::uint64_t hash;  // of its pixels
    bool finished;       // the finished page that was expected first
    ThreadTimes times;   // the main thread's, when it showed
};

struct Start {
    double map_ms = -1;      // exec → the window is mapped
    double frame_ms = -1;    // exec → the first picture that is the finished page
    double settled_ms = -1;  // exec → the last change (the settled picture appears)
    double exec_at_ms = 0;   // the exec on this process's monotonic clock
    int before_frame = 0;    // pictures shown before the finished page: each one is a fault
    bool first_is_settled = false;
    Memory memory;            // once settled
    double cpu_ms = -1;       // until settled
    ThreadTimes to_frame;     // the main thread's times when the finished page showed
    std::vector<Shot> shots;  // every different picture, in order
};

struct StartRequest {
    std::vector<std::string> argv;
    std::vector<std::string> env;
    // The window is settled once it has not changed for this long.
    double settle_ms = 700;
    // The finished page the window must show first; null: its settled picture.
    const Picture* first_page = nullptr;
    // When set, every different picture is saved as DUMP-<n>.ppm.
    std::string dump;
};

class StartWatcher {
  public:
    explicit StartWatcher(Display* dpy);
    Start measure(const StartRequest& request);

  private:
    void drain();
    // The server's clock (X timestamps, ms) against this process's monotonic clock.
    void calibrate_server_clock();
    double server_to_local_ms(Time server_ms) const;

    Display* dpy_;
    Window root_;
    int damage_event_ = 0;
    Atom clock_probe_ = None;
    double server_offset_ms_ = 0;  // local = server + offset
};

}  // namespace startup_bench
