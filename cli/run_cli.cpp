#include <algorithm>
#include <ostream>

#include "cli/cli_command.h"

namespace zentrik::cli {

void print_overview(std::ostream& out) {
    out << "Usage: zentrikctl [--simulate[=SPEC]] [--trace] [--json] [--device=N] COMMAND "
           "[ARGS...]\n"
           "Reads and configures Zentrik mice from the command line.\n\n"
           "Global options:\n"
           "  --simulate[=SPEC]  use simulated mice instead of real ones (see README)\n"
           "  --trace            print every device exchange to stderr\n"
           "  --json             print data as JSON (commands marked [json]); also after COMMAND\n"
           "  --device=N         the mouse a command addresses (as after COMMAND)\n"
           "  --help             show this text; COMMAND --help shows a command's own\n\n"
           "Commands:\n";
    for (const auto& c : all_commands()) {
        std::string name = c.name;
        name.resize(std::max<std::size_t>(name.size(), 12), ' ');
        out << "  " << name << "  " << c.summary << (c.json_output ? " [json]" : "") << "\n";
    }
    out << "\nExit status:\n";
    for (const auto& e : kExitCodeMeanings)
        out << "  " << e.code << "  " << e.meaning << "\n";
}

int run_cli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    GlobalOptions globals;
    std::vector<std::string> device_option;  // handed to the command, which reads it
    std::size_t i = 0;
    for (; i < argv.size() && argv[i].rfind("--", 0) == 0; ++i) {
        const std::string& a = argv[i];
        if (a == "--help") {
            print_overview(out);
            return kExitOk;
        } else if (a == "--json") {
            globals.json = true;
        } else if (a == "--trace") {
            globals.trace = true;
        } else if (a == "--simulate") {
            globals.simulate = "";
        } else if (a.rfind("--simulate=", 0) == 0) {
            globals.simulate = a.substr(11);
        } else if (a.rfind("--device=", 0) == 0) {
            device_option = {a};
        } else {
            err << "zentrikctl: unknown option '" << a << "' (see zentrikctl --help)\n";
            return kExitUsage;
        }
    }
    if (i == argv.size()) {
        print_overview(err);
        return kExitUsage;
    }
    const auto& commands = all_commands();
    const auto it = std::find_if(commands.begin(), commands.end(),
                                 [&](const CliCommand& c) { return argv[i] == c.name; });
    if (it == commands.end()) {
        err << "zentrikctl: unknown command '" << argv[i] << "' (see zentrikctl --help)\n";
        return kExitUsage;
    }
    CliContext ctx{
        globals, {argv.begin() + static_cast<std::ptrdiff_t>(i) + 1, argv.end()}, out, err};
    ctx.args.insert(ctx.args.begin(), device_option.begin(), device_option.end());
    if (std::find(ctx.args.begin(), ctx.args.end(), "--help") != ctx.args.end()) {
        out << it->usage;
        return kExitOk;
    }
    if (const auto json = std::find(ctx.args.begin(), ctx.args.end(), "--json");
        json != ctx.args.end()) {
        ctx.globals.json = true;
        ctx.args.erase(json);
    }
    if (ctx.globals.json && !it->json_output) {
        err << "zentrikctl: '" << it->name
            << "' has no JSON output; drop --json (see zentrikctl --help)\n";
        return kExitUsage;
    }
    return it->run(ctx);
}

}  // namespace zentrik::cli
