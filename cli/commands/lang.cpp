// zentrikctl lang: every text of the program as the language files give it.
#include "cli/commands/lang.h"

#include <ostream>

#include "cli/commands/macro_args.h"
#include "lang/language_files.h"
#include "lang/string_tables.h"
#include "platform/paths.h"

namespace zentrik::cli {

const char kLangUsage[] =
    "Usage: zentrikctl lang [--dir DIR] [--langid N]\n"
    "Loads the language as the program does at start and prints every text as\n"
    "\"key = value\" (the keys of language.ini; CR and LF shown as \\r and \\n).\n\n"
    "  --dir DIR     read language.ini and set.ini from DIR instead of the first folder\n"
    "                holding language.ini ($XDG_CONFIG_HOME/zentrik, the installed data\n"
    "                folder, the program's folder); the per-user set.ini still comes first\n"
    "  --langid N    read the texts of language N (1033 English, 1028 Traditional\n"
    "                Chinese, 1041 Japanese, 1042 Korean ...), whatever set.ini and\n"
    "                the locale say\n";

namespace {

template <typename Table>
void print_table(std::ostream& out, const char* prefix, const Table& table) {
    std::size_t i = 0;
    for (const auto& text : table)
        out << prefix << i++ << " = " << visible_line_breaks(text) << "\n";
}

}  // namespace

int run_lang(CliContext& ctx) {
    lang::LanguageSources sources{platform::config_file_directory(lang::kLanguageIniName),
                                  platform::user_config_directory(), std::nullopt, std::nullopt};
    const auto& args = ctx.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--dir") {
            const auto dir = option_value(args, i);
            if (!dir || dir->empty()) {
                ctx.err << "zentrikctl lang: --dir needs a directory\n";
                return kExitUsage;
            }
            sources.module_directory = *dir;
        } else if (args[i] == "--langid") {
            const auto text = option_value(args, i);
            const auto id = text ? parse_number(*text, 1, 0x7FFFFFFF) : std::nullopt;
            if (!id) {
                ctx.err << "zentrikctl lang: --langid needs a positive number\n";
                return kExitUsage;
            }
            sources.chosen_language_id = static_cast<int>(*id);
        } else {
            ctx.err << "zentrikctl lang: unexpected '" << args[i]
                    << "' (see zentrikctl lang --help)\n";
            return kExitUsage;
        }
    }
    const auto t = lang::load_string_tables(sources);
    auto& out = ctx.out;
    out << "language = " << t.language_section << "\n";
    out << "wired_note = " << visible_line_breaks(t.wired_mode_note) << "\n";
    out << "str = " << visible_line_breaks(t.caption) << "\n";
    print_table(out, "button_str", t.button_names);
    print_table(out, "proc_str", t.process_captions);
    print_table(out, "func_str", t.function_names);
    print_table(out, "memu_str", t.menu_texts);
    print_table(out, "msg_str", t.messages);
    print_table(out, "tooltip_str", t.tooltips);
    print_table(out, "macro_str", t.macro_texts);
    print_table(out, "macro_bt_str", t.macro_button_names);
    print_table(out, "tab_str", t.tab_texts);
    print_table(out, "caption_str", t.panel_captions);
    return 0;
}

}  // namespace zentrik::cli
