// Widget board: page rule, creation defaults, mutators, list rules and invalidation.
#include <gtest/gtest.h>

#include "ui/skin_image.h"
#include "ui/widget_board.h"

namespace zentrik::ui {
namespace {

class BoardTest : public ::testing::Test {
  protected:
    void SetUp() override { board.set_owner(&owner); }

    Widget* list(const std::string& name, int rows, int height = 31 + 34 * 4) {
        WidgetSpec s;
        s.x = 10;
        s.y = 20;
        s.width = 200;
        s.height = height;
        s.page = 1;
        Widget* w = board.create_list(name, s);
        std::vector<ListItem> items(rows);
        for (int i = 0; i < rows; ++i) {
            items[i].text = "row " + std::to_string(i);
            items[i].value = 100 + i;
            items[i].size = 2;
        }
        board.set_rows(name, items);
        owner.take();
        return w;
    }

    HeadlessOwner owner;
    WidgetBoard board;
};

TEST_F(BoardTest, PageRuleForAllAndEveryPage) {
    const std::array<int, 2> full{5, 3};
    for (int page : {0, 1, 2, 4, 90})
        EXPECT_TRUE(WidgetBoard::shows_on(-1, page, full)) << page;
    for (int page : {3, 5, 91, 99})
        EXPECT_FALSE(WidgetBoard::shows_on(-1, page, full)) << page;
    for (int page : {0, 3, 5, 99})
        EXPECT_TRUE(WidgetBoard::shows_on(-2, page, full)) << page;
    EXPECT_TRUE(WidgetBoard::shows_on(2, 2, full));
    EXPECT_FALSE(WidgetBoard::shows_on(2, 1, full));
}

TEST_F(BoardTest, CreationDefaults) {
    Widget* w = board.create_widget("plain", {.kind = kImageButton, .x = 3, .y = 4});
    EXPECT_EQ(w->width, 100);
    EXPECT_EQ(w->height, 32);
    EXPECT_EQ(w->model_tag, "qx10");
    EXPECT_EQ(w->drop_row, -1);
    EXPECT_EQ(w->colors[5], 0xFF000000u);
    EXPECT_EQ(board.create_list("l", {})->font, 8);
    EXPECT_EQ(board.create_widget("r", {.kind = kRegionButton})->font, 8);
    EXPECT_EQ(board.create_check_box("c", {})->font, 2);
    EXPECT_EQ(board.create_selectable_row("d", {})->font, 7);
    EXPECT_EQ(board.create_slider("s", {})->value, 50);
    EXPECT_DOUBLE_EQ(board.create_progress_bar("p", {})->fraction, 0.5);
    EXPECT_EQ(board.create_spin_box("v", {.min = 90, .max = 5040, .step = 90})->value, 2520);
    // A zero step would make every later value computation divide by zero.
    EXPECT_EQ(board.create_spin_box("z", {.min = 1, .max = 9, .step = 0})->step, 1);
    board.set_range("z", 8, 0, 2);
    EXPECT_EQ(board.find_widget("z")->step, 1);
    EXPECT_EQ(board.find_widget("z")->value, 2);
    // A later widget of the same name replaces the first.
    Widget* again = board.create_widget("plain", {.kind = kPicture});
    EXPECT_EQ(board.find_widget("plain"), again);
    EXPECT_EQ(board.widget_count(), 9u);
}

TEST_F(BoardTest, ImagesGiveTheSizeAndFillEmptySlots) {
    const SkinImage* img = install_skin_image(9001, SkinImage::filled(40, 12, 0xFF112233));
    Widget* w = board.create_widget("b", {.kind = kImageButton, .images = {.normal = 9001}});
    EXPECT_EQ(w->width, 40);
    EXPECT_EQ(w->height, 12);
    for (const SkinImage* slot : w->images)
        EXPECT_EQ(slot, img);
    board.set_images("b", 9001, 0, 0, 0);
    EXPECT_EQ(w->images[kHover], nullptr);
    EXPECT_EQ(w->images[kNormal], img);
}

TEST_F(BoardTest, UnknownNamesDoNothing) {
    board.set_checked("nope", 1);
    board.set_value("nope", 3);
    board.set_text("nope", "x");
    board.move_widget("nope", 1, 1);
    board.resize_widget("nope", 1, 1);
    board.set_range("nope", 1, 1, 1);
    board.scroll_to_selected("nope");
    board.select_row_by_value("nope", 1, false);
    EXPECT_EQ(board.add_row("nope", 0, 1, 0, 0, false), -1);
    EXPECT_EQ(owner.count(), 0u);
    EXPECT_EQ(board.find_widget("nope"), nullptr);
}

TEST_F(BoardTest, CheckedAndValueInvalidateOnlyOnChange) {
    board.create_widget("b", {.kind = kImageButton});
    board.set_checked("b", 0);
    board.set_value("b", 0);
    EXPECT_EQ(owner.count(), 0u);
    board.set_checked("b", 1);
    board.set_value("b", 7);
    EXPECT_EQ(owner.count(), 2u);
}

TEST_F(BoardTest, InvalidationRectangles) {
    install_skin_image(9002, SkinImage::filled(16, 20, 0xFFFFFFFF));
    board.create_slider("s", {.x = 100, .y = 50, .width = 270, .height = 11, .thumb_image = 9002});
    owner.take();
    board.set_value("s", 10);
    // Thumb 20 high, centred on the track: ty = 50 + 5 - 10.
    EXPECT_EQ(owner.take(), (std::vector<Rect>{{92, 45, 387, 66}}));

    board.create_callout("c", {.x = 430,
                               .y = 180,
                               .width = 200,
                               .height = 28,
                               .line_from_x = 770,
                               .line_from_y = 230,
                               .elbow_y = 209});
    owner.take();
    board.set_checked("c", 1);
    const std::vector<Rect> rects = owner.take();
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0], (Rect{430, 180, 631, 209}));
    EXPECT_EQ(rects[1], (Rect{624, 188, 776, 236}));
}

TEST_F(BoardTest, ResizeRecomputesVisibleRows) {
    board.create_list("l", {.height = 31});
    EXPECT_EQ(board.find_widget("l")->visible_rows, 1);
    board.resize_widget("l", 100, 31 + 34);
    EXPECT_EQ(board.find_widget("l")->visible_rows, 2);
    EXPECT_EQ(owner.take().back(), (Rect{0, 0, 100, 65}));
}

TEST_F(BoardTest, ShrinkingAListRepaintsItsOldBoxAndKeepsTheSelectedRowInSight) {
    Widget* w = list("l", 10);
    board.resize_widget("l", 100, 31 + 34 * 9);
    w->selected_row = 8;
    owner.take();
    board.resize_widget("l", 100, 31 + 34 * 3);
    const std::vector<Rect> rects = owner.take();
    ASSERT_FALSE(rects.empty());
    const Rect old_box = rects.front();  // the whole box before the resize
    EXPECT_LE(old_box.left, 10);
    EXPECT_LE(old_box.top, 20);
    EXPECT_GE(old_box.right, 110);
    EXPECT_GE(old_box.bottom, 20 + 31 + 34 * 9);
    EXPECT_EQ(w->visible_rows, 4);
    EXPECT_GE(w->selected_row, w->first_row);
    EXPECT_LE(w->selected_row, w->first_row + w->visible_rows - 2);
    EXPECT_EQ(w->scroll_px, w->row_height * w->first_row);
}

TEST_F(BoardTest, AddRowPlacementAndSelection) {
    // Empty list: appended, selected.
    list("empty", 0);
    EXPECT_EQ(board.add_row("empty", 0, 1, 0x04, 0, false), 0);
    // Selection in the middle: inserted after it.
    Widget* w = list("mid", 4);
    w->selected_row = 1;
    EXPECT_EQ(board.add_row("mid", 0, 3, 0x88, 0x11223344, false), 2);
    EXPECT_EQ(w->selected_row, 2);
    EXPECT_EQ(w->rows[2].text, "code");
    EXPECT_EQ(w->rows[2].payload[3], 0x44);
    EXPECT_EQ(w->rows[2].payload[6], 0x11);
    EXPECT_EQ(w->rows[3].text, "row 2");
    // Last row selected: appended.
    w->selected_row = 4;
    EXPECT_EQ(board.add_row("mid", 0, 1, 0, 0, false), 5);
    // Append flag wins over the selection.
    w->selected_row = 0;
    EXPECT_EQ(board.add_row("mid", 0, 1, 0, 0, true), 6);
    // A selection outside the rows appends rather than inserting out of range.
    w->selected_row = 40;
    EXPECT_EQ(board.add_row("mid", 0, 1, 0, 0, false), 7);
    EXPECT_FALSE(owner.take().empty());
}

TEST_F(BoardTest, StepListOffsetsChainAfterAdd) {
    Widget* w = list("steps", 3);
    w->edit_mode = 1;
    w->rows[0].offset = 5;
    w->selected_row = 0;
    board.add_row("steps", 0, 3, 0x88, 0, false);
    ASSERT_EQ(w->row_count(), 4);
    EXPECT_EQ(w->rows[0].offset, 5u);
    EXPECT_EQ(w->rows[1].offset, 7u);  // after a 2-byte row
    EXPECT_EQ(w->rows[2].offset, 10u);
    EXPECT_EQ(w->rows[3].offset, 12u);
}

TEST_F(BoardTest, ScrollRule) {
    Widget* w = list("l", 20);  // five visible rows
    ASSERT_EQ(w->visible_rows, 5);
    w->selected_row = 10;
    board.scroll_to_selected("l");
    EXPECT_EQ(w->first_row, 7);
    EXPECT_EQ(w->scroll_px, 7 * 34);
    w->selected_row = 3;
    board.scroll_to_selected("l");
    EXPECT_EQ(w->first_row, 2);
    w->selected_row = 0;
    board.scroll_to_selected("l");
    EXPECT_EQ(w->first_row, 0);  // never below 0
}

TEST_F(BoardTest, SelectRowByValueSkipsHeadersAndScrolls) {
    Widget* w = list("l", 20);
    w->rows[0].text = "_@Built-in";
    w->rows[0].value = 115;
    w->rows[15].value = 115;
    int edited = -1;
    board.open_editor = [&](Widget&, int row) { edited = row; };
    board.select_row_by_value("l", 115, false);
    EXPECT_EQ(w->selected_row, 15);
    EXPECT_EQ(w->first_row, 12);
    EXPECT_EQ(edited, -1);
    board.select_row_by_value("l", 101, true);
    EXPECT_EQ(w->selected_row, 1);
    EXPECT_EQ(w->first_row, 1);
    EXPECT_EQ(edited, 1);
}

TEST_F(BoardTest, SelectInGroup) {
    for (const char* name : {"a", "b", "c"})
        board.create_callout(name, {});
    board.find_widget("a")->group = 2;
    board.find_widget("b")->group = 2;
    board.find_widget("b")->checked = 1;
    board.find_widget("c")->checked = 1;  // group 0: never touched by others
    board.select_in_group(board.find_widget("a"));
    EXPECT_EQ(board.find_widget("a")->checked, 1);
    EXPECT_EQ(board.find_widget("b")->checked, 0);
    EXPECT_EQ(board.find_widget("c")->checked, 1);
    board.select_in_group(board.find_widget("c"));
    EXPECT_EQ(board.find_widget("a")->checked, 1);
    board.select_in_group(nullptr);  // none does nothing
}

TEST_F(BoardTest, FoldingCollapsesAndExpands) {
    Widget* w = list("tree", 0);
    w->foldable = 1;
    std::vector<ListItem> all(5);
    all[0] = {.text = "_@Built-in", .expanded = 1};
    all[1] = {.text = "a", .level = 1};
    all[2] = {.text = "b", .level = 1};
    all[3] = {.text = "_@User", .expanded = 0};
    all[4] = {.text = "m", .level = 1};
    board.set_tree_rows("tree", all);
    ASSERT_EQ(w->row_count(), 4);  // the second header is collapsed
    board.toggle_fold(w, 0);
    EXPECT_EQ(w->row_count(), 2);
    EXPECT_EQ(w->all_rows[0].expanded, 0u);
    board.toggle_fold(w, 1);  // expand "_@User"
    ASSERT_EQ(w->row_count(), 3);
    EXPECT_EQ(w->rows[2].text, "m");
    EXPECT_EQ(w->all_rows[3].expanded, 1u);
    board.toggle_fold(w, 2);   // not a header: nothing
    board.toggle_fold(w, 99);  // outside: nothing
    EXPECT_EQ(w->row_count(), 3);
}

TEST_F(BoardTest, RemovedWidgetLeavesNoPointerBehind) {
    Widget* row = board.create_selectable_row("device 0", {});
    board.pointer.under = row;
    board.pointer.focus = row;
    board.remove_widget("device 0");
    EXPECT_EQ(board.find_widget("device 0"), nullptr);
    EXPECT_EQ(board.pointer.under, nullptr);
    EXPECT_EQ(board.pointer.focus, nullptr);
    EXPECT_EQ(board.widget_count(), 0u);
}

TEST_F(BoardTest, MovingARegionButtonMovesItsShape) {
    install_skin_image(9003, SkinImage::filled(10, 10, 0xFF000000));
    Widget* w = board.create_region_button("r", {.x = 5, .y = 5, .images = {.normal = 9003}});
    EXPECT_TRUE(w->region->contains(5, 5));
    board.move_widget("r", 50, 60);
    EXPECT_FALSE(w->region->contains(5, 5));
    EXPECT_TRUE(w->region->contains(59, 69));
}

}  // namespace
}  // namespace zentrik::ui
