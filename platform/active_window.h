#pragma once
// The window that has the focus on the desktop, followed without polling: a descriptor for the
// main loop that becomes readable when the desktop reports a change.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zentrik::platform {

struct ActiveWindow {
    std::uint64_t id = 0;              // 0: no window has the focus (the bare desktop)
    std::vector<std::string> classes;  // WM_CLASS: instance name, class name
};

class ActiveWindowWatcher {
  public:
    virtual ~ActiveWindowWatcher() = default;
    // Readable when the desktop may have reported a change.
    virtual int fd() const = 0;
    // Takes what the desktop reported; the active window when it is another one than at the
    // last call (or at the start), else nullopt.
    virtual std::optional<ActiveWindow> take_change() = 0;
    // The window that has the focus now.
    virtual ActiveWindow current() = 0;
    // False once the connection to the desktop is lost; the descriptor is then done.
    virtual bool connected() const = 0;
};

// A watcher of the desktop's active window, or nullptr with `why_not` set where it cannot be
// seen (no X display; a Wayland session, whose compositor tells a client nothing of other
// programs' windows).
std::unique_ptr<ActiveWindowWatcher> make_active_window_watcher(std::string* why_not);

}  // namespace zentrik::platform
