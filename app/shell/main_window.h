#pragma once
// The GTK main window and its main loop.
#include <memory>
#include <optional>

#include "app/startup/command_line.h"
#include "lang/string_tables.h"
#include "platform/hid_backend.h"
#include "platform/instance_channel.h"

namespace zentrik::app {

struct WindowOptions {
    // Development switch: show this page as if a mouse were selected.
    std::optional<int> page;
    // Where the language comes from.
    lang::LanguageSources language;
    // The mice the window talks to (the attached ones, or the simulated ones).
    std::shared_ptr<platform::HidBackend> backend;
    // Shown once the window is up (e.g. a mouse that this user may not open).
    std::string start_message;
};

// Runs the main window until the program ends for real (window manager close request, tray
// "Exit", or a later instance started with "/close"); returns the process exit status.
int run_main_window(const StartOptions& options,
                    std::unique_ptr<platform::InstanceListener> listener,
                    const WindowOptions& window_options = {});

}  // namespace zentrik::app
