// The built-in images: every id the window uses is there, decodes, and has the size the layout
// is built around; the window background has the shape the window takes.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "res/png_decode.h"
#include "res/skin_resources.h"

namespace zentrik::res {
namespace {

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

// Null when the image does not decode; ARGB32 as the program sees it.
Surface decode(int id) {
    return Surface(decode_png_argb32(skin_png(id)), cairo_surface_destroy);
}

std::uint8_t alpha_at(cairo_surface_t* s, int x, int y) {
    cairo_surface_flush(s);
    const auto* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    std::uint32_t px;
    std::memcpy(&px, row + 4 * x, 4);
    return std::uint8_t(px >> 24);
}

// Mean luminance (0..1) and mean alpha of a rectangle, colours un-premultiplied.
struct Patch {
    double luminance = 0, alpha = 0;
};

Patch patch(cairo_surface_t* s, int x0, int y0, int w, int h) {
    cairo_surface_flush(s);
    const auto* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    double lum = 0, alpha = 0, weight = 0;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            std::uint32_t px;
            std::memcpy(&px, data + y * stride + 4 * x, 4);
            const double a = (px >> 24) / 255.0;
            alpha += a;
            if (a > 0) {
                const double r = ((px >> 16) & 0xFF) / 255.0 / a,
                             g = ((px >> 8) & 0xFF) / 255.0 / a, b = (px & 0xFF) / 255.0 / a;
                lum += a * (0.2126 * r + 0.7152 * g + 0.0722 * b);
                weight += a;
            }
        }
    }
    return {weight > 0 ? lum / weight : 0, alpha / (w * h)};
}

// Mean absolute difference of two same-sized images over all channels, 0..255.
double difference(cairo_surface_t* a, cairo_surface_t* b) {
    cairo_surface_flush(a);
    cairo_surface_flush(b);
    const int w = cairo_image_surface_get_width(a), h = cairo_image_surface_get_height(a);
    const auto* da = cairo_image_surface_get_data(a);
    const auto* db = cairo_image_surface_get_data(b);
    const int stride = cairo_image_surface_get_stride(a);
    double sum = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < 4 * w; ++x) {
            sum += std::abs(int(da[y * stride + x]) - int(db[y * stride + x]));
        }
    }
    return sum / (4.0 * w * h);
}

struct Rgb {
    int r, g, b;
};

// Un-premultiplied colour of one pixel.
Rgb colour_at(cairo_surface_t* s, int x, int y) {
    cairo_surface_flush(s);
    const auto* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    std::uint32_t px;
    std::memcpy(&px, row + 4 * x, 4);
    const int a = int(px >> 24);
    if (a == 0) {
        return {0, 0, 0};
    }
    auto un = [a](std::uint32_t c) { return int((c & 0xFF) * 255 / a); };
    return {un(px >> 16), un(px >> 8), un(px)};
}

struct Expected {
    int width, height;
    std::vector<int> ids;
};

// The sizes the window layout is built around, by role.
const std::vector<Expected>& expected_sizes() {
    static const std::vector<Expected> table = {
        {1046, 655, {244}},
        {407, 194, {310}},
        {768, 416, {284, 340}},
        {230, 366, {306}},
        {716, 78, {273}},
        {66, 56, {274}},
        {316, 64, {275}},
        {24, 24, {204, 205, 206, 207, 208, 209, 210, 211, 212, 213, 215}},
        {200, 28, {307, 308, 309}},
        {26, 26, {132, 133, 135, 261, 262, 264, 265}},
        {130, 118, {267, 268, 269, 270, 271, 272}},
        {370, 120, {223, 224, 225, 258, 259, 260}},
        {150, 40, {276, 277}},
        {288, 62, {160, 161, 162, 163, 164, 165, 166, 167}},
        {16, 16, {168, 169}},
        {14, 22, {154}},
        {12, 12, {230, 231}},
        {40, 34, {285, 286, 287, 288, 289, 290, 291, 292, 293, 294, 295, 296, 297,
                  298, 220, 305, 243, 301, 235, 300, 216, 303, 217, 218, 304, 219}},
        {22, 22, {177, 178, 179, 180, 181, 182, 183, 184, 185, 186, 197,    // in the callouts
                  187, 188, 189, 190, 191, 192, 193, 194, 195, 196, 198,    // selected
                  246, 247, 248, 249, 250, 251, 252, 253, 254, 255, 256,    // hovered
                  315, 316, 317, 318, 319, 320, 321, 322, 323, 324, 325}},  // on the mouse
        {215, 345, {136, 313, 311, 312, 314, 331, 334, 332, 333, 335}},
        {520, 430, {257, 330}},
        {80, 64, {232, 170, 175}},
        {360, 96, {158, 159, 155, 156, 326, 327, 328, 329}},
        {256, 256, {128}},
        {32, 32, {202, 203}},
    };
    return table;
}

TEST(SkinResources, EveryLayoutImageDecodesAtItsSize) {
    for (const auto& group : expected_sizes()) {
        for (int id : group.ids) {
            SCOPED_TRACE(id);
            const Surface s = decode(id);
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(cairo_image_surface_get_width(s.get()), group.width);
            EXPECT_EQ(cairo_image_surface_get_height(s.get()), group.height);
            // The table's size, which the window is built with before any PNG is read.
            EXPECT_EQ(skin_png_size(id).width, group.width);
            EXPECT_EQ(skin_png_size(id).height, group.height);
            // Its picture for a window at scale 2, drawn by the same code at twice the size.
            const Surface sharp(decode_png_argb32(skin_png_double(id)), cairo_surface_destroy);
            ASSERT_NE(sharp, nullptr);
            EXPECT_EQ(cairo_image_surface_get_width(sharp.get()), 2 * group.width);
            EXPECT_EQ(cairo_image_surface_get_height(sharp.get()), 2 * group.height);
        }
    }
}

TEST(SkinResources, IdListIsAscendingAndHoldsOnlyLayoutImages) {
    const std::vector<int> ids = skin_image_ids();
    std::vector<int> wanted;
    for (const auto& group : expected_sizes()) {
        wanted.insert(wanted.end(), group.ids.begin(), group.ids.end());
    }
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(ids, wanted);
}

TEST(SkinResources, IdsWithoutAnImageAreEmpty) {
    // 0 is "no image"; 102, 153 and 214 are the dialog, menu and scan-code resources, which
    // are not pictures; the others fall in gaps or outside the range.
    for (int id : {0, -1, 102, 131, 153, 214, 245, 336, 100000}) {
        EXPECT_TRUE(skin_png(id).empty()) << id;
        EXPECT_TRUE(skin_png_double(id).empty()) << id;
        EXPECT_EQ(skin_png_size(id).width, 0) << id;
    }
}

TEST(SkinResources, BackgroundIsShapedWithTransparentCornersAndOpaqueBody) {
    const Surface bg = decode(244);
    ASSERT_NE(bg, nullptr);
    // The four corners and a few pixels around each are outside the cut corners.
    for (auto [x, y] : std::vector<std::pair<int, int>>{
             {0, 0}, {1045, 0}, {0, 654}, {1045, 654}, {14, 8}, {1002, 8}, {14, 646}}) {
        EXPECT_EQ(alpha_at(bg.get(), x, y), 0) << x << "," << y;
    }
    // Every pixel where the window's widgets sit is opaque: the centre, the header with the
    // corner buttons, the side tabs and the device rows' far ends.
    for (auto [x, y] : std::vector<std::pair<int, int>>{
             {523, 327}, {966, 20}, {40, 120}, {50, 80}, {980, 632}, {921, 520}}) {
        EXPECT_EQ(alpha_at(bg.get(), x, y), 255) << x << "," << y;
    }
}

TEST(SkinResources, BackgroundShapeHasNoHolesInsideItsOutline) {
    // Clicks fall through transparent pixels, so a hole inside the body would be a hole in the
    // window. Between the first and the last painted pixel of each row everything is opaque.
    const Surface bg = decode(244);
    for (int y = 0; y < 655; ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < 1046; ++x) {
            if (alpha_at(bg.get(), x, y) > 0) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        if (first < 0) {
            continue;
        }
        // The anti-aliased edge pixels may be partly transparent.
        for (int x = first + 1; x < last; ++x) {
            ASSERT_EQ(alpha_at(bg.get(), x, y), 255) << x << "," << y;
        }
    }
}

TEST(SkinResources, EveryImageIsVisible) {
    // A painter that fails silently leaves a fully transparent picture.
    for (int id : skin_image_ids()) {
        const Surface s = decode(id);
        const int w = cairo_image_surface_get_width(s.get());
        const int h = cairo_image_surface_get_height(s.get());
        EXPECT_GT(patch(s.get(), 0, 0, w, h).alpha, 0.02) << id;
    }
}

TEST(SkinResources, StateImagesDifferFromTheirNormalImage) {
    // hover / pressed / checked / disabled against normal: each must read as another state.
    const std::vector<std::pair<int, int>> pairs = {
        {132, 133}, {132, 135}, {261, 262}, {264, 265},              // corner buttons
        {267, 268}, {271, 272}, {269, 270},                          // side tabs
        {223, 258}, {225, 260}, {224, 259},                          // home cards
        {277, 276}, {161, 160}, {163, 162}, {165, 164}, {167, 166},  // buttons
        {168, 169}, {230, 231}, {307, 308}, {307, 309}, {308, 309},  // boxes, callouts
        {289, 290}, {285, 286}, {287, 288}, {291, 292}, {293, 294}, {295, 296}, {297, 298},
        {220, 305}, {243, 301}, {235, 300}, {216, 303}, {216, 217}, {218, 304}, {218, 219},
        {177, 187}, {177, 246}, {315, 187}, {315, 246}, {197, 198}, {136, 313}, {136, 331},
        {257, 330}, {158, 159}, {155, 156}, {158, 326}};
    for (auto [normal, other] : pairs) {
        const Surface a = decode(normal), b = decode(other);
        EXPECT_GT(difference(a.get(), b.get()), 2.0) << normal << " vs " << other;
    }
}

TEST(SkinResources, TextAreasContrastWithTheTextDrawnOnThem) {
    struct Area {
        int id, x, y, w, h;
        bool dark_text;  // the program writes black text there; else white or light grey
    };
    const std::vector<Area> areas = {
        {307, 40, 6, 150, 16, true},    {308, 40, 6, 150, 16, true},     // callouts
        {309, 40, 6, 150, 16, true},    {274, 4, 3, 36, 14, true},       // spin fields
        {274, 4, 38, 36, 14, true},     {306, 20, 60, 190, 250, true},   // function list rows
        {284, 20, 60, 190, 250, true},  {284, 330, 60, 420, 250, true},  // macro lists
        {284, 30, 375, 180, 30, true},  {284, 330, 370, 400, 28, true},  // strips under them
        {161, 105, 20, 170, 30, true},  {160, 105, 20, 170, 30, true},   // DPI label plates
        {167, 105, 20, 170, 30, true},  {166, 105, 20, 170, 30, true},
        {168, 3, 3, 10, 10, true},                                        // check box inside
        {284, 20, 4, 190, 22, false},   {284, 330, 4, 420, 22, false},    // list captions
        {340, 330, 60, 420, 100, true}, {340, 330, 244, 420, 100, true},  // editor, library rows
        {340, 330, 4, 420, 22, false},  {340, 330, 188, 420, 22, false},  // and their captions
        {306, 20, 5, 190, 22, false},   {267, 10, 90, 110, 22, false},    // tab captions
        {268, 10, 90, 110, 22, false},  {223, 185, 40, 150, 40, false},   // home captions
        {258, 185, 40, 150, 40, false}, {277, 20, 10, 110, 20, false},    // action buttons
        {276, 20, 10, 110, 20, false},  {273, 10, 10, 290, 28, false},    // slider captions
        {273, 380, 10, 290, 28, false}, {310, 30, 70, 340, 60, false},    // recording message
    };
    for (const Area& a : areas) {
        const Surface s = decode(a.id);
        const Patch p = patch(s.get(), a.x, a.y, a.w, a.h);
        SCOPED_TRACE(a.id);
        EXPECT_GT(p.alpha, 0.85) << "the area must hide what lies behind it";
        if (a.dark_text) {
            EXPECT_GT(p.luminance, 0.5);
        } else {
            EXPECT_LT(p.luminance, 0.25);
        }
    }
}

TEST(SkinResources, RegionButtonsKeepTheirShapeInEveryState) {
    // A region button is hit by its normal picture's opaque pixels, so its other pictures must
    // cover the same shape, or the hover look would spill outside what reacts.
    const std::vector<std::pair<int, int>> pairs = {{132, 133}, {132, 135}, {261, 262}, {264, 265},
                                                    {267, 268}, {271, 272}, {269, 270}, {223, 258},
                                                    {225, 260}, {224, 259}, {277, 276}};
    for (auto [normal, other] : pairs) {
        const Surface a = decode(normal), b = decode(other);
        const int w = cairo_image_surface_get_width(a.get());
        const int h = cairo_image_surface_get_height(a.get());
        int differing = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                differing += (alpha_at(a.get(), x, y) > 127) != (alpha_at(b.get(), x, y) > 127);
            }
        }
        // Edge pixels may differ in their anti-aliasing; a glow or a grown outline would not.
        EXPECT_LE(differing, (w + h) / 2) << normal << " vs " << other;
    }
}

TEST(SkinResources, IconInkSuitsTheGroundItIsDrawnOn) {
    auto ink_luminance = [](int id) {
        const Surface s = decode(id);
        const int w = cairo_image_surface_get_width(s.get());
        const int h = cairo_image_surface_get_height(s.get());
        return patch(s.get(), 0, 0, w, h).luminance;
    };
    // Step icons and fold arrows sit on the light list rows.
    for (int id : {204, 205, 206, 207, 208, 209, 210, 211, 212, 213, 215, 230, 231}) {
        EXPECT_LT(ink_luminance(id), 0.45) << id;
    }
    // Tool icons sit on the dark window.
    for (int id : {285, 287, 289, 291, 293, 295, 297, 220, 243, 235, 290, 286, 298, 305}) {
        EXPECT_GT(ink_luminance(id), 0.5) << id;
    }
}

TEST(SkinResources, ProfilePicturesShowTheirProfileColour) {
    // Profiles 1..5 are red, green, blue, magenta, cyan; the pictures are shown by profile
    // with ids out of order (the fourth profile uses 314/335, the fifth 312/333).
    struct Profile {
        int first_set, second_set;
        bool r, g, b;
    };
    const Profile profiles[] = {{136, 331, true, false, false},
                                {313, 334, false, true, false},
                                {311, 332, false, false, true},
                                {314, 335, true, false, true},
                                {312, 333, false, true, true}};
    for (const Profile& p : profiles) {
        for (int id : {p.first_set, p.second_set}) {
            const Surface s = decode(id);
            // The left end of the profile light on the palm (its middle has a white sheen).
            const Rgb c = colour_at(s.get(), 87, 262);
            EXPECT_EQ(c.r > 160, p.r) << id;
            EXPECT_EQ(c.g > 160, p.g) << id;
            EXPECT_EQ(c.b > 160, p.b) << id;
        }
    }
}

TEST(SkinResources, DpiPicturesLightOneBarPerLevel) {
    // Level pictures by level 1..4: 158, 159, 155, 156, and 326..329 for the second set.
    const int first_set[] = {158, 159, 155, 156};
    for (int level = 1; level <= 4; ++level) {
        for (int id : {first_set[level - 1], 325 + level}) {
            const Surface s = decode(id);
            int lit = 0;
            for (int bar = 0; bar < 4; ++bar) {
                // Bars stand on y = 80, 24 wide, 38 apart from x = 200; sample just above
                // the floor.
                const Rgb c = colour_at(s.get(), 212 + 38 * bar, 74);
                lit += std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}) > 100;
            }
            EXPECT_EQ(lit, level) << id;
        }
    }
}

TEST(SkinResources, LeaderLineAnchorsLandOnTheMouseInEveryButtonPagePicture) {
    // Where the leader line of button i ends, relative to the picture at (688, 195).
    const int anchors[11][2] = {{82, 35},  {162, 28}, {122, 65}, {22, 135}, {40, 187}, {196, 45},
                                {207, 90}, {75, 62},  {163, 62}, {120, 19}, {120, 110}};
    for (int id : {136, 313, 311, 312, 314, 331, 334, 332, 333, 335}) {
        const Surface s = decode(id);
        ASSERT_NE(s, nullptr) << id;
        for (const auto& a : anchors) {
            EXPECT_EQ(alpha_at(s.get(), a[0], a[1]), 255)
                << "picture " << id << " at " << a[0] << "," << a[1];
        }
    }
}

TEST(SkinResources, LeaderLinesOfTheWheelEndOnTheWheelAndTheClicksBesideIt) {
    // Anchors relative to the picture: left click, right click, wheel click, tilt left, tilt
    // right, scroll up, scroll down.
    const int left_click[2] = {82, 35}, right_click[2] = {162, 28};
    const int wheel[3][2] = {{122, 65}, {120, 19}, {120, 110}};
    const int tilts[2][2] = {{75, 62}, {163, 62}};
    const auto brightness = [](const Rgb& c) { return std::max({c.r, c.g, c.b}); };
    const auto saturation = [](const Rgb& c) {
        return std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b});
    };
    for (int id : {136, 313, 311, 312, 314, 331, 334, 332, 333, 335}) {
        const Surface s = decode(id);
        // Each wheel anchor lies inside the wheel's channel (near black, x 109 to 131).
        for (const auto& a : wheel) {
            EXPECT_TRUE(a[0] > 109 && a[0] < 131);
            EXPECT_LT(brightness(colour_at(s.get(), 109, a[1])), 30) << id << " " << a[1];
            EXPECT_LT(brightness(colour_at(s.get(), 131, a[1])), 30) << id << " " << a[1];
        }
        // The two clicks end on button tops, not in the channel, and the channel parts them.
        for (const int* a : {left_click, right_click})
            EXPECT_GT(brightness(colour_at(s.get(), a[0], a[1])), 40) << id << " " << a[0];
        EXPECT_LT(brightness(colour_at(s.get(), 110, 35)), 30) << id;
        // The tilts end on the accent-coloured arrows out of the wheel's sides.
        for (const auto& a : tilts)
            EXPECT_GT(saturation(colour_at(s.get(), a[0], a[1])), 100) << id << " " << a[0];
    }
}

TEST(SkinResources, CursorHotspotsSitOnTheDrawnPointer) {
    for (int id : {kCursorActive, kCursorDrag}) {
        const CursorHotspot h = cursor_hotspot(id);
        const Surface s = decode(id);
        ASSERT_NE(s, nullptr) << id;
        ASSERT_TRUE(h.x >= 0 && h.x < 32 && h.y >= 0 && h.y < 32) << id;
        // The tip pixel, or one next to it, is painted.
        int painted = 0;
        for (int dy = 0; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                painted += alpha_at(s.get(), std::max(0, h.x + dx), h.y + dy) > 0;
            }
        }
        EXPECT_GT(painted, 0) << id;
    }
    EXPECT_EQ(cursor_hotspot(128).x, 0);
    EXPECT_EQ(cursor_hotspot(128).y, 0);
}

}  // namespace
}  // namespace zentrik::res
