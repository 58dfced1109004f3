#include "core/button_functions.h"

#include <array>

#include "lang/string_tables.h"

namespace zentrik::core {
namespace {

// Forward and Backward swap their device numbers; the second extra button is number 10.
constexpr std::array<ButtonInfo, device::kButtonCount> kButtons = {{{0, 0xFF1E},
                                                                    {1, 0xFF22},
                                                                    {2, 0xFF26},
                                                                    {4, 0xFF2E},
                                                                    {3, 0xFF2A},
                                                                    {5, 0xFFFF},
                                                                    {10, 0xFFFF},
                                                                    {6, 0xFFFF},
                                                                    {7, 0xFFFF},
                                                                    {8, 0xFFFF},
                                                                    {9, 0xFFFF}}};

constexpr std::array<int, 29> kFunctionCodes = {kDefaultFunctionCode,
                                                0xFF00,
                                                0xFF1E,
                                                0xFF22,
                                                0xFF26,
                                                0xFF2E,
                                                0xFF2A,
                                                0xFF3E,
                                                0xFF32,
                                                0xFF38,
                                                0xFF44,
                                                0xFF4A,
                                                0xFF50,
                                                0xFF56,
                                                0xFF5C,
                                                0xFF68,
                                                0xFF6E,
                                                0xFF74,
                                                0xFF02,
                                                0xFF0A,
                                                0xFF0C,
                                                0xFF0E,
                                                0xFF10,
                                                0xFF12,
                                                0xFF14,
                                                0xFF16,
                                                0xFF18,
                                                0xFF1A,
                                                0xFF1C};

}  // namespace

const ButtonInfo& button_info(int ui_index) {
    return kButtons.at(static_cast<std::size_t>(ui_index));
}

int function_code(int index) {
    return kFunctionCodes.at(static_cast<std::size_t>(index));
}

int function_count() {
    return static_cast<int>(kFunctionCodes.size());
}

std::optional<int> function_index(int code) {
    for (int i = 0; i < function_count(); ++i)
        if (kFunctionCodes[static_cast<std::size_t>(i)] == code)
            return i;
    return std::nullopt;
}

std::string button_label(int ui_index, const device::ButtonAssignment& cell,
                         const MacroNameLookup& macro_name) {
    const lang::StringTables& s = lang::strings();
    if (!cell.remapped)
        return s.button_name(ui_index);
    if (const auto index = function_index(cell.code))
        return s.function_name(*index);
    if (macro_name)
        if (auto name = macro_name(cell.code))
            return *name;
    return s.function_name(lang::kFunctionDisable);
}

bool acts_as_left_click(int ui_index, const device::ButtonAssignment& cell) {
    if (ui_index == 0 && !cell.remapped)
        return true;
    return cell.remapped && cell.code == kLeftClickCode;
}

std::optional<int> sole_left_click_button(const device::ButtonTable& table, int profile) {
    int count = 0;
    int last = -1;
    for (int b = 0; b < device::kButtonCount; ++b)
        if (acts_as_left_click(b, table.get(profile, b))) {
            ++count;
            last = b;
        }
    if (count == 1)
        return last;
    return std::nullopt;
}

bool keeps_a_left_click(const device::ButtonTable& table, int profile, int ui_index,
                        const device::ButtonAssignment& cell) {
    for (int b = 0; b < device::kButtonCount; ++b)
        if (acts_as_left_click(b, b == ui_index ? cell : table.get(profile, b)))
            return true;
    return false;
}

device::ButtonAssignment assignment_for(int ui_index, int code) {
    if (code == kDefaultFunctionCode || code == button_info(ui_index).natural_code)
        return {false, 0xFFFF};
    return {true, static_cast<std::uint16_t>(code)};
}

}  // namespace zentrik::core
