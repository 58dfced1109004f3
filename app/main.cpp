// zentrik: the GUI program.
#include <cstdio>
#include <string>
#include <vector>

#include "app/render_page.h"
#include "app/shell/main_window.h"
#include "app/startup/start_routine.h"
#include "app/window_switches.h"
#include "device/backend_selection.h"
#include "platform/paths.h"
#include "sim/sim_setup.h"

namespace {

// The attached mice, or the simulated ones when none is attached (or when asked for).
void choose_mice(zentrik::app::WindowOptions& options, bool simulate,
                 const zentrik::sim::SimSetup& setup) {
    using namespace zentrik;
    if (simulate) {
        options.backend = sim::make_sim_backend(setup);
        return;
    }
    // A mouse plugged in later is picked up: the system's devices stay watched.
    auto choice = device::select_backend(
        platform::make_system_hid_backend(), [&] { return sim::make_sim_backend(setup); },
        device::make_system_timing(), device::Arrivals::kFollow);
    options.backend = std::move(choice.backend);
    for (const device::UnopenedInterface& node : choice.unopened)
        options.start_message +=
            (node.confirmed
                 ? "The mouse at " + node.path + " cannot be opened"
                 : "The device at " + node.path + " may be a Zentrik mouse but cannot be opened") +
            (node.reason.empty() ? std::string() : " (" + node.reason + ")") +
            (node.confirmed ? ". Install the program's udev rule (see README: device access) "
                              "and plug the mouse in again.\n"
                            : ". If it is one, install the program's udev rule (see README: "
                              "device access) and plug it in again.\n");
}

}  // namespace

int main(int argc, char** argv) {
    using namespace zentrik;
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    // A headless render never touches the single instance or a display.
    std::string render_error;
    if (const auto request = app::parse_render_page(args, render_error)) {
        if (!render_error.empty()) {
            std::fprintf(stderr, "%s\n", render_error.c_str());
            return 2;
        }
        return app::render_page(*request);
    }
    std::string page_error;
    app::WindowOptions window_options;
    window_options.page = app::take_page_switch(args, page_error);
    if (!page_error.empty()) {
        std::fprintf(stderr, "%s\n", page_error.c_str());
        return 2;
    }
    const std::optional<std::string> simulate = app::take_simulate_switch(args);
    const app::StartOptions options = app::parse_start_switches(args);
    if (options.help) {
        std::fputs(app::start_usage_text().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts("zentrik 1.0");
        return 0;
    }
    const app::StartEnvironment env{platform::settings_directory(),
                                    platform::user_config_directory(),
                                    platform::InstanceChannel(platform::default_instance_name())};
    // language.ini from the first folder of the search path that holds one.
    window_options.language = {platform::config_file_directory("language.ini"),
                               env.config_directory};
    std::string sim_error;
    const auto sim_setup = sim::parse_sim_setup(simulate.value_or(""), sim_error);
    if (!sim_setup) {
        std::fprintf(stderr, "zentrik: --simulate: %s\n", sim_error.c_str());
        return 2;
    }
    return app::run_start_routine(
        options, env,
        [&](const app::StartOptions& o, std::unique_ptr<platform::InstanceListener> listener) {
            // Only the instance that opens the window looks for mice.
            choose_mice(window_options, simulate.has_value(), *sim_setup);
            return app::run_main_window(o, std::move(listener), window_options);
        });
}
