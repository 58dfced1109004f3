// Loading the selected mouse: what is read, what is shown, and the one correction written.
#include <gtest/gtest.h>

#include "device/commands.h"
#include "support/core_harness.h"
#include "ui/skin_image.h"

namespace zentrik::testing {
namespace {

TEST(SettingsLoad, ProfileThreeShowsMarkDNotC) {
    CoreHarness h;
    device::write_profile(*h.lib, "sim:mouse0", 3);
    h.start_and_load();
    EXPECT_EQ(h.widget("_mouse p11d").visible, 1);
    EXPECT_EQ(h.widget("_mouse p11c").visible, 0);
    EXPECT_EQ(h.widget("_mouse p11").visible, 0);
    EXPECT_EQ(h.widget("profile 3").checked, 1);
}

TEST(SettingsLoad, EmptyNamesTakeTheDefaultWithTheProfileNumber) {
    CoreHarness h;
    device::write_profile_name(*h.lib, "sim:mouse0", 0, u"Games");
    device::write_profile_name(*h.lib, "sim:mouse0", 2, u"");
    h.start_and_load();
    EXPECT_EQ(h.text("profile 0"), "Games");
    EXPECT_EQ(h.text("profile 2"), "profile 3");
}

TEST(SettingsLoad, RateByteWithSensorOneSnapsAngles) {
    CoreHarness h({family_mouse(7, 1)});
    device::write_rate_byte(*h.lib, "sim:mouse0", 0x12);
    h.start_and_load();
    EXPECT_EQ(h.text("static reprot"), "500Hz");
    EXPECT_EQ(h.widget("angle snap").checked, 1);
    EXPECT_EQ(h.widget("angle snap").visible, 1);
    EXPECT_EQ(h.widget("report rate").value, 7);
}

TEST(SettingsLoad, RateByteWithSensorZeroHidesAngleSnapping) {
    CoreHarness h({family_mouse(7, 0)});
    device::write_rate_byte(*h.lib, "sim:mouse0", 0x12);
    h.start_and_load();
    EXPECT_EQ(h.text("static reprot"), "500Hz");
    EXPECT_EQ(h.widget("angle snap").checked, 0);
    EXPECT_EQ(h.widget("angle snap").visible, 0);
    EXPECT_EQ(h.session->model().snapshot().angle_snap, 0);
}

TEST(SettingsLoad, WheelRateOnlyForModelsThatHaveIt) {
    CoreHarness qx19({family_mouse(7)});
    qx19.start_and_load();
    EXPECT_EQ(qx19.count_requests(0x07, 0x00), 0);
    EXPECT_EQ(qx19.widget("wheel rate").visible, 0);
    EXPECT_EQ(qx19.widget("x y indep").y, 280);

    CoreHarness qx10({family_mouse(8)});
    device::write_wheel_rate(*qx10.lib, "sim:mouse0", 5);
    qx10.start_and_load();
    EXPECT_EQ(qx10.widget("wheel rate").visible, 1);
    EXPECT_EQ(qx10.widget("wheel rate").value, 5);
    EXPECT_EQ(qx10.text("static wheel"), "5");
    EXPECT_EQ(qx10.widget("x y indep").y, 280);  // below angle snapping, which this one has

    // Without angle snapping the box takes the model's own place.
    CoreHarness plain_qx10({family_mouse(8, 0)});
    plain_qx10.start_and_load();
    EXPECT_EQ(plain_qx10.widget("angle snap").visible, 0);
    EXPECT_EQ(plain_qx10.widget("x y indep").y, 270);
}

TEST(SettingsLoad, MacroLimitAboveTheMemoryIsCorrectedAndStored) {
    CoreHarness h({family_mouse(7, 1, 3, 100, 8192)});
    device::write_macro_limit(*h.lib, "sim:mouse0", 0x3000);
    h.clear_requests();
    h.start_and_load();
    EXPECT_EQ(h.session->model().snapshot().macro_limit, 0x1F00);
    EXPECT_EQ(h.mouse().stored_settings().macro_limit, 0x1F00);
}

TEST(SettingsLoad, SensorFiveTakesTheSecondPictureSet) {
    CoreHarness h({family_mouse(7, 5)});
    h.start_and_load();
    EXPECT_EQ(h.widget("_mouse p50").images[0], ui::load_skin_image(330));
    EXPECT_EQ(h.widget("z_dpi3").images[0], ui::load_skin_image(328));
}

TEST(SettingsLoad, ProgressBoxCoversTheLoadAndInputComesBack) {
    CoreHarness h;
    bool shown_during_load = false;
    h.session->refresh_memory_info = [&] {
        shown_during_load = h.session->progress_overlay().shown() && h.board.live == 0;
    };
    h.start_and_load();
    EXPECT_TRUE(shown_during_load);
    EXPECT_FALSE(h.session->progress_overlay().shown());
    EXPECT_EQ(h.board.live.load(), 1);
}

TEST(MouseReports, ProfileFromTheMouseChangesThePageWithoutWritingIt) {
    CoreHarness h;
    h.start_and_load();
    h.clear_requests();
    h.mouse().press_profile_button(2);
    std::vector<std::uint8_t> report(8);
    ASSERT_EQ(h.mouse().read_input(report, 0), 8);
    h.session->on_input_report(h.session->selected_path(), report);
    EXPECT_EQ(h.widget("profile 2").checked, 1);
    EXPECT_EQ(h.widget("_mouse p11b").visible, 1);
    EXPECT_EQ(h.count_requests(0x01, 0x88), 0);
    EXPECT_EQ(h.session->model().snapshot().profile, 2);
}

TEST(MouseReports, ReportsWithAnotherTagAreIgnoredTiltsAreNot) {
    CoreHarness h;
    h.start_and_load();
    const std::uint8_t other = static_cast<std::uint8_t>(h.mouse().link_tag() + 1);
    const std::vector<std::uint8_t> profile = {4, 0x12, other, 1, 3, 0, 0, 0};
    h.session->on_input_report(h.session->selected_path(), profile);
    EXPECT_EQ(h.session->model().snapshot().profile, 0);
    const std::vector<std::uint8_t> tilt = {4, 0x12, other, 3, 0xFE, 0, 0, 0};
    h.session->on_input_report(h.session->selected_path(), tilt);
    h.session->on_input_report(h.session->selected_path(), tilt);
    EXPECT_EQ(h.session->take_tilt(), -4);
    EXPECT_EQ(h.session->take_tilt(), 0);
}

}  // namespace
}  // namespace zentrik::testing

namespace zentrik::testing {
namespace {

TEST(SettingsLoad, AFullLoadReadsEveryButtonLevelAndNameOnce) {
    CoreHarness h;
    h.start_and_load();
    EXPECT_EQ(h.count_requests(0x01, 0x05), 55);  // 5 profiles x 11 buttons
    EXPECT_EQ(h.count_requests(0x01, 0x03), 4);   // the four DPI levels
    EXPECT_EQ(h.count_requests(0x00, 0x02), 1);   // one link tag
}

}  // namespace
}  // namespace zentrik::testing
