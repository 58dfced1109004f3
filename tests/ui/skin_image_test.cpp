// Skin images: decoding and the region of an image's non-zero pixels.
#include <gtest/gtest.h>

#include <cairo.h>

#include <vector>

#include "ui/fonts.h"
#include "ui/skin_image.h"

namespace zentrik::ui {
namespace {

TEST(SkinImage, MissingAndBrokenImagesAreNone) {
    EXPECT_EQ(load_skin_image(0), nullptr);
    EXPECT_EQ(load_skin_image(99999), nullptr);
    const std::vector<std::uint8_t> junk{0x89, 'P', 'N', 'G', 1, 2, 3};
    EXPECT_EQ(decode_png(junk), nullptr);
    EXPECT_EQ(decode_png({}), nullptr);
}

TEST(SkinImage, OpaquePngWithoutAlphaKeepsBlackPixelsInItsShape) {
    // A 24-bit PNG: converted to ARGB32, so its black pixels are opaque, not zero.
    cairo_surface_t* rgb = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 3, 2);
    std::vector<std::uint8_t> png;
    cairo_surface_write_to_png_stream(
        rgb,
        [](void* c, const unsigned char* d, unsigned int n) {
            auto* out = static_cast<std::vector<std::uint8_t>*>(c);
            out->insert(out->end(), d, d + n);
            return CAIRO_STATUS_SUCCESS;
        },
        &png);
    cairo_surface_destroy(rgb);
    auto image = decode_png(png);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width(), 3);
    EXPECT_EQ(image->pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(region_from_alpha(image.get()).rects.size(), 2u);
}

TEST(RegionFromAlpha, TransparentImageIsEmpty) {
    auto image = SkinImage::filled(8, 8, 0);
    EXPECT_TRUE(region_from_alpha(image.get()).empty());
    EXPECT_TRUE(region_from_alpha(nullptr).empty());
}

TEST(RegionFromAlpha, RunsPerRowAndRunReachingTheEnd) {
    auto image = SkinImage::filled(6, 2, 0);
    image->set_pixel(1, 0, 0x01000000);  // barely visible still counts
    image->set_pixel(2, 0, 0xFF000000);
    image->set_pixel(5, 0, 0x80402010);  // last pixel of the row
    image->set_pixel(0, 1, 0xFFFFFFFF);
    const Region r = region_from_alpha(image.get());
    EXPECT_EQ(r.rects, (std::vector<Rect>{{1, 0, 3, 1}, {5, 0, 6, 1}, {0, 1, 1, 2}}));
}

TEST(RegionFromAlpha, ManyMoreRunsThanRows) {
    // Every other pixel opaque: 50 runs per row, far more than height + 2 rectangles.
    auto image = SkinImage::filled(100, 3, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 100; x += 2)
            image->set_pixel(x, y, 0xFF000000);
    const Region r = region_from_alpha(image.get());
    EXPECT_EQ(r.rects.size(), 150u);
    EXPECT_TRUE(r.contains(98, 2));
    EXPECT_FALSE(r.contains(99, 2));
}

TEST(Fonts, TableHasThirteenFacesAndMeasuresText) {
    EXPECT_EQ(font_entry(0).pixel_size, 16);
    EXPECT_EQ(font_entry(4).pixel_size, 32);
    EXPECT_TRUE(font_entry(7).monospace);
    EXPECT_TRUE(font_entry(8).monospace);
    EXPECT_FALSE(font_entry(9).monospace);
    EXPECT_FALSE(font_entry(12).family.empty());  // whatever the system substituted
    EXPECT_EQ(&font_entry(99), &font_entry(0));
    const TextSize one = measure_text("Stop record", kTooltipFont, 1000);
    const TextSize two = measure_text("Stop record Stop record", kTooltipFont, 1000);
    EXPECT_GT(one.width, 20);
    EXPECT_GT(two.width, one.width);
    EXPECT_EQ(two.height, one.height);
    EXPECT_GT(measure_text("Stop record Stop record", kTooltipFont, 60).height, one.height);
}

}  // namespace
}  // namespace zentrik::ui
