// The reports of every attached mouse: tilts scroll from any of them, selected or not; profile
// and DPI events act only for the selected one.
#include <gtest/gtest.h>

#include "core/mouse_report_streams.h"
#include "support/core_harness.h"

namespace zentrik::testing {
namespace {

TEST(MouseReportStreams, TiltsOfEveryListedMouseCountEventsOnlyFromTheSelectedOne) {
    CoreHarness h({family_mouse(), family_mouse()});
    h.session->start();
    h.advance(1);  // the poll lists both mice; none is selected yet
    ASSERT_EQ(h.shell.listed, (std::vector<std::string>{"sim:mouse0", "sim:mouse1"}));
    core::MouseReportStreams streams(*h.backend);
    EXPECT_EQ(streams.follow(h.shell.listed).opened.size(), 2u);
    EXPECT_GE(streams.fd("sim:mouse1"), 0);

    ASSERT_TRUE(h.mouse(1).tilt(-2));
    EXPECT_TRUE(streams.deliver("sim:mouse1", *h.session));
    EXPECT_EQ(h.session->take_tilt(), -2);  // before any selection

    h.advance(100);  // the listing chooses mouse 0
    ASSERT_EQ(h.session->selected_path(), "sim:mouse0");
    const std::uint8_t tag = h.mouse(0).link_tag();
    ASSERT_TRUE(h.mouse(1).tilt(3));
    streams.deliver("sim:mouse1", *h.session);
    EXPECT_EQ(h.session->take_tilt(), 3);  // the unselected mouse still scrolls

    // A profile event carrying our tag acts only when it comes from the selected mouse.
    const std::vector<std::uint8_t> profile = {4, 0x12, tag, 1, 3, 0, 0, 0};
    h.session->on_input_report("sim:mouse1", profile);
    EXPECT_EQ(h.session->model().snapshot().profile, 0);
    h.session->on_input_report("sim:mouse0", profile);
    EXPECT_EQ(h.session->model().snapshot().profile, 3);
}

TEST(MouseReportStreams, FollowsArrivalsAndRemovals) {
    CoreHarness h({family_mouse(), family_mouse()});
    core::MouseReportStreams streams(*h.backend);
    streams.follow({"sim:mouse0"});
    ASSERT_TRUE(h.mouse(0).unplug());
    EXPECT_FALSE(streams.deliver("sim:mouse0", *h.session));  // the stream ended
    EXPECT_TRUE(streams.followed().empty());
    // A mouse that cannot be opened is tried again by the next listing.
    EXPECT_TRUE(streams.follow({"sim:mouse0", "sim:mouse1"}).opened ==
                std::vector<std::string>{"sim:mouse1"});
    ASSERT_TRUE(h.mouse(0).plug());
    EXPECT_EQ(streams.follow({"sim:mouse0", "sim:mouse1"}).opened,
              std::vector<std::string>{"sim:mouse0"});
    EXPECT_EQ(streams.follow({"sim:mouse0"}).closed, std::vector<std::string>{"sim:mouse1"});
    EXPECT_EQ(streams.followed(), std::vector<std::string>{"sim:mouse0"});
}

}  // namespace
}  // namespace zentrik::testing
