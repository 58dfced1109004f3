#include "app/startup/command_line.h"

#include <algorithm>
#include <cctype>

namespace zentrik::app {
namespace {

bool contains_any(const std::string& line, std::initializer_list<const char*> needles) {
    return std::any_of(needles.begin(), needles.end(),
                       [&](const char* n) { return line.find(n) != std::string::npos; });
}

// Arguments are matched whole for --help and --version, so "/hide --helpful" asks no help.
bool has_argument(const std::vector<std::string>& args, std::initializer_list<const char*> words) {
    return std::any_of(args.begin(), args.end(), [&](const std::string& a) {
        return std::any_of(words.begin(), words.end(), [&](const char* w) { return a == w; });
    });
}

}  // namespace

StartOptions parse_start_switches(const std::vector<std::string>& args) {
    // One lower-cased line of the arguments, blank-separated, as the classic command line was.
    std::string line;
    for (const auto& a : args) {
        if (!line.empty())
            line += ' ';
        line += a;
    }
    std::transform(line.begin(), line.end(), line.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });

    StartOptions o;
    // "--langid=" contains "-langid=", "/langid=" itself; look for the slash form first.
    for (const char* key : {"/langid=", "-langid="}) {
        if (auto at = line.find(key); at != std::string::npos) {
            const auto start = at + std::char_traits<char>::length(key);
            const auto end = line.find_first_of(" \t", start);
            o.langid = line.substr(start, end == std::string::npos ? end : end - start);
            break;
        }
    }
    o.hide = contains_any(line, {"/hide", "--hide"});
    o.close = contains_any(line, {"/close", "--close"});
    o.showtip = contains_any(line, {"/showtip", "--showtip"});
    o.help = has_argument(args, {"--help", "-h", "/?"});
    o.version = has_argument(args, {"--version"});
    return o;
}

std::string start_usage_text() {
    return "Usage: zentrik [switches]\n"
           "Configures Zentrik mice: buttons, DPI, report rate, macros, backups.\n"
           "Only one instance runs per user; starting it again brings its window forward.\n"
           "\n"
           "  /langid=N, --langid=N  use language N of language.ini (saved in set.ini)\n"
           "  /hide, --hide          start with the window hidden (tray icon only)\n"
           "  /close, --close        end the running instance, if any, and open nothing\n"
           "  /showtip, --showtip    show the tray balloon one second after start\n"
           "  --help                 show this text\n"
           "  --version              show the version\n"
           "\n"
           "For development and tests:\n"
           "  --page N               show page N (0, 1, 2, 3, 5, 99) as if a mouse were selected\n"
           "  --render-page N OUT    write page N as a PNG file without a display, then exit;\n"
           "                         with --scale 2, drawn for a high-DPI screen (2092 x 1310)\n";
}

}  // namespace zentrik::app
