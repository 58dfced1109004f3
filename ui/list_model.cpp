#include "ui/list_model.h"

#include <algorithm>
#include <utility>

namespace zentrik::ui {

void ListModel::apply_scroll_rule() {
    const int r = list_.selected_row;
    const int v = list_.visible_rows;
    const int n = list_.row_count();
    int s = list_.first_row;
    if (s + v - 2 < r)
        s = std::max(0, r - v + 2);
    else if (s >= r)
        s = r - 1;
    s = std::max(0, std::min(s, n - 1));
    list_.first_row = s;
    list_.scroll_px = list_.row_height * s;
}

void ListModel::recompute_offsets() {
    if (list_.edit_mode == 0)
        return;
    std::vector<ListItem>& rows = list_.rows;
    for (std::size_t i = 1; i < rows.size(); ++i)
        rows[i].offset = rows[i - 1].offset + rows[i - 1].size;
}

int ListModel::insert_after_selection(ListItem row, bool append) {
    const int n = list_.row_count();
    const int sel = list_.selected_row;
    // A selection outside the rows (nothing selected) appends instead of inserting off the end.
    const bool at_end = append || n <= 1 || sel >= n - 1 || sel < 0;
    const int index = at_end ? n : sel + 1;
    list_.rows.insert(list_.rows.begin() + index, std::move(row));
    list_.selected_row = index;
    apply_scroll_rule();
    recompute_offsets();
    return index;
}

int ListModel::select_value(std::uint32_t value) {
    const int n = list_.row_count();
    int found = -1;
    for (int i = 0; i < n; ++i) {
        if (!list_.rows[i].is_header() && list_.rows[i].value == value) {
            found = i;
            break;
        }
    }
    if (found < 0)
        return -1;
    list_.selected_row = found;
    if (found < list_.first_row)
        list_.first_row = found;
    else if (found > list_.first_row + list_.visible_rows - 2)
        list_.first_row = found - list_.visible_rows + 2;
    list_.first_row = std::max(0, std::min(list_.first_row, n - 1));
    list_.scroll_px = list_.row_height * list_.first_row;
    return found;
}

void ListModel::keep_within_rows() {
    const int n = list_.row_count();
    list_.selected_row = std::max(0, std::min(list_.selected_row, n - 1));
    list_.first_row = std::max(0, std::min(list_.first_row, n - 1));
    list_.scroll_px = list_.row_height * list_.first_row;
}

void ListModel::set_rows(std::vector<ListItem> rows) {
    list_.rows = std::move(rows);
    keep_within_rows();
    if (list_.drop_row >= list_.row_count())
        list_.drop_row = -1;
    recompute_offsets();
}

void ListModel::set_tree(std::vector<ListItem> all_rows) {
    std::vector<ListItem> shown;
    std::uint32_t hidden_below = UINT32_MAX;  // level under a collapsed header
    for (std::size_t i = 0; i < all_rows.size(); ++i) {
        ListItem& row = all_rows[i];
        row.full_index = static_cast<std::uint32_t>(i);
        if (hidden_below != UINT32_MAX && row.level > hidden_below)
            continue;
        hidden_below = UINT32_MAX;
        shown.push_back(row);
        if (list_.foldable && row.is_header() && !row.expanded)
            hidden_below = row.level;
    }
    list_.all_rows = std::move(all_rows);
    set_rows(std::move(shown));
}

bool ListModel::toggle_fold(int row) {
    if (!list_.foldable || !list_.has_row(row) || !list_.rows[row].is_header())
        return false;
    std::vector<ListItem>& rows = list_.rows;
    std::vector<ListItem>& tree = list_.all_rows;
    ListItem& header = rows[row];
    const std::uint32_t level = header.level;
    const std::size_t full = header.full_index;
    if (header.expanded) {
        header.expanded = 0;
        auto first = rows.begin() + row + 1;
        auto last = first;
        while (last != rows.end() && last->level > level)
            ++last;
        rows.erase(first, last);
        if (full < tree.size())
            tree[full].expanded = 0;
    } else {
        header.expanded = 1;
        if (full < tree.size()) {
            tree[full].expanded = 1;
            std::vector<ListItem> children;
            for (std::size_t i = full + 1; i < tree.size() && tree[i].level > level; ++i)
                children.push_back(tree[i]);
            rows.insert(rows.begin() + row + 1, children.begin(), children.end());
        }
    }
    keep_within_rows();
    return true;
}

void ListModel::keep_selection_shown() {
    if (list_.selected_row > list_.first_row + list_.visible_rows - 2) {
        list_.first_row = std::max(0, list_.selected_row - list_.visible_rows + 2);
        list_.scroll_px = list_.row_height * list_.first_row;
    }
}

}  // namespace zentrik::ui
