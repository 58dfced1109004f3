#pragma once
// Composes the main window's frame: the background, the widgets in three passes (those that
// stay unchanged come ready-painted from a layer, see widget_layer.h), the tooltip, then the
// guide or recording overlay and the progress overlay. The frame is a
// premultiplied ARGB32 cairo image the size of the background (1046 x 655).
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/canvas.h"
#include "ui/widget_board.h"
#include "ui/widget_layer.h"

typedef struct _cairo_surface cairo_surface_t;

namespace zentrik::ui {

inline constexpr int kWindowWidth = 1046;
inline constexpr int kWindowHeight = 655;
inline constexpr int kBackgroundImage = 244;
inline constexpr int kRecordPanelImage = 310;

// The progress box long jobs show over the window. Written by workers, read by the painter.
class ProgressOverlay {
  public:
    // Turns the box on at `fraction` (0.0-1.0) with a message, or off.
    void show(double fraction, std::string message);
    void hide();
    // While shown: stores min(fraction, 1.0) and invalidates the bar area.
    void set_progress(WidgetBoard& board, double fraction);
    void set_message(std::string message);

    bool shown() const { return shown_.load(); }
    double fraction() const { return fraction_.load(); }
    std::string message() const;

    // The bar area of a window of the given size.
    static Rect bar_area(int window_width, int window_height);

  private:
    std::atomic<bool> shown_{false};
    std::atomic<double> fraction_{0.0};
    mutable std::mutex mutex_;
    std::string message_;
};

// What the overlays show; owned by the modules that drive them.
struct OverlayState {
    int recording_state = 0;          // 0 none, 1 recording, 2-6 recording-panel messages
    std::string recording_message{};  // text for states 2-6
    int guide_mode = 0;               // 0 none; 1, 3, 4 veil the window around the macro lists
    bool editor_visible = false;      // the inline editor is open
    const ProgressOverlay* progress = nullptr;
};

// Texts and row facts the list painter takes from other modules.
struct ListPaintHooks {
    // The text of a macro step row (default: the row's own text).
    std::function<std::string(const ListItem&)> step_text;
    // Size in bytes of the mouse's macro `tag` for renamable lists; negative when absent.
    std::function<int(std::uint32_t tag)> macro_size;
    std::string pinned_label{};  // label of a step list's fixed first row ("Mode")
    std::string closing_text{};  // shown as "- End -" after the last row
};

class Renderer {
  public:
    // The window's background is image 244; its size is the frame's size and its non-zero
    // pixels are the window's shape, which the overlays never paint outside.
    explicit Renderer(WidgetBoard& board);
    // Another background, or none (the frame is then 1046 x 655 and wholly the window).
    Renderer(WidgetBoard& board, const SkinImage* background);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    ListPaintHooks& hooks() { return hooks_; }

    // Where the frame's pixels live: a window system can hand out an image surface that it
    // shows without another copy (shared memory). Called at the first compose (and after a
    // change of scale) with the frame's size in device pixels; a result that is not an ARGB32
    // image of that size is dropped for a plain image.
    using FrameFactory = std::function<cairo_surface_t*(int pixel_width, int pixel_height)>;
    void set_frame_factory(FrameFactory factory) { frame_factory_ = std::move(factory); }

    // Device pixels per window pixel (1 or 2; a window at GDK scale 2). At 2 the frame has
    // twice the width and height, and the images and text are drawn for that scale from their
    // pictures made at twice the size; everything else (widget boxes, invalidated areas,
    // hit tests) stays in window pixels. Changing it drops the frame and the layer.
    void set_scale(int scale);
    int scale() const { return scale_; }

    // Composes one frame (under the board's lock) and returns it; the renderer owns it. Its
    // device scale is scale().
    // Until the board is marked ready only the background is drawn.
    cairo_surface_t* compose(const OverlayState& overlay);
    cairo_surface_t* frame() const { return frame_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Frames start from a layer of the widgets that stay unchanged (on by default); off, every
    // frame paints every widget. Either way the frame is the same, pixel for pixel.
    void set_layer_enabled(bool on) { layer_enabled_ = on; }
    const WidgetLayer& layer() const { return layer_; }

    // The steps of compose, for callers that draw into their own context.
    void paint_widgets(Canvas& canvas);
    void paint_overlays(Canvas& canvas, const OverlayState& overlay);
    void paint_progress(Canvas& canvas, const ProgressOverlay& progress);

  private:
    void paint_widget(Canvas& canvas, const Widget& w);
    // The visible widgets of the current page in drawing order (caller holds the board's lock).
    std::vector<const Widget*> drawing_order() const;
    // Paints the layer's widgets into the frame, only within `only` when given.
    void paint_layer(const Rect* only);
    void paint_tooltip(Canvas& canvas);
    void keep_inside_shape(Canvas& canvas) const;
    // What every frame starts from: the background image's pixels, or a copy of them when
    // they are laid out differently from the frame.
    cairo_surface_t* background_pixels() const;
    cairo_surface_t* make_frame() const;

    WidgetBoard& board_;
    const SkinImage* background_image_ = nullptr;
    ListPaintHooks hooks_;
    FrameFactory frame_factory_;
    TextLayouts layouts_;
    WidgetLayer layer_;
    bool layer_enabled_ = true;
    cairo_surface_t* background_ = nullptr;  // a reference: see background_pixels()
    cairo_surface_t* frame_ = nullptr;
    int width_ = kWindowWidth;
    int height_ = kWindowHeight;
    int scale_ = 1;
};

}  // namespace zentrik::ui
