// The button page: reading the button table, the labels, the left-click rule, selecting a
// button and assigning functions.
#include "core/button_page.h"

#include <algorithm>

#include "core/button_functions.h"
#include "core/outside_changes.h"
#include "core/session.h"
#include "device/commands.h"
#include "device/mouse_models.h"
#include "lang/string_tables.h"
#include "ui/ui_texts.h"

namespace zentrik::core {
namespace {

constexpr int kFirstButtonLabel = 100;
constexpr int kFunctionListCommand = 99;

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

const device::MouseModel& model_of(const SettingsState& s) {
    return device::mouse_model(s.model_tag);
}

}  // namespace

ButtonPage::ButtonPage(Session& session) : session_(session) {
    install_rows();
}

void ButtonPage::install_rows() {
    using ui::WidgetEvent;
    session_.add_rows(ui::kActionClick, kFirstButtonLabel, kFirstButtonLabel + 10,
                      [this](const WidgetEvent& e) { select_button(e.id - kFirstButtonLabel); });
    // A click on a function-list row assigns it to button 0 while that label is checked.
    session_.add_row(ui::kActionClick, kFunctionListCommand, [this](const WidgetEvent& e) {
        const ui::Widget* label = session_.board().find_widget("zz_button 0");
        if (!e.first || !label || !label->checked || !e.first->has_row(e.first->selected_row))
            return;
        const ui::ListItem& row = e.first->rows[static_cast<std::size_t>(e.first->selected_row)];
        if (row.is_header())
            return;
        assign(0, static_cast<int>(static_cast<std::int32_t>(row.value)), row.text, false);
    });
    // A function-list row dropped on a button label.
    session_.add_row(ui::kActionDrop, kFunctionListCommand, [this](const WidgetEvent& e) {
        const ui::Widget* target = e.second;
        if (target->kind != ui::kCallout || target->id < kFirstButtonLabel ||
            target->id >= kFirstButtonLabel + 20 || !e.first->has_row(e.first->selected_row))
            return;
        const ui::ListItem& row = e.first->rows[static_cast<std::size_t>(e.first->selected_row)];
        if (row.is_header())
            return;
        const int button = std::clamp(target->id - kFirstButtonLabel, 0, 10);
        assign(button, static_cast<int>(static_cast<std::int32_t>(row.value)), row.text, true);
    });
}

void ButtonPage::reload_assignments(const std::function<void(double)>& read_progress) {
    SettingsModel& model = session_.model();
    const std::string path = session_.selected_path();
    if (!path.empty()) {
        int to_read = 0;
        for (int p = 0; p < device::kProfileCount; ++p)
            to_read += model.buttons.loaded(p) ? 0 : device::kButtonCount;
        int read = 0;
        for (int p = 0; p < device::kProfileCount; ++p) {
            if (model.buttons.loaded(p))
                continue;
            for (int b = 0; b < device::kButtonCount; ++b) {
                const auto reply =
                    device::read_button(session_.lib(), path, p, button_info(b).device_index);
                device::ButtonAssignment cell;
                if (reply && (reply->kind & 0x80)) {
                    cell.remapped = true;
                    cell.code = reply->value;
                }
                model.buttons.set(p, b, cell);
                if (read_progress)
                    read_progress(static_cast<double>(++read) / to_read);
            }
            model.buttons.set_loaded(p, true);
        }
    }
    write_labels();
    // The selection never stays on a label that cannot be changed.
    ui::WidgetBoard& board = session_.board();
    int selected = 0;
    for (int b = 0; b < device::kButtonCount; ++b)
        if (const ui::Widget* w = board.find_widget(numbered("zz_button ", b)); w && w->checked)
            selected = b;
    const ui::Widget* label = board.find_widget(numbered("zz_button ", selected));
    if (label && !label->enabled)
        selected = (selected + 1) % device::kButtonCount;
    select_button(selected);
}

void ButtonPage::write_labels() {
    SettingsModel& model = session_.model();
    ui::WidgetBoard& board = session_.board();
    const int profile = model.with([](const SettingsState& s) { return s.profile; });
    for (int b = 0; b < device::kButtonCount; ++b)
        board.set_text(numbered("zz_button ", b),
                       button_label(b, model.buttons.get(profile, b), session_.macro_name_at));
    const auto sole = sole_left_click_button(model.buttons, profile);
    const std::string why =
        lang::own_text("zk_left_click_kept",
                       "The only left-click button stays a left click: give another "
                       "button the left click first");
    for (int b = 0; b < device::kButtonCount; ++b) {
        const bool kept = sole && *sole == b;
        board.set_enabled(numbered("zz_button ", b), kept ? 0 : 1);
        board.with_widget(numbered("zz_button ", b), [&](ui::Widget& w) {
            w.has_tooltip = kept ? 1 : 0;
            w.tooltip = kept ? why : std::string();
        });
    }
}

void ButtonPage::select_button(int ui_index) {
    ui::WidgetBoard& board = session_.board();
    ui_index = std::clamp(ui_index, 0, device::kButtonCount - 1);
    board.select_in_group(board.find_widget(numbered("zz_button ", ui_index)));
    const auto [profile, mouse] = session_.model().with([&](SettingsState& s) {
        s.selected_button = ui_index;
        return std::pair{s.profile, &model_of(s)};
    });
    const device::ButtonAssignment cell = session_.model().buttons.get(profile, ui_index);
    const int code = cell.remapped ? cell.code : kDefaultFunctionCode;
    board.select_row_by_value("list macro", static_cast<std::uint32_t>(code), false);
    for (int b = 0; b < device::kButtonCount; ++b) {
        if (!mouse->has_button(b))
            continue;  // its pictures are not on this model's picture
        const bool on = b == ui_index;
        board.set_visible(numbered("aa_button_pic_1 ", b), on ? 1 : 0);
        board.set_visible(numbered("aa_button_pic ", b), on ? 1 : 0);
        board.set_visible(numbered("zz_button_pic_1 ", b), on ? 0 : 1);
        board.set_visible(numbered("zz_button_pic ", b), on ? 0 : 1);
    }
}

bool ButtonPage::assign(int ui_index, int code, const std::string& name, bool by_drag) {
    SettingsModel& model = session_.model();
    ui_index = std::clamp(ui_index, 0, device::kButtonCount - 1);
    const int profile = model.with([](const SettingsState& s) { return s.profile; });
    const device::ButtonAssignment cell = assignment_for(ui_index, code);
    // The last left-click button keeps its function, whichever way the change comes.
    if (!keeps_a_left_click(model.buttons, profile, ui_index, cell))
        return false;
    model.buttons.set(profile, ui_index, cell);
    const std::string path = session_.selected_path();
    if (!path.empty()) {
        // A drag sends the row's code as it is; a click sends 0xFFFF for a button's own function.
        const std::uint16_t sent = cell.remapped ? cell.code
                                   : by_drag     ? static_cast<std::uint16_t>(code)
                                                 : 0xFFFF;
        session_.write_to_mouse(
            path,
            [=](device::zklib& lib, const std::string& at) {
                return device::write_button(lib, at, profile, button_info(ui_index).device_index,
                                            cell.remapped, sent);
            },
            kChangedButtons, profile);
    }
    session_.board().set_text(numbered("zz_button ", ui_index),
                              cell.remapped ? name : lang::strings().button_name(ui_index));
    write_labels();
    if (session_.assignments_changed)
        session_.assignments_changed();
    return true;
}

void ButtonPage::rebuild_function_list() {
    const lang::StringTables& s = lang::strings();
    const device::MouseModel& mouse = session_.model().with(
        [](const SettingsState& st) -> const device::MouseModel& { return model_of(st); });
    std::vector<ui::ListItem> rows;
    rows.push_back(list_row("_@" + ui::texts::caption(lang::kCaptionBuiltIn), 0, 0xFE000000, 0));
    for (int i = 0; i < function_count(); ++i) {
        if (i == kAdjustLiftIndex && !mouse.offers_adjust_lift)
            continue;
        const ui::Argb color = i == lang::kFunctionDefault   ? 0xFEA00000
                               : i == lang::kFunctionDisable ? 0xFE0000A0
                                                             : 0xFE000000;
        rows.push_back(
            list_row(s.function_name(i), static_cast<std::uint32_t>(function_code(i)), color, 1));
    }
    rows.push_back(list_row("_@" + ui::texts::caption(lang::kCaptionUserMacro), 0, 0xFE000000, 0));
    if (session_.macro_function_rows)
        for (ui::ListItem& row : session_.macro_function_rows())
            rows.push_back(std::move(row));
    session_.board().set_tree_rows("list macro", std::move(rows));
}

// A checked label keeps its look.
void ButtonPage::hover_changed(const ui::Widget* label, bool entered) {
    ui::WidgetBoard& board = session_.board();
    if (!label || label->checked || label->id < kFirstButtonLabel ||
        label->id > kFirstButtonLabel + 10)
        return;
    const std::string n = std::to_string(label->id - kFirstButtonLabel);
    if (board.find_widget("zz_button " + n) != label)
        return;
    board.set_visible("ov_button_pic_1 " + n, entered ? 1 : 0);
    board.set_visible("bb_button_pic " + n, entered ? 1 : 0);
}

}  // namespace zentrik::core
