// Everything that runs on the animation tick or the clock: double presses, wheel
// acceleration, spin auto-repeat, tooltips, smooth scrolling, and the tick going idle.
#include "tests/ui_input/dispatcher_fixture.h"

namespace zentrik::ui::testing {
namespace {

TEST_F(DispatcherTest, SecondPressCountsOnlyWithinThirtyTicks) {
    Widget* b = button("b", 0, 0, 5);
    click(10, 10);
    ticks(29);
    click(10, 10);
    ASSERT_EQ(handler.count(kActionSecondPress), 1);
    EXPECT_EQ(handler.events[handler.events.size() - 2].first, b);

    // A third press right after is a first press again.
    click(10, 10);
    EXPECT_EQ(handler.count(kActionSecondPress), 1);
    ticks(31);
    click(10, 10);
    EXPECT_EQ(handler.count(kActionSecondPress), 1) << "the window had closed";
}

TEST_F(DispatcherTest, TheTickStopsWhenNothingMovesAndInputRestartsIt) {
    button("b", 0, 0, 5);
    EXPECT_FALSE(timers.armed(kAnimationTimer));
    move(10, 10);
    EXPECT_FALSE(timers.armed(kAnimationTimer)) << "hovering a widget without a tooltip";
    click(10, 10);
    EXPECT_TRUE(timers.armed(kAnimationTimer)) << "the double-press countdown runs";
    ticks(30);
    EXPECT_FALSE(timers.armed(kAnimationTimer));
    const int fired = timers.fired(kAnimationTimer);
    ticks(1000);
    EXPECT_EQ(timers.fired(kAnimationTimer), fired) << "no wake-ups while idle";
}

TEST_F(DispatcherTest, WheelNotchesAccelerateWithinNineteenMilliseconds) {
    Widget* w = list("l", 0, 0, 90, 60);
    dispatcher.wheel_event(1, 50, 100);
    EXPECT_EQ(w->first_row, 1);
    clock.advance(10);
    dispatcher.wheel_event(1, 50, 100);
    EXPECT_EQ(w->first_row, 10) << "a quick second notch scrolls 9 rows";
    clock.advance(20);
    dispatcher.wheel_event(1, 50, 100);
    EXPECT_EQ(w->first_row, 11);
    clock.advance(19);
    dispatcher.wheel_event(-1, 50, 100);
    EXPECT_EQ(w->first_row, 2);
    clock.advance(500);
    dispatcher.wheel_event(-5, 50, 100);
    EXPECT_EQ(w->first_row, 0) << "never above the first row";
    dispatcher.wheel_event(1, 500, 500);  // outside the list
    EXPECT_EQ(w->first_row, 0);
}

TEST_F(DispatcherTest, WheelStopsAtTheLastRowsAndTheListGlidesThere) {
    Widget* w = list("l", 0, 0, 90, 12);  // 10 visible rows
    dispatcher.wheel_event(50, 50, 100);
    EXPECT_EQ(w->first_row, 4);
    EXPECT_EQ(w->scroll_px, 0) << "the picture follows on the tick";
    ticks(200);
    EXPECT_EQ(w->scroll_px, 4 * w->row_height);
    EXPECT_FALSE(timers.armed(kAnimationTimer)) << "the scroll bar has faded and the tick stopped";
    EXPECT_EQ(w->scrollbar_fade, 0);
}

TEST_F(DispatcherTest, HoldingASpinArrowRepeatsAtOnceThenAfter21ThenEvery6Ticks) {
    Widget* spin = spin_box(0, 1000, 10, 500);
    press(160, 103);  // up arrow
    std::vector<int> change_ticks;
    for (int t = 0; t < 34; ++t) {
        const int before = spin->value;
        ticks(1);
        if (spin->value != before)
            change_ticks.push_back(t);
    }
    EXPECT_EQ(change_ticks, (std::vector<int>{0, 21, 27, 33}));
    EXPECT_EQ(handler.count(kActionClick), 4);
    release(160, 103);
    ticks(40);
    EXPECT_EQ(spin->value, 540) << "no repeat after the release";

    press(160, 115);  // down arrow: the count starts again
    ticks(1);
    EXPECT_EQ(spin->value, 530);
    ticks(20);
    EXPECT_EQ(spin->value, 530);
    ticks(1);
    EXPECT_EQ(spin->value, 520);
    release(160, 115);

    spin->value = 1000;
    press(160, 103);
    const int clicks = handler.count(kActionClick);
    ticks(30);
    EXPECT_EQ(spin->value, 1000);
    EXPECT_EQ(handler.count(kActionClick), clicks) << "no change, no action at the maximum";
    release(160, 103);
}

TEST_F(DispatcherTest, AClickShorterThanATickStepsASpinArrowOnce) {
    Widget* spin = spin_box(0, 1000, 10, 500);
    press(160, 103);
    release(160, 103);
    EXPECT_EQ(spin->value, 510);
    ticks(40);
    EXPECT_EQ(spin->value, 510);
    press(160, 115);
    ticks(1);
    release(160, 115);
    EXPECT_EQ(spin->value, 500) << "a held arrow that already stepped does not step again";
}

TEST_F(DispatcherTest, TooltipSitsAboveTheWidgetWithinTheWindowAndTimesOut) {
    Widget* right = button("right", 960, 300, 212);
    right->has_tooltip = 1;
    right->tooltip = std::string(20, 'x');  // measured 200 pixels wide
    Widget* left = button("left", 0, 100, 213);
    left->has_tooltip = 1;
    left->tooltip = std::string(20, 'y');
    move(970, 310);
    const float* r = board.tooltip.rect;
    EXPECT_FLOAT_EQ(r[2], 204.0f);
    EXPECT_FLOAT_EQ(r[3], 16.0f);
    EXPECT_FLOAT_EQ(r[0] + r[2], 995.0f) << "clamped at the right limit";
    EXPECT_FLOAT_EQ(r[1], 300.0f - 16.0f - 4.0f);
    EXPECT_EQ(board.tooltip.count, kTooltipTicks);
    move(10, 110);
    EXPECT_FLOAT_EQ(board.tooltip.rect[0], 3.0f) << "clamped at the left limit";
    EXPECT_EQ(board.tooltip.text, left->tooltip);
    ticks(kTooltipTicks);
    EXPECT_EQ(board.tooltip.count, 0);
    EXPECT_FALSE(timers.armed(kAnimationTimer));
}

TEST_F(DispatcherTest, TooltipHidesOffItsWidgetAndDuringDragsExceptOverADeleteTarget) {
    Widget* tool = button("icon tool delete", 300, 300, 215);
    tool->has_tooltip = 1;
    tool->tooltip = "Drag-drop macro or command here to discard";
    tool->delete_target = 1;
    Widget* plain = button("icon tool new", 300, 400, 212);
    plain->has_tooltip = 1;
    plain->tooltip = "Reset macro edit";
    Widget* src = list("src", 0, 0, 90, 4);
    src->draggable = 1;
    move(310, 410);
    EXPECT_GT(board.tooltip.count, 0);
    move(600, 600);
    EXPECT_EQ(board.tooltip.count, 0);

    press(50, row_y(*src, 1));
    move(60, row_y(*src, 1), true);
    ASSERT_EQ(board.pointer.drag_state, 2);
    move(310, 410, true);
    EXPECT_EQ(board.tooltip.count, 0) << "no tooltip during a drag";
    move(310, 310, true);
    EXPECT_GT(board.tooltip.count, 0) << "the delete target keeps its tooltip";
    release(310, 310);
}

// A greyed widget takes no click, but its tooltip (why it is greyed) still shows.
TEST_F(DispatcherTest, ADisabledWidgetShowsItsTooltipButTakesNoClick) {
    Widget* kept = button("kept", 300, 300, 100);
    kept->enabled = 0;
    kept->has_tooltip = 1;
    kept->tooltip = "stays a left click";
    move(310, 310);
    EXPECT_GT(board.tooltip.count, 0);
    EXPECT_EQ(board.tooltip.text, "stays a left click");
    click(310, 310);
    EXPECT_EQ(handler.count(kActionClick), 0);
    EXPECT_EQ(kept->state, 0);
}

}  // namespace
}  // namespace zentrik::ui::testing
