#include "macro/macro_editor.h"

#include <algorithm>

#include "macro/instruction_text.h"
#include "ui/step_list.h"
#include "ui/widget_board.h"

namespace zentrik::macro {

// The step list's editing rules know the wait codes without depending on this module.
static_assert(ui::step_list::kWaitShort == MI_WAIT8 && ui::step_list::kWaitLong == MI_WAIT16);

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

bool delete_selected_step(ui::WidgetBoard& board) {
    bool deleted = false;
    board.with_widget(kEditorList, [&](ui::Widget& w) {
        deleted = ui::step_list::delete_step(w, w.selected_row);
        if (deleted)
            board.invalidate_widget(&w);
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
