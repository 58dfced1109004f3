// Start-up benchmark: starts a bare GTK3 window of the main window's size, the program as a
// user starts it, and the program on one page without device work (`--page N`), in turn, under
// a private Xvfb, and measures for each start
//   exec → map             the first map of a top-level window at least 200 pixels wide
//   exec → finished page   the first picture that is a finished page: for the program the
//                          page it shows before its device work, equal to the program's own
//                          headless render of that page (`--render-page N`); for the bare
//                          window its settled picture. Any picture before it is a fault.
//   exec → settled         the last change: the end of the start sequence (device listing,
//                          settings load, home page)
//   RSS                    resident memory once settled (with its anonymous, file-backed and
//                          shared-memory parts), CPU the processor time until then
//   frame CPU / wait       the main thread's time on a processor, and waiting for one, until
//                          the finished page: on a busy machine wall times are mostly waiting
// and prints the medians and the ratios to the bare window. A measuring tool, never a test gate.
#include <X11/Xlib.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <optional>
#include <string>
#include <vector>

#include "process_stats.h"
#include "start_watch.h"
#include "window_pictures.h"

extern char** environ;

using namespace startup_bench;

namespace {

constexpr const char* kUsage =
    "usage: startup_bench --program PATH --bare PATH [--also PATH] [--runs N] [--settle MS]\n"
    "                     [--sequence-settle MS] [--first-page N] [--preview-page N|none]\n"
    "                     [--dump DIR] [--timeline] [-- PROGRAM ARGS...]";

// Windows come and go while they are watched; their errors are expected and harmless.
int ignore_x_errors(Display*, XErrorEvent*) {
    return 0;
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

double median(std::vector<double> v) {
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// What the program reports of its start-up ($ZENTRIK_STARTUP_REPORT): the sum of the sleeps the
// transport asked for, and when the first and last of them began (monotonic clock, us).
struct SleepReport {
    double sleeps_ms = -1, first_sleep_ms = -1, last_sleep_ms = -1;
};

SleepReport read_sleep_report(const std::string& file) {
    SleepReport r;
    FILE* f = std::fopen(file.c_str(), "r");
    if (!f)
        return r;
    char key[64];
    double value = 0;
    while (std::fscanf(f, "%63[^=]=%lf\n", key, &value) == 2) {
        const std::string k = key;
        if (k == "sleeps_ms")
            r.sleeps_ms = value;
        else if (k == "first_sleep_us")
            r.first_sleep_ms = value / 1000;
        else if (k == "last_sleep_us")
            r.last_sleep_ms = value / 1000;
    }
    std::fclose(f);
    std::remove(file.c_str());
    return r;
}

struct Series {
    std::string name;
    StartRequest request;
    std::vector<double> sleeps, to_first_exchange, ratio;  // from the program's own report
    std::vector<double> map, frame, settled, rss, anon, file, shmem, cpu, frame_cpu, frame_wait;
    int finished_first = 0;  // starts whose first picture was the finished page
    int settled_first = 0;   // starts whose first picture was already the settled one
    int faults = 0;          // pictures shown before the finished page, over all starts
    int starts = 0;

    void add(const Start& s) {
        ++starts;
        const auto put = [](std::vector<double>& into, double v) {
            if (v >= 0)
                into.push_back(v);
        };
        put(map, s.map_ms);
        put(frame, s.frame_ms);
        put(settled, s.settled_ms);
        put(cpu, s.cpu_ms);
        put(frame_cpu, s.to_frame.on_cpu_ms);
        put(frame_wait, s.to_frame.waiting_ms);
        if (s.memory.rss_kb >= 0) {
            rss.push_back(static_cast<double>(s.memory.rss_kb) / 1024.0);
            anon.push_back(static_cast<double>(s.memory.anon_kb) / 1024.0);
            file.push_back(static_cast<double>(s.memory.file_kb) / 1024.0);
            shmem.push_back(static_cast<double>(s.memory.shmem_kb) / 1024.0);
        }
        if (s.frame_ms >= 0 && s.before_frame == 0)
            ++finished_first;
        if (s.first_is_settled)
            ++settled_first;
        faults += s.frame_ms >= 0 ? s.before_frame : static_cast<int>(s.shots.size());
    }
};

// The program's own headless render of `page`, as the window must show it.
// `file` receives the PNG.
Picture reference_page(const std::string& program, int page, const std::vector<std::string>& env,
                       const std::string& file) {
    if (!run_to_end({program, "--render-page", std::to_string(page), file}, env))
        die("cannot render page " + std::to_string(page) + " with " + program);
    auto picture = load_png(file);
    if (!picture)
        die("cannot read " + file);
    return *picture;
}

void print_start(const Series& s, int run, const Start& start, bool timeline) {
    std::printf("%-10s %3d %8.1f %9.1f %9d %9.1f %8.1f %7.0f %9.1f %9.1f\n", s.name.c_str(), run,
                start.map_ms, start.frame_ms, start.before_frame, start.settled_ms,
                static_cast<double>(start.memory.rss_kb) / 1024.0, start.cpu_ms,
                start.to_frame.on_cpu_ms, start.to_frame.waiting_ms);
    if (timeline)
        for (std::size_t i = 0; i < start.shots.size(); ++i)
            std::printf("%18s picture %zu at %7.1f ms%s\n", "", i, start.shots[i].at_ms,
                        start.shots[i].finished ? "  (the finished page)" : "");
    std::fflush(stdout);
}

// One row of medians: the bare window's, then each other series' with its ratio to the bare
// window (`ratio`) or its difference from it.
template <typename Member>
void print_row(const char* label, const std::vector<Series>& series, Member member, bool ratio) {
    const double bare = median(series[0].*member);
    std::printf("%-36s %8.1f", label, bare);
    for (std::size_t i = 1; i < series.size(); ++i) {
        const double v = median(series[i].*member);
        if (ratio)
            std::printf(" %8.1f %6.2fx", v, bare > 0 ? v / bare : 0);
        else
            std::printf(" %8.1f %+6.1f ", v, v - bare);
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    // Pictures are read back into buffers of a few MB: kept mapped once touched, each read
    // takes 1-2 ms instead of 10-25 ms of fresh pages, so the watcher keeps up with the window.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
    std::string program, bare, also, dump_dir;
    int runs = 10;
    double settle_ms = 700, sequence_settle_ms = 3000;
    int first_page = 99, preview_page = 5;
    bool timeline = false;
    std::vector<std::string> program_args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool has_value = i + 1 < argc;
        if (a == "--program" && has_value)
            program = argv[++i];
        else if (a == "--bare" && has_value)
            bare = argv[++i];
        else if (a == "--also" && has_value)
            also = argv[++i];
        else if (a == "--runs" && has_value)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--settle" && has_value)
            settle_ms = std::atof(argv[++i]);
        else if (a == "--sequence-settle" && has_value)
            sequence_settle_ms = std::atof(argv[++i]);
        else if (a == "--first-page" && has_value)
            first_page = std::atoi(argv[++i]);
        else if (a == "--preview-page" && has_value) {
            const std::string v = argv[++i];
            preview_page = v == "none" ? -1 : std::atoi(v.c_str());
        } else if (a == "--dump" && has_value)
            dump_dir = argv[++i];
        else if (a == "--timeline")
            timeline = true;
        else if (a == "--") {
            program_args.assign(argv + i + 1, argv + argc);
            break;
        } else
            die(kUsage);
    }
    if (program.empty() || bare.empty())
        die(std::string("--program and --bare are required\n") + kUsage);

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
    // An instance of its own: another benchmark run beside this one does not take its starts.
    env.push_back("ZENTRIK_INSTANCE=startup-bench-" + std::to_string(getpid()));
    env.push_back("NO_AT_BRIDGE=1");

    XSetErrorHandler(ignore_x_errors);
    Display* dpy = XOpenDisplay(display.c_str());
    if (!dpy)
        die("cannot open " + display);
    StartWatcher watcher(dpy);

    const Picture first_reference =
        reference_page(program, first_page, env, std::string(scratch) + "/first.png");
    std::optional<Picture> preview_reference;
    if (preview_page >= 0)
        preview_reference =
            reference_page(program, preview_page, env, std::string(scratch) + "/preview.png");
    // Another build of the program (the one before a change), started as a user starts it.
    std::optional<Picture> also_reference;
    if (!also.empty())
        also_reference = reference_page(also, first_page, env, std::string(scratch) + "/also.png");

    std::vector<Series> series(1);
    series[0].name = "bare";
    series[0].request = {{bare, "1046", "655"}, env, settle_ms, nullptr, {}};
    // A series that starts the program (or another build of it) with the given switches first.
    const auto program_series = [&](std::string name, std::vector<std::string> argv, int settle,
                                    const Picture* reference) {
        Series s;
        s.name = std::move(name);
        s.request.argv = std::move(argv);
        s.request.argv.insert(s.request.argv.end(), program_args.begin(), program_args.end());
        s.request.env = env;
        s.request.settle_ms = settle;
        s.request.first_page = reference;
        series.push_back(std::move(s));
    };
    program_series("program", {program}, sequence_settle_ms, &first_reference);
    // The program reports the sleeps of its start-up exchanges (the transport's own accounting).
    const std::string sleep_report = std::string(scratch) + "/sleeps";
    series.back().request.env.push_back("ZENTRIK_STARTUP_REPORT=" + sleep_report);
    if (preview_reference)
        program_series("page " + std::to_string(preview_page),
                       {program, "--page", std::to_string(preview_page)}, settle_ms,
                       &*preview_reference);
    if (also_reference)
        program_series("also", {also}, sequence_settle_ms, &*also_reference);

    // The first GTK client of a display probes OpenGL and leaves the result on the root window
    // for every later one (as on any desktop session); that start is left out.
    watcher.measure(series[0].request);

    std::printf("%-10s %3s %8s %9s %9s %9s %8s %7s %9s %9s\n", "start", "run", "map ms", "finished",
                "faults", "settled", "RSS MB", "CPU ms", "frame CPU", "wait");
    for (int run = 0; run < runs; ++run) {
        // Take turns at going first, so a drift in the machine's load hits all alike.
        for (std::size_t k = 0; k < series.size(); ++k) {
            Series& s = series[(run + k) % series.size()];
            StartRequest request = s.request;
            if (!dump_dir.empty()) {
                std::string tag = s.name;
                std::replace(tag.begin(), tag.end(), ' ', '-');
                request.dump = dump_dir + "/" + tag + "-" + std::to_string(run);
            }
            const Start start = watcher.measure(request);
            s.add(start);
            print_start(s, run, start, timeline);
            if (s.name != "program")
                continue;
            const SleepReport r = read_sleep_report(sleep_report);
            if (r.sleeps_ms <= 0 || start.settled_ms < 0)
                continue;
            s.sleeps.push_back(r.sleeps_ms);
            s.to_first_exchange.push_back(r.first_sleep_ms - start.exec_at_ms);
            s.ratio.push_back(start.settled_ms / r.sleeps_ms);
            std::printf(
                "%18s sleeps %.0f ms, first exchange at %.1f ms, last at %.1f ms, "
                "home page at %.1f ms: %.2fx the sleeps\n",
                "", r.sleeps_ms, r.first_sleep_ms - start.exec_at_ms,
                r.last_sleep_ms - start.exec_at_ms, start.settled_ms,
                start.settled_ms / r.sleeps_ms);
        }
    }
    XCloseDisplay(dpy);
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
    const std::string rm = std::string("rm -rf ") + scratch;
    if (std::system(rm.c_str()) != 0)
        std::fprintf(stderr, "startup_bench: could not remove %s\n", scratch);

    std::printf("\nmedians over %d starts each\n%-36s %8s", runs, "", "bare");
    for (std::size_t i = 1; i < series.size(); ++i)
        std::printf(" %17s", series[i].name.c_str());
    std::printf("\n");
    const auto row = [&](const char* label, auto member, bool ratio) {
        print_row(label, series, member, ratio);
    };
    row("exec -> map (ms)", &Series::map, true);
    row("exec -> finished page (ms)", &Series::frame, true);
    row("exec -> settled (ms)", &Series::settled, true);
    row("main thread on CPU to page (ms)", &Series::frame_cpu, true);
    row("main thread waiting to page (ms)", &Series::frame_wait, false);
    row("CPU time to settle (ms)", &Series::cpu, true);
    row("RSS once settled (MB)", &Series::rss, false);
    row("  anonymous (MB)", &Series::anon, false);
    row("  file-backed (MB)", &Series::file, false);
    row("  shared memory (MB)", &Series::shmem, false);
    std::printf("goals: finished page <= 1.5x the bare window, RSS <= +16 MB\n");
    for (const Series& s : series)
        if (!s.sleeps.empty())
            std::printf(
                "%s: start-up exchanges' sleeps %.0f ms, first exchange at %.1f ms, "
                "exec -> home page %.2fx the sleeps (goal <= 1.15x)\n",
                s.name.c_str(), median(s.sleeps), median(s.to_first_exchange), median(s.ratio));
    for (std::size_t i = 1; i < series.size(); ++i) {
        const Series& s = series[i];
        std::printf(
            "%s: first picture was the finished page: %d of %d starts, already the "
            "settled one: %d of %d; pictures before it: %d\n",
            s.name.c_str(), s.finished_first, s.starts, s.settled_first, s.starts, s.faults);
    }
    return 0;
}
