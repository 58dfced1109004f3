#include "app/shell/gtk_pointer_input.h"

#include "app/shell/skin_window.h"
#include "ui/layout.h"

namespace zentrik::app {
namespace {

int button_bit(guint button) {
    switch (button) {
        case 1:
            return ui::kLeftButton;
        case 2:
            return ui::kMiddleButton;
        case 3:
            return ui::kRightButton;
        case 8:
            return ui::kFourthButton;
        case 9:
            return ui::kFifthButton;
        default:
            return 0;
    }
}

ui::KeyStroke::Name key_name(guint keyval) {
    using K = ui::KeyStroke;
    switch (keyval) {
        case GDK_KEY_Tab:
        case GDK_KEY_KP_Tab:
        case GDK_KEY_ISO_Left_Tab:
            return K::kTab;
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
        case GDK_KEY_ISO_Enter:
            return K::kEnter;
        case GDK_KEY_space:
        case GDK_KEY_KP_Space:
            return K::kSpace;
        case GDK_KEY_Escape:
            return K::kEscape;
        case GDK_KEY_Left:
        case GDK_KEY_KP_Left:
            return K::kLeft;
        case GDK_KEY_Right:
        case GDK_KEY_KP_Right:
            return K::kRight;
        case GDK_KEY_Up:
        case GDK_KEY_KP_Up:
            return K::kUp;
        case GDK_KEY_Down:
        case GDK_KEY_KP_Down:
            return K::kDown;
        case GDK_KEY_Home:
        case GDK_KEY_KP_Home:
            return K::kHome;
        case GDK_KEY_End:
        case GDK_KEY_KP_End:
            return K::kEnd;
        case GDK_KEY_Page_Up:
        case GDK_KEY_KP_Page_Up:
            return K::kPageUp;
        case GDK_KEY_Page_Down:
        case GDK_KEY_KP_Page_Down:
            return K::kPageDown;
        case GDK_KEY_Delete:
        case GDK_KEY_KP_Delete:
            return K::kDelete;
        case GDK_KEY_BackSpace:
            return K::kBackspace;
        case GDK_KEY_F2:
            return K::kF2;
        default:
            return K::kOther;
    }
}

ui::KeyStroke stroke_of(const GdkEventKey& e) {
    ui::KeyStroke stroke;
    stroke.name = key_name(e.keyval);
    stroke.shift = (e.state & GDK_SHIFT_MASK) || e.keyval == GDK_KEY_ISO_Left_Tab;
    stroke.ctrl = e.state & GDK_CONTROL_MASK;
    if (e.keyval >= GDK_KEY_0 && e.keyval <= GDK_KEY_9) {
        stroke.name = ui::KeyStroke::kDigit;
        stroke.digit = static_cast<int>(e.keyval - GDK_KEY_0);
    } else if (e.keyval >= GDK_KEY_KP_0 && e.keyval <= GDK_KEY_KP_9) {
        stroke.name = ui::KeyStroke::kDigit;
        stroke.digit = static_cast<int>(e.keyval - GDK_KEY_KP_0);
    }
    return stroke;
}

}  // namespace

GtkPointerInput::GtkPointerInput(GtkWidget* window, GtkWidget* canvas,
                                 ui::PointerDispatcher& dispatcher, const GtkInlineEditor& editor)
    : window_(window), canvas_(canvas), dispatcher_(dispatcher), editor_(editor) {
    g_signal_connect(canvas_, "button-press-event", G_CALLBACK(on_button), this);
    g_signal_connect(canvas_, "button-release-event", G_CALLBACK(on_button), this);
    g_signal_connect(canvas_, "motion-notify-event", G_CALLBACK(on_motion), this);
    g_signal_connect(canvas_, "scroll-event", G_CALLBACK(on_scroll), this);
    g_signal_connect(canvas_, "enter-notify-event", G_CALLBACK(on_crossing), this);
    g_signal_connect(canvas_, "leave-notify-event", G_CALLBACK(on_crossing), this);
    g_signal_connect(window_, "key-press-event", G_CALLBACK(on_key_press), this);
    g_signal_connect(window_, "key-release-event", G_CALLBACK(on_key_release), this);
}

GtkPointerInput::~GtkPointerInput() {
    g_signal_handlers_disconnect_by_data(canvas_, this);
    g_signal_handlers_disconnect_by_data(window_, this);
    if (active_cursor_)
        g_object_unref(active_cursor_);
    if (drag_cursor_)
        g_object_unref(drag_cursor_);
}

void GtkPointerInput::set_cursor(int mode) {
    if (mode == cursor_mode_)
        return;
    cursor_mode_ = mode;
    // The cursor pictures are made when first needed, not before the first frame.
    auto made = [this](GdkCursor*& cursor, int resource_id) {
        if (!cursor)
            cursor = cursor_from_resource(gtk_widget_get_display(window_), resource_id);
        return cursor;
    };
    GdkCursor* cursor = mode == ui::kActiveCursorMode ? made(active_cursor_, ui::kActiveCursor)
                        : mode == ui::kDragCursorMode ? made(drag_cursor_, ui::kDragCursor)
                                                      : nullptr;
    if (GdkWindow* w = gtk_widget_get_window(canvas_))
        gdk_window_set_cursor(w, cursor);
}

gboolean GtkPointerInput::on_button(GtkWidget*, GdkEventButton* e, gpointer data) {
    auto& self = *static_cast<GtkPointerInput*>(data);
    if (e->type != GDK_BUTTON_PRESS && e->type != GDK_BUTTON_RELEASE)
        return TRUE;  // double and triple clicks: the pointer logic counts presses itself
    const int bit = button_bit(e->button);
    if (!bit)
        return TRUE;
    const bool down = e->type == GDK_BUTTON_PRESS;
    const int x = static_cast<int>(e->x);
    const int y = static_cast<int>(e->y);
    if (down)
        self.buttons_ |= bit;
    else
        self.buttons_ &= ~bit;
    const bool move_window =
        down && bit == ui::kLeftButton && self.dispatcher_.widget_at(x, y) == nullptr;
    int mode = self.dispatcher_.pointer_event(bit, self.buttons_, x, y);
    if (move_window) {
        // A press on empty skin moves the window; the window manager takes the release.
        gtk_window_begin_move_drag(GTK_WINDOW(self.window_), static_cast<gint>(e->button),
                                   static_cast<gint>(e->x_root), static_cast<gint>(e->y_root),
                                   e->time);
        self.buttons_ &= ~bit;
        mode = self.dispatcher_.pointer_event(bit, self.buttons_, x, y);
    }
    self.set_cursor(mode);
    return TRUE;
}

gboolean GtkPointerInput::on_motion(GtkWidget*, GdkEventMotion* e, gpointer data) {
    auto& self = *static_cast<GtkPointerInput*>(data);
    self.pointer_inside_ = true;
    self.set_cursor(self.dispatcher_.pointer_event(0, self.buttons_, static_cast<int>(e->x),
                                                   static_cast<int>(e->y)));
    return TRUE;
}

gboolean GtkPointerInput::on_scroll(GtkWidget*, GdkEventScroll* e, gpointer data) {
    auto& self = *static_cast<GtkPointerInput*>(data);
    int notches = 0;
    switch (e->direction) {
        case GDK_SCROLL_UP:
            notches = -1;
            break;
        case GDK_SCROLL_DOWN:
            notches = 1;
            break;
        case GDK_SCROLL_SMOOTH:
            self.scroll_accumulated_ += e->delta_y;
            notches = static_cast<int>(self.scroll_accumulated_);
            self.scroll_accumulated_ -= notches;
            break;
        default:
            break;
    }
    if (notches != 0)
        self.dispatcher_.wheel_event(notches, static_cast<int>(e->x), static_cast<int>(e->y));
    return TRUE;
}

gboolean GtkPointerInput::on_crossing(GtkWidget*, GdkEventCrossing* e, gpointer data) {
    auto& self = *static_cast<GtkPointerInput*>(data);
    self.pointer_inside_ = e->type == GDK_ENTER_NOTIFY;
    if (e->type == GDK_LEAVE_NOTIFY && e->mode == GDK_CROSSING_NORMAL) {
        // Off the window: hover looks and the widget under the pointer go away.
        self.set_cursor(self.dispatcher_.pointer_event(0, self.buttons_, -1000, -1000));
    }
    return FALSE;
}

gboolean GtkPointerInput::on_key_press(GtkWidget*, GdkEventKey* e, gpointer data) {
    auto& self = *static_cast<GtkPointerInput*>(data);
    const ui::KeyStroke stroke = stroke_of(*e);
    if (self.editor_.visible() && stroke.name != ui::KeyStroke::kEnter &&
        stroke.name != ui::KeyStroke::kEscape)
        return FALSE;  // typing goes to the editor
    self.dispatcher_.keyboard().key(stroke);
    return TRUE;  // keys never reach GTK's default handling (no closing on Escape)
}

gboolean GtkPointerInput::on_key_release(GtkWidget*, GdkEventKey*, gpointer data) {
    auto& self = *static_cast<GtkPointerInput*>(data);
    return !self.editor_.visible();
}

}  // namespace zentrik::app
