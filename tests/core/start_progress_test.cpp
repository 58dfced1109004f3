// The start-up's progress box: from the first poll to the loaded home page it moves forward
// through labelled phases, and it goes away however the start ends.
#include <gtest/gtest.h>

#include <set>

#include "support/core_harness.h"

namespace zentrik::testing {
namespace {

TEST(StartProgress, MovesForwardThroughLabelledPhasesAndEndsOnTheHomePage) {
    CoreHarness h({family_mouse(), family_mouse()});
    std::vector<std::pair<std::string, double>> seen;  // label and fraction at each sleep
    h.timing->on_sleep = [&](int) {
        const ui::ProgressOverlay& box = h.session->progress_overlay();
        ASSERT_TRUE(box.shown()) << "a start-up exchange without the box";
        seen.emplace_back(box.message(), box.fraction());
    };
    h.start_and_load();
    h.timing->on_sleep = nullptr;
    ASSERT_FALSE(seen.empty());
    for (std::size_t i = 1; i < seen.size(); ++i)
        ASSERT_GE(seen[i].second, seen[i - 1].second) << "went back at " << seen[i].first;
    std::vector<std::string> labels;
    std::set<double> buttons_steps;  // the bar moves while the buttons, most of the load, are read
    for (const auto& [label, fraction] : seen) {
        if (labels.empty() || labels.back() != label)
            labels.push_back(label);
        if (label == "Reading the buttons...")
            buttons_steps.insert(fraction);
    }
    EXPECT_GE(buttons_steps.size(), 10u);
    // (Discovery makes no exchange that sleeps with the simulated mice.)
    EXPECT_EQ(labels,
              (std::vector<std::string>{"Identifying the mouse...", "Reading the macro memory...",
                                        "Reading the buttons...", "Reading the DPI levels...",
                                        "Reading the profile names..."}));
    EXPECT_LT(seen.front().second, 0.05);
    EXPECT_GT(seen.back().second, 0.9);
    EXPECT_FALSE(h.session->progress_overlay().shown());
    EXPECT_EQ(h.page(), ui::kPageHome);
}

TEST(StartProgress, EndsWhenNoMouseIsFoundOrTheChoiceIsRefused) {
    CoreHarness none(std::vector<sim::SimMouseConfig>{});
    none.start_and_load();
    EXPECT_FALSE(none.session->progress_overlay().shown());

    CoreHarness h;
    h.session->start();
    h.advance(1);  // the poll: the box shows the identification
    EXPECT_TRUE(h.session->progress_overlay().shown());
    // A job holds the mouse while the listing chooses it: the choice is refused.
    ASSERT_TRUE(h.session->jobs().run([&] { h.advance(100); }));
    EXPECT_TRUE(h.session->selected_path().empty());
    EXPECT_FALSE(h.session->progress_overlay().shown());
}

}  // namespace
}  // namespace zentrik::testing
