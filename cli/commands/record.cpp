// zentrikctl record: keys, buttons and wheel notches from the X display into a macro file.
#include "cli/commands/record.h"

#include <chrono>
#include <csignal>
#include <memory>
#include <ostream>
#include <vector>

#include "cli/exit_codes.h"
#include "macro/instruction.h"
#include "macro/macro_file.h"
#include "macro/recorder.h"
#include "platform/raw_input_source.h"

namespace zentrik::cli {

const char kRecordUsage[] =
    "Usage: zentrikctl record [--no-pauses] [--seconds S] OUT.mf\n"
    "Records keys, mouse buttons and wheel notches from the X display, whichever window has\n"
    "the focus, until Ctrl+C (or S seconds), and writes them as a macro file that plays once.\n\n"
    "  --no-pauses   leave out the pauses between the actions (no wait steps)\n"
    "  --seconds S   stop after S seconds (1-86400)\n\n"
    "Keys still held when Ctrl+C stops the recording (Ctrl and C themselves) are left out.\n"
    "On a Wayland session only input that goes to X11 programs (through XWayland) is heard, and\n"
    "without an X display there the command exits with status 1: a Wayland program hears no\n"
    "other program's input (the window's recording hears what is typed into the window).\n";

namespace {

volatile std::sig_atomic_t g_stop = 0;

extern "C" void on_stop_signal(int) {
    g_stop = 1;
}

class StepCollector final : public macro::RecorderSink {
  public:
    void append_step(std::vector<std::uint8_t> code) override { steps.push_back(std::move(code)); }
    void insert_step_after_selected(std::vector<std::uint8_t> code) override {
        steps.push_back(std::move(code));
    }
    bool pointer_on_stop_icon() const override { return false; }
    void set_pointer_input(bool) override {}

    std::vector<std::vector<std::uint8_t>> steps;
};

bool is_wait(const std::vector<std::uint8_t>& step) {
    return step[0] == macro::MI_WAIT8 || step[0] == macro::MI_WAIT16;
}

// The key presses at the end that were never released (the Ctrl+C that stopped the recording),
// with the waits before them.
void drop_unreleased_tail(std::vector<std::vector<std::uint8_t>>& steps) {
    while (!steps.empty() && (steps.back()[0] == macro::MI_KEY_DOWN || is_wait(steps.back())))
        steps.pop_back();
}

struct RecordArgs {
    bool pauses = true;
    int seconds = 0;
    std::string out;
};

bool parse(const std::vector<std::string>& args, RecordArgs& parsed, std::ostream& err) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--no-pauses") {
            parsed.pauses = false;
        } else if (arg == "--seconds") {
            if (i + 1 >= args.size()) {
                err << "zentrikctl record: --seconds needs a number\n";
                return false;
            }
            const std::string& value = args[++i];
            try {
                std::size_t used = 0;
                parsed.seconds = std::stoi(value, &used);
                if (used != value.size() || parsed.seconds < 1 || parsed.seconds > 86400)
                    throw std::out_of_range(value);
            } catch (const std::exception&) {
                err << "zentrikctl record: --seconds wants 1-86400, not \"" << value << "\"\n";
                return false;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            err << "zentrikctl record: unknown option \"" << arg << "\"\n";
            return false;
        } else if (parsed.out.empty()) {
            parsed.out = arg;
        } else {
            err << "zentrikctl record: one output file only\n";
            return false;
        }
    }
    if (parsed.out.empty()) {
        err << kRecordUsage;
        return false;
    }
    return true;
}

}  // namespace

int run_record(CliContext& ctx) {
    RecordArgs args;
    if (!parse(ctx.args, args, ctx.err))
        return kExitUsage;
    const bool wayland = platform::wayland_session();
    const std::unique_ptr<platform::RawInputConnection> connection =
        platform::open_raw_input_connection();
    if (!connection && wayland) {
        ctx.err << "zentrikctl record: this Wayland session has no X display (XWayland) to "
                   "record from, and a Wayland program hears no other program's keys and "
                   "clicks; record in the window instead, which hears what is typed into it\n";
        return kExitFailure;
    }
    if (!connection) {
        ctx.err << "zentrikctl record: " << platform::kRawInputUnreachable << "\n";
        return kExitFailure;
    }
    if (wayland)
        ctx.err << platform::kWaylandRecordingNote << "\n";
    StepCollector collector;
    macro::Recorder recorder(collector);
    recorder.set_record_pauses(args.pauses);
    recorder.start_recording(false);
    if (!connection->start(recorder)) {
        ctx.err << "zentrikctl record: " << platform::kRawInputUnsupported << "\n";
        return kExitFailure;
    }

    g_stop = 0;
    auto* previous_int = std::signal(SIGINT, on_stop_signal);
    auto* previous_term = std::signal(SIGTERM, on_stop_signal);
    ctx.err << "Recording"
            << (args.seconds > 0 ? " for " + std::to_string(args.seconds) + " s" : "")
            << "; Ctrl+C stops.\n";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(args.seconds);
    bool connected = true;
    while (g_stop == 0 && connected) {
        int wait_ms = 200;
        if (args.seconds > 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            wait_ms = static_cast<int>(std::min<long long>(left.count(), wait_ms));
        }
        connected = connection->dispatch(wait_ms);
    }
    const bool interrupted = g_stop != 0;
    std::signal(SIGINT, previous_int);
    std::signal(SIGTERM, previous_term);
    recorder.stop_recording();
    if (!connected) {
        ctx.err << "zentrikctl record: " << platform::kRawInputBroken << "; nothing written\n";
        return kExitFailure;
    }
    if (interrupted)
        drop_unreleased_tail(collector.steps);

    macro::MacroCode code{macro::MI_MODE_ONCE};
    for (const auto& step : collector.steps)
        code.insert(code.end(), step.begin(), step.end());
    if (!macro::write_macro_file(args.out, code)) {
        ctx.err << "zentrikctl record: cannot write " << args.out << "\n";
        return kExitBadFile;
    }
    ctx.out << "Recorded " << collector.steps.size() << " steps (" << code.size() << " bytes) to "
            << args.out << "\n";
    return kExitOk;
}

}  // namespace zentrik::cli
