// The DPI page: grids, deferred writes and the store-settings timer, levels, rate, snapping,
// wheel, and changes made on the mouse.
#include <gtest/gtest.h>

#include "device/mouse_models.h"
#include "support/core_harness.h"

namespace zentrik::testing {
namespace {

using device::dpi_grid;

TEST(DpiGrid, StepsByModelAndSensor) {
    EXPECT_EQ(dpi_grid("qx19", 2, 90).max_dpi(), 5040);
    EXPECT_EQ(dpi_grid("qx19", 0, 100).count, 32);
    EXPECT_EQ(dpi_grid("qx19", 1, 100).count, 63);
    EXPECT_EQ(dpi_grid("qx9", 1, 90).max_dpi(), 5700);
    EXPECT_EQ(dpi_grid("qx9", 5, 90).max_dpi(), 8200);
    EXPECT_EQ(dpi_grid("qx9", 5, 90).min_dpi(), 200);
    EXPECT_EQ(dpi_grid("qx10", 2, 0).step, 100);  // a mouse that gives no step
}

TEST(Dpi, SpinnerEntryIsStoredInWholeSteps) {
    CoreHarness h({family_mouse(7, 2, 3, 90)});
    h.start_and_load();
    EXPECT_EQ(h.widget("dpi x").max, 5040);
    h.set_value_and_click("dpi x value", 1000);
    EXPECT_EQ(h.widget("dpi x value").value, 990);
    EXPECT_EQ(h.session->model().snapshot().levels[1].x, 11);
}

TEST(Dpi, ARestingSliderWritesOnceAndCommitsOnce) {
    CoreHarness h;
    h.start_and_load();
    h.clear_requests();
    for (int dpi = 500; dpi <= 1500; dpi += 100) {
        h.set_value_and_click("dpi x", dpi);
        h.advance(50);
    }
    EXPECT_EQ(h.count_requests(0x01, 0x83), 0);
    h.advance(150);
    // X and Y (axes tied), each once.
    EXPECT_EQ(h.count_requests(0x01, 0x83), 2);
    EXPECT_EQ(h.count_requests(0x01, 0x02), 0);
    h.advance(1999);
    EXPECT_EQ(h.count_requests(0x01, 0x02), 0);
    h.advance(1);
    EXPECT_EQ(h.count_requests(0x01, 0x02), 1);
    const auto s = h.mouse().stored_settings();
    const int level = h.session->model().snapshot().level;
    EXPECT_EQ(s.dpi[static_cast<std::size_t>(level)][0], 15);
    EXPECT_EQ(s.dpi[static_cast<std::size_t>(level)][1], 15);
}

TEST(Dpi, IndependentAxesWriteOnlyTheMovedOne) {
    CoreHarness h;
    h.start_and_load();
    h.click("x y indep");
    h.clear_requests();
    h.set_value_and_click("dpi x", 800);
    h.advance(200);
    const auto reqs = h.requests();
    ASSERT_EQ(reqs.size(), 1u);
    EXPECT_EQ(reqs[0][3], 0);  // axis X
}

TEST(Dpi, LevelRadioWritesAtOnceAndShowsItsPicture) {
    CoreHarness h;
    h.start_and_load();
    h.clear_requests();
    h.click("dpi level 3");
    const auto reqs = h.requests();
    ASSERT_EQ(reqs.size(), 1u);
    EXPECT_EQ(reqs[0][2], 0x87);
    EXPECT_EQ(reqs[0][3], 2);
    EXPECT_EQ(h.widget("z_dpi3").visible, 1);
    EXPECT_EQ(h.widget("z_dpi1").visible, 0);
    EXPECT_EQ(h.widget("dpi level 3").checked, 1);
}

TEST(Dpi, RateSliderEnds) {
    CoreHarness h;
    h.start_and_load();
    h.set_value_and_click("report rate", 8);
    EXPECT_EQ(h.text("static reprot"), "1000Hz");
    h.set_value_and_click("report rate", 1);
    EXPECT_EQ(h.text("static reprot"), "125Hz");
    h.clear_requests();
    h.advance(1000);
    const auto reqs = h.requests();
    ASSERT_EQ(reqs.size(), 1u);
    EXPECT_EQ(reqs[0][2], 0x8B);
    EXPECT_EQ(reqs[0][3] & 0x0F, 8);
}

TEST(Dpi, AngleSnappingNeverReachesASensorZeroMouse) {
    CoreHarness h({family_mouse(7, 0)});
    h.start_and_load();
    h.click("angle snap");
    h.set_value_and_click("report rate", 7);
    h.clear_requests();
    h.advance(3000);
    for (const auto& r : h.requests())
        if (r[2] == 0x8B) {
            EXPECT_EQ(r[3] & 0x70, 0);
        }
}

TEST(Dpi, AngleSnappingOnSensorOne) {
    CoreHarness h({family_mouse(7, 1)});
    h.start_and_load();
    h.click("angle snap");
    h.clear_requests();
    h.advance(1000);
    const auto reqs = h.requests();
    ASSERT_EQ(reqs.size(), 1u);
    EXPECT_EQ(reqs[0][3] >> 4, 6);
}

TEST(Dpi, MouseReportedChangesUpdateTheModelAndWriteNothing) {
    CoreHarness h({family_mouse(8)});
    h.start_and_load();
    h.clear_requests();
    const std::uint8_t tag = h.mouse().link_tag();
    h.session->on_input_report(h.session->selected_path(),
                               std::vector<std::uint8_t>{4, 0x12, tag, 2, 3, 0xFA, 20, 21});
    auto s = h.session->model().snapshot();
    EXPECT_EQ(s.level, 3);
    EXPECT_EQ(s.levels[3].x, 20);
    EXPECT_EQ(s.levels[3].y, 21);
    EXPECT_EQ(h.widget("z_dpi4").visible, 1);
    h.session->on_input_report(h.session->selected_path(),
                               std::vector<std::uint8_t>{4, 0x12, tag, 11, 1, 7, 8, 4});
    s = h.session->model().snapshot();
    EXPECT_EQ(s.level, 1);
    EXPECT_EQ(s.levels[1].x, 7);
    EXPECT_EQ(s.wheel_rate, 4);
    EXPECT_EQ(h.text("static wheel"), "4");
    EXPECT_EQ(h.widget("wheel rate").value, 4);
    h.advance(5000);
    EXPECT_TRUE(h.requests().empty());
}

}  // namespace
}  // namespace zentrik::testing
