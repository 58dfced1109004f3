#pragma once
// The DPI page in the core: the DPI grid and levels, the report rate, angle snapping and the
// wheel rate of the selected mouse, their command rows, their deferred writes (timers 4, 5, 8
// and 10, each re-arming the store-settings timer 6), and the changes the mouse reports itself.
namespace zentrik::device {
struct VendorReport;
}

#include <atomic>

namespace zentrik::core {

class Session;

// The user's changes that wait for their deferred write (DpiPage::pending_writes()).
enum PendingWrite : unsigned {
    kPendingDpiX = 1u << 0,
    kPendingDpiY = 1u << 1,
    kPendingRate = 1u << 2,
    kPendingWheel = 1u << 3,
};

class DpiPage {
  public:
    explicit DpiPage(Session& session);
    DpiPage(const DpiPage&) = delete;
    DpiPage& operator=(const DpiPage&) = delete;

    // Part of the load of a mouse: the grid, the current level, every level not yet loaded,
    // then the report rate, angle snapping and the wheel rate.
    void load();
    // Shows the current level.
    void refresh();
    // Shows the report rate, angle snapping and wheel rate the model holds.
    void show_sensor_values();
    // Which of the user's changes wait for their write (PendingWrite bits). A write clears its
    // bit inside the mouse's lock, so a job that holds the lock sees a stable answer.
    unsigned pending_writes() const { return pending_.load(); }
    // A level, its steps or the wheel rate changed on the mouse: the model and the page follow,
    // nothing is written back.
    void take_mouse_change(const device::VendorReport& report);

  private:
    void install_rows();
    void install_timers();
    void load_levels();
    void load_sensor_options();
    void axis_changed(int axis, int dpi);
    void level_clicked(int level);
    void rate_changed(int position);
    void wheel_changed(int position);
    void toggle_angle_snap();
    void toggle_axes_independent();
    void deferred_write(int timer_id);

    Session& session_;
    bool axes_independent_ = false;  // window thread only
    std::atomic<unsigned> pending_{0};
};

}  // namespace zentrik::core
