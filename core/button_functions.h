#pragma once
// The eleven buttons and the functions they can have: the tables, the label rules and the rule
// that some button always keeps the left click.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "device/button_table.h"

namespace zentrik::core {

inline constexpr int kDefaultFunctionCode = -2;  // "Default": the button's own function
inline constexpr std::uint16_t kLeftClickCode = 0xFF1E;
inline constexpr std::uint16_t kDisableCode = 0xFF00;
inline constexpr int kAdjustLiftIndex = 18;

struct ButtonInfo {
    int device_index;            // the number the mouse knows the button by
    std::uint16_t natural_code;  // its function when not remapped
};
const ButtonInfo& button_info(int ui_index);  // 0-10

// Code of function list entry `index` (0-28); kDefaultFunctionCode for "Default".
int function_code(int index);
int function_count();
// The function table index of `code`, or nullopt.
std::optional<int> function_index(int code);

// The name a button's label shows. `macro_name` finds a stored macro's name by its start
// address (nullopt when no macro starts there).
using MacroNameLookup = std::function<std::optional<std::string>(std::uint16_t)>;
std::string button_label(int ui_index, const device::ButtonAssignment& cell,
                         const MacroNameLookup& macro_name);

// Whether `cell` of button `ui_index` acts as a left click.
bool acts_as_left_click(int ui_index, const device::ButtonAssignment& cell);
// The one button whose label must stay disabled (the only left-click button), or nullopt.
std::optional<int> sole_left_click_button(const device::ButtonTable& table, int profile);
// Whether assigning `cell` to `ui_index` leaves some button of `profile` acting as left click.
bool keeps_a_left_click(const device::ButtonTable& table, int profile, int ui_index,
                        const device::ButtonAssignment& cell);

// The cell an assignment of function `code` to button `ui_index` makes: not remapped for
// "Default" and for the button's own function.
device::ButtonAssignment assignment_for(int ui_index, int code);

}  // namespace zentrik::core
