#pragma once
// A command that writes to a mouse tells a running window what it changed, over the
// single-instance channel, so the window shows it without a restart. No window, no message:
// the command neither fails nor waits for one.
#include "cli/commands/device_session.h"
#include "core/outside_changes.h"

namespace zentrik::cli {

// Made once the mouse is open, before the command writes; when it goes (the command is done
// with the mouse, whether every write went through or not) it lets go of the mouse's lock and
// tells the window. Kinds and index as in core::OutsideChange.
class WindowNotice {
  public:
    WindowNotice(AddressedMouse& mouse, unsigned kinds, int index = -1)
        : mouse_(mouse), kinds_(kinds), index_(index) {}
    ~WindowNotice();
    WindowNotice(const WindowNotice&) = delete;
    WindowNotice& operator=(const WindowNotice&) = delete;

  private:
    AddressedMouse& mouse_;
    unsigned kinds_;
    int index_;
};

}  // namespace zentrik::cli
