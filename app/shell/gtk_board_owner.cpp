#include "app/shell/gtk_board_owner.h"

#include <gtk/gtk.h>

namespace zentrik::app {

GtkBoardOwner::~GtkBoardOwner() {
    std::lock_guard lock(mutex_);
    if (idle_)
        g_source_remove(idle_);
}

void GtkBoardOwner::invalidate(const ui::Rect& r) {
    if (std::this_thread::get_id() == main_thread_) {
        queue(r);
        return;
    }
    std::lock_guard lock(mutex_);
    pending_.push_back(r);
    if (!idle_)
        idle_ = g_idle_add(&GtkBoardOwner::flush, this);
}

void GtkBoardOwner::queue(const ui::Rect& r) {
    if (!r.empty())
        gtk_widget_queue_draw_area(canvas_, r.left, r.top, r.width(), r.height());
}

gboolean GtkBoardOwner::flush(gpointer data) {
    auto* self = static_cast<GtkBoardOwner*>(data);
    std::vector<ui::Rect> rects;
    {
        std::lock_guard lock(self->mutex_);
        rects.swap(self->pending_);
        self->idle_ = 0;
    }
    for (const ui::Rect& r : rects)
        self->queue(r);
    return G_SOURCE_REMOVE;
}

}  // namespace zentrik::app
