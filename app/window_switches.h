#pragma once
// Development switches of the window: "--page N" shows page N as if a mouse were selected.
#include <optional>
#include <string>
#include <vector>

namespace zentrik::app {

// Removes "--page N" from `args` and returns N; nullopt when absent. `error` receives a
// message when N is missing or not a page of the window (0, 1, 2, 3, 5 or 99).
std::optional<int> take_page_switch(std::vector<std::string>& args, std::string& error);

// Removes "--simulate[=SPEC]" from `args` and returns SPEC ("" for the default mice); nullopt
// when absent.
std::optional<std::string> take_simulate_switch(std::vector<std::string>& args);

}  // namespace zentrik::app
