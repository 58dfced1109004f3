#pragma once
// Where the macro recorder's input comes from: the desktop's keys and clicks, whichever window
// has the focus. The backend makes the sources; callers see only this interface.
#include <memory>

#include "platform/raw_input.h"

namespace zentrik::platform {

class RawInputSource {
  public:
    virtual ~RawInputSource() = default;
    // Delivers events to `sink` until stop(). False when the desktop offers no such events.
    virtual bool start(RawInputSink& sink) = 0;
    virtual void stop() = 0;
    // True for a source that hears only the input that reaches the program's own window (a
    // Wayland client hears nothing else).
    virtual bool hears_only_own_window() const { return false; }
};

// A source with a connection to the desktop of its own, for a program without a toolkit
// (zentrikctl record): the caller's loop hands it time.
class RawInputConnection : public RawInputSource {
  public:
    // Waits up to `timeout_ms` for events and delivers all that are queued; false when the
    // connection broke. A signal ends the wait early (the caller checks its own flag).
    virtual bool dispatch(int timeout_ms) = 0;
};

// Null when the desktop cannot be reached (kRawInputUnreachable says why).
std::unique_ptr<RawInputConnection> open_raw_input_connection();

// What the user is told, in the terms of the backend's desktop: the desktop cannot be reached,
// it offers no raw input, the connection broke.
extern const char kRawInputUnreachable[];
extern const char kRawInputUnsupported[];
extern const char kRawInputBroken[];

}  // namespace zentrik::platform
