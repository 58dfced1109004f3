#include "app/startup/start_routine.h"

#include <chrono>
#include <cstdio>
#include <system_error>
#include <thread>

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

// Hands `request` to the running instance. While that instance is ending, waits for it to go
// (bounded): returns kNone once no instance runs, kEnding when the wait ran out.
platform::Delivery hand_over(const StartEnvironment& env, InstanceMessage request, bool close) {
    int waited = 0;
    for (;;) {
        const platform::Delivery delivery = env.channel.deliver_to_running(request);
        if (delivery != platform::Delivery::kEnding || close)
            return delivery;
        if (waited == 0)
            std::fprintf(stderr,
                         "zentrik: the running instance is ending once it has finished a job on "
                         "the mouse; waiting for it before starting.\n");
        if (waited >= env.ending_wait_ms) {
            std::fprintf(stderr,
                         "zentrik: the running instance has not ended after %d s; try again "
                         "once it has.\n",
                         env.ending_wait_ms / 1000);
            return delivery;
        }
        constexpr int kPauseMs = 200;
        env.pause(kPauseMs);
        waited += kPauseMs;
    }
}

}  // namespace

void StartEnvironment::pause_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

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
    platform::ListenOutcome outcome;
    // An instance that holds the channel without answering is one that started meanwhile (it
    // answers in a moment) or one in its last moments of ending: ask again a few times.
    for (int round = 0;; ++round) {
        const platform::Delivery delivery = hand_over(env, request, options.close);
        if (delivery == platform::Delivery::kDelivered || options.close)
            return status;
        if (delivery == platform::Delivery::kEnding)
            return 1;
        outcome = env.channel.listen_as_first();
        constexpr int kRounds = 5;
        if (outcome.listener || !outcome.unavailable.empty() || round + 1 == kRounds)
            break;
    }
    if (!outcome.listener && outcome.unavailable.empty()) {
        if (options.close)
            return status;
        std::fprintf(stderr,
                     "zentrik: a running instance holds the single-instance channel but does not "
                     "answer; no window was opened. End that instance (or wait) and try again.\n");
        return 1;
    }
    if (!outcome.listener)
        std::fprintf(stderr,
                     "zentrik: the single-instance channel cannot be set up (%s); starting "
                     "without it, so a later start opens another window.\n",
                     outcome.unavailable.c_str());
    return run_window(options, std::move(outcome.listener));
}

}  // namespace zentrik::app
