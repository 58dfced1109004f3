#pragma once
// zentrikctl's command interface: each subcommand is a function over its arguments and streams,
// so tests run it in-process.
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace zentrik::cli {

// Options given before the subcommand.
struct GlobalOptions {
    std::optional<std::string> simulate;  // "--simulate[=SPEC]": SPEC, or "" for the default
    bool trace = false;                   // "--trace": print every device exchange to stderr
};

struct CliContext {
    GlobalOptions globals;
    std::vector<std::string> args;  // arguments after the subcommand's name
    std::ostream& out;
    std::ostream& err;
};

struct CliCommand {
    const char* name;                     // first word ("macro", "list", ...)
    const char* summary;                  // one line for the overview
    const char* usage;                    // the text of `zentrikctl NAME --help`
    std::function<int(CliContext&)> run;  // exit status
};

// Every subcommand, in the order the overview lists them.
const std::vector<CliCommand>& all_commands();

// Runs zentrikctl with `argv` (without the program name); returns the exit status.
int run_cli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err);

// Exit status for a bad command line.
inline constexpr int kUsageError = 2;

}  // namespace zentrik::cli
