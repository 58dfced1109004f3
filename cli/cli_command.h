#pragma once
// zentrikctl's command interface: each subcommand is a function over its arguments and streams,
// so tests run it in-process.
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/exit_codes.h"

namespace zentrik::cli {

// Options given before the subcommand.
struct GlobalOptions {
    std::optional<std::string> simulate;  // "--simulate[=SPEC]": SPEC, or "" for the default
    bool trace = false;                   // "--trace": print every device exchange to stderr
    bool json = false;  // "--json" (before or after the command): print data as JSON
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
    bool json_output = false;             // prints JSON with --json (shapes in docs/zentrikctl.md)
};

// Every subcommand, in the order the overview lists them.
const std::vector<CliCommand>& all_commands();

// The text of `zentrikctl --help`: global options, every command with its summary, exit statuses.
void print_overview(std::ostream& out);

// Runs zentrikctl with `argv` (without the program name); returns the exit status.
int run_cli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err);

// The older name of kExitUsage (cli/exit_codes.h), kept while commands move over.
inline constexpr int kUsageError = 2;

}  // namespace zentrik::cli
