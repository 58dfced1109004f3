#pragma once
// The manuals and the bash completion, generated from the same texts --help prints, so they
// cannot drift from the programs.
#include <string>
#include <string_view>

namespace zentrik::cli::docs {

// zentrikctl(1): the overview, every command's usage text and the exit statuses.
std::string zentrikctl_manual(std::string_view version, std::string_view data_directory);
// zentrik(1): the window program's switches.
std::string zentrik_manual(std::string_view version, std::string_view data_directory);
// The bash completion of zentrikctl: command names, and per command the options its usage
// text names.
std::string zentrikctl_bash_completion();

// Text as roff shows it verbatim: backslashes escaped, lines that would read as requests
// guarded.
std::string roff_escape(std::string_view text);

}  // namespace zentrik::cli::docs
