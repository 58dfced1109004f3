// Decoding the mouse's own input reports, and agreement with what the simulated mouse raises.
#include <gtest/gtest.h>

#include <vector>

#include "device/vendor_report.h"
#include "sim/sim_mouse.h"

namespace zentrik::device {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(VendorReport, DecodesEachEventFromItsBytes) {
    struct Case {
        Bytes report;
        VendorReport expected;
    };
    const Case cases[] = {
        {{4, 0x12, 7, 1, 3, 0, 0, 0},
         {.event = VendorEvent::kProfile, .link_tag = 7, .profile = 3}},
        {{4, 0x12, 9, 2, 2, 0xFA, 16, 24},
         {.event = VendorEvent::kDpi,
          .link_tag = 9,
          .level = 2,
          .has_steps = true,
          .x_steps = 16,
          .y_steps = 24}},
        // Without the marker the level changes alone.
        {{4, 0x12, 9, 2, 1, 0x00, 16, 24}, {.event = VendorEvent::kDpi, .link_tag = 9, .level = 1}},
        {{4, 0x12, 5, 11, 3, 40, 50, 6},
         {.event = VendorEvent::kWheel,
          .link_tag = 5,
          .level = 3,
          .has_steps = true,
          .x_steps = 40,
          .y_steps = 50,
          .wheel_rate = 6}},
        {{4, 0x12, 0, 3, 0xFE, 0, 0, 0}, {.event = VendorEvent::kTilt, .tilt = -2}},
        {{4, 0x12, 0, 3, 0x7F, 0, 0, 0}, {.event = VendorEvent::kTilt, .tilt = 127}},
        {{4, 0x12, 0, 3, 0x80, 0, 0, 0}, {.event = VendorEvent::kTilt, .tilt = -128}},
        // Longer reports carry the same fields.
        {{0, 0x12, 2, 1, 4, 0, 0, 0, 0xAA, 0xBB},
         {.event = VendorEvent::kProfile, .link_tag = 2, .profile = 4}},
    };
    for (const auto& c : cases) {
        const auto r = decode_vendor_report(c.report);
        ASSERT_TRUE(r) << "event " << int(c.report[3]);
        EXPECT_EQ(r->event, c.expected.event);
        EXPECT_EQ(r->link_tag, c.expected.link_tag);
        EXPECT_EQ(r->profile, c.expected.profile);
        EXPECT_EQ(r->level, c.expected.level);
        EXPECT_EQ(r->has_steps, c.expected.has_steps);
        EXPECT_EQ(r->x_steps, c.expected.x_steps);
        EXPECT_EQ(r->y_steps, c.expected.y_steps);
        EXPECT_EQ(r->wheel_rate, c.expected.wheel_rate);
        EXPECT_EQ(r->tilt, c.expected.tilt);
    }
}

TEST(VendorReport, IgnoresWhatIsNotAnEventOfTheMouse) {
    const Bytes ignored[] = {
        {4, 0x12, 7, 1, 3, 0, 0},        // 7 bytes
        {},                              // nothing
        {4, 0x13, 7, 1, 3, 0, 0, 0},     // byte 1 not 0x12
        {4, 0x12, 7, 4, 3, 0, 0, 0},     // unknown event code
        {4, 0x12, 7, 0, 3, 0, 0, 0},     // unknown event code 0
        {4, 0x12, 7, 1, 5, 0, 0, 0},     // profile 5 does not exist
        {4, 0x12, 7, 2, 4, 0xFA, 1, 1},  // level 4 does not exist
        {4, 0x12, 7, 11, 9, 1, 1, 1},
    };
    for (const auto& report : ignored)
        EXPECT_FALSE(decode_vendor_report(report)) << report.size();
}

TEST(VendorReport, OnlyTiltsPassAnotherProgramsTag) {
    const Bytes mine = {4, 0x12, 7, 1, 3, 0, 0, 0};
    const Bytes theirs = {4, 0x12, 8, 1, 3, 0, 0, 0};
    const Bytes tilt = {4, 0x12, 8, 3, 1, 0, 0, 0};
    EXPECT_TRUE(addressed_to_us(*decode_vendor_report(mine), 7));
    EXPECT_FALSE(addressed_to_us(*decode_vendor_report(theirs), 7));
    EXPECT_TRUE(addressed_to_us(*decode_vendor_report(tilt), 7));
}

// The simulated mouse raises what a real one does: each of its reports decodes to the change
// it made, under the tag it holds.
TEST(VendorReport, AgreesWithTheSimulatedMouse) {
    sim::SimMouse mouse(sim::SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    std::uint8_t tag_request[9] = {0, 0x00, 0x02, 42, 0, 0, 0, 0, 0x12};
    mouse.set_feature(tag_request);
    auto next = [&] {
        Bytes report(64);
        const int n = mouse.read_input(report, 0);
        report.resize(static_cast<std::size_t>(std::max(n, 0)));
        return decode_vendor_report(report);
    };
    mouse.press_profile_button(2);
    auto r = next();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->event, VendorEvent::kProfile);
    EXPECT_EQ(r->profile, 2);
    EXPECT_EQ(r->link_tag, mouse.link_tag());

    mouse.press_dpi_button(3);
    r = next();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->event, VendorEvent::kDpi);
    EXPECT_EQ(r->level, 3);
    ASSERT_TRUE(r->has_steps);
    const auto xy = mouse.working_settings().dpi[3];
    EXPECT_EQ(r->x_steps, xy[0]);
    EXPECT_EQ(r->y_steps, xy[1]);

    mouse.tilt(-5);
    r = next();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->event, VendorEvent::kTilt);
    EXPECT_EQ(r->tilt, -5);
}

}  // namespace
}  // namespace zentrik::device
