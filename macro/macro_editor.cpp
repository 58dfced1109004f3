#include "macro/macro_editor.h"

#include <algorithm>
#include <cctype>

#include "macro/instruction_text.h"
#include "ui/leading_integer.h"
#include "ui/widget_board.h"

namespace zentrik::macro {

int parse_wait_value(std::string_view text) {
    return static_cast<int>(std::clamp(ui::leading_integer(text), 0LL, 65535LL));
}

std::uint8_t next_mode(std::uint8_t code) {
    return static_cast<std::uint8_t>(((code + 1) % 3) | 0x04);
}

ui::ListItem row_from_instruction(const _MACRO_INSTRUCTION& in) {
    ui::ListItem row;
    row.offset = in.offset;
    row.size = in.size;
    row.code = in.code;
    std::copy(std::begin(in.payload), std::end(in.payload), row.payload.begin());
    row.text = "code";
    return row;
}

_MACRO_INSTRUCTION instruction_from_row(const ui::ListItem& row) {
    _MACRO_INSTRUCTION in;
    in.offset = row.offset;
    in.size = row.size;
    in.code = row.code;
    std::copy(row.payload.begin(), row.payload.end(), std::begin(in.payload));
    return in;
}

std::string step_text(const ui::ListItem& row) {
    return instruction_text(row.code, row.payload[0], row.payload[1]);
}

InstructionList editor_instructions(ui::WidgetBoard& board) {
    InstructionList list;
    board.with_widget(kEditorList, [&](ui::Widget& w) {
        for (const auto& row : w.rows)
            list.push_back(instruction_from_row(row));
    });
    return list;
}

MacroCode editor_code(ui::WidgetBoard& board) {
    return encode_macro(editor_instructions(board));
}

void set_editor_instructions(ui::WidgetBoard& board, InstructionList list) {
    if (list.empty() || !is_mode_byte(list.front().code)) {
        _MACRO_INSTRUCTION mode;
        mode.size = 1;
        mode.code = MI_MODE_ONCE;
        list.insert(list.begin(), mode);
    }
    recompute_offsets(list);
    std::vector<ui::ListItem> rows;
    for (const auto& in : list)
        rows.push_back(row_from_instruction(in));
    board.with_widget(kEditorList, [&](ui::Widget& w) {
        w.selected_row = 0;
        w.first_row = 0;
    });
    board.set_rows(kEditorList, std::move(rows));
}

void reset_editor(ui::WidgetBoard& board) {
    set_editor_instructions(board, {});
}

int add_editor_row(ui::WidgetBoard& board, const _MACRO_INSTRUCTION& in, bool append) {
    const int index = board.add_row(kEditorList, 0, in.size, in.code, 0, append);
    board.with_widget(kEditorList, [&](ui::Widget& w) {
        if (!w.has_row(index))
            return;
        std::copy(std::begin(in.payload), std::end(in.payload), w.rows[index].payload.begin());
    });
    return index;
}

int insert_wait(ui::WidgetBoard& board) {
    _MACRO_INSTRUCTION wait;
    wait.size = 2;
    wait.code = MI_WAIT8;
    wait.payload[0] = 1;
    const int index = add_editor_row(board, wait);
    board.scroll_to_selected(kEditorList);
    auto lock = board.lock();
    if (ui::Widget* w = board.find_widget(kEditorList); w && board.open_editor && index >= 0)
        board.open_editor(*w, index);
    return index;
}

void commit_wait_value(ui::WidgetBoard& board, int row, std::string_view text) {
    board.with_widget(kEditorList, [&](ui::Widget& w) {
        if (!w.has_row(row))
            return;
        ui::ListItem& item = w.rows[row];
        if (item.code != MI_WAIT8 && item.code != MI_WAIT16)
            return;
        const int value = parse_wait_value(text);
        item.code = value <= 255 ? MI_WAIT8 : MI_WAIT16;
        item.size = value <= 255 ? 2 : 3;
        item.payload.fill(0);
        item.payload[0] = static_cast<std::uint8_t>(value & 0xFF);
        if (value > 255)
            item.payload[1] = static_cast<std::uint8_t>(value >> 8);
        ui::WidgetBoard::recompute_offsets(w);
        board.invalidate_widget(&w);
    });
}

void cycle_mode(ui::WidgetBoard& board, int row) {
    board.with_widget(kEditorList, [&](ui::Widget& w) {
        if (!w.has_row(row) || !is_mode_byte(w.rows[row].code))
            return;
        w.rows[row].code = next_mode(w.rows[row].code);
        board.invalidate_widget(&w);
    });
}

bool delete_selected_step(ui::WidgetBoard& board) {
    bool deleted = false;
    board.with_widget(kEditorList, [&](ui::Widget& w) {
        const int sel = w.selected_row;
        if (sel <= 0 || !w.has_row(sel))
            return;
        w.rows.erase(w.rows.begin() + sel);
        w.selected_row = std::min(sel, w.row_count() - 1);
        ui::WidgetBoard::recompute_offsets(w);
        board.invalidate_widget(&w);
        deleted = true;
    });
    return deleted;
}

void select_editor_row(ui::WidgetBoard& board, int row) {
    board.with_widget(kEditorList, [&](ui::Widget& w) {
        if (w.has_row(row))
            w.selected_row = row;
    });
}

}  // namespace zentrik::macro
