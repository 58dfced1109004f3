// What the window's start costs: built-in pictures decode when first drawn (and the ones the
// build reads are stored ready to draw, exactly as decoding gives them), the frame lives where
// the window system wants it, and the start page decodes nothing it does not show.
#include <cairo.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <thread>
#include <vector>

#include "res/skin_resources.h"
#include "ui/layout.h"
#include "ui/renderer.h"
#include "ui/skin_image.h"

namespace zentrik::ui {
namespace {

// Whether two images hold the same premultiplied pixels.
bool same_pixels(const SkinImage& a, const SkinImage& b) {
    if (a.width() != b.width() || a.height() != b.height())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

std::vector<std::uint8_t> png_of(cairo_surface_t* surface) {
    std::vector<std::uint8_t> png;
    cairo_surface_write_to_png_stream(
        surface,
        [](void* c, const unsigned char* d, unsigned int n) {
            static_cast<std::vector<std::uint8_t>*>(c)->insert(
                static_cast<std::vector<std::uint8_t>*>(c)->end(), d, d + n);
            return CAIRO_STATUS_SUCCESS;
        },
        &png);
    return png;
}

std::vector<std::uint8_t> png_of_size(int width, int height) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    std::vector<std::uint8_t> png = png_of(s);
    cairo_surface_destroy(s);
    return png;
}

TEST(SkinImageOnDemand, KnowsItsSizeAtOnceAndDecodesWhatThePngHolds) {
    // A button-page mouse of the second family: nothing in this test binary draws it first.
    const SkinImage* mouse = load_skin_image(335);
    ASSERT_NE(mouse, nullptr);
    EXPECT_EQ(mouse->width(), 215);
    EXPECT_EQ(mouse->height(), 345);
    EXPECT_FALSE(mouse->decoded());
    const auto eager = decode_png(res::skin_png(335));
    ASSERT_NE(eager, nullptr);
    EXPECT_TRUE(same_pixels(*mouse, *eager));
    EXPECT_TRUE(mouse->decoded());
    EXPECT_EQ(load_skin_image(335), mouse);
}

TEST(SkinImageOnDemand, BrokenBodyBehindAGoodHeaderDrawsNothing) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 7, 5);
    std::vector<std::uint8_t> png = png_of(s);
    cairo_surface_destroy(s);
    ASSERT_GT(png.size(), 40u);
    png.resize(40);  // signature and header survive, the pixel data does not
    const auto image = SkinImage::from_png_on_demand(png);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width(), 7);
    EXPECT_EQ(image->height(), 5);
    EXPECT_EQ(image->surface(), nullptr);
    EXPECT_EQ(image->pixel(1, 1), 0u);
    EXPECT_TRUE(region_from_alpha(image.get()).empty());

    // A size known beforehand that the PNG does not have: nothing is drawn out of place.
    const std::vector<std::uint8_t> seven_by_five = png_of_size(7, 5);  // outlives the images
    const auto other_size = SkinImage::from_png_on_demand(seven_by_five, 8, 5);
    ASSERT_NE(other_size, nullptr);
    EXPECT_EQ(other_size->width(), 8);
    EXPECT_EQ(other_size->surface(), nullptr);
    EXPECT_EQ(SkinImage::from_png_on_demand(seven_by_five, 0, 5), nullptr);

    const std::vector<std::uint8_t> not_png(64, 0x89);
    EXPECT_EQ(SkinImage::from_png_on_demand(not_png), nullptr);
    EXPECT_EQ(SkinImage::from_png_on_demand({}), nullptr);
}

TEST(SkinImageOnDemand, ThreadsThatDrawItFirstTogetherShareOneDecoding) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 64, 64);
    const std::vector<std::uint8_t> png = png_of(s);
    cairo_surface_destroy(s);
    const auto image = SkinImage::from_png_on_demand(png);
    ASSERT_NE(image, nullptr);
    std::array<cairo_surface_t*, 4> seen{};
    std::vector<std::thread> threads;
    for (auto& slot : seen)
        threads.emplace_back([&image, &slot] { slot = image->surface(); });
    for (auto& t : threads)
        t.join();
    ASSERT_NE(seen[0], nullptr);
    for (cairo_surface_t* surface : seen)
        EXPECT_EQ(surface, seen[0]);
}

TEST(ReadyToDrawPixels, AreExactlyWhatTheirPngDecodesTo) {
    int stored = 0;
    for (int id : res::skin_image_ids()) {
        const res::SkinPixels ready = res::skin_pixels(id);
        if (!ready.data)
            continue;
        ++stored;
        const auto from_png = decode_png(res::skin_png(id));
        ASSERT_NE(from_png, nullptr) << id;
        const SkinImage* built_in = load_skin_image(id);
        ASSERT_NE(built_in, nullptr) << id;
        EXPECT_TRUE(same_pixels(*built_in, *from_png)) << id;
    }
    // The background is read before the first frame: it must not need decoding.
    EXPECT_NE(res::skin_pixels(kBackgroundImage).data, nullptr);
    EXPECT_EQ(res::skin_pixels(0).data, nullptr);
    EXPECT_GE(stored, 1);
}

TEST(ReadyToDrawPixels, WritingOneGivesTheImageItsOwnCopy) {
    const std::array<std::uint32_t, 4> pixels{0xFF000000, 0xFF111111, 0xFF222222, 0xFF333333};
    auto image = SkinImage::over_read_only_pixels(
        reinterpret_cast<const std::uint8_t*>(pixels.data()), 2, 2, 8);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixel(1, 1), 0xFF333333u);
    image->set_pixel(0, 0, 0xFFABCDEF);
    EXPECT_EQ(image->pixel(0, 0), 0xFFABCDEFu);
    EXPECT_EQ(image->pixel(1, 0), 0xFF111111u);
    EXPECT_EQ(pixels[0], 0xFF000000u);
}

TEST(WindowStart, StartPageDecodesNoPictureOfTheOtherPages) {
    // Pictures stay decoded for the life of the process: this needs one where no other test
    // drew them yet (ctest runs every test in a process of its own).
    for (int id : {257, 136, 284, 158})
        if (load_skin_image(id)->decoded())
            GTEST_SKIP() << "picture " << id << " was decoded by an earlier test in this process";
    WidgetBoard board;
    HeadlessOwner owner;
    WindowShell shell;
    build_main_window(board, &owner, shell);
    PageChoice choice;
    EXPECT_EQ(switch_page(board, choice), kPageNoDevice);
    Renderer renderer(board);
    renderer.compose({});
    // Home mouse, a button-page mouse, the macro panel, a DPI picture.
    for (int id : {257, 136, 284, 158})
        EXPECT_FALSE(load_skin_image(id)->decoded()) << id;
    board.set_page(kPageHome);
    renderer.compose({});
    EXPECT_TRUE(load_skin_image(257)->decoded());
}

TEST(RendererFrame, UsesTheSurfaceTheWindowSystemHandsOutWhenItFits) {
    WidgetBoard board;
    const auto background = SkinImage::filled(40, 30, 0xFF102030);
    int asked = 0;
    {
        Renderer renderer(board, background.get());
        cairo_surface_t* offered = nullptr;
        renderer.set_frame_factory([&](int w, int h) {
            ++asked;
            offered = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
            return offered;
        });
        EXPECT_EQ(renderer.compose({}), offered);
        renderer.compose({});
        EXPECT_EQ(renderer.frame(), offered);
    }
    EXPECT_EQ(asked, 1);
    for (auto wrong : {CAIRO_FORMAT_RGB24, CAIRO_FORMAT_A8}) {
        Renderer renderer(board, background.get());
        renderer.set_frame_factory(
            [wrong](int w, int h) { return cairo_image_surface_create(wrong, w, h); });
        cairo_surface_t* frame = renderer.compose({});
        EXPECT_EQ(cairo_image_surface_get_format(frame), CAIRO_FORMAT_ARGB32);
        EXPECT_EQ(cairo_image_surface_get_width(frame), 40);
    }
    Renderer wrong_size(board, background.get());
    wrong_size.set_frame_factory(
        [](int, int) { return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8); });
    cairo_surface_t* frame = wrong_size.compose({});
    EXPECT_EQ(cairo_image_surface_get_width(frame), 40);
    // The frame starts from the background whether or not the renderer keeps a copy of it.
    cairo_surface_flush(frame);
    std::uint32_t first;
    std::memcpy(&first, cairo_image_surface_get_data(frame), 4);
    EXPECT_EQ(first, 0xFF102030u);
}

TEST(RendererFrame, AFrameWithWiderRowsStartsFromTheWholeBackground) {
    WidgetBoard board;
    const auto background = SkinImage::filled(40, 30, 0xFF102030);
    Renderer renderer(board, background.get());
    const int stride = 40 * 4 + 64;
    std::vector<unsigned char> pixels(std::size_t(stride) * 30);
    renderer.set_frame_factory([&](int w, int h) {
        return cairo_image_surface_create_for_data(pixels.data(), CAIRO_FORMAT_ARGB32, w, h,
                                                   stride);
    });
    cairo_surface_t* frame = renderer.compose({});
    cairo_surface_flush(frame);
    for (int y : {0, 29}) {
        std::uint32_t last;
        std::memcpy(&last, pixels.data() + std::size_t(stride) * y + 39 * 4, 4);
        EXPECT_EQ(last, 0xFF102030u) << y;
    }
}

}  // namespace
}  // namespace zentrik::ui
