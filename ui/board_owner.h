#pragma once
// Where the widget board sends invalidated rectangles: the window that repaints them.
#include <mutex>
#include <utility>
#include <vector>

#include "ui/geometry.h"

namespace zentrik::ui {

class BoardOwner {
  public:
    virtual ~BoardOwner() = default;
    // Marks a rectangle of the window for repainting (no erase; painting happens later).
    // Called from any thread, with the board's lock held: must not call back into the board.
    virtual void invalidate(const Rect& rect) = 0;
};

// An owner without a window: collects the dirty rectangles (headless rendering, tests).
class HeadlessOwner : public BoardOwner {
  public:
    void invalidate(const Rect& rect) override {
        std::lock_guard lock(mutex_);
        rects_.push_back(rect);
    }
    std::vector<Rect> take() {
        std::lock_guard lock(mutex_);
        return std::exchange(rects_, {});
    }
    std::size_t count() const {
        std::lock_guard lock(mutex_);
        return rects_.size();
    }

  private:
    mutable std::mutex mutex_;
    std::vector<Rect> rects_;
};

}  // namespace zentrik::ui
