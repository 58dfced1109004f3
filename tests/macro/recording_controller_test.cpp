// The recording tools on a widget board: icons, check box, pointer input, input source and the
// panel message, with the recorder's steps reaching the editor's row operations.
#include "macro/recording_controller.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(appended, (std::vector<Bytes>{{0x22}}));
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

}  // namespace
}  // namespace zentrik::macro
