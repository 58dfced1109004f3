#include "app/shell/accessible_board.h"

#include <gtk/gtk-a11y.h>

#include <algorithm>
#include <cmath>

#include "app/shell/accessible_node.h"
#include "ui/focus_order.h"
#include "ui/list_model.h"

namespace {

constexpr const char* kBoardKey = "zentrik-accessible-board";

}  // namespace

// The canvas and its accessible object, whose children are the widgets' objects.
struct ZkCanvas {
    GtkDrawingArea parent;
};
struct ZkCanvasClass {
    GtkDrawingAreaClass parent_class;
};
struct ZkCanvasAccessible {
    GtkWidgetAccessible parent;
};
struct ZkCanvasAccessibleClass {
    GtkWidgetAccessibleClass parent_class;
};

namespace {

G_DEFINE_TYPE(ZkCanvasAccessible, zk_canvas_accessible, GTK_TYPE_WIDGET_ACCESSIBLE)
G_DEFINE_TYPE(ZkCanvas, zk_canvas, GTK_TYPE_DRAWING_AREA)

zentrik::app::AccessibleBoard* board_of(AtkObject* object) {
    GtkWidget* canvas = gtk_accessible_get_widget(GTK_ACCESSIBLE(object));
    return canvas ? static_cast<zentrik::app::AccessibleBoard*>(
                        g_object_get_data(G_OBJECT(canvas), kBoardKey))
                  : nullptr;
}

gint zk_canvas_accessible_get_n_children(AtkObject* object) {
    auto* board = board_of(object);
    return board ? static_cast<gint>(board->children(object).size()) : 0;
}

AtkObject* zk_canvas_accessible_ref_child(AtkObject* object, gint i) {
    auto* board = board_of(object);
    if (!board)
        return nullptr;
    const auto& children = board->children(object);
    if (i < 0 || i >= static_cast<gint>(children.size()))
        return nullptr;
    return ATK_OBJECT(g_object_ref(children[static_cast<std::size_t>(i)]));
}

void zk_canvas_accessible_initialize(AtkObject* object, gpointer data) {
    ATK_OBJECT_CLASS(zk_canvas_accessible_parent_class)->initialize(object, data);
    atk_object_set_role(object, ATK_ROLE_PANEL);
}

void zk_canvas_accessible_init(ZkCanvasAccessible*) {}

void zk_canvas_accessible_class_init(ZkCanvasAccessibleClass* klass) {
    AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
    atk->initialize = zk_canvas_accessible_initialize;
    atk->get_n_children = zk_canvas_accessible_get_n_children;
    atk->ref_child = zk_canvas_accessible_ref_child;
}

void zk_canvas_init(ZkCanvas*) {}

void zk_canvas_class_init(ZkCanvasClass* klass) {
    gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass), zk_canvas_accessible_get_type());
}

}  // namespace

namespace zentrik::app {

GtkWidget* accessible_canvas_new() {
    return GTK_WIDGET(g_object_new(zk_canvas_get_type(), nullptr));
}

AccessibleBoard::AccessibleBoard(GtkWidget* canvas, ui::WidgetBoard& board, ui::KeyboardFocus& keys,
                                 const ui::ListPaintHooks& hooks,
                                 const ui::ProgressOverlay& progress)
    : canvas_(canvas), board_(board), keys_(keys), hooks_(hooks), progress_(progress) {
    g_object_set_data(G_OBJECT(canvas_), kBoardKey, this);
    g_object_add_weak_pointer(G_OBJECT(canvas_), reinterpret_cast<gpointer*>(&canvas_));
    g_signal_connect_after(canvas_, "draw", G_CALLBACK(on_draw), this);
}

AccessibleBoard::~AccessibleBoard() {
    if (sync_source_)
        g_source_remove(sync_source_);
    if (click_source_)
        g_source_remove(click_source_);
    if (canvas_) {
        g_signal_handlers_disconnect_by_data(canvas_, this);
        g_object_set_data(G_OBJECT(canvas_), kBoardKey, nullptr);
        g_object_remove_weak_pointer(G_OBJECT(canvas_), reinterpret_cast<gpointer*>(&canvas_));
    }
    for (AtkObject* object : made_) {
        accessible_node_orphan(object);
        g_object_unref(object);
    }
}

const std::vector<AtkObject*>& AccessibleBoard::children(AtkObject* root) {
    root_ = root;
    if (!synced_)
        sync(false);  // the first answer: nobody knows other children yet
    return children_;
}

void AccessibleBoard::on_draw(GtkWidget*, cairo_t*, gpointer data) {
    // Every change of the board is repainted: look at it once the frame is out.
    auto& self = *static_cast<AccessibleBoard*>(data);
    if (self.root_ && !self.sync_source_)
        self.sync_source_ = g_idle_add(run_sync, &self);
}

gboolean AccessibleBoard::run_sync(gpointer data) {
    auto& self = *static_cast<AccessibleBoard*>(data);
    self.sync_source_ = 0;
    self.sync();
    return G_SOURCE_REMOVE;
}

AtkObject* AccessibleBoard::object_for(const ui::AccessibleNode& node) {
    if (!node.widget) {
        if (!progress_object_) {
            progress_object_ = accessible_node_new(*this, node, root_);
            made_.push_back(progress_object_);
        }
        return progress_object_;
    }
    const auto found = std::find_if(made_.begin(), made_.end(), [&](AtkObject* o) {
        return accessible_node_data(o).widget == node.widget;
    });
    if (found != made_.end())
        return *found;
    made_.push_back(accessible_node_new(*this, node, root_));
    return made_.back();
}

void AccessibleBoard::sync(bool announce) {
    if (!root_)
        return;
    synced_ = true;
    std::vector<ui::AccessibleNode> nodes;
    {
        ui::WidgetBoard::Lock lock = board_.lock();
        nodes = ui::accessible_tree(board_, hooks_.step_text);
    }
    if (progress_.shown()) {
        // The progress box of a long job, read out as it comes and as its message changes.
        ui::AccessibleNode box;
        box.role = ui::AccessibleRole::kProgressBar;
        box.name = progress_.message();
        box.box = ui::ProgressOverlay::bar_area(ui::kWindowWidth, ui::kWindowHeight);
        box.has_value = true;
        box.value = std::round(std::clamp(progress_.fraction(), 0.0, 1.0) * 100.0);
        box.maximum = 100;
        box.increment = 1;
        nodes.push_back(std::move(box));
    }
    std::vector<AtkObject*> next;
    next.reserve(nodes.size());
    for (const ui::AccessibleNode& node : nodes)
        next.push_back(object_for(node));
    const std::vector<AtkObject*> before = std::exchange(children_, next);
    for (std::size_t i = before.size(); i-- > 0;)
        if (announce && std::find(next.begin(), next.end(), before[i]) == next.end())
            g_signal_emit_by_name(root_, "children-changed::remove", static_cast<guint>(i),
                                  before[i]);
    for (std::size_t i = 0; i < next.size(); ++i) {
        if (announce && std::find(before.begin(), before.end(), next[i]) == before.end())
            g_signal_emit_by_name(root_, "children-changed::add", static_cast<guint>(i), next[i]);
        accessible_node_update(next[i], nodes[i], static_cast<int>(i));
    }
}

void AccessibleBoard::click(const ui::AccessibleNode& node) {
    // Carried out from the main loop: a click may open a dialog that waits for the user, and
    // the screen reader's request must not wait for it.
    pending_clicks_.push_back(node);
    if (!click_source_)
        click_source_ = g_idle_add(run_clicks, this);
}

gboolean AccessibleBoard::run_clicks(gpointer data) {
    auto& self = *static_cast<AccessibleBoard*>(data);
    self.click_source_ = 0;
    const std::vector<ui::AccessibleNode> clicks = std::exchange(self.pending_clicks_, {});
    for (const ui::AccessibleNode& node : clicks) {
        ui::WidgetBoard::Lock lock = self.board_.lock();
        ui::Widget* w = node.widget;
        if (!w || !ui::takes_focus(self.board_, *w))
            continue;  // gone from the page meanwhile
        if (node.row >= 0) {
            if (!w->has_row(node.row))
                continue;
            w->selected_row = node.row;
            ui::ListModel(*w).apply_scroll_rule();
            self.board_.invalidate_widget(w);
        }
        self.keys_.activate(*w);
    }
    self.sync();
    return G_SOURCE_REMOVE;
}

bool AccessibleBoard::set_value(const ui::AccessibleNode& node, double value) {
    if (!node.widget)
        return false;
    {
        ui::WidgetBoard::Lock lock = board_.lock();
        if (!ui::takes_focus(board_, *node.widget))
            return false;
        keys_.set_value(*node.widget, static_cast<int>(std::lround(value)));
    }
    sync();  // a value read right after must be the new one
    return true;
}

void AccessibleBoard::focus(const ui::AccessibleNode& node) {
    if (node.widget)
        keys_.focus(node.widget);
    sync();
}

void AccessibleBoard::origin(AtkCoordType coords, int* x, int* y) const {
    *x = 0;
    *y = 0;
    if (coords != ATK_XY_SCREEN || !canvas_)
        return;
    if (GdkWindow* window = gtk_widget_get_window(canvas_))
        gdk_window_get_origin(window, x, y);
}

}  // namespace zentrik::app
