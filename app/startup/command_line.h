#pragma once
// The program's command-line switches.
//
// Switches are found by case-insensitive substring search in the arguments (never in the
// program's own path, which may well contain "/hide" or "/close"), each independently:
// "/langid=N" (value up to the next blank), "/hide", "/close", "/showtip", also spelt with "--".
#include <optional>
#include <string>
#include <vector>

namespace zentrik::app {

struct StartOptions {
    std::optional<std::string> langid;  // "/langid=" value, possibly empty
    bool hide = false;
    bool close = false;
    bool showtip = false;
    bool help = false;
    bool version = false;
};

// `args` are the arguments after the program path.
StartOptions parse_start_switches(const std::vector<std::string>& args);

// The text `--help` prints.
std::string start_usage_text();

}  // namespace zentrik::app
