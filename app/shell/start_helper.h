#pragma once
// Work for the first frame that runs on a second thread while GTK starts (connecting to the
// display, loading its theme, making the first window): fontconfig's setup, the font table with
// every entry's face loaded, and the frame's shared memory filled with the window's background.
#include <memory>
#include <thread>

#include "platform/shared_frame.h"

namespace zentrik::app {

class StartHelper {
  public:
    StartHelper();
    ~StartHelper();
    StartHelper(const StartHelper&) = delete;
    StartHelper& operator=(const StartHelper&) = delete;

    // Waits for the helper thread and gives the calling thread its fonts (once).
    void finish();
    // The prepared frame (after finish); null when there is none.
    std::unique_ptr<platform::SharedFrame> take_frame() { return std::move(frame_); }

  private:
    std::unique_ptr<platform::SharedFrame> frame_;
    bool finished_ = false;
    std::thread thread_;  // last: it writes frame_ as soon as it starts
};

}  // namespace zentrik::app
