#pragma once
// Hot spots of the two built-in cursors (pixel offsets inside their 32 x 32 pictures).

namespace zentrik::res {

struct CursorHotspot {
    int x;
    int y;
};

// 203: the hand shown over a widget that reacts to the pointer; its fingertip is the hot spot.
inline constexpr int kCursorActive = 203;
inline constexpr CursorHotspot kCursorActiveHotspot{11, 2};
// 202: the arrow with a dragged row, shown while dragging; the arrow tip is the hot spot.
inline constexpr int kCursorDrag = 202;
inline constexpr CursorHotspot kCursorDragHotspot{2, 2};

}  // namespace zentrik::res
