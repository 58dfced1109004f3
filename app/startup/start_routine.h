#pragma once
// The program's start: switches, the language choice, single instance, then the window.
#include <filesystem>
#include <functional>
#include <memory>

#include "app/startup/command_line.h"
#include "platform/instance_channel.h"

namespace zentrik::app {

struct StartEnvironment {
    std::filesystem::path
        module_directory;  // where set.ini is written first (platform::settings_directory)
    std::filesystem::path config_directory;  // per-user fallback for set.ini
    platform::InstanceChannel channel;
    // How long a start waits for a running instance that is ending (it finishes a job on the
    // mouse first) before it gives up, and how it pauses between its tries.
    int ending_wait_ms = kEndingWaitMs;
    std::function<void(int ms)> pause = pause_ms;

    static constexpr int kEndingWaitMs = 180'000;
    static void pause_ms(int ms);
};

// Runs the main window until the program ends; returns the exit status.
using RunWindow =
    std::function<int(const StartOptions&, std::unique_ptr<platform::InstanceListener>)>;

// Stores a "/langid=" value in set.ini [LANG] id: in the module directory, or in the per-user
// config directory when the module directory cannot be written. Returns the file written, or
// an empty path when neither could be (with both reasons in `error`, when given).
std::filesystem::path store_language_choice(const StartEnvironment& env, const std::string& id,
                                            std::string* error = nullptr);

// Applies the switches, settles the single instance and runs the window when this start is the
// first instance. A later start asks the running instance to restore (or, with "/close", to end)
// and returns 0 without opening anything; so does "/close" when nothing is running. While the
// running instance is ending, a start waits for it to go and then starts as the first instance
// (a "/close" returns 0 at once); after `ending_wait_ms` it says so and returns 1. A
// "/langid=" that could not be saved is reported on stderr and makes those returns 1. When no
// channel can be set up at all the window still runs, with a null listener and a message on
// stderr.
int run_start_routine(const StartOptions& options, const StartEnvironment& env,
                      const RunWindow& run_window);

}  // namespace zentrik::app
