#pragma once
// The application core: one object that owns the settings model of the selected mouse and
// wires the widget board, the device link, the window timers, the dialogs and the workers.
// It turns widget events into work (the command rows), follows mice as they come and go,
// loads the selected mouse, and takes the mouse's own reports. It needs no display: the GTK
// shell and the tests drive it the same way.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/job_progress.h"
#include "core/settings_model.h"
#include "core/workers.h"
#include "device/vendor_report.h"
#include "device/zklib.h"
#include "platform/device_monitor.h"
#include "ui/dialogs.h"
#include "ui/input/timer_service.h"
#include "ui/input/widget_event.h"
#include "ui/renderer.h"
#include "ui/widget_board.h"

namespace zentrik::core {

class ButtonPage;
class ContestedEdits;
struct OutsideChange;
class DpiPage;
class MouseWriteQueue;

// Window timers the core runs.
enum Timer : int {
    kTimerPoll = 1,
    kTimerProfileReload = 2,
    kTimerDpiX = 4,
    kTimerDpiY = 5,
    kTimerCommit = 6,
    kTimerListing = 7,
    kTimerRate = 8,
    kTimerWheel = 10,
    kTimerAppProfileRest = 12,  // the focus has rested: apply the per-program profile
};

// What the window does for the core.
class SessionShell {
  public:
    virtual ~SessionShell() = default;
    virtual void hide_window() {}
    virtual void minimise_window() {}
    // The selected mouse changed (empty: none); the shell reads its reports from now on.
    virtual void selected_mouse_changed(const std::string& /*path*/) {}
    // The mice of the family listed now (after each poll and removal); the shell reads the
    // vendor input reports of all of them.
    virtual void mice_listed(const std::vector<std::string>& /*paths*/) {}
    // The start-up's progress has ended: the first mouse is loaded, or there was none to load.
    // Called on the thread that ended it.
    virtual void start_finished() {}
};

// Runs a function on the window's thread (from any thread).
using UiPost = std::function<void(std::function<void()>)>;

struct SessionParts {
    ui::WidgetBoard& board;
    device::zklib& lib;
    ui::TimerService& timers;
    ui::Dialogs& dialogs;
    Workers& workers;
    SessionShell& shell;
    UiPost post;  // empty: run at once (single-threaded tests)
};

class Session : public ui::WidgetEventHandler {
  public:
    explicit Session(SessionParts parts);
    ~Session() override;

    // Arms the first device poll; the window calls it once its first frame is up.
    void start();

    // --- inputs ---
    void handle_widget_event(const ui::WidgetEvent& event) override;
    void on_device_change(const platform::DeviceChange& change);
    // One input report from the vendor collections of the mouse at `source`: tilts count from
    // any mouse, the other events only from the selected one.
    void on_input_report(const std::string& source, std::span<const std::uint8_t> report);
    // Tilt amounts reported by the mouse since the last call (the tilt scroller takes them).
    int take_tilt() { return tilt_.exchange(0); }
    std::atomic<int>& tilt_accumulator() { return tilt_; }
    // Wakes whoever scrolls for tilts (set by the tilt scroller).
    void set_tilt_listener(std::function<void()> listener) { tilt_listener_ = std::move(listener); }

    // --- the command rows: features add theirs ---
    using Row = std::function<void(const ui::WidgetEvent&)>;
    // Runs `row` for `action` on widget id `id` (for drops: the dragged widget's id).
    void add_row(int action, int id, Row row);
    void add_rows(int action, int first_id, int last_id, Row row);
    // Sees each command before its row runs (the macro page shows its editor again when one of
    // the editor's tools is used while only the library is shown).
    Row before_row;

    // --- what features use ---
    SettingsModel& model() { return model_; }
    ui::WidgetBoard& board() { return board_; }
    device::zklib& lib() { return lib_; }
    ui::Dialogs& dialogs() { return dialogs_; }
    ui::TimerService& timers() { return timers_; }
    JobRunner& jobs() { return jobs_; }
    Workers& workers() { return workers_; }
    const ui::ProgressOverlay& progress_overlay() const { return progress_; }
    // What is being dragged (0 none, 1 a macro row, 2 a function row, 3 a library row, 4 a
    // command icon); the painter veils the window around the drop targets by it.
    int drag_source_kind() const { return drag_source_kind_.load(); }
    JobProgress& progress() { return *job_progress_; }
    std::string selected_path() const;
    // Runs on the window's thread (at once when already there or in single-threaded tests).
    void post(std::function<void()> fn);
    // Hooks the macro features fill: the memory line, and the macro rows of the lists.
    std::function<void()> refresh_memory_info;
    std::function<void()> refresh_macro_lists;
    // The name of the macro that starts at `address`, for button labels.
    std::function<std::optional<std::string>(std::uint16_t)> macro_name_at;
    // The macro rows the function list shows after its built-in functions.
    std::function<std::vector<ui::ListItem>()> macro_function_rows;
    // The mouse's profile changed without the window's doing (the mouse's own button, a
    // per-program rule, another program): the window may tell the user.
    std::function<void(int profile)> profile_changed_outside;
    // A button's assignment changed (window thread): the macro rows' profile markers follow.
    std::function<void()> assignments_changed;

    // --- device list and selection ---
    void poll();
    void list_devices();
    // Chooses the mouse of a device row (command 50).
    void choose_row(const ui::Widget& row);
    void choose_mouse();
    void load_settings();
    void show_page(int page);
    // Shows `page` as if a mouse were selected (a development view; no mouse is looked for).
    void preview_page(int page);

    // --- profiles ---
    void select_profile(int profile, bool from_widget);
    // Shows a profile the mouse took without the window (its own button, another program) and
    // tells profile_changed_outside, on the window's thread, when it is another one.
    void take_outside_profile(int profile);
    void rename_profile(int profile, const std::string& name);

    // --- the pages the session wires (the macro page is made by its owner) ---
    ButtonPage& buttons() { return *buttons_; }
    DpiPage& dpi() { return *dpi_; }

    // --- the window's own writes ---
    // Runs `write` on a worker inside the mouse's lock, after the writes submitted before it;
    // once the mouse took it (`write` answers nonzero), the other windows are told of a change
    // of `kinds` (and `index`, as in OutsideChange).
    using MouseWrite = std::function<int(device::zklib&, const std::string& path)>;
    void write_to_mouse(const std::string& path, MouseWrite write, unsigned kinds, int index = -1);
    // Tells the other running windows what this one changed on the mouse at `path` (nothing
    // when tell_others is unset or the mouse is one no other program reaches).
    void tell_others_of(const std::string& path, unsigned kinds, int index = -1);
    // What tell_others_of calls; the window wires it to the instance channel.
    std::function<void(const OutsideChange&)> tell_others;
    // Values the user edited while another program changed them (outside_changes.h).
    ContestedEdits& contested_edits() { return *contested_; }

    // --- timers for the pages ---
    // Timer `id` runs `work` on a worker when it fires (timers are one-shot).
    void run_timer_worker(int id, std::function<void()> work);
    void arm_from_any_thread(int id, int ms);

  private:
    void install_timers();
    void install_rows();
    void drop_selection();
    void announce_mice();
    void end_start_progress();
    void apply_profile_marks(int profile);
    void apply_picture_set(int sensor);
    void reset_level_pictures();
    void dispatch(const ui::WidgetEvent& event);
    void drag_started(const ui::Widget* source);
    void on_mouse_event(const device::VendorReport& report);
    // Writes the name the user gave a profile, with a note when it replaced another program's.
    void write_profile_name(const std::string& path, int profile, const std::string& name);

    ui::WidgetBoard& board_;
    device::zklib& lib_;
    ui::TimerService& timers_;
    ui::Dialogs& dialogs_;
    Workers& workers_;
    SessionShell& shell_;
    UiPost post_;
    JobRunner jobs_;
    SettingsModel model_;
    ui::ProgressOverlay progress_;
    std::unique_ptr<JobProgress> job_progress_;
    std::mutex poll_lock_;
    std::mutex listing_lock_;
    std::map<std::pair<int, int>, Row> rows_;
    unsigned arrival_bits_ = 0;
    std::atomic<int> drag_source_kind_{0};
    std::atomic<int> tilt_{0};
    // The start-up's progress box runs from the first poll to the end of the first load.
    std::atomic<bool> start_progress_{true};
    std::function<void()> tilt_listener_;
    std::unique_ptr<ButtonPage> buttons_;
    std::unique_ptr<DpiPage> dpi_;
    std::unique_ptr<ContestedEdits> contested_;
    std::unique_ptr<MouseWriteQueue> writes_;
};

}  // namespace zentrik::core
