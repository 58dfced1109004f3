// The inline editor: where it opens, what it accepts and what committing writes.
#include "tests/ui_input/dispatcher_fixture.h"

namespace zentrik::ui::testing {
namespace {

class EditorTest : public DispatcherTest {
  protected:
    Widget* profile_box() {
        Widget* w = board.create_text_box("profile 0", {.x = 204,
                                                        .y = 128,
                                                        .width = 140,
                                                        .height = 40,
                                                        .text = "profile 1",
                                                        .page = 0,
                                                        .id = 10});
        w->editable = 1;
        w->edit_limit = 6;
        w->font = 8;
        return w;
    }
    // A step list: the fixed first row, then a run-mode row, a short and a long wait.
    Widget* step_list() {
        Widget* w = list("list macro edit", 0, 0, 91, 4);
        w->edit_mode = 1;
        w->editable = 1;
        w->draggable = 1;
        w->pinned_first_row = 1;
        w->rows[1].code = 4;
        w->rows[2].code = 0x88;
        w->rows[2].size = 2;
        w->rows[2].payload[0] = 50;
        w->rows[3].code = 0x89;
        w->rows[3].size = 3;
        w->rows[3].payload[0] = 0x2C;  // 300
        w->rows[3].payload[1] = 0x01;
        ListModel(*w).recompute_offsets();
        return w;
    }
    void double_press(int x, int y) {
        click(x, y);
        click(x, y);
    }
};

TEST_F(EditorTest, SecondPressOnAProfileBoxEditsItsTextAndEnterCommits) {
    Widget* w = profile_box();
    double_press(250, 140);
    ASSERT_TRUE(editor.visible());
    EXPECT_EQ(editor.request().text, "profile 1");
    EXPECT_EQ(editor.request().limit, 6);
    EXPECT_FALSE(editor.request().digits_only);
    EXPECT_EQ(editor.request().box.left, 206);
    EXPECT_EQ(editor.request().box.width(), 136);
    EXPECT_EQ(handler.count(kActionSecondPress), 0);
    editor.type("Games");
    EXPECT_TRUE(dispatcher.key_event(Key::kEnter));
    EXPECT_FALSE(editor.visible());
    EXPECT_EQ(w->text, "Games");
    ASSERT_EQ(handler.count(kActionEdited), 1);
    EXPECT_EQ(handler.events.back().first, w);
    EXPECT_EQ(handler.events.back().id, 10);
}

TEST_F(EditorTest, EscapeCancelsAndAPressOutsideCommitsWithoutClicking) {
    Widget* w = profile_box();
    Widget* other = button("other", 600, 600, 5);
    double_press(250, 140);
    editor.type("lost");
    EXPECT_TRUE(dispatcher.key_event(Key::kEscape));
    EXPECT_EQ(w->text, "profile 1");
    EXPECT_EQ(handler.count(kActionEdited), 0);

    ticks(40);
    double_press(250, 140);
    editor.type("kept");
    click(610, 610);
    EXPECT_EQ(w->text, "kept");
    EXPECT_EQ(handler.count(kActionEdited), 1);
    EXPECT_EQ(handler.count(kActionClick), 4) << "the outside press did not click " << other->id;
}

TEST_F(EditorTest, OtherKeysGoToTheOpenEditor) {
    profile_box();
    double_press(250, 140);
    EXPECT_FALSE(dispatcher.key_event(Key::kDelete));
    EXPECT_TRUE(editor.visible());
}

TEST_F(EditorTest, WaitRowsEditTheirValueAsDigitsAndStoreOneOrTwoBytes) {
    Widget* w = step_list();
    double_press(50, row_y(*w, 2));
    ASSERT_TRUE(editor.visible());
    EXPECT_EQ(editor.request().text, "50");
    EXPECT_TRUE(editor.request().digits_only);
    EXPECT_EQ(editor.request().limit, 5);
    EXPECT_EQ(editor.request().box.left, w->x + 7 + 80);
    EXPECT_EQ(editor.request().box.right, w->x + w->width - 6);

    editor.type("300");
    dispatcher.key_event(Key::kEnter);
    EXPECT_EQ(w->rows[2].code, 0x89);
    EXPECT_EQ(w->rows[2].size, 3u);
    EXPECT_EQ(w->rows[2].payload[0], 0x2C);
    EXPECT_EQ(w->rows[2].payload[1], 0x01);
    EXPECT_EQ(w->rows[3].offset, w->rows[2].offset + 3) << "offsets follow the longer row";

    ticks(40);
    double_press(50, row_y(*w, 3));
    EXPECT_EQ(editor.request().text, "300");
    editor.type("99999");
    dispatcher.key_event(Key::kEnter);
    EXPECT_EQ(w->rows[3].payload[0] | (w->rows[3].payload[1] << 8), 65535);

    ticks(40);
    double_press(50, row_y(*w, 3));
    editor.type("7");
    dispatcher.key_event(Key::kEnter);
    EXPECT_EQ(w->rows[3].code, 0x88);
    EXPECT_EQ(w->rows[3].size, 2u);
    EXPECT_EQ(w->rows[3].payload[0], 7);
}

TEST_F(EditorTest, RunModeRowsCycleInsteadOfOpeningTheEditor) {
    Widget* w = step_list();
    double_press(50, row_y(*w, 1));
    EXPECT_FALSE(editor.visible());
    EXPECT_EQ(w->rows[1].code, 6);
    EXPECT_EQ(handler.count(kActionSecondPress), 1);
}

TEST_F(EditorTest, RenamingAMacroDropsMarkerPrefixesAndHeadersUseThePlainPlace) {
    Widget* w = list("list macro 2", 0, 0, 90, 3);
    w->renamable = 1;
    w->editable = 1;
    w->draggable = 1;
    w->rows[2].value = kFixedRowValue;
    double_press(50, row_y(*w, 1));
    ASSERT_TRUE(editor.visible());
    const int t = editor.request().box.height();
    EXPECT_EQ(editor.request().box.top, w->y + 32 + w->row_height + w->row_height / 2 - t / 2);
    editor.type("_@_#Macro A");
    dispatcher.key_event(Key::kEnter);
    EXPECT_EQ(w->rows[1].text, "Macro A");
    ASSERT_EQ(handler.count(kActionEdited), 1);

    ticks(40);
    double_press(50, row_y(*w, 2));  // a fixed row: the editor sits in the middle of the box
    EXPECT_EQ(editor.request().box.top, w->y + (w->height - t) / 2);
}

TEST_F(EditorTest, TheEditorWritesIntoTheRowItOpenedOnEvenIfTheSelectionMoves) {
    Widget* w = list("list macro 2", 0, 0, 90, 3);
    w->renamable = 1;
    w->editable = 1;
    double_press(50, row_y(*w, 1));
    w->selected_row = 2;
    editor.type("renamed");
    dispatcher.key_event(Key::kEnter);
    EXPECT_EQ(w->rows[1].text, "renamed");
    EXPECT_EQ(w->rows[2].text, "row 2");
}

TEST_F(EditorTest, SelectingARowByValueCanOpenTheEditorOnIt) {
    Widget* w = list("list macro 2", 0, 0, 90, 5);
    w->renamable = 1;
    board.select_row_by_value("list macro 2", 3, true);
    ASSERT_TRUE(editor.visible());
    EXPECT_EQ(editor.request().text, "row 3");
    EXPECT_EQ(w->selected_row, 3);
}

}  // namespace
}  // namespace zentrik::ui::testing
