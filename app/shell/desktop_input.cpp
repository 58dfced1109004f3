#include "app/shell/desktop_input.h"

#include "lang/string_tables.h"
#include "platform/raw_input.h"
#include "platform/window_raw_input.h"
#include "platform/window_system.h"
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
    hooks.wayland_session = [] { return platform::wayland_session(); };
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

    std::vector<std::string> errors;
    tilt::TiltRuleTable rules = tilt::load_tilt_rules(tilt::user_tilt_rule_file(), &errors);
    for (const std::string& error : errors)
        g_printerr("zentrik: %s\n", error.c_str());
    if (auto windows = platform::make_window_system()) {
        tilt_ = std::make_unique<tilt::TiltScroller>(std::move(windows), std::move(rules));
        tilt_->start();
        session_.set_tilt_listener([this] { tilt_->tilt(session_.take_tilt()); });
    }
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
