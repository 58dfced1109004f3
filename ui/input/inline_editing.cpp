// Opening and committing the inline editor.
#include <string>
#include <string_view>
#include <utility>

#include "ui/fonts.h"
#include "ui/input/pointer_dispatcher.h"
#include "ui/step_list.h"

namespace zentrik::ui {

namespace {

std::string strip_prefix(std::string text, std::string_view prefix) {
    if (text.starts_with(prefix))
        text.erase(0, prefix.size());
    return text;
}

}  // namespace

void PointerDispatcher::open_editor(Widget& w, int row) {
    if (!editor_)
        return;
    WidgetBoard::Lock lock = board_.lock();
    PointerState& p = board_.pointer;
    const int t = font_entry(w.font).pixel_size + 4;
    EditorRequest request;
    request.font = w.font;
    request.limit = w.edit_limit;
    request.box = {w.x + 2, w.y + (w.height - t) / 2, w.x + w.width - 2,
                   w.y + (w.height - t) / 2 + t};
    request.text = w.text;
    if (w.kind == kList) {
        if (!w.has_row(row))
            return;
        ListItem& item = w.rows[row];
        const int visual = (w.pinned_first_row && row == 0) ? 0 : row - w.first_row;
        const int top = w.y + 32 + visual * w.row_height + w.row_height / 2 - t / 2;
        Rect row_box{w.x + 7, top, w.x + w.width - 6, top + t};
        request.text = item.text;
        if (w.edit_mode == 1) {
            if (!step_list::is_wait(item)) {
                // A run-mode row steps to its next mode instead; other steps have no value.
                if (step_list::cycle_mode(w, row))
                    board_.invalidate_widget(&w);
                emit(kActionSecondPress, w.id, &w, nullptr);
                return;
            }
            request.text = std::to_string(step_list::wait_value(item));
            request.limit = 5;
            request.digits_only = true;
            row_box.left += 80;
            request.box = row_box;
        } else if (w.no_header_rows || (!item.is_header() && item.value != kFixedRowValue)) {
            request.box = row_box;
        }
    }
    p.edit_target = &w;
    p.edit_row = w.kind == kList ? row : -1;
    editor_->show(request);
}

void PointerDispatcher::commit_editor() {
    if (!editor_ || !editor_->visible())
        return;
    WidgetBoard::Lock lock = board_.lock();
    PointerState& p = board_.pointer;
    Widget* w = p.edit_target;
    const std::string text = editor_->text();
    editor_->hide();
    p.edit_target = nullptr;
    if (!w)
        return;
    if (w->kind != kList) {
        w->text = text;
    } else if (w->has_row(p.edit_row)) {
        ListItem& item = w->rows[p.edit_row];
        if (w->edit_mode == 1 && step_list::is_wait(item)) {
            step_list::commit_wait(*w, p.edit_row, text);
        } else if (w->renamable) {
            item.text = strip_prefix(strip_prefix(text, "_@"), "_#");
        }
    }
    board_.invalidate_widget(w);
    emit(kActionEdited, w->id, w, nullptr);
}

void PointerDispatcher::cancel_editor() {
    if (!editor_ || !editor_->visible())
        return;
    WidgetBoard::Lock lock = board_.lock();
    editor_->hide();
    Widget* w = std::exchange(board_.pointer.edit_target, nullptr);
    board_.invalidate_widget(w);
    if (w)  // what waited for the edit to end (rows another program changed) may follow now
        emit(kActionEditCancelled, w->id, w, nullptr);
}

}  // namespace zentrik::ui
