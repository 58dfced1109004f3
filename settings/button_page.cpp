// The button page: reading the button table, the labels, the left-click rule, selecting a
// button and assigning functions.
#include <algorithm>

#include "device/commands.h"
#include "lang/string_tables.h"
#include "settings/button_functions.h"
#include "settings/session.h"
#include "ui/ui_texts.h"

namespace zentrik::settings {
namespace {

std::string numbered(const char* prefix, int i) {
    return prefix + std::to_string(i);
}

ui::ListItem list_row(std::string text, std::uint32_t value, ui::Argb color, int level) {
    ui::ListItem row;
    row.text = std::move(text);
    row.value = value;
    row.color = color;
    row.level = static_cast<std::uint32_t>(level);
    row.expanded = level == 0 ? 1 : 0;
    return row;
}

}  // namespace

void Session::reload_assignments() {
    const std::string path = selected_path();
    if (!path.empty()) {
        for (int p = 0; p < device::kProfileCount; ++p) {
            if (model_.buttons.loaded(p))
                continue;
            for (int b = 0; b < device::kButtonCount; ++b) {
                const auto reply = device::read_button(lib_, path, p, button_info(b).device_index);
                device::ButtonAssignment cell;
                if (reply && (reply->kind & 0x80)) {
                    cell.remapped = true;
                    cell.code = reply->value;
                }
                model_.buttons.set(p, b, cell);
            }
            model_.buttons.set_loaded(p, true);
        }
    }
    write_labels();
    // The selection never stays on a label that cannot be changed.
    int selected = 0;
    for (int b = 0; b < device::kButtonCount; ++b)
        if (const ui::Widget* w = board_.find_widget(numbered("zz_button ", b)); w && w->checked)
            selected = b;
    const ui::Widget* label = board_.find_widget(numbered("zz_button ", selected));
    if (label && !label->enabled)
        selected = (selected + 1) % device::kButtonCount;
    select_button(selected);
}

void Session::write_labels() {
    const int profile = model_.with([](const SettingsState& s) { return s.profile; });
    for (int b = 0; b < device::kButtonCount; ++b)
        board_.set_text(numbered("zz_button ", b),
                        button_label(b, model_.buttons.get(profile, b), macro_name_at));
    const auto sole = sole_left_click_button(model_.buttons, profile);
    for (int b = 0; b < device::kButtonCount; ++b)
        board_.set_enabled(numbered("zz_button ", b), sole && *sole == b ? 0 : 1);
}

void Session::select_button(int ui_index) {
    ui_index = std::clamp(ui_index, 0, device::kButtonCount - 1);
    board_.select_in_group(board_.find_widget(numbered("zz_button ", ui_index)));
    const auto [profile, tag] = model_.with([&](SettingsState& s) {
        s.selected_button = ui_index;
        return std::pair{s.profile, s.model_tag};
    });
    const device::ButtonAssignment cell = model_.buttons.get(profile, ui_index);
    const int code = cell.remapped ? cell.code : kDefaultFunctionCode;
    board_.select_row_by_value("list macro", static_cast<std::uint32_t>(code), false);
    for (int b = 0; b < device::kButtonCount; ++b) {
        if (tag == "qx6" && (b == 5 || b == 6))
            continue;  // that model has no such buttons
        const bool on = b == ui_index;
        board_.set_visible(numbered("aa_button_pic_1 ", b), on ? 1 : 0);
        board_.set_visible(numbered("aa_button_pic ", b), on ? 1 : 0);
        board_.set_visible(numbered("zz_button_pic_1 ", b), on ? 0 : 1);
        board_.set_visible(numbered("zz_button_pic ", b), on ? 0 : 1);
    }
}

bool Session::assign(int ui_index, int code, const std::string& name, bool by_drag) {
    ui_index = std::clamp(ui_index, 0, device::kButtonCount - 1);
    const int profile = model_.with([](const SettingsState& s) { return s.profile; });
    const device::ButtonAssignment cell = assignment_for(ui_index, code);
    // The last left-click button keeps its function, whichever way the change comes.
    if (!keeps_a_left_click(model_.buttons, profile, ui_index, cell))
        return false;
    model_.buttons.set(profile, ui_index, cell);
    const std::string path = selected_path();
    if (!path.empty()) {
        // A drag sends the row's code as it is; a click sends 0xFFFF for a button's own function.
        const std::uint16_t sent = cell.remapped ? cell.code
                                   : by_drag     ? static_cast<std::uint16_t>(code)
                                                 : 0xFFFF;
        device::write_button(lib_, path, profile, button_info(ui_index).device_index, cell.remapped,
                             sent);
    }
    board_.set_text(numbered("zz_button ", ui_index),
                    cell.remapped ? name : lang::strings().button_name(ui_index));
    write_labels();
    return true;
}

void Session::rebuild_function_list() {
    const lang::StringTables& s = lang::strings();
    const std::string tag = model_.with([](const SettingsState& st) { return st.model_tag; });
    std::vector<ui::ListItem> rows;
    rows.push_back(list_row("_@" + ui::texts::caption(lang::kCaptionBuiltIn), 0, 0xFE000000, 0));
    for (int i = 0; i < function_count(); ++i) {
        if (i == kAdjustLiftIndex && tag == "qx10")
            continue;
        const ui::Argb color = i == lang::kFunctionDefault   ? 0xFEA00000
                               : i == lang::kFunctionDisable ? 0xFE0000A0
                                                             : 0xFE000000;
        rows.push_back(
            list_row(s.function_name(i), static_cast<std::uint32_t>(function_code(i)), color, 1));
    }
    rows.push_back(list_row("_@" + ui::texts::caption(lang::kCaptionUserMacro), 0, 0xFE000000, 0));
    if (macro_function_rows)
        for (ui::ListItem& row : macro_function_rows())
            rows.push_back(std::move(row));
    board_.set_tree_rows("list macro", std::move(rows));
}

}  // namespace zentrik::settings
