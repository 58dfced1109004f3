#pragma once
// What tilt scrolling needs from the desktop: facts about the windows the user works in, and
// scroll input sent as if the user made it, with the pointer where it is.
#include <memory>
#include <string>
#include <vector>

namespace zentrik::platform {

struct WindowFacts {
    // False where the desktop shows a program nothing of other programs' windows (a Wayland
    // compositor): everything below is then empty, and no rule for a program can apply.
    bool windows_known = true;
    bool has_foreground = false;
    std::string foreground_title;
    std::vector<std::string> foreground_classes;  // WM_CLASS: instance name, class name
    bool has_focus = false;
    std::vector<std::string> focus_classes;
    // The top-level window under the pointer; none over the bare desktop background.
    bool has_pointer_window = false;
    std::string pointer_title;
    std::vector<std::string> pointer_classes;
};

enum class ScrollGesture {
    kHorizontalButtons,  // horizontal wheel buttons: 6 scrolls left, 7 right
    kShiftWheel,         // Shift + vertical wheel
    kCtrlWheel,          // Ctrl + vertical wheel
};

// Which programs a sent step reaches.
enum class ScrollReach {
    kEveryProgram,     // a virtual input device: the desktop treats it like a real mouse
    kX11ProgramsOnly,  // input sent through the X server (under Wayland: only X11 programs)
};

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;
    virtual ScrollReach reach() const { return ScrollReach::kEveryProgram; }
    // The desktop the steps go to (e.g. "x11-:0"): one running program per desktop sends them.
    virtual std::string desktop() const { return {}; }
    virtual WindowFacts window_facts() = 0;
    // One scroll step; `toward_left` picks button 6 or 7, or wheel up (4) rather than down (5).
    // False when the input could not be sent.
    virtual bool send_scroll(ScrollGesture gesture, bool toward_left) = 0;
};

// The desktop's window system through a connection of its own (for the tilt thread); nullptr
// when the desktop cannot be reached or cannot take sent input. On X11: the X server's window
// facts and XTest. On Wayland: a virtual input device (uinput) for every program, without window
// facts; when the device cannot be made, the X11 path through XWayland (X11 programs only).
std::unique_ptr<WindowSystem> make_window_system();

}  // namespace zentrik::platform
