#include "app/shell/start_helper.h"

#include <cairo.h>

#include "ui/fonts.h"
#include "ui/renderer.h"
#include "ui/skin_image.h"

namespace zentrik::app {
namespace {

std::unique_ptr<platform::SharedFrame> frame_over_background() {
    const ui::SkinImage* background = ui::load_skin_image(ui::kBackgroundImage);
    cairo_surface_t* pixels = background ? background->surface() : nullptr;
    if (!pixels)
        return platform::prepare_shared_frame(ui::kWindowWidth, ui::kWindowHeight, nullptr, 0);
    cairo_surface_flush(pixels);
    return platform::prepare_shared_frame(background->width(), background->height(),
                                          cairo_image_surface_get_data(pixels),
                                          cairo_image_surface_get_stride(pixels));
}

}  // namespace

StartHelper::StartHelper()
    : thread_([this] {
          // Nothing here touches GTK or the display: GTK starts meanwhile on the main thread.
          ui::prepare_fonts_for_handover();
          frame_ = frame_over_background();
      }) {}

StartHelper::~StartHelper() {
    if (thread_.joinable())
        thread_.join();
}

void StartHelper::finish() {
    if (finished_)
        return;
    finished_ = true;
    thread_.join();
    ui::adopt_prepared_fonts();
}

}  // namespace zentrik::app
