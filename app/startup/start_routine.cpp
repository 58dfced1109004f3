#include "app/startup/start_routine.h"

#include <cstdio>
#include <system_error>

#include "lang/ini_file.h"
#include "lang/language_files.h"

namespace zentrik::app {

using platform::InstanceMessage;

std::filesystem::path store_language_choice(const StartEnvironment& env, const std::string& id) {
    const auto module_file = env.module_directory / lang::kSetIniName;
    if (lang::write_ini_value(module_file, "LANG", "id", id))
        return module_file;
    std::error_code ec;
    std::filesystem::create_directories(env.config_directory, ec);
    const auto user_file = env.config_directory / lang::kSetIniName;
    if (lang::write_ini_value(user_file, "LANG", "id", id))
        return user_file;
    return {};
}

int run_start_routine(const StartOptions& options, const StartEnvironment& env,
                      const RunWindow& run_window) {
    if (options.langid)
        store_language_choice(env, *options.langid);
    // The classic program also kept a registry value "LanguageID" that nothing ever read;
    // it has no counterpart here.

    const auto request = options.close ? InstanceMessage::kClose : InstanceMessage::kRestore;
    if (env.channel.send_to_running(request))
        return 0;
    if (options.close)
        return 0;

    platform::ListenOutcome outcome = env.channel.listen_as_first();
    if (!outcome.listener && outcome.unavailable.empty()) {
        // Another instance started in the meantime: let it come forward instead.
        env.channel.send_to_running(InstanceMessage::kRestore);
        return 0;
    }
    if (!outcome.listener)
        std::fprintf(stderr,
                     "zentrik: the single-instance channel cannot be set up (%s); starting "
                     "without it, so a later start opens another window.\n",
                     outcome.unavailable.c_str());
    return run_window(options, std::move(outcome.listener));
}

}  // namespace zentrik::app
