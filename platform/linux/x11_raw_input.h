#pragma once
// Recording input on X11: XInput2 raw events selected on the root window, so keys and buttons
// are heard whatever window has the focus, including events typed through XTest. Keys are never
// grabbed. The source has no thread and never polls: the owner of the display connection hands
// it every event it reads (a GDK event filter in the window, or X11InputConnection below).
// Callers outside the backend reach both through platform/raw_input_source.h.
#include <memory>

#include "platform/raw_input_source.h"

struct _XDisplay;
union _XEvent;

namespace zentrik::platform {

class X11RawInput {
  public:
    // `display` stays owned by the caller. With `query_version` the source announces XInput 2.2
    // itself; a toolkit that already did (GDK) must not be asked again with another version.
    X11RawInput(_XDisplay* display, bool query_version);
    ~X11RawInput();
    X11RawInput(const X11RawInput&) = delete;
    X11RawInput& operator=(const X11RawInput&) = delete;

    // Selects the raw events and delivers them to `sink` until stop(). False when the server
    // has no XInput 2.
    bool start(RawInputSink& sink);
    void stop();
    bool running() const;

    // Call for every event read from the display. True when it was a raw input event of this
    // source (the caller may drop it); nothing happens while stopped.
    bool handle_event(_XEvent* event);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// A display connection of its own for programs without a toolkit (zentrikctl record).
class X11InputConnection final : public RawInputConnection {
  public:
    // Opens $DISPLAY (or `display_name`); valid() is false when that fails.
    explicit X11InputConnection(const char* display_name = nullptr);
    ~X11InputConnection() override;
    X11InputConnection(const X11InputConnection&) = delete;
    X11InputConnection& operator=(const X11InputConnection&) = delete;

    bool valid() const;
    bool start(RawInputSink& sink) override;
    void stop() override;
    bool dispatch(int timeout_ms) override;

  private:
    _XDisplay* display_ = nullptr;
    std::unique_ptr<X11RawInput> input_;
};

}  // namespace zentrik::platform
