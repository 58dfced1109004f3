// zentrikctl: the program's core from the command line.
#include <iostream>

#include "cli/cli_command.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return zentrik::cli::run_cli(args, std::cout, std::cerr);
}
