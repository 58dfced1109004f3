#pragma once
// The frame's static layer: the background with the widgets that have not changed for a few
// frames already painted on it, kept for the part of the window they cover. A frame then starts
// from the layer and paints only the widgets that change (and the tooltip and overlays).
//
// A widget may come from the layer although a changing widget is drawn before it only when
// their painted areas are apart: painting into separate pixels gives the same picture in either
// order. Every widget kind paints inside a known box (its bounds below), so the frame is the
// same pixel for pixel as one painted widget by widget.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/geometry.h"
#include "ui/widget.h"

namespace zentrik::ui {

struct ListPaintHooks;
class WidgetBoard;

// Everything a widget painter reads, so an unchanged key means an unchanged picture.
struct PaintKey {
    std::array<const SkinImage*, 5> images{};
    std::array<Argb, 6> colors{};
    std::string text;
    std::string list;  // a list's rows and what the hooks say of them
    std::array<int, 25> numbers{};
    double fraction = 0;
    bool operator==(const PaintKey&) const = default;
};
PaintKey paint_key(const Widget& w, const WidgetBoard& board, const ListPaintHooks& hooks);

// The pixels a widget's painter can touch, in window coordinates (a little generous).
Rect paint_bounds(const Widget& w);

// Kinds whose painter reads nothing but what the key holds (any other kind is always painted).
bool layerable_kind(int kind);

class WidgetLayer {
  public:
    // Composes after which an unchanged widget joins the layer.
    static constexpr int kQuietFrames = 2;

    // Sorts the widgets of this frame, in drawing order, into the layer and the live rest.
    // `width` and `height` are the window's; a frame of `scale` device pixels per window pixel
    // keeps its pixels, bounds and patches in device pixels.
    void plan(const std::vector<const Widget*>& order, const WidgetBoard& board,
              const ListPaintHooks& hooks, int width, int height, int scale = 1);
    // What the layer needs before this frame can start from it.
    enum class Work {
        kNone,     // it holds the planned widgets
        kRepaint,  // paint them all over the background into the frame, then store()
        kPatch,    // copy_into() the frame, repaint the planned widgets over the background
                   // within each patch() rectangle, then store()
    };
    Work work() const { return work_; }
    const std::vector<Rect>& patches() const { return patches_; }
    // The layer's widgets in drawing order with their bounds, and the others.
    const std::vector<const Widget*>& layer_widgets() const { return planned_; }
    const std::vector<Rect>& layer_bounds() const { return planned_bounds_; }
    const std::vector<const Widget*>& live_widgets() const { return live_; }

    // Keeps the layer's pixels of a frame that holds the background and the layer's widgets
    // (after kPatch, only the patched rectangles are read).
    void store(const std::uint8_t* frame, int stride);
    // Writes the background with the layer's pixels over it into the frame.
    void copy_into(std::uint8_t* frame, const std::uint8_t* background, int stride,
                   int height) const;
    // Drops the layer and what it knows of the widgets.
    void clear();

    // The memory the layer takes: only the pixels of the widgets' boxes are kept.
    std::size_t bytes() const { return pixels_.capacity() + spans_.capacity() * sizeof(Span); }
    // How often the layer was painted whole and patched (for tests and measurements).
    int repaints() const { return repaints_; }
    int patchings() const { return patchings_; }

  private:
    struct Track {
        PaintKey key;
        int quiet = 0;  // composes in a row with this key
    };
    std::unordered_map<const Widget*, Track> tracks_;
    // What must be repainted to turn the stored layer into the planned one; false when a
    // repaint of the whole layer is needed (or cheaper).
    bool plan_patches();

    std::vector<const Widget*> planned_;
    std::vector<Rect> planned_bounds_;
    std::vector<const Widget*> live_;
    std::vector<const Widget*> stored_;  // the widgets the pixels hold
    std::vector<Rect> stored_bounds_;
    // One run of kept pixels on a row, at `offset` in pixels_.
    struct Span {
        int y, left, right;
        std::size_t offset;
    };
    // Runs covering the boxes, row by row from the top, left to right.
    static std::vector<Span> spans_of(const std::vector<Rect>& boxes);
    bool covers(const Rect& r) const;
    template <typename Fn>
    void for_each_part(const Rect& r, Fn&& fn) const;

    std::vector<Span> spans_;
    std::vector<std::uint8_t> pixels_;
    std::vector<Rect> patches_;
    Work work_ = Work::kNone;
    int repaints_ = 0;
    int patchings_ = 0;
};

}  // namespace zentrik::ui
