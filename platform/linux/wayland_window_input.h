#pragma once
// The window's recorder input on Wayland: a Wayland client hears only the input that reaches
// its own surfaces, so this source hears the keys, buttons and wheel notches that go to the
// program's own window while it has the focus (the usual case: the user has just pressed the
// record icon and types).
#include <gdk/gdk.h>

#include <memory>

#include "platform/raw_input_source.h"

namespace zentrik::platform {

// Every event the toolkit dispatches passes here first (then goes on unchanged).
std::unique_ptr<RawInputSource> make_toolkit_window_input();

// One toolkit event as the recorder hears it: keys by their xkb keycode, buttons 1-3, 8 and 9,
// and a wheel notch from the discrete up/down scroll events (the smooth event the toolkit sends
// beside each notch is not counted again). False for every other event.
bool deliver_toolkit_event(const GdkEvent& event, RawInputSink& sink);

}  // namespace zentrik::platform
