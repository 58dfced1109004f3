#pragma once
// What a screen reader is told about the window, without a display: one node per widget the
// current page shows, with its role, name, states, value and (for lists) rows. The GTK shell
// turns the nodes into accessible objects; tests read them directly.
#include <functional>
#include <string>
#include <vector>

#include "ui/widget_board.h"

namespace zentrik::ui {

enum class AccessibleRole {
    kPushButton,
    kRadioButton,
    kPageTab,
    kCheckBox,
    kSlider,
    kSpinButton,
    kList,
    kListItem,
    kProgressBar,
    kLabel,
};

struct AccessibleNode {
    Widget* widget = nullptr;
    int row = -1;  // list rows: the row's index
    AccessibleRole role = AccessibleRole::kLabel;
    std::string name;
    Rect box;
    bool enabled = true;
    bool focusable = false;
    bool focused = false;
    bool checkable = false;
    bool checked = false;
    bool selected = false;
    bool expandable = false;  // a group header of a foldable list
    bool expanded = false;
    bool showing = true;  // a list row scrolled out of view is not
    bool has_value = false;
    double value = 0, minimum = 0, maximum = 0, increment = 0;
    std::vector<AccessibleNode> rows;

    bool operator==(const AccessibleNode&) const = default;
};

// The text a step list shows for a row (the macro editor's steps are drawn from their codes);
// empty means the row's own text.
using RowText = std::function<std::string(const ListItem&)>;

// The nodes of the current page in reading order (hold board.lock()).
std::vector<AccessibleNode> accessible_tree(WidgetBoard& board, const RowText& step_text = {});
// One widget's node, or none (pictures and panels are decoration).
bool describe_widget(WidgetBoard& board, Widget& w, const std::string& widget_name,
                     const RowText& step_text, AccessibleNode& out);

const char* role_name(AccessibleRole role);

}  // namespace zentrik::ui
