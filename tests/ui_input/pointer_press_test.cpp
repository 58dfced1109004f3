// Presses, releases and clicks; who takes part in hit testing; keys on the focused list.
#include "tests/ui_input/dispatcher_fixture.h"

namespace zentrik::ui::testing {
namespace {

TEST_F(DispatcherTest, ReleaseOverThePressedWidgetIsAClickEvenAfterSmallMoves) {
    button("ok", 100, 100, 7);
    press(120, 110);
    move(123, 113, true);  // 3 pixels: still a click on a non-draggable widget
    release(123, 113);
    ASSERT_EQ(handler.actions(), std::vector<int>{kActionClick});
    EXPECT_EQ(handler.events.back().id, 7);
    EXPECT_EQ(board.pointer.pressed, nullptr);

    handler.clear();
    ticks(31);
    press(120, 110);
    release(400, 400);  // released elsewhere
    EXPECT_TRUE(handler.actions().empty());
}

TEST_F(DispatcherTest, EmptySkinHitsNothingSoTheShellMovesTheWindow) {
    button("ok", 100, 100, 7);
    EXPECT_EQ(dispatcher.widget_at(500, 500), nullptr);
    EXPECT_NE(dispatcher.widget_at(100, 100), nullptr);
    // The hit box reaches one pixel right and two pixels below the widget.
    EXPECT_NE(dispatcher.widget_at(200, 133), nullptr);
    EXPECT_EQ(dispatcher.widget_at(201, 100), nullptr);
    EXPECT_EQ(dispatcher.widget_at(100, 134), nullptr);
}

TEST_F(DispatcherTest, HiddenDisabledOffPageAndPassiveWidgetsAreNotHit) {
    button("hidden", 0, 0, 1)->visible = 0;
    button("disabled", 0, 100, 2)->enabled = 0;
    button("other page", 0, 200, 3)->page = 2;
    board.create_widget("picture", {.kind = kPicture, .x = 0, .y = 300, .page = 0});
    Widget* everywhere = button("everywhere", 0, 400, 9);
    everywhere->page = -2;
    EXPECT_EQ(dispatcher.widget_at(10, 10), nullptr);
    EXPECT_EQ(dispatcher.widget_at(10, 110), nullptr);
    EXPECT_EQ(dispatcher.widget_at(10, 210), nullptr);
    EXPECT_EQ(dispatcher.widget_at(10, 310), nullptr);
    EXPECT_EQ(dispatcher.widget_at(10, 410), everywhere);
    board.set_page(99);
    EXPECT_EQ(dispatcher.widget_at(10, 410), everywhere);
}

TEST_F(DispatcherTest, RegionButtonsAreHitOnlyOnTheirOpaquePixels) {
    auto image = SkinImage::filled(40, 40, 0xFF336699);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            image->set_pixel(x, y, 0);  // transparent corner
    install_skin_image(9101, std::move(image));
    board.create_region_button("round",
                               {.x = 50, .y = 50, .images = {.normal = 9101}, .page = 0, .id = 4});
    EXPECT_EQ(dispatcher.widget_at(52, 52), nullptr);
    EXPECT_NE(dispatcher.widget_at(70, 70), nullptr);

    // An empty region (a fully transparent image, or none) is never hit, nor is its box.
    install_skin_image(9102, SkinImage::filled(40, 40, 0));
    Widget* clear = board.create_region_button(
        "clear", {.x = 200, .y = 50, .images = {.normal = 9102}, .page = 0, .id = 5});
    Widget* bare = board.create_region_button("bare", {.x = 300, .y = 50, .page = 0, .id = 6});
    for (const Widget* w : {clear, bare}) {
        for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 1}, {20, 20}, {39, 39}}) {
            EXPECT_EQ(dispatcher.widget_at(w->x + dx, w->y + dy), nullptr) << w->id;
            click(w->x + dx, w->y + dy);
            move(w->x + dx, w->y + dy);
            EXPECT_EQ(w->state, 0) << w->id;
        }
    }
    EXPECT_EQ(handler.count(kActionClick), 0);
}

TEST_F(DispatcherTest, LiveOffSilencesClicksExceptAlwaysActiveWidgets) {
    button("job", 0, 0, 5);
    button("close", 0, 100, 1)->always_active = 1;
    board.live = 0;
    click(10, 10);
    EXPECT_EQ(handler.count(kActionClick), 0);
    click(10, 110);
    ASSERT_EQ(handler.count(kActionClick), 1);
    EXPECT_EQ(handler.events.back().id, 1);
}

TEST_F(DispatcherTest, NothingIsClickedWhileTheWindowIsInTheBackground) {
    button("ok", 0, 0, 5);
    bool fg = false;
    dispatcher.set_foreground([&] { return fg; });
    click(10, 10);
    EXPECT_EQ(handler.count(kActionClick), 0);
    fg = true;
    click(10, 10);
    EXPECT_EQ(handler.count(kActionClick), 1);
}

TEST_F(DispatcherTest, HoverSetsStatesReportsTheWidgetUnderThePointerAndTheCursor) {
    Widget* a = button("a", 0, 0, 5);
    Widget* b = button("b", 0, 100, 6);
    EXPECT_EQ(move(10, 10), kActiveCursorMode);
    EXPECT_EQ(a->state, 1);
    ASSERT_EQ(handler.count(kActionUnderChanged), 1);
    EXPECT_EQ(handler.events.back().second, a);

    press(10, 10);
    EXPECT_EQ(a->state, 2);
    move(10, 110, true);  // dragged off onto another widget with the button down
    EXPECT_EQ(a->state, 0);
    EXPECT_EQ(b->state, 0)
        << "a widget that was not pressed keeps its look while the button is down";
    release(10, 110);
    EXPECT_EQ(b->state, 1);
    EXPECT_EQ(move(500, 500), kArrowCursor);
    EXPECT_EQ(b->state, 0);
    EXPECT_EQ(handler.events.back().action, kActionUnderChanged);
    EXPECT_EQ(handler.events.back().first, b);
    EXPECT_EQ(handler.events.back().second, nullptr);
}

TEST_F(DispatcherTest, HoverLookIsDroppedWhenTheWidgetLeavesThePage) {
    Widget* a = button("a", 0, 0, 5);
    move(10, 10);
    ASSERT_EQ(a->state, 1);
    board.set_page(2);
    move(11, 10);
    EXPECT_EQ(a->state, 0);
}

TEST_F(DispatcherTest, SpinArrowsAreTheOnlyHitPartsOfASpinBox) {
    Widget* spin = spin_box(90, 5040, 90, 90);
    EXPECT_EQ(dispatcher.widget_at(110, 110), nullptr);  // the number itself
    press(160, 103);
    EXPECT_EQ(board.pointer.spin_dir, 1);
    release(160, 103);
    press(160, 115);
    EXPECT_EQ(board.pointer.spin_dir, -1);
    release(160, 115);
    EXPECT_EQ(spin->kind, kSpinBox);
}

TEST_F(DispatcherTest, ListPressSelectsTheRowAndFoldsHeaders) {
    Widget* w = board.create_list(
        "fold", {.x = 0, .y = 0, .width = 220, .height = 358, .page = 0, .id = 99});
    w->foldable = 1;
    std::vector<ListItem> tree(4);
    tree[0].text = "_@Group";
    tree[0].expanded = 1;
    tree[1].text = "one";
    tree[1].level = 1;
    tree[2].text = "two";
    tree[2].level = 1;
    tree[3].text = "_@Other";
    board.set_tree_rows("fold", tree);
    ASSERT_EQ(w->row_count(), 4);
    click(50, row_y(*w, 2));
    EXPECT_EQ(w->selected_row, 2);
    click(50, row_y(*w, 0));  // the header
    EXPECT_EQ(w->row_count(), 2);
    EXPECT_NE(w->selected_row, 0) << "a header is never selected";
    // The caption band above the rows is no row.
    click(50, 10);
    EXPECT_EQ(w->row_count(), 2);
}

TEST_F(DispatcherTest, ANonDraggableListReportsSelectionChangesWhileTheButtonIsDown) {
    Widget* w = list("plain", 0, 0, 93, 5);
    press(50, row_y(*w, 0));  // row 0 is already selected
    move(50, row_y(*w, 3), true);
    ASSERT_EQ(handler.count(kActionClick), 1);
    EXPECT_EQ(handler.events.back().id, 93);
    EXPECT_EQ(w->selected_row, 3);
    EXPECT_EQ(board.pointer.drag_state, 3);
}

TEST_F(DispatcherTest, RightPressFocusesAndSelectsWithoutClicking) {
    Widget* w = list("l", 0, 0, 90, 5);
    dispatcher.pointer_event(kRightButton, kRightButton, 50, row_y(*w, 2));
    dispatcher.pointer_event(kRightButton, 0, 50, row_y(*w, 2));
    EXPECT_EQ(board.pointer.focus, w);
    EXPECT_EQ(w->selected_row, 2);
    EXPECT_EQ(handler.count(kActionClick), 0);
}

TEST_F(DispatcherTest, DeleteInAStepListRemovesVisibleRowsButNeverTheFirst) {
    Widget* w = list("steps", 0, 0, 91, 20);
    w->edit_mode = 1;
    w->pinned_first_row = 1;
    for (ListItem& row : w->rows)
        row.size = 2;
    ListModel(*w).recompute_offsets();
    press(50, row_y(*w, 0));  // focus; the pinned row 0
    release(50, row_y(*w, 0));
    ASSERT_EQ(w->selected_row, 0);
    dispatcher.key_event(Key::kDelete);
    EXPECT_EQ(w->row_count(), 20) << "row 0 stays";

    w->selected_row = 3;
    dispatcher.key_event(Key::kDelete);
    ASSERT_EQ(w->row_count(), 19);
    EXPECT_EQ(w->rows[3].text, "row 4");
    EXPECT_EQ(w->rows[3].offset, 6u) << "offsets follow the removal";

    // A selected row scrolled out above: the list scrolls to it instead.
    w->first_row = 6;
    w->selected_row = 4;
    dispatcher.key_event(Key::kDelete);
    EXPECT_EQ(w->row_count(), 19);
    EXPECT_EQ(w->first_row, 3);

    // The last row removed: the selection stays within the rows.
    w->first_row = 10;
    w->selected_row = 18;
    dispatcher.key_event(Key::kDelete);
    EXPECT_EQ(w->row_count(), 18);
    EXPECT_EQ(w->selected_row, 17);
}

TEST_F(DispatcherTest, DeleteOnARenamableListAsksTheHandlerUnlessTheRowIsFixed) {
    Widget* w = list("macros", 0, 0, 90, 3);
    w->renamable = 1;
    w->rows[2].value = kFixedRowValue;
    click(50, row_y(*w, 1));
    dispatcher.key_event(Key::kDelete);
    ASSERT_EQ(handler.count(kActionDeleteRequested), 1);
    EXPECT_EQ(w->row_count(), 3) << "the handler decides; the list is not changed here";
    w->selected_row = 2;
    dispatcher.key_event(Key::kDelete);
    EXPECT_EQ(handler.count(kActionDeleteRequested), 1);
    w->selected_row = 7;  // out of range: kept within the rows (row 2, fixed)
    dispatcher.key_event(Key::kDelete);
    EXPECT_EQ(w->selected_row, 2);
    EXPECT_EQ(handler.count(kActionDeleteRequested), 1);
}

TEST_F(DispatcherTest, ArrowKeysScrollTheFocusedListWithinItsRows) {
    Widget* w = list("l", 0, 0, 90, 12);  // 10 visible rows
    click(50, row_y(*w, 1));
    dispatcher.key_event(Key::kUp);
    EXPECT_EQ(w->first_row, 0);
    for (int i = 0; i < 10; ++i)
        dispatcher.key_event(Key::kDown);
    EXPECT_EQ(w->first_row, 4);  // first_row + visible_rows - 2 reached the row count
    dispatcher.key_event(Key::kUp);
    EXPECT_EQ(w->first_row, 3);
}

}  // namespace
}  // namespace zentrik::ui::testing
