#pragma once
// The pointer logic of the window: turns button, movement, wheel and key events into widget
// states, clicks, drags, drops, list scrolling, slider and spin-box changes, in-place editing
// and tooltips, and hands every user action to the command handler.
//
// Everything runs on the window's thread under the board's lock, including the 15 ms
// animation tick, which is armed on a TimerService only while something moves (a countdown,
// an auto-repeat, a tooltip, a scrolling list) and restarted by input.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "ui/input/clock.h"
#include "ui/input/inline_editor.h"
#include "ui/input/keyboard_focus.h"
#include "ui/input/timer_service.h"
#include "ui/input/widget_event.h"
#include "ui/widget_board.h"

namespace zentrik::ui {

// Button bits of pointer events.
enum Buttons : int {
    kLeftButton = 1,
    kRightButton = 2,
    kMiddleButton = 4,
    kFifthButton = 8,
    kFourthButton = 16,
};

enum class Key { kUp, kDown, kDelete, kEnter, kEscape, kPageUp, kPageDown, kHome, kEnd, kOther };

// Cursor modes.
enum CursorMode : int { kArrowCursor = 0, kActiveCursorMode = 1, kDragCursorMode = 2 };

// Timer id of the animation tick and its period.
inline constexpr int kAnimationTimer = 100;
inline constexpr int kTickMs = 15;
// Ticks a second press may follow the first (about 450 ms).
inline constexpr int kDoublePressTicks = 30;
// Ticks a tooltip stays.
inline constexpr int kTooltipTicks = 420;
// Right limit of a tooltip's box.
inline constexpr int kTooltipRightLimit = 995;

// Text size in a font, laid out within a box width: (width, height) in pixels.
using TextMeasure = std::function<std::pair<int, int>(const std::string&, int font, int width)>;
// Pango measurement on an offscreen surface.
TextMeasure default_text_measure();

class PointerDispatcher {
  public:
    // `timers` and `editor` may be null (no tick timer: call animation_tick() by hand).
    PointerDispatcher(WidgetBoard& board, WidgetEventHandler& handler, const Clock& clock,
                      TimerService* timers, InlineEditor* editor);
    ~PointerDispatcher();
    PointerDispatcher(const PointerDispatcher&) = delete;
    PointerDispatcher& operator=(const PointerDispatcher&) = delete;

    // Whether the window is the foreground (active) window; default: always.
    void set_foreground(std::function<bool()> foreground) { foreground_ = std::move(foreground); }
    void set_text_measure(TextMeasure measure) { measure_ = std::move(measure); }

    // Button change or movement at (x, y) in window pixels: `changed` = bits that changed,
    // `buttons` = bits now down. Returns the cursor mode.
    int pointer_event(int changed, int buttons, int x, int y);
    // Wheel notches at (x, y); positive = towards the user (scrolls down).
    int wheel_event(int notches, int x, int y);
    // A key. Returns true when the key was for the inline editor and handled here (Enter,
    // Escape); other keys meant for a visible editor are left to it.
    bool key_event(Key key);

    // One 15 ms step: double-press countdown, tooltip, spin auto-repeat, smooth scrolling.
    void animation_tick();
    // True while a tick would change something.
    bool needs_tick() const;

    // The first eligible widget whose hit shape holds the point; none over empty skin.
    Widget* widget_at(int x, int y) const;
    int cursor_mode() const;

    // Inline editor: opens it on a widget (lists: on `row`), commits or cancels it.
    void open_editor(Widget& w, int row);
    void commit_editor();
    void cancel_editor();
    bool editor_visible() const { return editor_ && editor_->visible(); }

    // The keyboard's focus, activation and value changes, on the same command handler.
    KeyboardFocus& keyboard() { return *keyboard_; }

  private:
    bool foreground() const { return !foreground_ || foreground_(); }
    void emit(int action, int id, Widget* first, Widget* second);
    bool eligible(const Widget& w) const;
    // Hit shape of one widget; sets *spin_dir for spin boxes.
    bool hits(const Widget& w, int x, int y, int* spin_dir) const;
    Widget* hit_test(int x, int y);

    void left_down(int x, int y);
    void right_down(int x, int y);
    void on_release(int x, int y);
    int on_hover(int x, int y, int buttons);
    void hover_list(Widget& w, int x, int y, bool inside, bool left_down);
    void hover_slider(Widget& w, int x, bool left_down);
    void start_drag_if_moved(int x, int y);
    void update_tooltip(Widget* under);
    void invalidate_tooltip();

    void spin_step(Widget& w);
    void scroll_step(Widget& list);
    void delete_key();
    void restart_tick();
    // A press ends what the keyboard was doing: the focus ring, a typed number, a pick-up.
    void leave_keyboard_mode();

    WidgetBoard& board_;
    WidgetEventHandler& handler_;
    const Clock& clock_;
    TimerService* timers_;
    InlineEditor* editor_;
    std::function<bool()> foreground_;
    TextMeasure measure_;
    int buttons_ = 0;
    std::optional<std::int64_t> last_wheel_ms_;
    std::unique_ptr<KeyboardFocus> keyboard_;
};

// List geometry shared by the pointer logic (window pixels).
namespace list_geometry {
// The row at y, or -1 over the caption band or below the rows; the top visible row maps to
// row 0 in a list with a pinned first row.
int row_at(const Widget& list, int y);
// True when the list holds more rows than it shows.
bool overflowing(const Widget& list);
// The 12-pixel scroll strip at the right edge.
bool in_scroll_strip(const Widget& list, int x, int y);
// Top of the scroll-bar thumb (21 pixels high).
int thumb_top(const Widget& list);
}  // namespace list_geometry

}  // namespace zentrik::ui
