#pragma once
// The widget board's invalidated rectangles as queued draws of the window's canvas. Other
// threads' rectangles are handed to the main loop first.
#include <glib.h>

#include <mutex>
#include <thread>
#include <vector>

#include "ui/widget_board.h"

typedef struct _GtkWidget GtkWidget;

namespace zentrik::app {

class GtkBoardOwner : public ui::BoardOwner {
  public:
    explicit GtkBoardOwner(GtkWidget* canvas) : canvas_(canvas) {}
    ~GtkBoardOwner() override;
    GtkBoardOwner(const GtkBoardOwner&) = delete;
    GtkBoardOwner& operator=(const GtkBoardOwner&) = delete;

    void invalidate(const ui::Rect& r) override;

  private:
    void queue(const ui::Rect& r);
    static gboolean flush(gpointer self);

    GtkWidget* canvas_;
    const std::thread::id main_thread_ = std::this_thread::get_id();
    std::mutex mutex_;
    std::vector<ui::Rect> pending_;
    guint idle_ = 0;
};

}  // namespace zentrik::app
