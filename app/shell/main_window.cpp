// The live window's wiring: the undecorated, shaped RGBA window with its board, painter and
// pointer input, the core session with its timers, dialogs, workers and device watch, the
// recording and tilt link, the single-instance messages, and the tray.
#include "app/shell/main_window.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/shell/accessible_board.h"
#include "app/shell/app_profile_link.h"
#include "app/shell/desktop_input.h"
#include "app/shell/desktop_notice.h"
#include "app/shell/device_watch.h"
#include "app/shell/first_frame.h"
#include "app/shell/gtk_board_owner.h"
#include "app/shell/gtk_dialogs.h"
#include "app/shell/gtk_inline_editor.h"
#include "app/shell/gtk_pointer_input.h"
#include "app/shell/gtk_timers.h"
#include "app/shell/main_loop_post.h"
#include "app/shell/skin_window.h"
#include "app/shell/start_helper.h"
#include "app/shell/startup_report.h"
#include "app/shell/tray_icon.h"
#include "app/shell/window_painter.h"
#include "core/macro_page.h"
#include "core/outside_changes.h"
#include "core/safety_copies.h"
#include "core/session.h"
#include "device/zklib.h"
#include "lang/string_tables.h"
#include "macro/macro_library.h"
#include "platform/instance_channel.h"
#include "platform/paths.h"
#include "ui/fonts.h"
#include "ui/input/clock.h"
#include "ui/input/pointer_dispatcher.h"
#include "ui/layout.h"
#include "ui/renderer.h"
#include "ui/widget_board.h"

namespace zentrik::app {
namespace {

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

class LiveWindow : public core::SessionShell {
  public:
    // The start helper's work (fonts, the frame's memory) is taken once the GtkWindow exists:
    // making the first window loads GTK's theme while the helper prepares them.
    LiveWindow(std::unique_ptr<platform::InstanceListener> listener, const WindowOptions& options,
               std::shared_ptr<platform::HidBackend> backend, StartHelper& start_helper,
               bool hidden);
    ~LiveWindow() override;

    void bring_forward();
    // The first showing of the window at start: its first picture is a finished page.
    void show_first_frame() {
        painter_->prepare_first_frame();
        bring_forward();
    }
    void hide_window() override { gtk_widget_hide(window_); }
    void minimise_window() override { gtk_window_iconify(GTK_WINDOW(window_)); }
    void start_finished() override { timing_->write_report(); }
    void mice_listed(const std::vector<std::string>& paths) override {
        post_to_main_loop([this, paths] {
            if (watch_)
                watch_->follow_mice(paths);
        });
    }
    GtkWidget* window() const { return window_; }
    const std::string& title() const { return build_.title; }
    // Ends the device work: no new dialogs, no timers, every worker waited for.
    void shut_down();
    // Ends the program (tray Exit, a "close" message, the window manager): the window and the
    // tray icon go at once, a running job finishes so the mouse's memory stays whole, then the
    // main loop ends. Meanwhile a new start hears that this instance is ending and waits.
    void end();
    // Run when the ending begins (the tray hides its icon).
    std::function<void()> on_ending;

  private:
    static gboolean on_instance_message(gint, GIOCondition, gpointer self);
    // The mice are looked for once the first frame is up, so the window never waits for them;
    // a hidden window has no frame to wait for and starts as soon as the main loop runs.
    void start_device_work();
    static gboolean start_device_work_now(gpointer self);
    void stop_timers();
    static gboolean quit_when_idle(gpointer self);
    void fill_overlay(ui::OverlayState& overlay) const;

    std::unique_ptr<platform::InstanceListener> listener_;
    GtkWidget* window_ = nullptr;
    GtkWidget* fixed_ = nullptr;
    GtkWidget* canvas_ = nullptr;
    BuildShell build_;
    ui::WidgetBoard board_;
    std::unique_ptr<GtkBoardOwner> owner_;
    std::unique_ptr<WindowPainter> painter_;
    GtkTimers timers_;
    ui::SteadyClock clock_;
    std::unique_ptr<GtkInlineEditor> editor_;
    std::unique_ptr<GtkDialogs> dialogs_;
    std::shared_ptr<AccountingTiming> timing_ = std::make_shared<AccountingTiming>();
    std::unique_ptr<device::zklib> lib_;
    core::Workers workers_;
    std::unique_ptr<core::Session> session_;
    std::unique_ptr<DeviceWatch> watch_;
    std::unique_ptr<DesktopInput> desktop_input_;   // recording and tilt scrolling
    std::unique_ptr<AppProfileLink> app_profiles_;  // per-program profiles, profile notes
    std::unique_ptr<core::MacroPage> macro_page_;
    std::string start_message_;
    std::unique_ptr<ui::PointerDispatcher> dispatcher_;
    std::unique_ptr<GtkPointerInput> pointer_input_;
    std::unique_ptr<AccessibleBoard> accessible_;
    guint watch_source_ = 0;
    guint start_source_ = 0;
    guint ending_source_ = 0;
    bool device_work_started_ = false;
    bool ending_ = false;
};

LiveWindow::LiveWindow(std::unique_ptr<platform::InstanceListener> listener,
                       const WindowOptions& options, std::shared_ptr<platform::HidBackend> backend,
                       StartHelper& start_helper, bool hidden)
    : listener_(std::move(listener)),
      build_(options.language),
      start_message_(options.start_message) {
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    start_helper.finish();
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
    painter_ = std::make_unique<WindowPainter>(window_, start_helper.take_frame());

    fixed_ = gtk_fixed_new();
    canvas_ = accessible_canvas_new();
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
    ui::Renderer& renderer =
        painter_->start(board_, canvas_, [this](ui::OverlayState& o) { fill_overlay(o); });

    dialogs_ = std::make_unique<GtkDialogs>(win);
    lib_ = std::make_unique<device::zklib>(backend, timing_);
    session_ = std::make_unique<core::Session>(
        core::SessionParts{board_, *lib_, timers_, *dialogs_, workers_, *this, post_to_main_loop});
    // What this window wrote, the other running windows of the user read again (each has a
    // channel of its own; this one's is left out). On a worker of its own: a window that is
    // slow to answer never holds up the next write.
    session_->tell_others = [this](const core::OutsideChange& change) {
        workers_.start([text = core::encode_outside_change(change)] {
            platform::InstanceChannel(platform::default_instance_name())
                .deliver_to_every_running(platform::InstanceMessage::kMouseChanged, text, true);
        });
    };
    watch_ = std::make_unique<DeviceWatch>(*backend, *session_);
    desktop_input_ = std::make_unique<DesktopInput>(window_, board_, *session_, *dialogs_);
    // The macro page saves a copy of the whole mouse before it rewrites the memory.
    macro_page_ = std::make_unique<core::MacroPage>(*session_, [this] {
        device::_DEVICE_ mouse = session_->model().snapshot().device;
        mouse.path = session_->selected_path();
        mouse.memory_size = session_->model().snapshot().memory_size;
        return core::save_safety_copy(*lib_, mouse, session_->progress());
    });
    macro_page_->set_library(
        macro::load_library(platform::config_file_directory("macro library.ini")));
    macro_page_->install_paint_hooks(renderer.hooks());
    dispatcher_ =
        std::make_unique<ui::PointerDispatcher>(board_, *session_, clock_, &timers_, editor_.get());
    pointer_input_ = std::make_unique<GtkPointerInput>(window_, canvas_, *dispatcher_, *editor_);
    accessible_ = std::make_unique<AccessibleBoard>(canvas_, board_, dispatcher_->keyboard(),
                                                    renderer.hooks(), session_->progress_overlay());
    dispatcher_->set_foreground([this] {
        return gtk_window_is_active(GTK_WINDOW(window_)) || pointer_input_->pointer_inside();
    });
    if (options.page) {
        // A development view of one page: no mouse is looked for.
        session_->preview_page(*options.page);
    } else {
        session_->show_page(ui::kPageDevices);
        app_profiles_ = std::make_unique<AppProfileLink>(
            *session_, [this] { return gtk_widget_get_visible(window_) != FALSE; });
        after_first_frame(window_, [this] { start_device_work(); });
        if (hidden)
            start_source_ = g_idle_add(start_device_work_now, this);
    }

    // The window manager's close request ends the program.
    g_signal_connect(window_, "delete-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer self) -> gboolean {
                         static_cast<LiveWindow*>(self)->end();
                         return TRUE;
                     }),
                     this);

    gtk_widget_show_all(fixed_);  // the editor's entry stays hidden (no-show-all)
    apply_window_shape(window_, build_.shape);
    if (listener_)  // none when the channel could not be set up
        watch_source_ = g_unix_fd_add(listener_->fd(), G_IO_IN, on_instance_message, this);
}

void LiveWindow::stop_timers() {
    for (int id : {core::kTimerPoll, core::kTimerProfileReload, core::kTimerDpiX, core::kTimerDpiY,
                   core::kTimerCommit, core::kTimerListing, core::kTimerRate, core::kTimerWheel})
        timers_.stop(id);
}

void LiveWindow::shut_down() {
    dialogs_->shut_down();
    stop_timers();
    // A worker on a dead mouse ends within the transport's retry limits.
    workers_.wait_all();
}

void LiveWindow::end() {
    if (std::exchange(ending_, true))
        return;
    if (listener_)
        listener_->announce_ending();
    if (on_ending)
        on_ending();
    gtk_widget_hide(window_);
    dialogs_->shut_down();
    stop_timers();
    // The main loop keeps running meanwhile: a job's worker may still post to it.
    ending_source_ = g_timeout_add(50, quit_when_idle, this);
}

gboolean LiveWindow::quit_when_idle(gpointer data) {
    auto& self = *static_cast<LiveWindow*>(data);
    // Work a finishing job posted may have armed a timer again.
    self.stop_timers();
    if (self.workers_.running() > 0)
        return G_SOURCE_CONTINUE;
    self.ending_source_ = 0;
    gtk_main_quit();
    return G_SOURCE_REMOVE;
}

gboolean LiveWindow::start_device_work_now(gpointer data) {
    auto& self = *static_cast<LiveWindow*>(data);
    self.start_source_ = 0;
    self.start_device_work();
    return G_SOURCE_REMOVE;
}

void LiveWindow::start_device_work() {
    // Whichever comes first, the hidden start or the first frame, starts it once.
    if (std::exchange(device_work_started_, true))
        return;
    session_->start();
    if (!start_message_.empty())
        dialogs_->message(title(), std::exchange(start_message_, {}));
}

LiveWindow::~LiveWindow() {
    shut_down();
    if (watch_source_)
        g_source_remove(watch_source_);
    if (start_source_)
        g_source_remove(start_source_);
    accessible_.reset();
    if (ending_source_)
        g_source_remove(ending_source_);
    pointer_input_.reset();
    dispatcher_.reset();  // stops the animation timer
    desktop_input_.reset();
    app_profiles_.reset();
    macro_page_.reset();
    watch_.reset();
    session_.reset();
    editor_.reset();
    board_.set_owner(nullptr);
    gtk_widget_destroy(window_);
}

void LiveWindow::bring_forward() {
    gtk_widget_show(window_);
    gtk_window_deiconify(GTK_WINDOW(window_));
    gtk_window_present(GTK_WINDOW(window_));
}

gboolean LiveWindow::on_instance_message(gint, GIOCondition, gpointer data) {
    auto& self = *static_cast<LiveWindow*>(data);
    if (auto message = self.listener_->receive()) {
        if (*message == platform::InstanceMessage::kClose) {
            self.end();
        } else if (*message == platform::InstanceMessage::kMouseChanged) {
            // Another program changed a mouse: the window reads again what it changed.
            if (const auto change = core::decode_outside_change(self.listener_->received_text()))
                core::follow_outside_change(*self.session_, *change);
        } else {
            self.bring_forward();
        }
    }
    return G_SOURCE_CONTINUE;
}

void LiveWindow::fill_overlay(ui::OverlayState& overlay) const {
    overlay.editor_visible = editor_->visible();
    overlay.progress = &session_->progress_overlay();
    overlay.guide_mode = session_->drag_source_kind();
    desktop_input_->fill_overlay(overlay);
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
    LiveWindow live(std::move(listener), window_options, backend, start_helper, options.hide);
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
            TrayActions{[&live] { live.bring_forward(); }, [&live] { live.end(); }});
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
    live.on_ending = [&tray] {
        tray.told = true;  // no "keeps running" notice as the window goes
        if (tray.icon)
            tray.icon->hide();
    };
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
                // Only the notice: a hidden start stays hidden.
                auto* t = static_cast<TipData*>(d);
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
