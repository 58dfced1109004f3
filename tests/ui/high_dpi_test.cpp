// The window at scale 2: pictures made for that scale (only then), frames drawn rather than
// enlarged, and scale 1 exactly as before.
#include <cairo.h>
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/render_page.h"
#include "render_probe.h"
#include "res/skin_resources.h"
#include "ui/fonts.h"
#include "ui/layout.h"
#include "ui/skin_image.h"

namespace zentrik::ui {
namespace {

using testing::Pixel;
using testing::pixel_at;

constexpr int kPages[] = {0, 1, 2, 3, 5, 99};

// Renders `page` through the program's --render-page path and reads the PNG back.
cairo_surface_t* rendered(int page, int scale) {
    const auto out = std::filesystem::temp_directory_path() /
                     ("zentrik_hidpi_" + std::to_string(::getpid()) + "_" + std::to_string(page) +
                      "_" + std::to_string(scale) + ".png");
    app::RenderPageRequest request{page, out.string()};
    request.scale = scale;
    EXPECT_EQ(app::render_page(request), 0);
    cairo_surface_t* png = cairo_image_surface_create_from_png(out.c_str());
    std::filesystem::remove(out);
    return png;
}

unsigned difference(Pixel a, Pixel b) {
    auto d = [](unsigned x, unsigned y) { return x > y ? x - y : y - x; };
    return std::max({d(a.a, b.a), d(a.r, b.r), d(a.g, b.g), d(a.b, b.b)});
}

// FNV-1a over the frame's pixels, row by row.
std::uint64_t pixel_hash(cairo_surface_t* frame) {
    cairo_surface_flush(frame);
    const int w = cairo_image_surface_get_width(frame), h = cairo_image_surface_get_height(frame);
    const unsigned char* data = cairo_image_surface_get_data(frame);
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < 4 * w; ++i)
            hash = (hash ^ data[y * cairo_image_surface_get_stride(frame) + i]) * 0x100000001b3ull;
    return hash;
}

TEST(HighDpi, RenderPageTakesScaleOneOrTwo) {
    std::string error;
    auto two = app::parse_render_page({"--render-page", "5", "o.png", "--scale", "2"}, error);
    ASSERT_TRUE(two && error.empty()) << error;
    EXPECT_EQ(two->scale, 2);
    EXPECT_EQ(two->output, "o.png");
    EXPECT_EQ(app::parse_render_page({"--render-page", "5", "o.png"}, error)->scale, 1);
    for (std::vector<std::string> bad :
         {std::vector<std::string>{"--render-page", "5", "o.png", "--scale", "3"},
          {"--render-page", "5", "o.png", "--scale"},
          {"--render-page", "5", "--scale", "2"}}) {
        ASSERT_TRUE(app::parse_render_page(bad, error).has_value());
        EXPECT_FALSE(error.empty()) << bad.size();
    }
}

TEST(HighDpi, ScaleOneFramesArePixelForPixelThoseOfBeforeHighDpi) {
    // The pages as the program drew them before frames could be drawn at scale 2, on this
    // system's fonts and libraries. Text depends on them, so on another system the check has
    // nothing to compare with.
    const std::string system = std::string(cairo_version_string()) + " pango " +
                               pango_version_string() + " " + font_entry(0).family + "/" +
                               font_entry(5).family + "/" + font_entry(7).family;
    const std::string recorded_on = "1.16.0 pango 1.50.12 Tahoma/Nimbus Sans/Noto Sans Mono";
    if (system != recorded_on)
        GTEST_SKIP() << "recorded on " << recorded_on << ", this system has " << system;
    const std::uint64_t before[] = {17326535032963303518ull, 515353942643088117ull,
                                    13023268528486105496ull, 13733870543235457025ull,
                                    7059355628460445348ull,  2267602359153722240ull};
    for (std::size_t i = 0; i < std::size(kPages); ++i) {
        cairo_surface_t* frame = rendered(kPages[i], 1);
        EXPECT_EQ(pixel_hash(frame), before[i])
            << "page " << kPages[i] << " at scale 1 is no longer drawn as before (if a change "
            << "of its look is meant, record the new value)";
        cairo_surface_destroy(frame);
    }
}

TEST(HighDpi, ScaleTwoFramesAreDrawnAtThatScaleNotEnlarged) {
    cairo_surface_t* one = rendered(0, 1);
    cairo_surface_t* two = rendered(0, 2);
    ASSERT_EQ(cairo_image_surface_get_width(two), 2092);
    ASSERT_EQ(cairo_image_surface_get_height(two), 1310);
    // Everything sits where it sits at scale 1: each 2 x 2 block averages to about the pixel
    // of the scale-1 frame (a picture placed or sized in device pixels would not).
    int misplaced = 0;
    for (int y = 0; y < 655; ++y)
        for (int x = 0; x < 1046; ++x) {
            Pixel sum{0, 0, 0, 0};
            for (int k = 0; k < 4; ++k) {
                const Pixel p = pixel_at(two, 2 * x + k % 2, 2 * y + k / 2);
                sum = {sum.a + p.a, sum.r + p.r, sum.g + p.g, sum.b + p.b};
            }
            const Pixel mean{sum.a / 4, sum.r / 4, sum.g / 4, sum.b / 4};
            misplaced += difference(mean, pixel_at(one, x, y)) > 64;
        }
    EXPECT_LT(misplaced, 1046 * 655 / 50);
    // In a text (profile 1's name box at 204, 128, 140 x 40) the glyphs have edges of their own,
    // where an enlarged frame repeats each pixel twice.
    int sharper = 0;
    for (int y = 2 * 128; y < 2 * 168; ++y)
        for (int x = 2 * 204; x < 2 * 344; ++x)
            sharper += difference(pixel_at(two, x, y), pixel_at(one, x / 2, y / 2)) > 48;
    EXPECT_GT(sharper, 150);
    cairo_surface_destroy(one);
    cairo_surface_destroy(two);
}

TEST(HighDpi, PicturesAtTwiceTheSizeAreMadeOnlyWhenAFrameAtScaleTwoNeedsThem) {
    WidgetBoard board;
    HeadlessOwner owner;
    WindowShell shell;
    build_main_window(board, &owner, shell);
    PageChoice choice;
    choice.mouse_selected = true;
    choice.chosen_page = kPageButtons;
    switch_page(board, choice);
    Renderer renderer(board);
    cairo_surface_t* frame = renderer.compose({});
    EXPECT_EQ(cairo_image_surface_get_width(frame), 1046);
    for (int id : res::skin_image_ids()) {
        const SkinImage* image = load_skin_image(id);
        EXPECT_FALSE(image && image->double_decoded()) << "image " << id << " at scale 1";
    }

    renderer.set_scale(2);
    frame = renderer.compose({});
    EXPECT_EQ(cairo_image_surface_get_width(frame), 2092);
    double sx = 0, sy = 0;
    cairo_surface_get_device_scale(frame, &sx, &sy);
    EXPECT_EQ(sx, 2);
    // The pictures the page's widgets show were drawn from their pictures for scale 2.
    int pictures = 0;
    board.for_each_widget([&](const std::string& name, const Widget& w) {
        if (w.kind != kPicture || !w.visible || !board.on_current_page(w) || !w.images[0])
            return;
        ++pictures;
        EXPECT_TRUE(w.images[0]->double_decoded()) << name;
    });
    EXPECT_GT(pictures, 0);
    const SkinImage* background = load_skin_image(kBackgroundImage);
    ASSERT_TRUE(background->double_decoded());
    cairo_surface_t* sharp = background->surface_for_scale(2);
    EXPECT_EQ(cairo_image_surface_get_width(sharp), 2 * background->width());
    EXPECT_EQ(cairo_image_surface_get_height(sharp), 2 * background->height());
    // An image whose pixels were changed by code shows them at scale 2 as well.
    SkinImage* changed = const_cast<SkinImage*>(load_skin_image(128));
    changed->set_pixel(0, 0, 0xFF00FF00);
    EXPECT_EQ(changed->surface_for_scale(2), changed->surface());
}

}  // namespace
}  // namespace zentrik::ui
