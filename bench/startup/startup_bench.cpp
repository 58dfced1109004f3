// Start-up benchmark: starts the program and a bare GTK3 window of the same size under a
// private Xvfb, alternately, and measures for each start
//   exec → map          the first map of a top-level window at least 200 pixels wide
//   exec → first frame  the first time the window's pixels equal its settled picture (XDamage
//                       tells when the window changed; each change is read back at once)
//   pictures            how many different pictures the window showed before the settled one
//                       (contents that only repeat the screen behind the window do not count)
//   RSS                 the process's resident memory once the window has settled
//   CPU                 processor time the process used until then
//   frame CPU, wait     the main thread's time on a processor, and waiting for one, until the
//                       first complete frame (/proc/PID/schedstat): on a busy machine the wall
//                       times are mostly waiting, and these tell the two apart
// and prints the medians and the program/bare ratios. A measuring tool, never a test gate.
//
//   startup_bench --program PATH --bare PATH [--runs N] [--settle MS] [--dump DIR]
//                 [-- PROGRAM ARGS...]
// --dump saves every different picture each start showed as DIR/<program|bare>-<run>-<n>.ppm.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

double now_ms() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

[[noreturn]] void die(const std::string& message) {
    std::fprintf(stderr, "startup_bench: %s\n", message.c_str());
    std::exit(2);
}

// Windows come and go while they are watched; their errors are expected and harmless.
int ignore_x_errors(Display*, XErrorEvent*) {
    return 0;
}

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    std::vector<char*> args, envp;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const auto& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), envp.data()) != 0)
        die("cannot start " + argv[0]);
    return pid;
}

// Starts Xvfb and returns its display name (":N").
std::string start_xvfb(pid_t& xvfb) {
    int fds[2];
    if (pipe(fds) != 0)
        die("pipe failed");
    xvfb = fork();
    if (xvfb == 0) {
        close(fds[0]);
        // Xvfb reports every display number it finds taken while it looks for a free one.
        if (const int null = open("/dev/null", O_WRONLY); null >= 0)
            dup2(null, 2);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (poll(&p, 1, 15000) > 0) {
        char c;
        if (read(fds[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    close(fds[0]);
    if (number.empty())
        die("Xvfb did not start");
    return ":" + number;
}

std::uint64_t hash_bytes(const char* data, std::size_t n) {
    std::uint64_t h = 1469598103934665603ULL;
    for (std::size_t i = 0; i < n; ++i)
        h = (h ^ static_cast<unsigned char>(data[i])) * 1099511628211ULL;
    return h;
}

// Writes a 32-bit ZPixmap as a PPM (the alpha byte, where there is one, is dropped).
void write_ppm(const XImage* image, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image->width << ' ' << image->height << "\n255\n";
    for (int y = 0; y < image->height; ++y) {
        const auto* row =
            reinterpret_cast<const unsigned char*>(image->data + y * image->bytes_per_line);
        for (int x = 0; x < image->width; ++x) {
            const unsigned char rgb[3] = {row[4 * x + 2], row[4 * x + 1], row[4 * x]};
            out.write(reinterpret_cast<const char*>(rgb), 3);
        }
    }
}

// The screen before a start, to tell a window that shows only what lies behind it (an
// ARGB window's first contents are the screen under it) from one that shows a picture.
struct Screen {
    XImage* image = nullptr;
    ~Screen() {
        if (image)
            XDestroyImage(image);
    }
    std::uint32_t at(int x, int y) const {
        if (!image || x < 0 || y < 0 || x >= image->width || y >= image->height)
            return 0;
        std::uint32_t v;
        std::memcpy(&v, image->data + y * image->bytes_per_line + 4 * x, 4);
        return v & 0xFFFFFF;
    }
};

bool shows_only_screen(const XImage* window, int left, int top, const Screen& screen) {
    for (int y = 0; y < window->height; ++y)
        for (int x = 0; x < window->width; ++x) {
            std::uint32_t v;
            std::memcpy(&v, window->data + y * window->bytes_per_line + 4 * x, 4);
            const bool transparent = window->depth == 32 && (v >> 24) == 0;
            if (!transparent && (v & 0xFFFFFF) != screen.at(left + x, top + y))
                return false;
        }
    return true;
}

// The hash of the window's pixels now, or nothing when they cannot be read or show only the
// screen behind the window; saved to `dump` when that is not empty.
std::optional<std::uint64_t> picture_of(Display* dpy, Window w, int width, int height,
                                        const Screen* behind = nullptr,
                                        const std::string& dump = {}) {
    XImage* image = XGetImage(dpy, w, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image)
        return std::nullopt;
    if (behind && image->bits_per_pixel == 32) {
        int left = 0, top = 0;
        Window child;
        XTranslateCoordinates(dpy, w, DefaultRootWindow(dpy), 0, 0, &left, &top, &child);
        if (shows_only_screen(image, left, top, *behind)) {
            XDestroyImage(image);
            return std::nullopt;
        }
    }
    const std::uint64_t h =
        hash_bytes(image->data, static_cast<std::size_t>(image->bytes_per_line) * height);
    if (!dump.empty() && image->bits_per_pixel == 32)
        write_ppm(image, dump);
    XDestroyImage(image);
    return h;
}

long rss_kb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

// Processor time the process has used (user + system), from /proc/PID/stat.
double cpu_ms(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = all.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(all.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i == 14 || i == 15)
            ticks += std::atof(field.c_str());
    return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The main thread's time on a processor and waiting for one, in ms (/proc/PID/schedstat).
struct ThreadTimes {
    double on_cpu_ms = -1;
    double waiting_ms = -1;
};

ThreadTimes main_thread_times(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/schedstat");
    double run_ns = 0, wait_ns = 0;
    if (!(in >> run_ns >> wait_ns))
        return {};
    return {run_ns / 1e6, wait_ns / 1e6};
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

struct Start {
    double map_ms = -1;
    double frame_ms = -1;
    int pictures_before = 0;
    long rss_kb = -1;
    double cpu_ms = -1;
    ThreadTimes to_frame;  // the main thread's times when the first complete frame showed
};

class Watcher {
  public:
    explicit Watcher(Display* dpy) : dpy_(dpy), root_(DefaultRootWindow(dpy)) {
        int error_base = 0;
        if (!XDamageQueryExtension(dpy_, &damage_event_, &error_base))
            die("the X server has no DAMAGE extension");
        XSelectInput(dpy_, root_, SubstructureNotifyMask);
        XSync(dpy_, False);
    }

    // With `dump` set, every different picture is saved as DUMP-<n>.ppm.
    Start measure(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                  double settle_ms, const std::string& dump) {
        drain();
        Start result;
        Window target = 0;
        int width = 0, height = 0;
        struct Shot {
            double at;
            std::uint64_t picture;
            ThreadTimes times;
        };
        std::vector<Shot> shots;
        std::map<Window, Damage> damages;
        double last_change = 0;
        Screen behind;
        {
            XWindowAttributes root{};
            XGetWindowAttributes(dpy_, root_, &root);
            behind.image = XGetImage(dpy_, root_, 0, 0, static_cast<unsigned>(root.width),
                                     static_cast<unsigned>(root.height), AllPlanes, ZPixmap);
        }
        const double t0 = now_ms();
        const pid_t pid = spawn(argv, env);
        const int fd = ConnectionNumber(dpy_);
        for (;;) {
            const double now = now_ms();
            if (now - t0 > 30000)
                break;
            if (target && !shots.empty() && now - last_change > settle_ms)
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
                if (target && d.drawable == target) {
                    const std::string file =
                        dump.empty() ? std::string()
                                     : dump + "-" + std::to_string(shots.size()) + ".ppm";
                    if (auto picture = picture_of(dpy_, target, width, height, &behind, file)) {
                        if (shots.empty() || shots.back().picture != *picture)
                            shots.push_back({at, *picture, main_thread_times(pid)});
                        last_change = at;
                    }
                }
            }
        }
        if (target) {
            result.rss_kb = rss_kb(pid);
            result.cpu_ms = cpu_ms(pid);
            const auto settled = picture_of(dpy_, target, width, height);
            for (const Shot& s : shots) {
                if (settled && s.picture == *settled) {
                    result.frame_ms = s.at - t0;
                    result.to_frame = s.times;
                    break;
                }
                ++result.pictures_before;
            }
        }
        stop(pid);
        XSync(dpy_, False);
        drain();
        return result;
    }

  private:
    void drain() {
        XSync(dpy_, False);
        while (XPending(dpy_)) {
            XEvent e;
            XNextEvent(dpy_, &e);
        }
    }

    Display* dpy_;
    Window root_;
    int damage_event_ = 0;
};

double median(std::vector<double> v) {
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Series {
    std::vector<double> map, frame, rss, cpu, frame_cpu, frame_wait;
    int final_first = 0;
    void add(const Start& s) {
        if (s.map_ms >= 0)
            map.push_back(s.map_ms);
        if (s.frame_ms >= 0)
            frame.push_back(s.frame_ms);
        if (s.cpu_ms >= 0)
            cpu.push_back(s.cpu_ms);
        if (s.to_frame.on_cpu_ms >= 0) {
            frame_cpu.push_back(s.to_frame.on_cpu_ms);
            frame_wait.push_back(s.to_frame.waiting_ms);
        }
        if (s.rss_kb >= 0)
            rss.push_back(static_cast<double>(s.rss_kb) / 1024.0);
        if (s.frame_ms >= 0 && s.pictures_before == 0)
            ++final_first;
    }
};

}  // namespace

int main(int argc, char** argv) {
    std::string program, bare;
    int runs = 10;
    double settle_ms = 700;
    std::string dump_dir;
    std::vector<std::string> program_args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--program" && i + 1 < argc)
            program = argv[++i];
        else if (a == "--bare" && i + 1 < argc)
            bare = argv[++i];
        else if (a == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--settle" && i + 1 < argc)
            settle_ms = std::atof(argv[++i]);
        else if (a == "--dump" && i + 1 < argc)
            dump_dir = argv[++i];
        else if (a == "--") {
            program_args.assign(argv + i + 1, argv + argc);
            break;
        } else
            die("usage: startup_bench --program PATH --bare PATH [--runs N] [--settle MS] "
                "[--dump DIR] [-- PROGRAM ARGS...]");
    }
    if (program.empty() || bare.empty())
        die("--program and --bare are required");

    pid_t xvfb = 0;
    const std::string display = start_xvfb(xvfb);
    char scratch[] = "/tmp/startup-bench-XXXXXX";
    if (!mkdtemp(scratch))
        die("cannot make a scratch directory");
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string v = *e;
        if (v.rfind("DISPLAY=", 0) && v.rfind("XDG_RUNTIME_DIR=", 0) &&
            v.rfind("XDG_CONFIG_HOME=", 0) && v.rfind("ZENTRIK_INSTANCE=", 0))
            env.push_back(v);
    }
    env.push_back("DISPLAY=" + display);
    env.push_back(std::string("XDG_RUNTIME_DIR=") + scratch);
    env.push_back(std::string("XDG_CONFIG_HOME=") + scratch);
    env.push_back("ZENTRIK_INSTANCE=startup-bench");
    env.push_back("NO_AT_BRIDGE=1");

    XSetErrorHandler(ignore_x_errors);
    Display* dpy = XOpenDisplay(display.c_str());
    if (!dpy)
        die("cannot open " + display);
    Watcher watcher(dpy);
    std::vector<std::string> program_argv{program};
    program_argv.insert(program_argv.end(), program_args.begin(), program_args.end());
    const std::vector<std::string> bare_argv{bare, "1046", "655"};

    // The first GTK client of a display probes OpenGL and leaves the result on the root window
    // for every later one (as on any desktop session); that start is left out.
    watcher.measure(bare_argv, env, settle_ms, {});

    Series ours, baseline;
    std::printf("%-8s %4s %9s %15s %9s %8s %7s %10s %9s\n", "start", "run", "map ms",
                "first frame ms", "pictures", "RSS MB", "CPU ms", "frame CPU", "frame wait");
    for (int run = 0; run < runs; ++run) {
        // Alternate which goes first, so a drift in the machine's load hits both alike.
        for (int k = 0; k < 2; ++k) {
            const bool is_program = (run + k) % 2 == 0;
            const std::string dump = dump_dir.empty()
                                         ? std::string()
                                         : dump_dir + "/" + (is_program ? "program" : "bare") +
                                               "-" + std::to_string(run);
            const Start s =
                watcher.measure(is_program ? program_argv : bare_argv, env, settle_ms, dump);
            (is_program ? ours : baseline).add(s);
            std::printf("%-8s %4d %9.1f %15.1f %9d %8.1f %7.0f %10.1f %9.1f\n",
                        is_program ? "program" : "bare", run, s.map_ms, s.frame_ms,
                        s.pictures_before, static_cast<double>(s.rss_kb) / 1024.0, s.cpu_ms,
                        s.to_frame.on_cpu_ms, s.to_frame.waiting_ms);
            std::fflush(stdout);
        }
    }
    XCloseDisplay(dpy);
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
    std::string rm = std::string("rm -rf ") + scratch;
    if (std::system(rm.c_str()) != 0)
        std::fprintf(stderr, "startup_bench: could not remove %s\n", scratch);

    const double map_p = median(ours.map), map_b = median(baseline.map);
    const double frame_p = median(ours.frame), frame_b = median(baseline.frame);
    const double rss_p = median(ours.rss), rss_b = median(baseline.rss);
    std::printf("\nmedians over %d starts each (program / bare GTK3 window)\n", runs);
    std::printf("exec -> map:          %7.1f ms / %7.1f ms  ratio %.2f\n", map_p, map_b,
                map_p / map_b);
    std::printf("exec -> first frame:  %7.1f ms / %7.1f ms  ratio %.2f  (goal <= 1.5)\n", frame_p,
                frame_b, frame_p / frame_b);
    std::printf("RSS after start:      %7.1f MB / %7.1f MB  +%.1f MB  (goal <= +16 MB)\n", rss_p,
                rss_b, rss_p - rss_b);
    const double cpu_p = median(ours.cpu), cpu_b = median(baseline.cpu);
    std::printf("CPU time to settle:   %7.0f ms / %7.0f ms  ratio %.2f\n", cpu_p, cpu_b,
                cpu_p / cpu_b);
    const double fcpu_p = median(ours.frame_cpu), fcpu_b = median(baseline.frame_cpu);
    std::printf("main thread on CPU to first frame: %7.1f ms / %7.1f ms  ratio %.2f\n", fcpu_p,
                fcpu_b, fcpu_p / fcpu_b);
    std::printf("main thread waiting for a CPU to first frame: %7.1f ms / %7.1f ms\n",
                median(ours.frame_wait), median(baseline.frame_wait));
    std::printf("first picture shown was the settled one: %d of %d starts\n", ours.final_first,
                runs);
    return 0;
}
