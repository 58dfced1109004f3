#pragma once
// The window's frame in memory that the X server reads directly (MIT-SHM). The memory is made
// and filled with the window's background on a helper thread while GTK starts, so the first
// frame neither waits for fresh pages nor sends its pixels over the display connection; once
// the window exists the server maps it as a pixmap, and each frame is a copy on the server.
#include <cstdint>
#include <memory>
#include <span>

#include "platform/shared_memory.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;
typedef struct _GtkWidget GtkWidget;

namespace zentrik::app {

class SharedFrame {
  public:
    // Any thread: memory for a width x height ARGB32 frame, filled from `fill` (premultiplied
    // ARGB32 rows of the same size, e.g. the background) or cleared. Null when the system
    // gives no shared memory.
    static std::unique_ptr<SharedFrame> prepare(int width, int height, const std::uint8_t* fill,
                                                int fill_stride);
    ~SharedFrame();
    SharedFrame(const SharedFrame&) = delete;
    SharedFrame& operator=(const SharedFrame&) = delete;

    // Main thread, `window` realized: the X server maps the memory as a pixmap of the window's
    // visual. False when it cannot (no MIT-SHM, a remote display, no shared pixmaps); the frame
    // is then of no use and the caller draws as before.
    bool attach(GtkWidget* window);

    // The prepared pixels, ARGB32 rows of cairo's stride for the width.
    std::span<const std::uint8_t> pixels() const { return {memory_->data(), memory_->size()}; }
    // The frame to compose into (an image surface over the shared memory), once attached.
    cairo_surface_t* image() const { return image_; }
    // Waits until the server has read the frame last shown, so the next one can be written.
    void wait_until_read();
    // Paints the frame into a draw handler's context (a copy made by the server).
    void show(cairo_t* cr);
    // Makes the frame, as it is now, the window's background: the server shows it the moment
    // the window maps, before the toolkit's first paint. Dropped again by clear_background,
    // after which the server clears nothing (exposed parts wait for the next paint).
    void set_as_background(GtkWidget* window);
    void clear_background(GtkWidget* window);

  private:
    SharedFrame(int width, int height, std::unique_ptr<platform::SharedMemory> memory);
    void release_server_side();

    int width_;
    int height_;
    std::unique_ptr<platform::SharedMemory> memory_;
    cairo_surface_t* image_ = nullptr;   // the client's view of the pixels
    cairo_surface_t* pixmap_ = nullptr;  // the server's view of the same pixels
    struct Server;
    std::unique_ptr<Server> server_;
    bool shown_since_sync_ = false;
};

}  // namespace zentrik::app
