// Drags between widgets, scroll-bar thumbs and sliders.
#include "tests/ui_input/dispatcher_fixture.h"

namespace zentrik::ui::testing {
namespace {

class DragTest : public DispatcherTest {
  protected:
    DragTest() {
        source = list("source", 0, 0, 99, 6);
        source->draggable = 1;
        source->rows[0].text = "_@Header";
        source->rows[5].value = kFixedRowValue;
        target = list("target", 300, 0, 91, 4);
        target->draggable = 1;
    }
    Widget* source;
    Widget* target;
};

TEST_F(DragTest, FourPixelsStartADragThreeDoNot) {
    const int y = row_y(*source, 2);
    press(50, y);
    move(53, y + 3, true);
    EXPECT_EQ(board.pointer.drag_state, 1) << "3 pixels keep the drag armed";
    release(53, y + 3);
    EXPECT_EQ(handler.count(kActionDragStarted), 0);
    EXPECT_EQ(handler.count(kActionClick), 1);

    handler.clear();
    ticks(31);
    press(50, y);
    EXPECT_EQ(move(54, y, true), kDragCursorMode);
    ASSERT_EQ(handler.actions(), std::vector<int>{kActionDragStarted});
    EXPECT_EQ(handler.events.back().first, source);
}

TEST_F(DragTest, DropOnAnotherListReportsSourceTargetAndDropRowThenEnds) {
    press(50, row_y(*source, 2));
    move(50, row_y(*source, 2) + 10, true);
    move(350, row_y(*target, 1), true);
    EXPECT_EQ(target->drop_row, 1);
    int drop_row_seen = -2;
    handler.on_event = [&](const WidgetEvent& e) {
        if (e.action == kActionDrop)
            drop_row_seen = target->drop_row;
    };
    release(350, row_y(*target, 1));
    EXPECT_EQ(drop_row_seen, 1) << "the handler reads the drop row during the drop";
    const std::vector<int> expected{kActionDragStarted, kActionDrop, kActionDragEnded};
    ASSERT_EQ(handler.actions(), expected);
    const WidgetEvent& drop = handler.events[handler.events.size() - 2];
    EXPECT_EQ(drop.first, source);
    EXPECT_EQ(drop.second, target);
    EXPECT_EQ(drop.id, 99);
    EXPECT_EQ(board.pointer.focus, target) << "the drop target takes the focus";
    const WidgetEvent& ended = handler.events.back();
    EXPECT_EQ(ended.action, kActionDragEnded);
    EXPECT_EQ(ended.first, source) << "drag end names the source, not the new focus";
    EXPECT_EQ(target->drop_row, -1);
    EXPECT_EQ(board.pointer.drag_state, 0);
}

TEST_F(DragTest, HeaderAndFixedRowsCannotBeDragged) {
    for (int visual : {0, 5}) {
        handler.clear();
        press(50, row_y(*source, visual));
        move(60, row_y(*source, visual) + 6, true);
        EXPECT_EQ(handler.count(kActionDragStarted), 0) << "row " << visual;
        release(60, row_y(*source, visual) + 6);
    }
}

TEST_F(DragTest, StepListsDragAnyRowAndOnlyWhileLive) {
    target->edit_mode = 1;
    target->rows[1].value = kFixedRowValue;
    board.live = 0;
    press(350, row_y(*target, 1));
    move(360, row_y(*target, 1), true);
    EXPECT_EQ(handler.count(kActionDragStarted), 0);
    release(360, row_y(*target, 1));
    board.live = 1;
    press(350, row_y(*target, 1));
    move(360, row_y(*target, 1), true);
    EXPECT_EQ(handler.count(kActionDragStarted), 1);
}

TEST_F(DragTest, CalloutUnderADragIsTheDropHighlight) {
    Widget* callout =
        board.create_callout("zz_button 1", {.x = 600, .y = 100, .page = 0, .id = 101});
    press(50, row_y(*source, 2));
    move(60, row_y(*source, 2), true);
    move(650, 110, true);
    EXPECT_EQ(board.pointer.drop_highlight, callout);
    release(650, 110);
    EXPECT_EQ(handler.events[handler.events.size() - 2].second, callout);
    move(651, 110);
    EXPECT_EQ(board.pointer.drop_highlight, nullptr);
}

TEST_F(DragTest, ThumbDragScrollsTheListAndStopsOnRelease) {
    Widget* longer = list("long", 600, 0, 92, 40);
    const int x = longer->x + longer->width - 4;
    const int top = list_geometry::thumb_top(*longer);
    press(x, top + 5);
    EXPECT_EQ(board.pointer.thumb_drag, 1);
    EXPECT_EQ(longer->scrollbar_fade, 580);
    move(x, longer->y + longer->height, true);
    EXPECT_EQ(longer->first_row, 32) << "the bottom of the track shows the last rows";
    move(x, 0, true);
    EXPECT_EQ(longer->first_row, 0);
    release(x, 0);
    EXPECT_EQ(board.pointer.thumb_drag, 0);
    EXPECT_EQ(handler.count(kActionDragStarted), 0);
}

TEST_F(DispatcherTest, SliderFollowsThePointerInStepsWithinItsRange) {
    install_skin_image(9102, SkinImage::filled(20, 20, 0xFFFFFFFF));
    Widget* s = board.create_slider(
        "dpi x",
        {.x = 100, .y = 100, .width = 270, .height = 11, .thumb_image = 9102, .page = 0, .id = 20});
    board.set_range("dpi x", 5040, 90, 90);
    const ThumbPos t = slider_thumb(*s);
    const int cx = t.left + 10;
    press(cx, t.top + 10);
    move(cx + 2, t.top + 10, true);
    EXPECT_EQ(s->value, 90) << "less than one step of movement keeps the value";
    move(cx + 40, t.top + 10, true);
    EXPECT_EQ(s->value, 90 + 10 * 90);
    ASSERT_EQ(handler.count(kActionClick), 1);
    for (const WidgetEvent& e : handler.events) {
        if (e.action == kActionClick) {
            EXPECT_EQ(e.id, 20);
        }
    }
    move(5000, t.top + 10, true);
    EXPECT_EQ(s->value, 5040);
    move(-5000, t.top + 10, true);
    EXPECT_EQ(s->value, 90);
    release(-5000, t.top + 10);
}

}  // namespace
}  // namespace zentrik::ui::testing
