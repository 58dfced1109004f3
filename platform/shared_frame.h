#pragma once
// The window's frame in memory that the display server reads directly. The memory is made and
// filled with the window's background on a helper thread while the toolkit starts, so the
// first frame neither waits for fresh pages nor sends its pixels over the display connection;
// once the window exists the server maps it, and each frame is a copy on the server. A backend
// without such memory returns no frame, and the window draws its frames itself.
#include <cstdint>
#include <memory>
#include <span>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;
typedef struct _GtkWidget GtkWidget;

namespace zentrik::platform {

class SharedFrame {
  public:
    virtual ~SharedFrame() = default;

    // Main thread, `window` realized: the server maps the memory for the window. False when it
    // cannot (a remote display, no shared pixmaps); the frame is then of no use and the caller
    // draws as before.
    virtual bool attach(GtkWidget* window) = 0;

    // The prepared pixels, ARGB32 rows of cairo's stride for the width.
    virtual std::span<const std::uint8_t> pixels() const = 0;
    // The frame to compose into (an image surface over the shared memory), once attached.
    virtual cairo_surface_t* image() const = 0;
    // Waits until the server has read the frame last shown, so the next one can be written.
    virtual void wait_until_read() = 0;
    // Paints the frame into a draw handler's context (a copy made by the server).
    virtual void show(cairo_t* cr) = 0;
    // Makes the frame, as it is now, the window's background: the server shows it the moment
    // the window maps, before the toolkit's first paint. Dropped again by clear_background,
    // after which the server clears nothing (exposed parts wait for the next paint).
    virtual void set_as_background(GtkWidget* window) = 0;
    virtual void clear_background(GtkWidget* window) = 0;
};

// Any thread: memory for a width x height ARGB32 frame, filled from `fill` (premultiplied
// ARGB32 rows of the same size, e.g. the background) or cleared. Null when the system gives no
// shared memory.
std::unique_ptr<SharedFrame> prepare_shared_frame(int width, int height, const std::uint8_t* fill,
                                                  int fill_stride);

}  // namespace zentrik::platform
