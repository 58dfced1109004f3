#include "ui/accessible_info.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "lang/string_tables.h"
#include "ui/focus_order.h"
#include "ui/ui_texts.h"

namespace zentrik::ui {

namespace {

constexpr int kTabGroup = 22;
constexpr int kCaptionBand = 32;  // list rows start below the caption

AccessibleRole role_of(const Widget& w) {
    switch (w.kind) {
        case kRegionButton:
            return w.group == kTabGroup ? AccessibleRole::kPageTab : AccessibleRole::kPushButton;
        case kLevelButton:
        case kCallout:
        case kSelectableRow:
            return AccessibleRole::kRadioButton;
        case kTextBox:
            return w.editable ? AccessibleRole::kRadioButton : AccessibleRole::kLabel;
        case kCheckBox:
            return AccessibleRole::kCheckBox;
        case kSlider:
            return AccessibleRole::kSlider;
        case kSpinBox:
            return AccessibleRole::kSpinButton;
        case kList:
            return AccessibleRole::kList;
        case kProgressBar:
            return AccessibleRole::kProgressBar;
        case kStaticText:
            return AccessibleRole::kLabel;
        default:
            return AccessibleRole::kPushButton;
    }
}

// Names of the widgets that show no text of their own.
std::string own_name(std::string_view widget_name) {
    struct Named {
        std::string_view widget, key, english;
    };
    static constexpr Named kNames[] = {
        {"_close", "zk_a11y_close", "Close"},
        {"_mini", "zk_a11y_minimise", "Minimise"},
        {"_home", "zk_a11y_home", "Home"},
        {"dpi x", "zk_a11y_dpi_x", "X resolution"},
        {"dpi y", "zk_a11y_dpi_y", "Y resolution"},
        {"dpi x value", "zk_a11y_dpi_x_value", "X resolution (DPI)"},
        {"dpi y value", "zk_a11y_dpi_y_value", "Y resolution (DPI)"},
        {"memory process bar", "zk_a11y_memory", "Macro memory used"},
    };
    for (const Named& n : kNames)
        if (n.widget == widget_name)
            return lang::own_text(n.key, n.english);
    if (widget_name == "report rate")
        return texts::message(12);
    if (widget_name == "wheel rate")
        return texts::message(19);
    int level = 0;
    if (std::sscanf(std::string(widget_name).c_str(), "dpi level %d", &level) == 1) {
        std::string name = lang::own_text("zk_a11y_dpi_level", "DPI level %d");
        if (const auto at = name.find("%d"); at != std::string::npos)
            name.replace(at, 2, std::to_string(level));
        return name;
    }
    return {};
}

// A row's text without the marks that make it a header or a special row.
std::string row_name(const Widget& list, const ListItem& row, const RowText& step_text) {
    if (list.edit_mode == 1 && step_text) {
        std::string text = step_text(row);
        if (!text.empty())
            return text;
    }
    if (row.text.starts_with("_@") || row.text.starts_with("_#"))
        return row.text.substr(2);
    return row.text;
}

void add_rows(Widget& list, const RowText& step_text, bool list_enabled, AccessibleNode& node) {
    const int shown = std::max(1, list.visible_rows - 1);
    for (int i = 0; i < list.row_count(); ++i) {
        const ListItem& item = list.rows[static_cast<std::size_t>(i)];
        AccessibleNode row;
        row.widget = &list;
        row.row = i;
        row.role = AccessibleRole::kListItem;
        row.name = row_name(list, item, step_text);
        row.enabled = list_enabled;
        row.selected = i == list.selected_row;
        row.expandable = item.is_header() && list.foldable;
        row.expanded = row.expandable && item.expanded != 0;
        const int visual = (list.pinned_first_row && i == 0) ? 0 : i - list.first_row;
        row.showing = (list.pinned_first_row && i == 0) || (visual >= 0 && visual < shown);
        if (row.showing) {
            const int top = list.y + kCaptionBand + visual * list.row_height;
            row.box = {list.x, top, list.x + list.width, top + list.row_height};
        }
        node.rows.push_back(std::move(row));
    }
}

}  // namespace

bool describe_widget(WidgetBoard& board, Widget& w, const std::string& widget_name,
                     const RowText& step_text, AccessibleNode& out) {
    if (w.kind == kPicture || w.kind == kPanel || !w.visible || !board.on_current_page(w))
        return false;
    AccessibleNode node;
    node.widget = &w;
    node.role = role_of(w);
    node.name = w.has_tooltip && !w.tooltip.empty() ? w.tooltip : w.text;
    if (node.name.empty() || w.kind == kProgressBar)
        node.name = own_name(widget_name);
    if (node.name.empty() && (node.role == AccessibleRole::kLabel))
        return false;  // an empty text says nothing
    node.box = focus_box(w);
    node.enabled = w.enabled && (board.live || w.always_active);
    node.focusable = takes_focus(board, w);
    node.focused = node.focusable && board.pointer.focus == &w;
    node.checkable = node.role == AccessibleRole::kRadioButton ||
                     node.role == AccessibleRole::kPageTab ||
                     node.role == AccessibleRole::kCheckBox;
    node.checked = node.checkable && w.checked != 0;
    node.selected = node.role == AccessibleRole::kPageTab && w.checked != 0;
    switch (w.kind) {
        case kSlider:
        case kSpinBox:
            node.has_value = true;
            node.value = w.value;
            node.minimum = w.min;
            node.maximum = w.max;
            node.increment = std::max(1, w.step);
            break;
        case kProgressBar:
            node.has_value = true;
            node.value = std::clamp(w.fraction, 0.0, 1.0) * 100.0;
            node.maximum = 100;
            node.increment = 1;
            break;
        case kList:
            add_rows(w, step_text, node.enabled, node);
            break;
        default:
            break;
    }
    out = std::move(node);
    return true;
}

std::vector<AccessibleNode> accessible_tree(WidgetBoard& board, const RowText& step_text) {
    std::vector<AccessibleNode> nodes;
    board.for_each_widget([&](const std::string& name, Widget& w) {
        AccessibleNode node;
        if (describe_widget(board, w, name, step_text, node))
            nodes.push_back(std::move(node));
    });
    std::stable_sort(nodes.begin(), nodes.end(),
                     [](const AccessibleNode& a, const AccessibleNode& b) {
                         return a.widget->y != b.widget->y ? a.widget->y < b.widget->y
                                                           : a.widget->x < b.widget->x;
                     });
    return nodes;
}

const char* role_name(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::kPushButton:
            return "push button";
        case AccessibleRole::kRadioButton:
            return "radio button";
        case AccessibleRole::kPageTab:
            return "page tab";
        case AccessibleRole::kCheckBox:
            return "check box";
        case AccessibleRole::kSlider:
            return "slider";
        case AccessibleRole::kSpinButton:
            return "spin button";
        case AccessibleRole::kList:
            return "list";
        case AccessibleRole::kListItem:
            return "list item";
        case AccessibleRole::kProgressBar:
            return "progress bar";
        case AccessibleRole::kLabel:
            return "label";
    }
    return "";
}

}  // namespace zentrik::ui
