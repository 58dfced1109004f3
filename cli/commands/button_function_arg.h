#pragma once
// The FUNCTION argument of `zentrikctl button` and the names the settings commands print for
// a button's function.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "cli/cli_command.h"
#include "device/button_table.h"
#include "device/zklib.h"

namespace zentrik::cli {

// A function of the function table: its code (core::kDefaultFunctionCode for "Default").
struct FunctionChoice {
    int code;
};
// "macro:SLOT": a macro stored in the mouse, found by its slot once the mouse is open.
struct MacroChoice {
    std::string slot;
};
using ButtonFunctionArg = std::variant<FunctionChoice, MacroChoice>;

// Reads FUNCTION: a function name (any case, e.g. "left click", "Volume +"), its code
// ("0xFF32"), "default" or "macro:SLOT". nullopt after printing why to ctx.err.
std::optional<ButtonFunctionArg> parse_button_function(CliContext& ctx, const std::string& text);

// The code the mouse's macro table keeps for the macro in `slot`, to be assigned to a button.
// nullopt after printing why to ctx.err (not a slot number, an empty slot, no answer).
std::optional<std::uint16_t> resolve_macro_slot(CliContext& ctx, device::zklib& lib,
                                                const std::string& path, const std::string& slot);

// The name of the macro that starts at `address`, when the mouse's macro directory is read;
// nullopt shows the macro as "macro@0xADDR".
std::optional<std::string> macro_name_at(device::zklib& lib, const std::string& path,
                                         std::uint16_t address);

// What button `ui_index` does, as the settings commands print it: its own name when not
// remapped, a function's name, a macro's name (or "macro@0x0123"), or "Disable" for a
// function code the program does not know.
std::string button_function_name(int ui_index, const device::ButtonAssignment& cell,
                                 device::zklib& lib, const std::string& path);

}  // namespace zentrik::cli
