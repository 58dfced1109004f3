#include "core/function_names.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "core/button_functions.h"

namespace zentrik::core {
namespace {

// "0xFF32": one to eight hex digits after the prefix, nothing else.
std::optional<int> hex_code(std::string_view text) {
    if (text.size() < 3 || text.size() > 10 || lower_ascii(text.substr(0, 2)) != "0x")
        return std::nullopt;
    for (const char c : text.substr(2))
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    return static_cast<int>(std::strtol(std::string(text.substr(2)).c_str(), nullptr, 16));
}

}  // namespace

const lang::StringTables& english_texts() {
    static const lang::StringTables tables = lang::default_string_tables();
    return tables;
}

std::string lower_ascii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::optional<int> function_code_named(std::string_view text) {
    const std::string wanted = lower_ascii(text);
    for (int i = 0; i < function_count(); ++i)
        if (lower_ascii(english_texts().function_name(i)) == wanted)
            return function_code(i);
    if (const auto code = hex_code(text); code && function_index(*code))
        return *code;
    return std::nullopt;
}

std::string function_stable_name(int code) {
    const auto index = function_index(code);
    return english_texts().function_name(index ? *index : lang::kFunctionDisable);
}

std::string cell_function_name(const device::ButtonAssignment& cell) {
    return function_stable_name(cell.remapped ? cell.code : kDefaultFunctionCode);
}

}  // namespace zentrik::core
