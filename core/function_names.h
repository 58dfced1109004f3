#pragma once
// The stable names of the button functions: English whatever the language files say, so
// scripts and profile files can rely on them ("Left click", "Volume +", "Default").
#include <optional>
#include <string>
#include <string_view>

#include "device/button_table.h"
#include "lang/string_tables.h"

namespace zentrik::core {

// The program's English texts (the defaults, whatever the language files say).
const lang::StringTables& english_texts();
// `text` with ASCII letters in lower case, for matching names in any case.
std::string lower_ascii(std::string_view text);

// The function `text` names: a function's name in any case, "default", or a function's code
// written "0xFF32". Its code (kDefaultFunctionCode for "Default"), or nullopt.
std::optional<int> function_code_named(std::string_view text);

// The stable name of function `code` (one function_index() knows).
std::string function_stable_name(int code);

// The stable name of a button's function when it is not a macro: "Default" when not
// remapped, the function's name, or "Disable" for a code the program does not know.
std::string cell_function_name(const device::ButtonAssignment& cell);

// Codes below this are macro addresses; the built-in functions live above it.
inline constexpr int kFirstFunctionCode = 0xFF00;

// Whether `cell` runs a macro (its code is the macro's start address).
inline bool runs_macro(const device::ButtonAssignment& cell) {
    return cell.remapped && cell.code < kFirstFunctionCode;
}

}  // namespace zentrik::core
