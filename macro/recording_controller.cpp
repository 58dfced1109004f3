#include "macro/recording_controller.h"

#include "platform/raw_input.h"

namespace zentrik::macro {
namespace {

// What a source that hears only the program's own window (Wayland) lets the user record.
std::string own_window_note() {
    return lang::own_text("zk_rec_own_window",
                          "On Wayland only keys and clicks that go to this window are recorded.");
}

// What an X11 source on a Wayland desktop can record; the English default is the platform's.
std::string wayland_note() {
    return lang::own_text("zk_rec_wayland_x11_only", platform::kWaylandRecordingNote);
}

constexpr char kRecordIcon[] = "icon tool rec";
constexpr char kStopIcon[] = "icon tool stop";
constexpr char kRecordCheck[] = "record check";
constexpr char kEditor[] = "list macro edit";
constexpr int kRecordCheckCommand = 41;
constexpr int kRecordCommand = 210;
constexpr int kStopCommand = 211;
constexpr char kErrorText[] = "error";
constexpr int kFirstCaptureTool = 201;
constexpr int kLastCaptureTool = 205;
constexpr int kCaptureStateOffset = 199;

}  // namespace

void add_editor_step(ui::WidgetBoard& board, const std::vector<std::uint8_t>& code, bool append) {
    if (code.empty())
        return;
    const auto lock = board.lock();
    const int index =
        board.add_row(kEditor, 0, static_cast<std::uint32_t>(code.size()), code[0], 0, append);
    board.with_widget(kEditor, [&](ui::Widget& editor) {
        if (index < 0 || index >= static_cast<int>(editor.rows.size()))
            return;
        ui::ListItem& row = editor.rows[static_cast<std::size_t>(index)];
        row.payload.fill(0);
        for (std::size_t i = 1; i < code.size() && i <= row.payload.size(); ++i)
            row.payload[i - 1] = code[i];
    });
}

RecordingController::RecordingController(ui::WidgetBoard& board, const lang::StringTables& texts,
                                         RecordingHooks hooks)
    : board_(board), texts_(texts), hooks_(std::move(hooks)), recorder_(*this) {
    board_.set_checked(kRecordCheck, recorder_.record_pauses() ? 1 : 0);
}

void RecordingController::record_clicked() {
    if (recorder_.active())
        return;
    begin_input();
    if (hooks_.wayland_session && hooks_.wayland_session() && hooks_.show_message)
        hooks_.show_message(texts_.caption, wayland_note());
    if (own_window_only() && !own_window_note_shown_ && hooks_.show_message) {
        own_window_note_shown_ = true;
        hooks_.show_message(texts_.caption, own_window_note());
    }
    recorder_.start_recording(click_pending());
    show_recording_icons(true);
}

void RecordingController::stop_clicked() {
    recorder_.stop_recording();  // pointer input back on, input stopped
    show_recording_icons(false);
}

void RecordingController::capture_tool_clicked(int id) {
    if (id < kFirstCaptureTool || id > kLastCaptureTool || recorder_.active())
        return;
    begin_input();
    recorder_.start_capture(id - kCaptureStateOffset, click_pending());
}

void RecordingController::record_check_clicked() {
    recorder_.toggle_record_pauses();
    board_.set_checked(kRecordCheck, recorder_.record_pauses() ? 1 : 0);
}

void RecordingController::capture_tool_dropped(int id, const ui::Widget* target) {
    if (id < kFirstCaptureTool || id > kLastCaptureTool || recorder_.active())
        return;
    board_.with_widget(kEditor, [&](ui::Widget& editor) {
        if (&editor != target)
            return;
        if (editor.drop_row >= 0 && editor.drop_row < static_cast<int>(editor.rows.size()))
            editor.selected_row = editor.drop_row;
    });
    if (target != nullptr && target == board_.find_widget(kEditor))
        capture_tool_clicked(id);
}

void RecordingController::install_rows(const AddRow& add_row) {
    add_row(ui::kActionClick, kRecordCheckCommand,
            [this](const ui::WidgetEvent&) { record_check_clicked(); });
    add_row(ui::kActionClick, kRecordCommand, [this](const ui::WidgetEvent&) { record_clicked(); });
    add_row(ui::kActionClick, kStopCommand, [this](const ui::WidgetEvent&) { stop_clicked(); });
    for (int id = kFirstCaptureTool; id <= kLastCaptureTool; ++id) {
        add_row(ui::kActionClick, id,
                [this, id](const ui::WidgetEvent&) { capture_tool_clicked(id); });
        add_row(ui::kActionDrop, id,
                [this, id](const ui::WidgetEvent& e) { capture_tool_dropped(id, e.second); });
    }
}

void RecordingController::fill_overlay(ui::OverlayState& overlay) const {
    overlay.recording_state = recorder_.state();
    const int message = recording_panel_message(recorder_.state());
    overlay.recording_message = message >= 0 ? texts_.message(message) : std::string();
    if (message >= 0 && own_window_only())
        overlay.recording_message += "\n" + own_window_note();
}

void RecordingController::append_step(std::vector<std::uint8_t> code) {
    if (hooks_.append_step)
        hooks_.append_step(std::move(code));
    else
        add_editor_step(board_, code, true);
}

void RecordingController::insert_step_after_selected(std::vector<std::uint8_t> code) {
    if (hooks_.insert_after_selected)
        hooks_.insert_after_selected(std::move(code));
    else
        add_editor_step(board_, code, false);
}

bool RecordingController::pointer_on_stop_icon() const {
    // The pointer logic marks the widget under the pointer as hovered (1) or pressed (2).
    const auto lock = board_.lock();
    const ui::Widget* stop = board_.find_widget(kStopIcon);
    return stop != nullptr && stop->state != 0;
}

void RecordingController::set_pointer_input(bool live) {
    board_.live = live ? 1 : 0;
    if (live && !recorder_.active() && input_running_) {
        input_running_ = false;
        if (hooks_.stop_input)
            hooks_.stop_input();
    }
    board_.invalidate_all();
}

bool RecordingController::click_pending() const {
    return hooks_.left_button_held && hooks_.left_button_held();
}

void RecordingController::begin_input() {
    if (input_running_)
        return;
    // Recording goes on without input, as the user may still stop it; the user is told.
    input_running_ = hooks_.start_input && hooks_.start_input();
    if (!input_running_ && hooks_.show_message)
        hooks_.show_message(texts_.caption, kErrorText);
}

void RecordingController::show_recording_icons(bool recording) {
    board_.with_widget(kRecordIcon, [](ui::Widget& w) { w.state = 0; });
    board_.with_widget(kStopIcon, [](ui::Widget& w) { w.state = 0; });
    board_.set_enabled(kRecordIcon, recording ? 0 : 1);
    board_.set_enabled(kStopIcon, recording ? 1 : 0);
    board_.invalidate_all();
}

}  // namespace zentrik::macro
