#include <algorithm>
#include <ostream>

#include "cli/cli_command.h"

namespace zentrik::cli {
namespace {

void print_overview(std::ostream& out) {
    out << "Usage: zentrikctl [--simulate[=SPEC]] [--trace] COMMAND [ARGS...]\n"
           "Reads and configures Zentrik mice from the command line.\n\n"
           "Global options:\n"
           "  --simulate[=SPEC]  use simulated mice instead of real ones (see README)\n"
           "  --trace            print every device exchange to stderr\n"
           "  --help             show this text; COMMAND --help shows a command's own\n\n"
           "Commands:\n";
    for (const auto& c : all_commands()) {
        std::string name = c.name;
        name.resize(std::max<std::size_t>(name.size(), 12), ' ');
        out << "  " << name << "  " << c.summary << "\n";
    }
}

}  // namespace

int run_cli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    GlobalOptions globals;
    std::size_t i = 0;
    for (; i < argv.size() && argv[i].rfind("--", 0) == 0; ++i) {
        const std::string& a = argv[i];
        if (a == "--help") {
            print_overview(out);
            return 0;
        } else if (a == "--trace") {
            globals.trace = true;
        } else if (a == "--simulate") {
            globals.simulate = "";
        } else if (a.rfind("--simulate=", 0) == 0) {
            globals.simulate = a.substr(11);
        } else {
            err << "zentrikctl: unknown option '" << a << "' (see zentrikctl --help)\n";
            return kUsageError;
        }
    }
    if (i == argv.size()) {
        print_overview(err);
        return kUsageError;
    }
    const auto& commands = all_commands();
    const auto it = std::find_if(commands.begin(), commands.end(),
                                 [&](const CliCommand& c) { return argv[i] == c.name; });
    if (it == commands.end()) {
        err << "zentrikctl: unknown command '" << argv[i] << "' (see zentrikctl --help)\n";
        return kUsageError;
    }
    CliContext ctx{
        globals, {argv.begin() + static_cast<std::ptrdiff_t>(i) + 1, argv.end()}, out, err};
    if (std::find(ctx.args.begin(), ctx.args.end(), "--help") != ctx.args.end()) {
        out << it->usage;
        return 0;
    }
    return it->run(ctx);
}

}  // namespace zentrik::cli
