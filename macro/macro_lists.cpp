#include "macro/macro_lists.h"

#include "lang/string_tables.h"
#include "ui/widget_board.h"

namespace zentrik::macro {
namespace {

const std::string& caption(int index) {
    return lang::strings().panel_captions[static_cast<std::size_t>(index)];
}

void set_markers(ui::ListItem& row, const MacroSlot& s) {
    for (int p = 0; p < device::kProfileCount; ++p)
        row.extra[p] = s.profiles[p] ? 1 : 0;
}

ui::ListItem slot_row(const MacroDirectory& dir, int slot) {
    const MacroSlot& s = dir.slots[slot];
    ui::ListItem row;
    row.tag = static_cast<std::uint32_t>(slot);
    row.value = static_cast<std::uint32_t>(s.start);
    row.level = 1;
    if (s.damaged) {
        // Shown so that it can be removed; nothing reads or moves its range.
        const std::string& mark = caption(lang::kCaptionDamaged);
        row.text = s.name.empty() ? mark : s.name + " (" + mark + ")";
        row.color = kEmptySlotColor;
    } else if (s.used()) {
        row.text = s.name;
        set_markers(row, s);
    } else {
        row.text = "_#-- " + caption(lang::kCaptionEmpty) + " --";
        row.color = kEmptySlotColor;
    }
    return row;
}

// The rows of `slot`'s macro (as slot_row made them; a built-in function's code is never a
// macro's start) get its markers.
void mark_macro_rows(std::vector<ui::ListItem>& rows, const MacroDirectory& dir) {
    for (ui::ListItem& row : rows) {
        if (row.is_header() || row.tag >= static_cast<std::uint32_t>(kSlotCount))
            continue;
        const MacroSlot& s = dir.slots[row.tag];
        if (s.placed() && row.value == static_cast<std::uint32_t>(s.start))
            set_markers(row, s);
    }
}

ui::ListItem header(const std::string& text) {
    ui::ListItem row;
    row.text = "_@" + text;
    row.expanded = 1;
    row.level = 0;
    return row;
}

}  // namespace

std::vector<ui::ListItem> memory_list_rows(const MacroDirectory& dir) {
    std::vector<ui::ListItem> rows;
    for (int slot : dir.list_order())
        rows.push_back(slot_row(dir, slot));
    return rows;
}

std::vector<ui::ListItem> user_macro_rows(const MacroDirectory& dir) {
    std::vector<ui::ListItem> rows{header(caption(lang::kCaptionUserMacro))};
    for (int slot : dir.list_order()) {
        if (dir.slots[slot].placed())  // a damaged macro is never given to a button
            rows.push_back(slot_row(dir, slot));
    }
    return rows;
}

void rebuild_macro_lists(ui::WidgetBoard& board, const MacroDirectory& dir,
                         std::vector<ui::ListItem> builtin_rows, int reselect_start) {
    auto lock = board.lock();
    auto functions = std::move(builtin_rows);
    for (auto& row : user_macro_rows(dir))
        functions.push_back(std::move(row));
    if (const ui::Widget* w = board.find_widget(kFunctionList); w && w->foldable)
        board.set_tree_rows(kFunctionList, std::move(functions));
    else
        board.set_rows(kFunctionList, std::move(functions));
    board.set_rows(kMemoryList, memory_list_rows(dir));
    if (reselect_start != kNoAddress)
        board.select_row_by_value(kMemoryList, static_cast<std::uint32_t>(reselect_start), false);
    show_memory_line(board, dir);
}

void show_memory_line(ui::WidgetBoard& board, const MacroDirectory& dir) {
    board.set_text("memory info", dir.memory_line());
    board.set_fraction("memory process bar", dir.used_fraction());
}

void show_profile_markers(ui::WidgetBoard& board, const MacroDirectory& dir) {
    for (const char* name : {kMemoryList, kFunctionList}) {
        board.with_widget(name, [&](ui::Widget& w) {
            mark_macro_rows(w.rows, dir);
            mark_macro_rows(w.all_rows, dir);
            board.invalidate_widget(&w);
        });
    }
}

int slot_of_row(ui::WidgetBoard& board, int row) {
    int slot = -1;
    board.with_widget(kMemoryList, [&](ui::Widget& w) {
        if (w.has_row(row) && !w.rows[row].is_header())
            slot = static_cast<int>(w.rows[row].tag);
    });
    return slot >= 0 && slot < kSlotCount ? slot : -1;
}

std::vector<ui::ListItem> library_rows(const MacroLibrary& library) {
    std::vector<ui::ListItem> rows;
    for (const auto& entry : library.rows) {
        if (entry.header) {
            ui::ListItem row;
            row.text = entry.text;
            row.expanded = 1;
            row.value = 0xFFFFFFFFu;  // no size column
            rows.push_back(std::move(row));
            continue;
        }
        ui::ListItem row;
        row.text = entry.text;
        row.level = 1;
        row.value = static_cast<std::uint32_t>(entry.path_index);
        row.tag = entry.size;
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace zentrik::macro
