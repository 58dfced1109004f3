#pragma once
// GTK's pointer, wheel and key events on the window, in window coordinates, handed to the
// pointer logic; the cursor it asks for is set on the canvas. A left press on empty skin moves
// the window.
#include <gtk/gtk.h>

#include "app/shell/gtk_inline_editor.h"
#include "ui/input/pointer_dispatcher.h"

namespace zentrik::app {

class GtkPointerInput {
  public:
    // Connects to the events of `canvas` (pointer) and `window` (keys) until destroyed.
    GtkPointerInput(GtkWidget* window, GtkWidget* canvas, ui::PointerDispatcher& dispatcher,
                    const GtkInlineEditor& editor);
    ~GtkPointerInput();
    GtkPointerInput(const GtkPointerInput&) = delete;
    GtkPointerInput& operator=(const GtkPointerInput&) = delete;

    // Whether the pointer was last seen over the window.
    bool pointer_inside() const { return pointer_inside_; }

  private:
    static gboolean on_button(GtkWidget*, GdkEventButton* e, gpointer self);
    static gboolean on_motion(GtkWidget*, GdkEventMotion* e, gpointer self);
    static gboolean on_scroll(GtkWidget*, GdkEventScroll* e, gpointer self);
    static gboolean on_crossing(GtkWidget*, GdkEventCrossing* e, gpointer self);
    static gboolean on_key_press(GtkWidget*, GdkEventKey* e, gpointer self);
    static gboolean on_key_release(GtkWidget*, GdkEventKey* e, gpointer self);
    void set_cursor(int mode);

    GtkWidget* window_;
    GtkWidget* canvas_;
    ui::PointerDispatcher& dispatcher_;
    const GtkInlineEditor& editor_;
    GdkCursor* active_cursor_ = nullptr;
    GdkCursor* drag_cursor_ = nullptr;
    int cursor_mode_ = ui::kArrowCursor;
    int buttons_ = 0;
    bool pointer_inside_ = false;
    double scroll_accumulated_ = 0;
};

}  // namespace zentrik::app
