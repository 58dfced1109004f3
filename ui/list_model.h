#pragma once
// The rows of one list widget: the rows it shows, the whole tree behind a foldable list, the
// selected row and the scroll position, and the rules that keep them consistent. A view on the
// widget's own fields, so it costs nothing to make; whoever uses it holds the board's lock and
// invalidates the widget afterwards.
#include <cstdint>
#include <vector>

#include "ui/widget.h"

namespace zentrik::ui {

class ListModel {
  public:
    explicit ListModel(Widget& list) : list_(list) {}

    // Scrolls so the selected row shows with one row above it, or as the second-to-last row
    // shown when it lies below the rows shown.
    void apply_scroll_rule();
    // Step lists (edit_mode not 0): every row's offset is where the row before it ends, so the
    // rows encode their payloads without gaps. Other lists keep their offsets.
    void recompute_offsets();

    // Inserts `row` after the selected one, or at the end when `append`, when the list holds at
    // most one row, or when the selection is the last row or outside the rows; the new row
    // becomes the selected one and is scrolled to. Returns its index.
    int insert_after_selection(ListItem row, bool append);
    // Selects the first non-header row carrying `value` and scrolls it among the rows shown;
    // returns its index, or -1 (nothing changes) when no row carries it.
    int select_value(std::uint32_t value);
    // Replaces the rows; the selection, the first row shown and the drop row stay within them.
    void set_rows(std::vector<ListItem> rows);
    // Foldable lists: keeps the whole tree and shows its expanded part (rows under a collapsed
    // header are left out). Every row remembers its index in the tree.
    void set_tree(std::vector<ListItem> all_rows);
    // Expands or collapses the header at `row` of a foldable list; false (nothing changes) for
    // any other row or list.
    bool toggle_fold(int row);
    // After the list got shorter: scrolls down so the selected row stays among the rows shown.
    void keep_selection_shown();

  private:
    // The selection and the first row shown within the rows, the scroll offset following.
    void keep_within_rows();

    Widget& list_;
};

}  // namespace zentrik::ui
