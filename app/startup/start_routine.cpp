#include "app/startup/start_routine.h"

#include <cstdio>
#include <system_error>

#include "lang/ini_file.h"
#include "lang/language_files.h"
#include "platform/replacing_file.h"

namespace zentrik::app {

using platform::InstanceMessage;

namespace {

bool write_ini_value(const std::filesystem::path& file, const std::string& id, std::string& error) {
    const auto bytes = lang::ini_file_with_value(file, "LANG", "id", id, error);
    return bytes && platform::replace_file(file, *bytes, &error);
}

}  // namespace

std::filesystem::path store_language_choice(const StartEnvironment& env, const std::string& id,
                                            std::string* error) {
    std::string beside_program;
    const auto module_file = env.module_directory / lang::kSetIniName;
    if (write_ini_value(module_file, id, beside_program))
        return module_file;
    std::error_code ec;
    std::filesystem::create_directories(env.config_directory, ec);
    std::string in_config;
    const auto user_file = env.config_directory / lang::kSetIniName;
    if (user_file != module_file && write_ini_value(user_file, id, in_config))
        return user_file;
    if (error)
        *error = user_file == module_file ? beside_program : beside_program + "; " + in_config;
    return {};
}

int run_start_routine(const StartOptions& options, const StartEnvironment& env,
                      const RunWindow& run_window) {
    // A choice that could not be saved is said, and a start that ends at once (handing over to
    // the running instance, or "/close") ends with status 1; a window still opens.
    int status = 0;
    std::string error;
    if (options.langid && store_language_choice(env, *options.langid, &error).empty()) {
        std::fprintf(stderr, "zentrik: the language choice %s was not saved (%s)\n",
                     options.langid->c_str(), error.c_str());
        status = 1;
    }
    // The classic program also kept a registry value "LanguageID" that nothing ever read;
    // it has no counterpart here.

    const auto request = options.close ? InstanceMessage::kClose : InstanceMessage::kRestore;
    if (env.channel.send_to_running(request))
        return status;
    if (options.close)
        return status;

    platform::ListenOutcome outcome = env.channel.listen_as_first();
    if (!outcome.listener && outcome.unavailable.empty()) {
        // Another instance started in the meantime: let it come forward instead.
        env.channel.send_to_running(InstanceMessage::kRestore);
        return status;
    }
    if (!outcome.listener)
        std::fprintf(stderr,
                     "zentrik: the single-instance channel cannot be set up (%s); starting "
                     "without it, so a later start opens another window.\n",
                     outcome.unavailable.c_str());
    return run_window(options, std::move(outcome.listener));
}

}  // namespace zentrik::app
