// zentrik: the GUI program.
#include <cstdio>
#include <string>
#include <vector>

#include "app/render_page.h"
#include "app/shell/main_window.h"
#include "app/startup/start_routine.h"
#include "app/window_switches.h"
#include "platform/paths.h"

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
    return app::run_start_routine(
        options, env,
        [&window_options](const app::StartOptions& o,
                          std::unique_ptr<platform::InstanceListener> listener) {
            return app::run_main_window(o, std::move(listener), window_options);
        });
}
