// The table of mouse models: every row is usable as it stands, and the rate byte's upper bits
// never leak into the divisor or the angle snapping the window shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "device/commands.h"
#include "device/mouse_models.h"
#include "res/skin_resources.h"
#include "support/core_harness.h"

namespace zentrik::testing {
namespace {

using device::kAnyCode;

bool has_skin_image(int id) {
    static const std::vector<int> ids = res::skin_image_ids();
    return std::binary_search(ids.begin(), ids.end(), id);
}

TEST(MouseModels, EveryRowHasItsPicturesASaneGridAndOneFallback) {
    const auto models = device::mouse_models();
    const auto sensors = device::sensor_rules();
    // Only the last row of each table stands for the codes no row names.
    ASSERT_EQ(models.back().code, kAnyCode);
    ASSERT_EQ(sensors.back().code, kAnyCode);
    std::set<int> model_codes;
    for (const device::MouseModel& m : models) {
        SCOPED_TRACE(m.tag);
        EXPECT_TRUE(model_codes.insert(m.code).second) << "code listed twice: " << m.code;
        EXPECT_TRUE(has_skin_image(m.row_picture)) << m.row_picture;
        // The settings find a model by its tag: rows sharing a tag must decide alike.
        const device::MouseModel& by_tag = device::mouse_model(m.tag);
        EXPECT_EQ(by_tag.has_wheel_rate, m.has_wheel_rate);
        EXPECT_EQ(by_tag.offers_adjust_lift, m.offers_adjust_lift);
        EXPECT_EQ(by_tag.axes_box_y, m.axes_box_y);
        EXPECT_EQ(by_tag.absent_button_mask, m.absent_button_mask);
        EXPECT_EQ(by_tag.grid.count, m.grid.count);
        EXPECT_TRUE(m.has_button(0)) << "every model has the left button";
        for (const device::SensorRule& s : sensors) {
            for (int dpi_step : {0, 50, 90, 100, 200}) {
                const device::DpiGrid g = device::dpi_grid(m, s, dpi_step);
                // Steps go to the mouse in one byte; a step of 0 would divide by zero.
                EXPECT_GT(g.step, 0);
                EXPECT_GE(g.count, 1);
                EXPECT_LE(g.count, 255);
            }
        }
    }
    std::set<int> sensor_codes;
    for (const device::SensorRule& s : sensors) {
        EXPECT_TRUE(sensor_codes.insert(s.code).second) << "sensor listed twice: " << s.code;
        for (int id : s.pictures)
            EXPECT_TRUE(has_skin_image(id)) << "sensor " << s.code << " picture " << id;
    }
    for (const device::ResetDpiLevels& r : device::reset_dpi_table())
        EXPECT_TRUE(std::is_sorted(r.steps.begin(), r.steps.end()) && r.steps[0] >= 1)
            << "reset levels for step " << r.dpi_step;
    EXPECT_EQ(device::reset_dpi_table().back().dpi_step, kAnyCode);

    // A code or tag no row names gets the fallback row, never a neighbour's.
    EXPECT_EQ(&device::mouse_model(99), &models.back());
    EXPECT_EQ(&device::mouse_model("no such tag"), &models.back());
    EXPECT_EQ(&device::sensor_rule(99), &sensors.back());
}

// Bit 7 and a snapping value with bit 3 set are not part of the divisor or the snapping.
TEST(RateByte, UpperBitsChangeNeitherDivisorNorSnapping) {
    const device::SensorRule& snapping = device::sensor_rule(1);
    ASSERT_TRUE(snapping.snaps_angles);
    for (const std::uint8_t byte : {0x82, 0xE4, 0xF0}) {
        const auto masked = static_cast<std::uint8_t>(byte & 0x7F);
        const device::RateByte a = device::split_rate_byte(byte, snapping);
        const device::RateByte b = device::split_rate_byte(masked, snapping);
        EXPECT_EQ(a.divisor, b.divisor) << int(byte);
        EXPECT_EQ(a.snap, b.snap) << int(byte);
    }

    // The window's load reads the same split.
    CoreHarness off({family_mouse(7, 1)});
    device::write_rate_byte(*off.lib, "sim:mouse0", 0x82);  // bit 7 over snapping 0, divisor 2
    off.start_and_load();
    EXPECT_EQ(off.widget("angle snap").checked, 0);
    EXPECT_EQ(off.text("static reprot"), "500Hz");
    CoreHarness on({family_mouse(7, 1)});
    device::write_rate_byte(*on.lib, "sim:mouse0", 0xE4);  // bit 7 over snapping 6, divisor 4
    on.start_and_load();
    EXPECT_EQ(on.session->model().snapshot().angle_snap, 6);
    EXPECT_EQ(on.text("static reprot"), "250Hz");
}

// Divisors 9-15 are read as the slowest rate offered, so the slider stays in its range.
TEST(RateByte, DivisorsAboveEightReadAs125Hz) {
    EXPECT_EQ(device::split_rate_byte(0x09, device::sensor_rule(0)).divisor, 8);
    CoreHarness h({family_mouse(7, 1)});
    device::write_rate_byte(*h.lib, "sim:mouse0", 0x3F);  // snapping 3, divisor 15
    h.start_and_load();
    EXPECT_EQ(h.text("static reprot"), "125Hz");
    EXPECT_EQ(h.widget("report rate").value, h.widget("report rate").min);
    EXPECT_EQ(h.session->model().snapshot().rate_divisor, 8);
    EXPECT_EQ(h.session->model().snapshot().angle_snap, 3);
}

}  // namespace
}  // namespace zentrik::testing
