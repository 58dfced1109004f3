#include "cli/commands/button_function_arg.h"

#include <cstdio>
#include <ostream>

#include "cli/commands/device_session.h"
#include "core/button_functions.h"
#include "core/function_names.h"
#include "lang/string_tables.h"
#include "macro/macro_memory.h"

namespace zentrik::cli {

std::optional<ButtonFunctionArg> parse_button_function(CliContext& ctx, const std::string& text) {
    if (core::lower_ascii(text).rfind("macro:", 0) == 0)
        return MacroChoice{text.substr(6)};
    if (const auto code = core::function_code_named(text))
        return FunctionChoice{*code};
    ctx.err << "zentrikctl button: unknown function '" << text
            << "'; give a name or code from 'zentrikctl button --help', or 'default'\n";
    return std::nullopt;
}

std::optional<std::uint16_t> resolve_macro_slot(CliContext& ctx, device::zklib& lib,
                                                const std::string& path, const std::string& slot) {
    const auto n = parse_number(slot);
    if (!n || *n < 0 || *n >= macro::kSlotCount) {
        ctx.err << "zentrikctl button: 'macro:" << slot
                << "' wants a slot number from 0 to 63 ('zentrikctl macros' lists them)\n";
        return std::nullopt;
    }
    const auto start = macro::read_slot_start(lib, path, static_cast<int>(*n));
    if (!start) {
        ctx.err << "zentrikctl button: slot " << *n
                << " holds no macro (or the mouse did not answer)\n";
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(*start);
}

std::optional<std::string> macro_name_at(device::zklib& lib, const std::string& path,
                                         std::uint16_t address) {
    return macro::read_macro_name_at(lib, path, address);
}

std::string button_function_name(int ui_index, const device::ButtonAssignment& cell,
                                 device::zklib& lib, const std::string& path) {
    if (!cell.remapped)
        return core::english_texts().button_name(ui_index);
    if (const auto index = core::function_index(cell.code))
        return core::english_texts().function_name(*index);
    if (cell.code >= core::kFirstFunctionCode)
        return core::english_texts().function_name(lang::kFunctionDisable);
    if (auto name = macro_name_at(lib, path, cell.code))
        return *name;
    char text[16];
    std::snprintf(text, sizeof text, "macro@0x%04X", cell.code);
    return text;
}

}  // namespace zentrik::cli
