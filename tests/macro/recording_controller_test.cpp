// The recording tools on a widget board: icons, check box, pointer input, input source and the
// panel message, with the recorder's steps reaching the editor's row operations.
#include "macro/recording_controller.h"

#include <gtest/gtest.h>

#include <map>

namespace zentrik::macro {
namespace {

using Bytes = std::vector<std::uint8_t>;

class RecordingControllerTest : public ::testing::Test {
  protected:
    ui::WidgetBoard board;
    lang::StringTables texts = lang::default_string_tables();
    std::vector<Bytes> appended, inserted;
    std::vector<std::string> messages;
    int starts = 0, stops = 0;
    bool input_works = true;
    bool wayland = false;
    bool own_window_only = false;
    std::unique_ptr<RecordingController> controller;

    void SetUp() override {
        board.create_widget("icon tool rec", {.id = 210});
        board.create_widget("icon tool stop", {.id = 211, .enabled = 0});
        board.create_check_box("record check", {.id = 41});
        controller = std::make_unique<RecordingController>(
            board, texts,
            RecordingHooks{
                .append_step = [this](Bytes b) { appended.push_back(std::move(b)); },
                .insert_after_selected = [this](Bytes b) { inserted.push_back(std::move(b)); },
                .start_input =
                    [this] {
                        ++starts;
                        return input_works;
                    },
                .stop_input = [this] { ++stops; },
                .show_message = [this](const std::string&,
                                       const std::string& text) { messages.push_back(text); },
                .wayland_session = [this] { return wayland; },
                .own_window_only = [this] { return own_window_only; },
            });
    }
    int field(const char* name, int ui::Widget::*member) {
        return board.find_widget(name)->*member;
    }
    void press_key(int make, bool down, std::uint32_t t) {
        platform::RawKeyEvent e;
        e.make_code = make;
        e.down = down;
        e.time_ms = t;
        controller->input().on_raw_key(e);
    }
};

TEST_F(RecordingControllerTest, RecordAndStopSwapTheIconsAndRunTheInput) {
    EXPECT_EQ(field("record check", &ui::Widget::checked), 1);  // pauses on at first
    controller->record_clicked();
    EXPECT_EQ(field("icon tool rec", &ui::Widget::enabled), 0);
    EXPECT_EQ(field("icon tool stop", &ui::Widget::enabled), 1);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(board.live.load(), 1);  // the editor and the stop icon stay usable
    press_key(0x1E, true, 100);
    press_key(0x1E, false, 150);
    EXPECT_EQ(appended, (std::vector<Bytes>{{0x83, 4}, {0x88, 50}, {0x84, 4}}));

    board.find_widget("icon tool stop")->state = 2;  // pressed
    controller->stop_clicked();
    EXPECT_EQ(field("icon tool rec", &ui::Widget::enabled), 1);
    EXPECT_EQ(field("icon tool stop", &ui::Widget::enabled), 0);
    EXPECT_EQ(field("icon tool stop", &ui::Widget::state), 0);
    EXPECT_EQ(stops, 1);
    press_key(0x30, true, 200);  // heard after the stop: nothing
    EXPECT_EQ(appended.size(), 3u);
    EXPECT_TRUE(messages.empty());
}

TEST_F(RecordingControllerTest, ClicksOnTheStopIconAreNotRecorded) {
    controller->record_check_clicked();
    EXPECT_EQ(field("record check", &ui::Widget::checked), 0);
    controller->record_clicked();
    board.find_widget("icon tool stop")->state = 1;  // hovered
    controller->input().on_raw_mouse({0x01, 0, 0, 10});
    board.find_widget("icon tool stop")->state = 0;
    controller->input().on_raw_mouse({0x02, 0, 0, 20});
    // The record icon's click was complete before the recording began: a click is whole.
    controller->input().on_raw_mouse({0x01, 0, 0, 30});
    controller->input().on_raw_mouse({0, 0x01, 0, 40});
    EXPECT_EQ(appended, (std::vector<Bytes>{{0x22}, {0x21}, {0x41}}));
}

TEST_F(RecordingControllerTest, ReleaseOfAClickStillHeldIsNotRecorded) {
    controller.reset();
    RecordingHooks hooks;
    hooks.insert_after_selected = [this](Bytes b) { inserted.push_back(std::move(b)); };
    hooks.start_input = [] { return true; };
    hooks.left_button_held = [] { return true; };
    controller = std::make_unique<RecordingController>(board, texts, std::move(hooks));
    controller->capture_tool_clicked(205 - 1);  // button release
    controller->input().on_raw_mouse({0, 0x01, 0, 10});
    EXPECT_TRUE(inserted.empty());
    controller->input().on_raw_mouse({0x01, 0, 0, 20});
    controller->input().on_raw_mouse({0, 0x01, 0, 30});
    EXPECT_EQ(inserted, (std::vector<Bytes>{{0x41}}));
}

TEST_F(RecordingControllerTest, CaptureShowsThePanelAndEndsByItself) {
    controller->capture_tool_clicked(206);  // not a capture tool
    EXPECT_EQ(starts, 0);
    controller->capture_tool_clicked(206 - 1);  // wheel
    EXPECT_EQ(board.live.load(), 0);
    ui::OverlayState overlay;
    controller->fill_overlay(overlay);
    EXPECT_EQ(overlay.recording_state, 6);
    EXPECT_EQ(overlay.recording_message, "Wait scroll action ...");
    controller->input().on_raw_mouse({0, 0, 120, 10});
    EXPECT_EQ(inserted, (std::vector<Bytes>{{0x61}}));
    EXPECT_EQ(board.live.load(), 1);
    EXPECT_EQ(stops, 1);
    controller->fill_overlay(overlay);
    EXPECT_EQ(overlay.recording_state, 0);
    EXPECT_EQ(overlay.recording_message, "");
}

TEST_F(RecordingControllerTest, InputThatCannotBeHeardAndWaylandAreReported) {
    input_works = false;
    wayland = true;
    controller->record_clicked();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "error");
    EXPECT_EQ(messages[1], platform::kWaylandRecordingNote);
    EXPECT_EQ(controller->recorder().state(), kRecording);  // stop still works
    controller->stop_clicked();
    EXPECT_EQ(stops, 0);  // nothing was running
}

// A source that hears only the program's own window (Wayland): the first recording says so in
// a box, and every capture panel says it under its own message.
TEST_F(RecordingControllerTest, OwnWindowOnlyInputIsSaidOnceAndInThePanel) {
    own_window_only = true;
    controller->record_clicked();
    controller->stop_clicked();
    controller->record_clicked();
    controller->stop_clicked();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Wayland"), std::string::npos);
    controller->capture_tool_clicked(201);
    ui::OverlayState overlay;
    controller->fill_overlay(overlay);
    const std::string wait = texts.message(lang::kMsgWaitKeyboard);
    EXPECT_EQ(overlay.recording_message, wait + "\n" + messages[0]);
}

// Without editor hooks the steps become rows of "list macro edit" directly, and the command rows
// reach the tools: a capture tool dropped on row 1 inserts after row 1, recording appends.
TEST(RecordingControllerRows, ToolsThroughTheRowTableAndTheEditorList) {
    ui::WidgetBoard board;
    board.create_widget("icon tool stop", {.id = 211, .enabled = 0});
    ui::Widget* editor = board.create_list("list macro edit", {.id = 91});
    editor->edit_mode = 1;  // a step list, as the layout makes it
    board.set_rows("list macro edit", {ui::ListItem{.size = 1, .code = 0x04},
                                       ui::ListItem{.size = 2, .code = 0x88, .payload = {5}},
                                       ui::ListItem{.size = 1, .code = 0x21}});
    const lang::StringTables texts = lang::default_string_tables();
    RecordingController controller(board, texts, {.start_input = [] { return true; }});
    std::map<std::pair<int, int>, std::function<void(const ui::WidgetEvent&)>> rows;
    controller.install_rows([&](int action, int id, auto row) { rows[{action, id}] = row; });

    editor->selected_row = 0;
    editor->drop_row = 1;
    ui::Widget* tool = board.find_widget("icon tool stop");  // any source widget will do
    rows.at({ui::kActionDrop, 202})({ui::kActionDrop, 202, tool, editor});
    EXPECT_EQ(controller.recorder().state(), kCaptureKeyUp);
    platform::RawKeyEvent shift;
    shift.make_code = 0x2A;
    controller.input().on_raw_key(shift);  // the press: not awaited
    controller.input().on_raw_key(platform::RawKeyEvent{.make_code = 0x2A});
    ASSERT_EQ(editor->row_count(), 4);
    EXPECT_EQ(editor->rows[2].code, 0x84);
    EXPECT_EQ(editor->rows[2].payload[0], 225);
    EXPECT_EQ(editor->rows[2].offset, 3u);
    EXPECT_EQ(editor->rows[3].offset, 5u);
    EXPECT_EQ(editor->selected_row, 2);

    rows.at({ui::kActionClick, 41})({});  // pauses off
    rows.at({ui::kActionClick, 210})({});
    controller.input().on_raw_mouse({0x04, 0, 0, 10});
    EXPECT_EQ(editor->rows.back().code, 0x24);
    EXPECT_EQ(editor->row_count(), 5);
    rows.at({ui::kActionClick, 211})({});
    EXPECT_FALSE(controller.recorder().active());
}

}  // namespace
}  // namespace zentrik::macro
