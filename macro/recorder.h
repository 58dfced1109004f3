#pragma once
// The macro recorder: live keys, mouse buttons and wheel movement become macro steps.
//
// Recording (state 1) appends every action, optionally with the pauses between them as waits.
// A capture (states 2-6) waits for one matching action, inserts it after the editor's selected
// row and ends. Pointer input of the window is off during a capture; the recorder turns it back
// on when the capture or the recording ends.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "macro/scan_code_table.h"
#include "platform/raw_input.h"

namespace zentrik::macro {

enum RecordingState : int {
    kNotRecording = 0,
    kRecording = 1,
    kCaptureKeyDown = 2,
    kCaptureKeyUp = 3,
    kCaptureButtonDown = 4,
    kCaptureButtonUp = 5,
    kCaptureWheel = 6,
};

// What the recorder changes outside itself: the editor's rows and the window's pointer input.
class RecorderSink {
  public:
    virtual ~RecorderSink() = default;
    // One instruction's bytes (code byte first), as a new last row (recording).
    virtual void append_step(std::vector<std::uint8_t> code) = 0;
    // One instruction's bytes after the selected row, which it becomes (captures).
    virtual void insert_step_after_selected(std::vector<std::uint8_t> code) = 0;
    // Whether the pointer is over the stop icon: clicks there end the recording and are not
    // part of it.
    virtual bool pointer_on_stop_icon() const = 0;
    // Switch the widgets' pointer input (the board's `live` flag) and repaint the window.
    virtual void set_pointer_input(bool live) = 0;
};

class Recorder final : public platform::RawInputSink {
  public:
    explicit Recorder(RecorderSink& sink, const ScanCodeTable& table = ScanCodeTable::builtin());

    int state() const { return state_; }
    bool active() const { return state_ != kNotRecording; }

    // The "record check" option: whether recording adds the pauses as wait steps.
    bool record_pauses() const { return record_pauses_; }
    void set_record_pauses(bool on) { record_pauses_ = on; }
    void toggle_record_pauses() { record_pauses_ = !record_pauses_; }

    // `started_by_click`: the release of the click that started it is not part of the macro.
    void start_recording(bool started_by_click = true);
    // Ends a recording or a capture; pointer input comes back on.
    void stop_recording();
    // State 2-6; other values are ignored. For the mouse captures, `started_by_click` as above.
    void start_capture(int state, bool started_by_click = true);

    void on_raw_key(const platform::RawKeyEvent& event) override;
    void on_raw_mouse(const platform::RawMouseEvent& event) override;

  private:
    void add_pause(std::uint32_t now);
    void add(std::vector<std::uint8_t> code);
    void end_capture();

    RecorderSink& sink_;
    const ScanCodeTable& table_;
    int state_ = kNotRecording;
    bool record_pauses_ = true;
    bool skip_first_release_ = false;
    std::optional<std::uint32_t> last_event_ms_;
    std::array<bool, 256> key_down_{};
};

// The message drawn on the recording panel for a capture state: a lang::Message index
// (keyboard, mouse or scroll), or -1 for states without a panel.
int recording_panel_message(int state);

// A pause as wait steps: one MI_WAIT8 up to 255 ms, MI_WAIT16 steps of at most 65535 ms each
// for longer ones (their sum is the pause); nothing for 0.
std::vector<std::vector<std::uint8_t>> pause_steps(std::uint32_t ms);

// The MI_WHEEL step for a wheel delta (120 per notch), counted toward zero and held to the
// five-bit range -16..15; nullopt below one notch.
std::optional<std::uint8_t> wheel_step(int delta);

}  // namespace zentrik::macro
