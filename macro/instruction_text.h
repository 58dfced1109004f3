#pragma once
// The one-line text by which the editor shows an instruction ("Wait 50 ms").
#include <cstdint>
#include <functional>
#include <string>

#include "lang/string_tables.h"

namespace zentrik::macro {

using UsageNamer = std::function<std::string(int usage)>;

// Text of the instruction with code `code` and operand bytes `byte1`, `byte2`, built from the
// language's macro texts; keyboard usages are named by `key_namer`.
std::string instruction_text(const lang::StringTables& strings, const UsageNamer& key_namer,
                             std::uint8_t code, std::uint8_t byte1, std::uint8_t byte2);
// The same with the program-wide language tables and key names.
std::string instruction_text(std::uint8_t code, std::uint8_t byte1, std::uint8_t byte2);

}  // namespace zentrik::macro
