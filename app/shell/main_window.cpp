// The live window: the renderer's frames in an undecorated, shaped RGBA window, with pointer
// and key events handed to the pointer logic in window coordinates.
#include "app/shell/main_window.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/shell/desktop_input.h"
#include "app/shell/desktop_notice.h"
#include "app/shell/device_watch.h"
#include "app/shell/first_frame.h"
#include "app/shell/gtk_dialogs.h"
#include "app/shell/gtk_inline_editor.h"
#include "app/shell/gtk_timers.h"
#include "app/shell/main_loop_post.h"
#include "app/shell/shared_frame.h"
#include "app/shell/skin_window.h"
#include "app/shell/start_helper.h"
#include "app/shell/tray_icon.h"
#include "device/zklib.h"
#include "lang/string_tables.h"
#include "macro/macro_library.h"
#include "platform/paths.h"
#include "settings/macro_page.h"
#include "settings/safety_copies.h"
#include "settings/session.h"
#include "ui/fonts.h"
#include "ui/input/clock.h"
#include "ui/input/pointer_dispatcher.h"
#include "ui/layout.h"
#include "ui/renderer.h"
#include "ui/widget_board.h"

namespace zentrik::app {
namespace {

// Invalidated rectangles become queued draws of the picture. Other threads' rectangles are
// handed to the main loop first.
class GtkBoardOwner : public ui::BoardOwner {
  public:
    explicit GtkBoardOwner(GtkWidget* canvas) : canvas_(canvas) {}
    ~GtkBoardOwner() override {
        std::lock_guard lock(mutex_);
        if (idle_)
            g_source_remove(idle_);
    }

    void invalidate(const ui::Rect& r) override {
        if (std::this_thread::get_id() == main_thread_) {
            queue(r);
            return;
        }
        std::lock_guard lock(mutex_);
        pending_.push_back(r);
        if (!idle_)
            idle_ = g_idle_add(&GtkBoardOwner::flush, this);
    }

  private:
    void queue(const ui::Rect& r) {
        if (!r.empty())
            gtk_widget_queue_draw_area(canvas_, r.left, r.top, r.width(), r.height());
    }
    static gboolean flush(gpointer data) {
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

    GtkWidget* canvas_;
    const std::thread::id main_thread_ = std::this_thread::get_id();
    std::mutex mutex_;
    std::vector<ui::Rect> pending_;
    guint idle_ = 0;
};

// What the layout tells the window while it is built.
struct BuildShell : ui::WindowShell {
    explicit BuildShell(lang::LanguageSources sources) : language(std::move(sources)) {}
    lang::LanguageSources language;
    std::string title = "Zentrik Mouse  Rev 1.0";
    ui::Region shape;
    void load_language() override { lang::load_language(language); }
    void set_title(const std::string& t) override { title = t; }
    void set_window_shape(const ui::Region& s) override { shape = s; }
};

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

ui::Key key_of(guint keyval) {
    switch (keyval) {
        case GDK_KEY_Up:
        case GDK_KEY_KP_Up:
            return ui::Key::kUp;
        case GDK_KEY_Down:
        case GDK_KEY_KP_Down:
            return ui::Key::kDown;
        case GDK_KEY_Delete:
        case GDK_KEY_KP_Delete:
            return ui::Key::kDelete;
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
        case GDK_KEY_ISO_Enter:
            return ui::Key::kEnter;
        case GDK_KEY_Escape:
            return ui::Key::kEscape;
        case GDK_KEY_Page_Up:
            return ui::Key::kPageUp;
        case GDK_KEY_Page_Down:
            return ui::Key::kPageDown;
        case GDK_KEY_Home:
            return ui::Key::kHome;
        case GDK_KEY_End:
            return ui::Key::kEnd;
        default:
            return ui::Key::kOther;
    }
}

class LiveWindow : public settings::SessionShell {
  public:
    // The start helper's work (fonts, the frame's memory) is taken once the GtkWindow exists:
    // making the first window loads GTK's theme while the helper prepares them.
    LiveWindow(std::unique_ptr<platform::InstanceListener> listener, const WindowOptions& options,
               std::shared_ptr<platform::HidBackend> backend, StartHelper& start_helper);
    ~LiveWindow() override;

    void bring_forward();
    // The first showing of the window at start: its first picture is a finished page.
    void show_first_frame();
    void hide_window() override { gtk_widget_hide(window_); }
    void minimise_window() override { gtk_window_iconify(GTK_WINDOW(window_)); }
    void selected_mouse_changed(const std::string& path) override {
        post_to_main_loop([this, path] {
            if (watch_)
                watch_->follow_mouse(path);
        });
    }
    GtkWidget* window() const { return window_; }
    const std::string& title() const { return build_.title; }
    // Ends the device work: no new dialogs, no timers, every worker waited for.
    void shut_down();

  private:
    static gboolean on_draw(GtkWidget*, cairo_t* cr, gpointer self);
    static gboolean on_button(GtkWidget*, GdkEventButton* e, gpointer self);
    static gboolean on_motion(GtkWidget*, GdkEventMotion* e, gpointer self);
    static gboolean on_scroll(GtkWidget*, GdkEventScroll* e, gpointer self);
    static gboolean on_crossing(GtkWidget*, GdkEventCrossing* e, gpointer self);
    static gboolean on_key_press(GtkWidget*, GdkEventKey* e, gpointer self);
    static gboolean on_key_release(GtkWidget*, GdkEventKey* e, gpointer self);
    static gboolean on_instance_message(gint, GIOCondition, gpointer self);
    // The mice are looked for once the first frame is up, so the window never waits for them.
    void start_device_work();
    void set_cursor(int mode);
    cairo_surface_t* compose_frame();

    std::unique_ptr<platform::InstanceListener> listener_;
    GtkWidget* window_ = nullptr;
    GtkWidget* fixed_ = nullptr;
    GtkWidget* canvas_ = nullptr;
    BuildShell build_;
    ui::WidgetBoard board_;
    std::unique_ptr<GtkBoardOwner> owner_;
    std::unique_ptr<SharedFrame> shared_frame_;  // before the renderer, which composes into it
    std::unique_ptr<ui::Renderer> renderer_;
    GtkTimers timers_;
    ui::SteadyClock clock_;
    std::unique_ptr<GtkInlineEditor> editor_;
    std::unique_ptr<GtkDialogs> dialogs_;
    std::unique_ptr<device::zklib> lib_;
    settings::Workers workers_;
    std::unique_ptr<settings::Session> session_;
    std::unique_ptr<DeviceWatch> watch_;
    std::unique_ptr<DesktopInput> desktop_input_;  // recording and tilt scrolling
    std::unique_ptr<settings::MacroPage> macro_page_;
    std::string start_message_;
    std::unique_ptr<ui::PointerDispatcher> dispatcher_;
    GdkCursor* active_cursor_ = nullptr;
    GdkCursor* drag_cursor_ = nullptr;
    int cursor_mode_ = ui::kArrowCursor;
    int buttons_ = 0;
    bool pointer_inside_ = false;
    double scroll_accumulated_ = 0;
    guint watch_source_ = 0;
};

LiveWindow::LiveWindow(std::unique_ptr<platform::InstanceListener> listener,
                       const WindowOptions& options, std::shared_ptr<platform::HidBackend> backend,
                       StartHelper& start_helper)
    : listener_(std::move(listener)),
      build_(options.language),
      start_message_(options.start_message) {
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    start_helper.finish();
    shared_frame_ = start_helper.take_frame();
    GtkWindow* win = GTK_WINDOW(window_);
    gtk_window_set_decorated(win, FALSE);
    gtk_window_set_resizable(win, FALSE);
    gtk_window_set_position(win, GTK_WIN_POS_CENTER);
    gtk_widget_set_app_paintable(window_, TRUE);
    if (GdkVisual* rgba = gdk_screen_get_rgba_visual(gtk_widget_get_screen(window_)))
        gtk_widget_set_visual(window_, rgba);

    // The window exists on the server before the pages are built, so the server maps the
    // frame's memory while this thread lays the pages out. (Having the server also read every
    // page then, by a copy of the frame onto itself, made the start slower: the first frame
    // waited for that copy.)
    gtk_widget_set_size_request(window_, ui::kWindowWidth, ui::kWindowHeight);
    gtk_widget_realize(window_);
    if (shared_frame_ && !shared_frame_->attach(window_))
        shared_frame_.reset();

    fixed_ = gtk_fixed_new();
    canvas_ = gtk_drawing_area_new();
    gtk_widget_set_size_request(canvas_, ui::kWindowWidth, ui::kWindowHeight);
    gtk_widget_set_can_focus(canvas_, TRUE);
    gtk_widget_add_events(canvas_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                       GDK_POINTER_MOTION_MASK | GDK_SCROLL_MASK |
                                       GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK);
    gtk_fixed_put(GTK_FIXED(fixed_), canvas_, 0, 0);
    gtk_container_add(GTK_CONTAINER(window_), fixed_);

    owner_ = std::make_unique<GtkBoardOwner>(canvas_);
    editor_ = std::make_unique<GtkInlineEditor>(fixed_, timers_);
    ui::build_main_window(board_, owner_.get(), build_);
    gtk_window_set_title(win, build_.title.c_str());
    renderer_ = std::make_unique<ui::Renderer>(board_);
    // A frame in memory the X server can read shows without another copy of it.
    renderer_->set_frame_factory([this](int width, int height) -> cairo_surface_t* {
        if (shared_frame_)
            return cairo_surface_reference(shared_frame_->image());
        GdkWindow* target = gtk_widget_get_window(canvas_);
        return target ? gdk_window_create_similar_image_surface(target, CAIRO_FORMAT_ARGB32, width,
                                                                height, 1)
                      : nullptr;
    });

    dialogs_ = std::make_unique<GtkDialogs>(win);
    lib_ = std::make_unique<device::zklib>(backend, device::make_system_timing());
    session_ = std::make_unique<settings::Session>(settings::SessionParts{
        board_, *lib_, timers_, *dialogs_, workers_, *this, post_to_main_loop});
    watch_ = std::make_unique<DeviceWatch>(*backend, *session_);
    desktop_input_ = std::make_unique<DesktopInput>(window_, board_, *session_, *dialogs_);
    // The macro page saves a copy of the whole mouse before it rewrites the memory.
    macro_page_ = std::make_unique<settings::MacroPage>(*session_, [this] {
        device::_DEVICE_ mouse = session_->model().snapshot().device;
        mouse.path = session_->selected_path();
        mouse.memory_size = session_->model().snapshot().memory_size;
        return settings::save_safety_copy(*lib_, mouse, session_->progress());
    });
    macro_page_->set_library(
        macro::load_library(platform::config_file_directory("macro library.ini")));
    macro_page_->install_paint_hooks(renderer_->hooks());
    dispatcher_ =
        std::make_unique<ui::PointerDispatcher>(board_, *session_, clock_, &timers_, editor_.get());
    dispatcher_->set_foreground(
        [this] { return gtk_window_is_active(GTK_WINDOW(window_)) || pointer_inside_; });
    if (options.page) {
        // A development view of one page: no mouse is looked for.
        session_->preview_page(*options.page);
    } else {
        session_->show_page(ui::kPageDevices);
        after_first_frame(window_, [this] { start_device_work(); });
    }

    g_signal_connect(canvas_, "draw", G_CALLBACK(on_draw), this);
    g_signal_connect(canvas_, "button-press-event", G_CALLBACK(on_button), this);
    g_signal_connect(canvas_, "button-release-event", G_CALLBACK(on_button), this);
    g_signal_connect(canvas_, "motion-notify-event", G_CALLBACK(on_motion), this);
    g_signal_connect(canvas_, "scroll-event", G_CALLBACK(on_scroll), this);
    g_signal_connect(canvas_, "enter-notify-event", G_CALLBACK(on_crossing), this);
    g_signal_connect(canvas_, "leave-notify-event", G_CALLBACK(on_crossing), this);
    g_signal_connect(window_, "key-press-event", G_CALLBACK(on_key_press), this);
    g_signal_connect(window_, "key-release-event", G_CALLBACK(on_key_release), this);
    // The window manager's close request ends the program.
    g_signal_connect(window_, "delete-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer) -> gboolean {
                         gtk_main_quit();
                         return TRUE;
                     }),
                     nullptr);

    gtk_widget_show_all(fixed_);  // the editor's entry stays hidden (no-show-all)
    apply_window_shape(window_, build_.shape);
    watch_source_ = g_unix_fd_add(listener_->fd(), G_IO_IN, on_instance_message, this);
}

void LiveWindow::shut_down() {
    dialogs_->shut_down();
    for (int id : {settings::kTimerPoll, settings::kTimerProfileReload, settings::kTimerDpiX,
                   settings::kTimerDpiY, settings::kTimerCommit, settings::kTimerListing,
                   settings::kTimerRate, settings::kTimerWheel})
        timers_.stop(id);
    // A worker on a dead mouse ends within the transport's retry limits.
    workers_.wait_all();
}

void LiveWindow::start_device_work() {
    session_->start();
    if (!start_message_.empty())
        dialogs_->message(title(), std::exchange(start_message_, {}));
}

LiveWindow::~LiveWindow() {
    shut_down();
    if (watch_source_)
        g_source_remove(watch_source_);
    dispatcher_.reset();  // stops the animation timer
    desktop_input_.reset();
    macro_page_.reset();
    watch_.reset();
    session_.reset();
    editor_.reset();
    board_.set_owner(nullptr);
    gtk_widget_destroy(window_);
    if (active_cursor_)
        g_object_unref(active_cursor_);
    if (drag_cursor_)
        g_object_unref(drag_cursor_);
}

void LiveWindow::bring_forward() {
    gtk_widget_show(window_);
    gtk_window_deiconify(GTK_WINDOW(window_));
    gtk_window_present(GTK_WINDOW(window_));
}

gboolean LiveWindow::on_instance_message(gint, GIOCondition, gpointer data) {
    auto& self = *static_cast<LiveWindow*>(data);
    if (auto message = self.listener_->receive()) {
        if (*message == platform::InstanceMessage::kClose)
            gtk_main_quit();
        else
            self.bring_forward();
    }
    return G_SOURCE_CONTINUE;
}

cairo_surface_t* LiveWindow::compose_frame() {
    ui::OverlayState overlay;
    overlay.editor_visible = editor_->visible();
    overlay.progress = &session_->progress_overlay();
    overlay.guide_mode = session_->drag_source_kind();
    desktop_input_->fill_overlay(overlay);
    if (shared_frame_)
        shared_frame_->wait_until_read();
    return renderer_->compose(overlay);
}

void LiveWindow::show_first_frame() {
    // Composed before the window maps and made its background: the server shows the finished
    // page as it maps the window, without waiting for the toolkit's first paint.
    if (shared_frame_ && compose_frame() == shared_frame_->image()) {
        shared_frame_->set_as_background(window_);
        // From the first paint on, the window's own paints cover exposed parts; a stale
        // background would flash there first.
        after_first_frame(window_, [this] { shared_frame_->clear_background(window_); });
    }
    bring_forward();
}

gboolean LiveWindow::on_draw(GtkWidget*, cairo_t* cr, gpointer data) {
    auto& self = *static_cast<LiveWindow*>(data);
    cairo_surface_t* frame = self.compose_frame();
    // Only the invalidated area is clipped in; the frame's alpha replaces what was there.
    if (self.shared_frame_ && frame == self.shared_frame_->image()) {
        self.shared_frame_->show(cr);
    } else {
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, frame, 0, 0);
        cairo_paint(cr);
    }
    return FALSE;
}

void LiveWindow::set_cursor(int mode) {
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

gboolean LiveWindow::on_button(GtkWidget*, GdkEventButton* e, gpointer data) {
    auto& self = *static_cast<LiveWindow*>(data);
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
        down && bit == ui::kLeftButton && self.dispatcher_->widget_at(x, y) == nullptr;
    int mode = self.dispatcher_->pointer_event(bit, self.buttons_, x, y);
    if (move_window) {
        // A press on empty skin moves the window; the window manager takes the release.
        gtk_window_begin_move_drag(GTK_WINDOW(self.window_), static_cast<gint>(e->button),
                                   static_cast<gint>(e->x_root), static_cast<gint>(e->y_root),
                                   e->time);
        self.buttons_ &= ~bit;
        mode = self.dispatcher_->pointer_event(bit, self.buttons_, x, y);
    }
    self.set_cursor(mode);
    return TRUE;
}

gboolean LiveWindow::on_motion(GtkWidget*, GdkEventMotion* e, gpointer data) {
    auto& self = *static_cast<LiveWindow*>(data);
    self.pointer_inside_ = true;
    self.set_cursor(self.dispatcher_->pointer_event(0, self.buttons_, static_cast<int>(e->x),
                                                    static_cast<int>(e->y)));
    return TRUE;
}

gboolean LiveWindow::on_scroll(GtkWidget*, GdkEventScroll* e, gpointer data) {
    auto& self = *static_cast<LiveWindow*>(data);
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
        self.dispatcher_->wheel_event(notches, static_cast<int>(e->x), static_cast<int>(e->y));
    return TRUE;
}

gboolean LiveWindow::on_crossing(GtkWidget*, GdkEventCrossing* e, gpointer data) {
    auto& self = *static_cast<LiveWindow*>(data);
    self.pointer_inside_ = e->type == GDK_ENTER_NOTIFY;
    if (e->type == GDK_LEAVE_NOTIFY && e->mode == GDK_CROSSING_NORMAL) {
        // Off the window: hover looks and the widget under the pointer go away.
        self.set_cursor(self.dispatcher_->pointer_event(0, self.buttons_, -1000, -1000));
    }
    return FALSE;
}

gboolean LiveWindow::on_key_press(GtkWidget*, GdkEventKey* e, gpointer data) {
    auto& self = *static_cast<LiveWindow*>(data);
    const ui::Key key = key_of(e->keyval);
    if (self.editor_->visible()) {
        if (key == ui::Key::kEnter || key == ui::Key::kEscape) {
            self.dispatcher_->key_event(key);
            return TRUE;
        }
        return FALSE;  // typing goes to the editor
    }
    if (key != ui::Key::kOther && key != ui::Key::kEnter && key != ui::Key::kEscape)
        self.dispatcher_->key_event(key);
    return TRUE;  // keys never reach default handling: Escape and Enter do nothing
}

gboolean LiveWindow::on_key_release(GtkWidget*, GdkEventKey*, gpointer data) {
    auto& self = *static_cast<LiveWindow*>(data);
    return !self.editor_->visible();
}

}  // namespace

int run_main_window(const StartOptions& options,
                    std::unique_ptr<platform::InstanceListener> listener,
                    const WindowOptions& window_options) {
    // The font table registers its faces before GTK opens any font, so the window draws the
    // same faces as the headless render (GTK opens none before the window is built: the inline
    // editor's entry and the tray icon come later). The helper prepares the fonts and the
    // frame's memory while GTK connects to the display and loads its theme.
    StartHelper start_helper;
    if (!gtk_init_check(nullptr, nullptr)) {
        g_printerr("zentrik: cannot open the display\n");
        return 1;
    }
    std::shared_ptr<platform::HidBackend> backend = window_options.backend;
    LiveWindow live(std::move(listener), window_options, backend, start_helper);
    const lang::StringTables& texts = lang::strings();
    struct TrayState {
        std::unique_ptr<TrayIcon> icon;
        std::string title;
        bool told = false;
    } tray{nullptr, live.title()};
    auto add_tray = [&live, &tray, &texts] {
        tray.icon = std::make_unique<TrayIcon>(
            live.title(), texts.menu_texts[lang::kMenuTrayRestore],
            texts.menu_texts[lang::kMenuTrayExit],
            TrayActions{[&live] { live.bring_forward(); }, [] { gtk_main_quit(); }});
        tray.icon->set_window_visible(gtk_widget_get_visible(live.window()));
    };
    g_signal_connect(live.window(), "show", G_CALLBACK(+[](GtkWidget*, gpointer t) {
                         if (auto& icon = static_cast<TrayState*>(t)->icon)
                             icon->set_window_visible(true);
                     }),
                     &tray);
    g_signal_connect(live.window(), "hide", G_CALLBACK(+[](GtkWidget*, gpointer t) {
                         auto* state = static_cast<TrayState*>(t);
                         if (state->icon)
                             state->icon->set_window_visible(false);
                         // Without a tray icon to click, say how to get the window back.
                         if (!state->told && (!state->icon || !state->icon->shown_in_panel())) {
                             state->told = true;
                             show_desktop_notice(state->title,
                                                 "Zentrik keeps running. Start it again to "
                                                 "show its window.");
                         }
                     }),
                     &tray);
    if (options.hide) {
        add_tray();
    } else {
        // The tray icon comes after the first frame: it does not delay the window.
        after_first_frame(live.window(), add_tray);
        live.show_first_frame();
    }
    struct TipData {
        LiveWindow* live;
    } tip{&live};
    if (options.showtip)
        g_timeout_add(
            1000,
            +[](gpointer d) -> gboolean {
                auto* t = static_cast<TipData*>(d);
                t->live->bring_forward();
                show_desktop_notice(t->live->title(), " ");
                return G_SOURCE_REMOVE;
            },
            &tip);
    gtk_main();
    live.shut_down();
    g_signal_handlers_disconnect_by_data(live.window(), &tray);
    return 0;
}

}  // namespace zentrik::app
