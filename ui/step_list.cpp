#include "ui/step_list.h"

#include <algorithm>

#include "ui/leading_integer.h"
#include "ui/list_model.h"

namespace zentrik::ui::step_list {

bool is_wait(const ListItem& row) {
    return row.code == kWaitShort || row.code == kWaitLong;
}

int wait_value(const ListItem& row) {
    return row.code == kWaitShort ? row.payload[0] : row.payload[0] | (row.payload[1] << 8);
}

int parse_wait_value(std::string_view text) {
    return static_cast<int>(std::clamp(leading_integer(text), 0LL, 65535LL));
}

bool commit_wait(Widget& list, int row, std::string_view text) {
    if (!list.has_row(row) || !is_wait(list.rows[row]))
        return false;
    ListItem& item = list.rows[row];
    const int value = parse_wait_value(text);
    const bool short_form = value <= 255;
    item.code = short_form ? kWaitShort : kWaitLong;
    item.size = short_form ? 2 : 3;
    item.payload.fill(0);
    item.payload[0] = static_cast<std::uint8_t>(value & 0xFF);
    item.payload[1] = static_cast<std::uint8_t>(value >> 8);
    ListModel(list).recompute_offsets();
    return true;
}

bool is_mode(const ListItem& row) {
    return (row.code & 0xFC) == 0x04;
}

std::uint8_t next_mode(std::uint8_t code) {
    return static_cast<std::uint8_t>(((code + 1) % 3) | 0x04);
}

bool cycle_mode(Widget& list, int row) {
    if (!list.has_row(row) || !is_mode(list.rows[row]))
        return false;
    list.rows[row].code = next_mode(list.rows[row].code);
    return true;
}

bool delete_step(Widget& list, int row) {
    if (row <= 0 || !list.has_row(row))
        return false;
    list.rows.erase(list.rows.begin() + row);
    list.selected_row = std::clamp(list.selected_row, 0, list.row_count() - 1);
    ListModel(list).recompute_offsets();
    return true;
}

}  // namespace zentrik::ui::step_list
