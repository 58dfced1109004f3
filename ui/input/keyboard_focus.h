#pragma once
// The keyboard's way through the window: a focus that Tab and Shift+Tab move through the
// widgets of the current page in reading order, Enter and Space acting as a click, arrows in
// lists, radio groups, sliders and spin boxes, digits typed into spin boxes, page switches,
// renaming, and a pick-up-and-drop for what otherwise only dragging does.
//
// Everything here hands the command handler the same action codes as the pointer does, so the
// commands, their timers and their deferred writes are the pointer's. The focus is the
// board's `pointer.focus` (the widget a press last chose), so the keys the pointer logic
// already has (Up/Down/Delete in lists, the inline editor's Enter/Escape) keep their meaning.
#include "ui/input/widget_event.h"
#include "ui/widget_board.h"

namespace zentrik::ui {

class PointerDispatcher;

struct KeyStroke {
    enum Name {
        kTab,
        kEnter,
        kSpace,
        kEscape,
        kLeft,
        kRight,
        kUp,
        kDown,
        kHome,
        kEnd,
        kPageUp,
        kPageDown,
        kDelete,
        kBackspace,
        kF2,
        kDigit,
        kOther,
    };
    Name name = kOther;
    bool shift = false;
    bool ctrl = false;
    int digit = 0;  // kDigit: 0-9
};

// Longest number typed into a spin box.
inline constexpr int kMaxTypedDigits = 5;
// Steps a slider moves on Page Up / Page Down.
inline constexpr int kSliderPageSteps = 10;

class KeyboardFocus {
  public:
    KeyboardFocus(WidgetBoard& board, WidgetEventHandler& handler, PointerDispatcher& pointer);

    // One key press. Returns true when the key had a job here.
    bool key(const KeyStroke& stroke);

    // The focused widget when it can still take the focus, else null.
    Widget* focused() const;
    // Moves the focus (and its ring) to `w`; null takes it away.
    void focus(Widget* w);
    // What a click on the widget does: for a list, a click on its selected row (a group
    // header folds or unfolds).
    void activate(Widget& w);
    // A slider's or spin box's value, as dragging or the arrows would set it: within its
    // range (the command keeps it on the DPI grid), reported only when it changed.
    void set_value(Widget& w, int value);

  private:
    void move_focus(int direction);
    bool arrow(Widget& w, const KeyStroke& stroke);
    bool move_in_group(Widget& w, int direction);
    bool select_row(Widget& list, int direction);
    bool switch_page(const KeyStroke& stroke);
    bool rename(Widget& w);
    bool carry_or_drop(Widget* w);
    void end_carry();
    bool type_digit(Widget& w, const KeyStroke& stroke);
    void commit_typed();
    void cancel_typed();
    bool live_for(const Widget& w) const;
    void emit(int action, int id, Widget* first, Widget* second);
    void invalidate_ring(const Widget* w);

    WidgetBoard& board_;
    WidgetEventHandler& handler_;
    PointerDispatcher& pointer_;
};

}  // namespace zentrik::ui
