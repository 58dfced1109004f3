#pragma once
// The open link nodes of one device session. The first opener of a HID interface pays the
// driver's open (tens of milliseconds in usbhid) and a backup is thousands of exchanges, so a
// mouse's node stays open from its first exchange until an exchange fails, the mouse is removed
// or a discovery no longer lists it. The owner's lock guards it.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/hid_backend.h"

namespace zentrik::device {

class LinkHandles {
  public:
    // The open handle of `path`, opened now when there is none; nullptr when it cannot be opened.
    platform::HidHandle* open(platform::HidBackend& backend, const std::string& path);
    // Closes the handle of `path` (the next exchange opens the node anew).
    void close(const std::string& path);
    // Keeps only the handles of `paths` whose device is still there.
    void keep_only(const std::vector<std::string>& paths);
    void clear() { handles_.clear(); }
    // How many times a node was opened for exchanges (diagnostics and tests).
    int opens() const { return opens_; }

  private:
    std::map<std::string, std::unique_ptr<platform::HidHandle>> handles_;
    int opens_ = 0;
};

}  // namespace zentrik::device
