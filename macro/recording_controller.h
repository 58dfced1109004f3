#pragma once
// The recording tools of the macro page on the widget board: the record and stop icons, the
// capture tools, the "record check" box and the recording overlay, around one Recorder.
//
// The window thread calls everything here. The input source is started when a recording or a
// capture begins and stopped when it ends, so the desktop's keys and moves are not heard (nor
// wake the program) otherwise.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "lang/string_tables.h"
#include "macro/recorder.h"
#include "ui/input/widget_event.h"
#include "ui/renderer.h"
#include "ui/widget_board.h"

namespace zentrik::macro {

struct RecordingHooks {
    // The editor's row operations ("list macro edit"): a new last row; a row after the selected
    // one, which becomes the selected row. Empty: add_editor_step below.
    std::function<void(std::vector<std::uint8_t>)> append_step{};
    std::function<void(std::vector<std::uint8_t>)> insert_after_selected{};
    // Start or stop the input source that feeds input(); start gives false when it cannot hear.
    std::function<bool()> start_input{};
    std::function<void()> stop_input{};
    // A message box (caption, text): "error" when the input cannot be heard, the Wayland note.
    std::function<void(const std::string&, const std::string&)> show_message{};
    // Whether the left button is still held: the release of the click that started a recording
    // or a capture is then still to come and is not recorded. Empty: the click is complete (the
    // tools act on the release).
    std::function<bool()> left_button_held{};
    // Whether the session is a Wayland one (only X11 windows' input is heard).
    std::function<bool()> wayland_session{};
    // Whether the input source hears only the program's own window (a native Wayland window):
    // the panel says so under its message, and the first recording start says it in a box.
    std::function<bool()> own_window_only{};
};

// One instruction's bytes as an editor row: appended, or after the selected row (which it
// becomes); offsets are recomputed.
void add_editor_step(ui::WidgetBoard& board, const std::vector<std::uint8_t>& code, bool append);

class RecordingController final : private RecorderSink {
  public:
    RecordingController(ui::WidgetBoard& board, const lang::StringTables& texts,
                        RecordingHooks hooks);

    // What the input source delivers to.
    platform::RawInputSink& input() { return recorder_; }
    const Recorder& recorder() const { return recorder_; }

    void record_clicked();              // "icon tool rec" (210)
    void stop_clicked();                // "icon tool stop" (211)
    void capture_tool_clicked(int id);  // "icon tool 1" to "icon tool 5" (201-205)
    void record_check_clicked();        // "record check" (41)
    // A capture tool dropped on the editor: the drop row becomes the selected row first.
    void capture_tool_dropped(int id, const ui::Widget* target);

    // Adds the command rows of the tools above (click 41, 201-205, 210, 211; drop 201-205)
    // through the command handler's row table.
    using AddRow =
        std::function<void(int action, int id, std::function<void(const ui::WidgetEvent&)>)>;
    void install_rows(const AddRow& add_row);

    // The recording state and panel message for the painter.
    void fill_overlay(ui::OverlayState& overlay) const;

  private:
    void append_step(std::vector<std::uint8_t> code) override;
    void insert_step_after_selected(std::vector<std::uint8_t> code) override;
    bool pointer_on_stop_icon() const override;
    void set_pointer_input(bool live) override;
    void begin_input();
    bool click_pending() const;
    bool own_window_only() const { return hooks_.own_window_only && hooks_.own_window_only(); }
    void show_recording_icons(bool recording);

    ui::WidgetBoard& board_;
    const lang::StringTables& texts_;
    RecordingHooks hooks_;
    Recorder recorder_;
    bool own_window_note_shown_ = false;
    bool input_running_ = false;
};

}  // namespace zentrik::macro
