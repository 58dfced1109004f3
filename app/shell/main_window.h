#pragma once
// The GTK main window and its main loop.
#include <memory>

#include "app/startup/command_line.h"
#include "platform/instance_channel.h"

namespace zentrik::app {

// Runs the main window until the program ends for real (window manager close request, or
// a later instance started with "/close"); returns the process exit status.
int run_main_window(const StartOptions& options,
                    std::unique_ptr<platform::InstanceListener> listener);

}  // namespace zentrik::app
