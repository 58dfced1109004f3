#include "app/shell/desktop_input.h"

#include "app/shell/desktop_notice.h"
#include "app/shell/first_frame.h"
#include "lang/string_tables.h"
#include "platform/raw_input.h"
#include "platform/window_raw_input.h"
#include "platform/window_system.h"
#include "tilt/tilt_output_lock.h"
#include "tilt/tilt_rule_file.h"

namespace zentrik::app {

DesktopInput::DesktopInput(GtkWidget* window, ui::WidgetBoard& board, core::Session& session,
                           ui::Dialogs& dialogs)
    : session_(session), raw_(platform::make_window_raw_input_source(window)) {
    macro::RecordingHooks hooks;
    hooks.start_input = [this] { return start_input(); };
    hooks.stop_input = [this] { stop_input(); };
    hooks.show_message = [&dialogs](const std::string& caption, const std::string& text) {
        dialogs.message(caption, text);
    };
    // On XWayland the X11 source hears X11 programs only; a native Wayland window hears itself.
    hooks.own_window_only = [this] { return raw_ && raw_->hears_only_own_window(); };
    hooks.wayland_session = [this] {
        return platform::wayland_session() && !(raw_ && raw_->hears_only_own_window());
    };
    hooks.left_button_held = [window] {
        GdkWindow* gdk_window = gtk_widget_get_window(window);
        GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(window));
        GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
        if (!gdk_window || !pointer)
            return false;
        GdkModifierType mask{};
        gdk_device_get_state(pointer, gdk_window, nullptr, &mask);
        return (mask & GDK_BUTTON1_MASK) != 0;
    };
    recording_ =
        std::make_unique<macro::RecordingController>(board, lang::strings(), std::move(hooks));
    recording_->install_rows(
        [&session](int action, int id, auto row) { session.add_row(action, id, std::move(row)); });

    start_tilt_scrolling(window);
}

void DesktopInput::start_tilt_scrolling(GtkWidget* window) {
    std::vector<std::string> errors;
    tilt::TiltRuleTable rules = tilt::load_shipped_and_user_tilt_rules(&errors);
    for (const std::string& error : errors)
        g_printerr("zentrik: %s\n", error.c_str());
    auto windows = platform::make_window_system();
    if (platform::wayland_session() &&
        (!windows || windows->reach() != platform::ScrollReach::kEveryProgram)) {
        // Said once a start, after the first frame (the notice library is loaded then).
        const char* title = gtk_window_get_title(GTK_WINDOW(window));
        after_first_frame(window, [title = std::string(title ? title : "")] {
            show_desktop_notice(title, lang::own_text("zk_tilt_uinput",
                                                      "Tilt scrolling reaches only X11 programs: "
                                                      "/dev/uinput cannot be opened. Install the "
                                                      "program's udev rule 71-zentrik-uinput.rules "
                                                      "and log in again."));
        });
    }
    if (!windows)
        return;
    std::string lock_error;
    auto output = tilt::open_tilt_output_lock(windows->desktop(), lock_error);
    if (!output)  // scrolls anyway: a second scroll per tilt is better than none
        g_printerr("zentrik: %s\n", lock_error.c_str());
    tilt_ = std::make_unique<tilt::TiltScroller>(std::move(windows), std::move(rules),
                                                 std::move(output));
    tilt_->start();
    session_.set_tilt_listener([this] { tilt_->tilt(session_.take_tilt()); });
}

DesktopInput::~DesktopInput() {
    session_.set_tilt_listener({});
    tilt_.reset();  // joins the thread
    stop_input();
}

bool DesktopInput::start_input() {
    return raw_ && raw_->start(recording_->input());
}

void DesktopInput::stop_input() {
    if (raw_)
        raw_->stop();
}

}  // namespace zentrik::app
