#include "cli/docs/manual_pages.h"

#include <regex>
#include <set>
#include <sstream>

#include "app/startup/command_line.h"
#include "cli/cli_command.h"
#include "cli/exit_codes.h"

namespace zentrik::cli::docs {
namespace {

std::string verbatim(std::string_view text) {
    return ".nf\n" + roff_escape(text) + (text.empty() || text.back() == '\n' ? "" : "\n") +
           ".fi\n";
}

std::string files_section(std::string_view data_directory) {
    const std::string data = roff_escape(data_directory);
    return ".SH FILES\n"
           "The files \\(lqset.ini\\(rq (the language chosen), \\(lqlanguage.ini\\(rq (the texts "
           "of every language) and \\(lqmacro library.ini\\(rq (the macro library) are each "
           "looked up in this order; the first folder that holds the file wins:\n"
           ".TP\n.I $XDG_CONFIG_HOME/zentrik/\n"
           "the user's own (default \\fI~/.config/zentrik/\\fR); \\(lqset.ini\\(rq is written "
           "here\n"
           ".TP\n.I " +
           data +
           "/\nthe samples that come with the program\n"
           ".TP\nthe program's own folder\nfor a program run from its build folder\n"
           ".PP\nJobs on one mouse (a macro save, a restore, a settings write, the window's load) "
           "run one at a time across programs, through a lock file per mouse in:\n"
           ".TP\n.I $XDG_RUNTIME_DIR/zentrik/\n"
           "made for the user alone (without \\fBXDG_RUNTIME_DIR\\fR: \\fIzentrik\\-UID\\fR in "
           "\\fB$TMPDIR\\fR or \\fI/tmp\\fR); the system lets go of a lock when its program "
           "ends. A program that finds the mouse busy waits up to 30 seconds "
           "(\\fBZENTRIK_MOUSE_WAIT_MS\\fR sets another limit in milliseconds).\n";
}

// The options and sub-words a command's usage text names: "--device=N" gives "--device=",
// "zentrikctl macro show FILE" gives "show".
std::set<std::string> completion_words(const CliCommand& c) {
    std::set<std::string> words = {"--help"};
    if (c.json_output)
        words.insert("--json");
    const std::string usage = c.usage;
    static const std::regex option(R"(--[a-z][a-z0-9-]*=?)");
    for (std::sregex_iterator it(usage.begin(), usage.end(), option), end; it != end; ++it)
        words.insert(it->str());
    const std::regex sub_word("zentrikctl " + std::string(c.name) +
                              R"( (?:\[[^\]]*\] )*\[?([a-z][a-z|-]*)\b)");
    for (std::sregex_iterator it(usage.begin(), usage.end(), sub_word), end; it != end; ++it) {
        std::stringstream alternatives((*it)[1].str());
        for (std::string word; std::getline(alternatives, word, '|');)
            words.insert(word);
    }
    return words;
}

std::string join(const std::set<std::string>& words) {
    std::string out;
    for (const auto& w : words)
        out += (out.empty() ? "" : " ") + w;
    return out;
}

}  // namespace

std::string roff_escape(std::string_view text) {
    std::string out;
    bool line_start = true;
    for (char c : text) {
        if (line_start && (c == '.' || c == '\''))
            out += "\\&";
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
        line_start = c == '\n';
    }
    return out;
}

std::string zentrikctl_manual(std::string_view version, std::string_view data_directory) {
    std::ostringstream overview;
    print_overview(overview);
    std::string page = ".TH ZENTRIKCTL 1 \"\" \"zentrik " + std::string(version) +
                       "\" \"User Commands\"\n"
                       ".SH NAME\n"
                       "zentrikctl \\- read and configure Zentrik mice from the command line\n"
                       ".SH SYNOPSIS\n"
                       ".B zentrikctl\n"
                       "[\\fIGLOBAL OPTIONS\\fR] \\fICOMMAND\\fR [\\fIARGS\\fR...]\n"
                       ".SH DESCRIPTION\n" +
                       verbatim(overview.str()) + ".SH COMMANDS\n";
    for (const auto& c : all_commands()) {
        page += ".SS " + roff_escape(c.name) + "\n" + roff_escape(c.summary) + ".\n" +
                (c.json_output ? "With \\fB\\-\\-json\\fR it prints JSON.\n" : "") + ".PP\n" +
                verbatim(c.usage);
    }
    page += ".SH EXIT STATUS\n";
    for (const auto& e : kExitCodeMeanings)
        page += ".TP\n.B " + std::to_string(e.code) + "\n" + roff_escape(e.meaning) + "\n";
    page += ".PP\nErrors are printed on standard error, one line each, saying what to do.\n";
    page += files_section(data_directory);
    page += ".SH SEE ALSO\n.BR zentrik (1)\n";
    return page;
}

std::string zentrik_manual(std::string_view version, std::string_view data_directory) {
    return ".TH ZENTRIK 1 \"\" \"zentrik " + std::string(version) +
           "\" \"User Commands\"\n"
           ".SH NAME\n"
           "zentrik \\- configure Zentrik mice: buttons, DPI, report rate, macros, backups\n"
           ".SH SYNOPSIS\n"
           ".B zentrik\n"
           "[\\fISWITCHES\\fR]\n"
           ".SH DESCRIPTION\n" +
           verbatim(app::start_usage_text()) +
           ".PP\nA normal user may open a Zentrik mouse: the udev rule that comes with the "
           "program gives the user at the seat access to it.\n"
           "\\fBzentrikctl autostart on\\fR starts the program hidden with the session.\n" +
           files_section(data_directory) + ".SH SEE ALSO\n.BR zentrikctl (1)\n";
}

std::string zentrikctl_bash_completion() {
    std::set<std::string> top = {"--simulate", "--simulate=", "--trace", "--json", "--help"};
    std::string cases;
    for (const auto& c : all_commands()) {
        top.insert(c.name);
        cases +=
            "        " + std::string(c.name) + ") words=\"" + join(completion_words(c)) + "\" ;;\n";
    }
    return "# bash completion for zentrikctl; generated from its help texts.\n"
           "_zentrikctl() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} command=\"\" words i\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        case ${COMP_WORDS[i]} in\n"
           "        -*) ;;\n"
           "        *) command=${COMP_WORDS[i]}; break ;;\n"
           "        esac\n"
           "    done\n"
           "    case $command in\n"
           "        \"\") words=\"" +
           join(top) + "\" ;;\n" + cases +
           "        *) words=\"--help\" ;;\n"
           "    esac\n"
           "    if [[ -n $command && $cur != -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$words\" -- \"$cur\") $(compgen -f -- \"$cur\"))\n"
           "    else\n"
           "        COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
           "    fi\n"
           "    [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *= ]] && compopt -o nospace\n"
           "    return 0\n"
           "}\n"
           "complete -F _zentrikctl zentrikctl\n";
}

}  // namespace zentrik::cli::docs
