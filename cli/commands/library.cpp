// zentrikctl library: the macro library as the program reads it.
#include "cli/commands/library.h"

#include <ostream>

#include "cli/commands/macro_args.h"
#include "cli/exit_codes.h"
#include "lang/file_bytes.h"
#include "macro/macro_library.h"
#include "platform/paths.h"

namespace zentrik::cli {

const char kLibraryUsage[] =
    "Usage: zentrikctl library [--dir DIR]\n"
    "Prints the macro library (the first \"macro library.ini\" in $XDG_CONFIG_HOME/zentrik,\n"
    "the installed data folder and the program's folder), one row\n"
    "per line, fields separated by tabs:\n"
    "  header  _@CATEGORY\n"
    "  entry   TITLE  FULL-PATH  SIZE\n"
    "SIZE is the space the macro needs in the mouse (code bytes + 1); 0 marks a file\n"
    "that is missing, not a macro file, or whose code is not whole, known instructions;\n"
    "such an entry is never written into a mouse. Paths may climb out of DIR with \"..\".\n\n"
    "  --dir DIR   read the catalogue from DIR; entry paths are relative to DIR\n";

int run_library(CliContext& ctx) {
    std::filesystem::path dir = platform::config_file_directory(macro::kLibraryFileName);
    const auto& args = ctx.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--dir") {
            const auto value = option_value(args, i);
            if (!value || value->empty()) {
                ctx.err << "zentrikctl library: --dir needs a directory\n";
                return kExitUsage;
            }
            dir = std::filesystem::absolute(*value);
        } else {
            ctx.err << "zentrikctl library: unexpected '" << args[i]
                    << "' (see zentrikctl library --help)\n";
            return kExitUsage;
        }
    }
    const auto file = dir / macro::kLibraryFileName;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        ctx.err << "note: no '" << macro::kLibraryFileName << "' in " << dir.string() << "\n";
        return kExitOk;
    }
    const auto bytes = lang::read_file_bytes(file, lang::kMaxTextFileBytes);
    if (!bytes) {
        ctx.err << "zentrikctl library: cannot read '" << file.string()
                << "' (check that it is a file you may read)\n";
        return kExitBadFile;
    }
    if (const auto nul = macro::catalogue_nul_offset(*bytes)) {
        ctx.err << "note: '" << file.string() << "' holds a NUL character at byte " << *nul
                << "; the catalogue ends there\n";
    }
    for (const auto& row : macro::parse_library(*bytes, dir).rows) {
        if (row.header)
            ctx.out << "header\t" << visible_line_breaks(row.text) << "\n";
        else
            ctx.out << "entry\t" << visible_line_breaks(row.text) << "\t" << row.path.string()
                    << "\t" << row.size << "\n";
    }
    return 0;
}

}  // namespace zentrik::cli
