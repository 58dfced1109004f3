#pragma once
// The window's accessibility tree for screen readers (ATK, which GTK's bridge offers on
// AT-SPI): the drawing canvas exposes one accessible object per widget of the current page
// (ui::accessible_tree describes them), follows page switches, list changes and the focus
// after every repaint, shows the progress box of long jobs as a progress bar, and carries out
// the click action and value changes through the keyboard's own paths, so they do what a
// click or an arrow key does. Nothing is built until an assistive technology asks.
#include <gtk/gtk.h>

#include <vector>

#include "ui/accessible_info.h"
#include "ui/input/keyboard_focus.h"
#include "ui/renderer.h"
#include "ui/widget_board.h"

namespace zentrik::app {

// A drawing area whose accessible object is the window's accessibility tree.
GtkWidget* accessible_canvas_new();

class AccessibleBoard {
  public:
    AccessibleBoard(GtkWidget* canvas, ui::WidgetBoard& board, ui::KeyboardFocus& keys,
                    const ui::ListPaintHooks& hooks, const ui::ProgressOverlay& progress);
    ~AccessibleBoard();
    AccessibleBoard(const AccessibleBoard&) = delete;
    AccessibleBoard& operator=(const AccessibleBoard&) = delete;

    // The canvas's accessible children (read by the canvas's accessible object).
    const std::vector<AtkObject*>& children(AtkObject* root);
    // Actions of the objects: a click (a row: chosen first), a value, the focus.
    void click(const ui::AccessibleNode& node);
    bool set_value(const ui::AccessibleNode& node, double value);
    void focus(const ui::AccessibleNode& node);
    // Window or screen position of the canvas's top-left corner.
    void origin(AtkCoordType coords, int* x, int* y) const;

  private:
    static void on_draw(GtkWidget*, cairo_t*, gpointer self);
    static gboolean run_sync(gpointer self);
    static gboolean run_clicks(gpointer self);
    // Reads the board again; `announce` reports what changed since the last reading.
    void sync(bool announce = true);
    AtkObject* object_for(const ui::AccessibleNode& node);

    GtkWidget* canvas_;
    ui::WidgetBoard& board_;
    ui::KeyboardFocus& keys_;
    const ui::ListPaintHooks& hooks_;
    const ui::ProgressOverlay& progress_;
    AtkObject* root_ = nullptr;
    std::vector<AtkObject*> children_;
    std::vector<AtkObject*> made_;  // every object made, one per widget (and the progress box)
    AtkObject* progress_object_ = nullptr;
    std::vector<ui::AccessibleNode> pending_clicks_;
    guint sync_source_ = 0;
    guint click_source_ = 0;
    bool synced_ = false;
};

}  // namespace zentrik::app
