#pragma once
// The application core as the window runs it, without a display or a device: the board with
// the whole layout, simulated mice, virtual timers, virtual device time, scripted dialogs and
// workers that run inline. Tests drive it by widget name and by timer expiry, then check the
// simulated mice's requests and state and the widgets.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/session.h"
#include "sim/sim_backend.h"
#include "support/scripted_dialogs.h"
#include "ui/board_owner.h"
#include "ui/input/virtual_timers.h"
#include "ui/layout.h"

namespace zentrik::testing {

// Device time that passes without waiting.
class InstantTiming final : public device::Timing {
  public:
    void sleep_ms(int ms) override {
        now_us_ += ms * 1000;
        if (on_sleep)
            on_sleep(ms);
    }
    std::function<void(int ms)> on_sleep;  // sees every sleep (set before the work starts)
    std::int64_t now_us() override { return now_us_ += 1; }

  private:
    std::atomic<std::int64_t> now_us_{1'000'000};
};

struct RecordingShell final : core::SessionShell {
    int hides = 0;
    int minimises = 0;
    std::vector<std::string> selections;
    std::vector<std::string> listed;  // the mice of the last listing
    void hide_window() override { ++hides; }
    void minimise_window() override { ++minimises; }
    void selected_mouse_changed(const std::string& path) override { selections.push_back(path); }
    void mice_listed(const std::vector<std::string>& paths) override { listed = paths; }
};

// A mouse of the family: model, sensor, firmware, DPI step, memory in bytes.
sim::SimMouseConfig family_mouse(int model = 7, int sensor = 1, int firmware = 3,
                                 int dpi_step = 100, int memory = 16384);

class CoreHarness {
  public:
    explicit CoreHarness(std::vector<sim::SimMouseConfig> mice = {family_mouse()});
    ~CoreHarness();

    // Runs the window's start: the first poll, the listing and the choice of the first mouse.
    void start_and_load();
    void advance(int ms) { timers.advance(ms); }

    // Widget events by name.
    void click(const std::string& name);
    void set_value_and_click(const std::string& name, int value);
    void drop(const std::string& source, int source_row, const std::string& target);
    void edit_text(const std::string& name, const std::string& text);

    ui::Widget& widget(const std::string& name);
    // The first row of list `list` showing `text`, or -1.
    int row_with_text(const std::string& list, const std::string& text);
    std::string text(const std::string& name) { return widget(name).text; }
    int page() const;
    sim::SimMouse& mouse(std::size_t i = 0) { return *backend->mouse(i); }
    // Requests of mouse i since the last clear, as (class, code) pairs and as whole reports.
    std::vector<sim::FeatureReport> requests(std::size_t i = 0) { return mouse(i).requests(); }
    int count_requests(std::uint8_t cls, std::uint8_t code, std::size_t i = 0);
    void clear_requests();

    ui::ManualClock clock;
    ui::VirtualTimers timers{clock};
    ui::WidgetBoard board;
    ui::HeadlessOwner owner;
    std::shared_ptr<sim::SimBackend> backend;
    std::shared_ptr<InstantTiming> timing;
    std::unique_ptr<device::zklib> lib;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    core::Workers workers{core::Workers::Mode::kInline};
    std::unique_ptr<core::Session> session;
};

}  // namespace zentrik::testing
