// zentrikctl macro: show and build macro files.
#include "cli/commands/macro.h"

#include <cstdio>
#include <ostream>

#include "cli/commands/macro_args.h"
#include "lang/language_files.h"
#include "lang/string_tables.h"
#include "macro/instruction.h"
#include "macro/instruction_text.h"
#include "macro/macro_file.h"
#include "platform/paths.h"

namespace zentrik::cli {

const char kMacroUsage[] =
    "Usage: zentrikctl macro show FILE.mf\n"
    "       zentrikctl macro build OUT.mf HEXBYTES...\n"
    "Shows or writes a macro file (\"*.mf\").\n\n"
    "  show   one line per instruction: its offset (decimal), its bytes (hex) and its text.\n"
    "         A macro without a run-mode byte plays as \"Execute one time\"; that step is\n"
    "         shown with offset \"-\" and \"(added)\" in place of bytes.\n"
    "  build  writes the macro code given as hex bytes, run-mode byte first (04 once,\n"
    "         05 loop, 06 fire key), no end byte. Bytes may be given one per argument\n"
    "         (\"05 83 04\"), run together (\"058304\") or with 0x.\n\n"
    "Example:\n"
    "  zentrikctl macro build m.mf 05 83 04 88 32 84 04\n"
    "  zentrikctl macro show m.mf\n";

namespace {

using macro::_MACRO_INSTRUCTION;

std::string hex_bytes(const _MACRO_INSTRUCTION& in) {
    std::string out;
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02x", in.code);
    out += buf;
    for (std::uint32_t i = 1; i < in.size && i <= std::size(in.payload); ++i) {
        std::snprintf(buf, sizeof buf, " %02x", in.payload[i - 1]);
        out += buf;
    }
    return out;
}

void print_row(std::ostream& out, const std::string& offset, const std::string& bytes,
               const std::string& text) {
    std::string o = offset;
    std::string b = bytes;
    if (o.size() < 6)
        o.insert(0, 6 - o.size(), ' ');
    if (b.size() < 14)
        b.resize(14, ' ');
    out << o << "  " << b << "  " << text << "\n";
}

int show(CliContext& ctx) {
    if (ctx.args.size() != 2) {
        ctx.err << "zentrikctl macro show: expects one FILE.mf (see zentrikctl macro --help)\n";
        return kExitUsage;
    }
    const std::string& path = ctx.args[1];
    const auto file = macro::read_macro_file(path);
    if (file.status == macro::MacroFileStatus::kUnreadable) {
        ctx.err << "zentrikctl macro show: cannot read '" << path << "'\n";
        return kExitBadFile;
    }
    if (file.status == macro::MacroFileStatus::kInvalid) {
        ctx.err << "zentrikctl macro show: '" << path << "' is not a macro file (invalid format)\n";
        return kExitBadFile;
    }
    // The texts the program would show: its language files, else English.
    lang::load_language({platform::config_file_directory(lang::kLanguageIniName),
                         platform::user_config_directory(), std::nullopt, std::nullopt});
    const auto list = macro::decode_macro(file.code);
    const bool added = macro::decode_inserts_mode(file.code);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const auto& in = list[i];
        const std::string text = macro::instruction_text(in.code, in.payload[0], in.payload[1]);
        if (added && i == 0)
            print_row(ctx.out, "-", "(added)", text);
        else
            print_row(ctx.out, std::to_string(in.offset), hex_bytes(in), text);
    }
    if (file.truncated && file.declared_length > macro::kMaxMacroCodeBytes &&
        file.present_length == macro::kMaxMacroCodeBytes) {
        // Reading stopped at the cap: the file may hold more than was read.
        ctx.err << "note: the file states " << file.declared_length << " code bytes, more than the "
                << macro::kMaxMacroCodeBytes << " a macro can have; only the first "
                << macro::kMaxMacroCodeBytes << " are read and " << file.code.size()
                << " byte(s) of whole instructions are used\n";
    } else if (file.truncated) {
        ctx.err << "note: the file states " << file.declared_length << " code bytes but holds "
                << file.present_length << "; " << file.code.size()
                << " byte(s) of whole instructions are used\n";
    }
    std::uint32_t decoded = 0;
    for (std::size_t i = added ? 1 : 0; i < list.size(); ++i)
        decoded += list[i].size;
    if (decoded < file.code.size() && file.code[decoded] > 0x01) {
        ctx.err << "note: decoding stopped at offset " << decoded << "; "
                << file.code.size() - decoded << " byte(s) after it are not instructions\n";
    }
    return 0;
}

int build(CliContext& ctx) {
    if (ctx.args.size() < 3) {
        ctx.err << "zentrikctl macro build: expects OUT.mf and at least one hex byte "
                   "(see zentrikctl macro --help)\n";
        return kExitUsage;
    }
    std::string error;
    const auto code =
        parse_hex_bytes(std::vector<std::string>(ctx.args.begin() + 2, ctx.args.end()), error);
    if (!code) {
        ctx.err << "zentrikctl macro build: " << error << "\n";
        return kExitUsage;
    }
    if (code->size() > macro::kMaxMacroCodeBytes) {
        ctx.err << "zentrikctl macro build: more code than any mouse can hold\n";
        return kExitUsage;
    }
    if (!macro::write_macro_file(ctx.args[1], *code)) {
        ctx.err << "zentrikctl macro build: cannot write '" << ctx.args[1] << "'\n";
        return kExitBadFile;
    }
    macro::MacroFileContents contents;
    contents.status = macro::MacroFileStatus::kOk;
    contents.code = *code;
    if (!macro::slot_code_of(contents))
        ctx.err << "note: the code is not whole, known instructions (or holds an end code); "
                   "'zentrikctl macros write' will refuse this file\n";
    else if (macro::decode_inserts_mode(*code))
        ctx.err << "note: the code has no run-mode byte; it plays, and is written into a slot, "
                   "as \"Execute one time\"\n";
    ctx.out << "wrote " << ctx.args[1] << ": " << code->size() << " code bytes\n";
    return 0;
}

}  // namespace

int run_macro(CliContext& ctx) {
    if (!ctx.args.empty() && ctx.args[0] == "show")
        return show(ctx);
    if (!ctx.args.empty() && ctx.args[0] == "build")
        return build(ctx);
    ctx.err << "zentrikctl macro: expects 'show' or 'build' (see zentrikctl macro --help)\n";
    return kExitUsage;
}

}  // namespace zentrik::cli
