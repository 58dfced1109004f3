#pragma once
// The keyboard and mouse actions the macro recorder hears, whichever window has the focus.
//
// Keys arrive as scan-code set 1 make codes with their prefix flag, the form the program's
// scan-code table uses. Mouse events carry the buttons that went down or up in one step and the
// wheel movement. Events are delivered on the thread that feeds the source (the window thread).
#include <cstdint>

namespace zentrik::platform {

// The one virtual-key fact the recorder needs: Pause has its own scan code whatever prefix
// the keyboard sent with it.
inline constexpr int kVirtualKeyNone = 0;
inline constexpr int kVirtualKeyPause = 19;
// The extra part of some key sequences (a fake make code 0x45 that names no key).
inline constexpr int kVirtualKeyFake = 255;

struct RawKeyEvent {
    int make_code = 0;  // set-1 make code without prefix bytes
    bool e0 = false;    // sent with an E0 prefix (the extended keys)
    bool e1 = false;    // sent with an E1 prefix (Pause)
    int virtual_key = kVirtualKeyNone;
    bool down = false;          // press (also an auto-repeat) or release
    std::uint32_t time_ms = 0;  // server time; wraps after 2^32 ms, so compare by difference
};

// Mouse button bits, for both masks of a RawMouseEvent. Buttons 4 and 5 are the side buttons
// (back and forward).
inline constexpr std::uint8_t kRawButtonLeft = 0x01;
inline constexpr std::uint8_t kRawButtonRight = 0x02;
inline constexpr std::uint8_t kRawButtonMiddle = 0x04;
inline constexpr std::uint8_t kRawButton4 = 0x08;
inline constexpr std::uint8_t kRawButton5 = 0x10;

// One wheel notch; positive away from the user.
inline constexpr int kWheelDeltaPerNotch = 120;

struct RawMouseEvent {
    std::uint8_t buttons_down = 0;
    std::uint8_t buttons_up = 0;
    int wheel_delta = 0;  // signed, kWheelDeltaPerNotch per notch; 0 without wheel movement
    std::uint32_t time_ms = 0;
};

class RawInputSink {
  public:
    virtual ~RawInputSink() = default;
    virtual void on_raw_key(const RawKeyEvent& event) = 0;
    virtual void on_raw_mouse(const RawMouseEvent& event) = 0;
};

// Milliseconds from `earlier` to `later` on a 32-bit clock that wraps.
inline std::uint32_t elapsed_ms(std::uint32_t earlier, std::uint32_t later) {
    return later - earlier;
}

// Whether the desktop session is a Wayland one: there an X11 source hears only the input that
// goes to X11 windows.
bool wayland_session();
// The note that says so, in English: zentrikctl prints it as is, the window shows it through the
// language's "zk_rec_wayland_x11_only" text.
inline constexpr char kWaylandRecordingNote[] =
    "This is a Wayland session: only keys and clicks that go to X11 windows can be recorded.";

}  // namespace zentrik::platform
