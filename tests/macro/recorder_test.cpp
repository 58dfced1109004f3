// The recorder as the editor and the window see it: the steps it adds, where, and when it hands
// pointer input back.
#include "macro/recorder.h"

#include <gtest/gtest.h>

#include <numeric>

#include "lang/string_tables.h"
#include "macro/instruction.h"

namespace zentrik::macro {
namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::RawKeyEvent;
using platform::RawMouseEvent;

constexpr int kMakeA = 0x1E;          // usage 4
constexpr int kMakeLeftShift = 0x2A;  // usage 225
constexpr int kMakeHangul = 0x72;     // usage 144

struct FakeEditor : RecorderSink {
    std::vector<Bytes> appended;
    std::vector<Bytes> inserted;
    std::vector<bool> pointer_input;
    bool on_stop_icon = false;

    void append_step(Bytes code) override { appended.push_back(std::move(code)); }
    void insert_step_after_selected(Bytes code) override { inserted.push_back(std::move(code)); }
    bool pointer_on_stop_icon() const override { return on_stop_icon; }
    void set_pointer_input(bool live) override { pointer_input.push_back(live); }
};

RawKeyEvent key(int make, bool down, std::uint32_t t) {
    RawKeyEvent e;
    e.make_code = make;
    e.down = down;
    e.time_ms = t;
    return e;
}

RawMouseEvent mouse(std::uint8_t down, std::uint8_t up, int wheel, std::uint32_t t) {
    return RawMouseEvent{down, up, wheel, t};
}

std::uint32_t wait_ms(const Bytes& step) {
    if (step[0] == MI_WAIT8)
        return step[1];
    EXPECT_EQ(step[0], MI_WAIT16);
    return step[1] | (step[2] << 8);
}

class RecorderTest : public ::testing::Test {
  protected:
    FakeEditor editor;
    Recorder recorder{editor};
};

TEST_F(RecorderTest, HeldKeyRecordsDownWaitUpAndIgnoresRepeats) {
    recorder.start_recording();
    recorder.on_raw_key(key(kMakeA, true, 5000));
    for (std::uint32_t t = 5500; t < 6000; t += 33)
        recorder.on_raw_key(key(kMakeA, true, t));  // auto-repeat
    recorder.on_raw_key(key(kMakeA, false, 6000));
    EXPECT_EQ(editor.appended, (std::vector<Bytes>{{0x83, 4}, {0x89, 0xE8, 0x03}, {0x84, 4}}));
    EXPECT_TRUE(editor.inserted.empty());
}

TEST_F(RecorderTest, PausesOffRecordsOnlyTheKeySteps) {
    recorder.toggle_record_pauses();
    EXPECT_FALSE(recorder.record_pauses());
    recorder.start_recording();
    recorder.on_raw_key(key(kMakeA, true, 5000));
    recorder.on_raw_key(key(kMakeA, false, 6000));
    EXPECT_EQ(editor.appended, (std::vector<Bytes>{{0x83, 4}, {0x84, 4}}));
}

TEST_F(RecorderTest, FirstActionHasNoWaitEvenAfterAnEarlierRecording) {
    recorder.start_recording();
    recorder.on_raw_key(key(kMakeA, true, 100));
    recorder.stop_recording();
    recorder.start_recording();  // forgets the held key and the last time
    recorder.on_raw_key(key(kMakeA, true, 900));
    recorder.on_raw_key(key(kMakeA, false, 1000));
    EXPECT_EQ(editor.appended, (std::vector<Bytes>{{0x83, 4}, {0x83, 4}, {0x88, 100}, {0x84, 4}}));
}

TEST_F(RecorderTest, PausesAcrossServerTimeWrapAndAtTimeZero) {
    recorder.start_recording();
    recorder.on_raw_key(key(kMakeA, true, 0xFFFFFF00u));
    recorder.on_raw_key(key(kMakeA, false, 0x100));  // 0x100 ms before and after the wrap
    recorder.start_recording();
    recorder.on_raw_key(key(kMakeA, true, 0));  // a real time of 0 still starts the pauses
    recorder.on_raw_key(key(kMakeA, false, 200));
    EXPECT_EQ(editor.appended,
              (std::vector<Bytes>{
                  {0x83, 4}, {0x89, 0x00, 0x02}, {0x84, 4}, {0x83, 4}, {0x88, 200}, {0x84, 4}}));
}

TEST_F(RecorderTest, LongPauseBecomesWaitsThatAddUp) {
    recorder.start_recording();
    recorder.on_raw_key(key(kMakeA, true, 1000));
    recorder.on_raw_key(key(kMakeA, false, 71000));
    ASSERT_GE(editor.appended.size(), 4u);
    std::uint32_t total = 0;
    for (std::size_t i = 1; i + 1 < editor.appended.size(); ++i)
        total += wait_ms(editor.appended[i]);
    EXPECT_EQ(total, 70000u);
    EXPECT_EQ(editor.appended.back(), (Bytes{0x84, 4}));
    EXPECT_EQ(pause_steps(65535), (std::vector<Bytes>{{0x89, 0xFF, 0xFF}}));
    EXPECT_EQ(pause_steps(255), (std::vector<Bytes>{{0x88, 0xFF}}));
    EXPECT_EQ(pause_steps(256), (std::vector<Bytes>{{0x89, 0x00, 0x01}}));
    EXPECT_TRUE(pause_steps(0).empty());
}

TEST_F(RecorderTest, ButtonsAndWheelBecomeMouseSteps) {
    recorder.set_record_pauses(false);
    recorder.start_recording(false);
    recorder.on_raw_mouse(mouse(0x03, 0, 0, 10));  // right and left in one event
    recorder.on_raw_mouse(mouse(0, 0x03, 0, 20));
    recorder.on_raw_mouse(mouse(0x08, 0, 0, 25));  // side buttons keep their bits
    recorder.on_raw_mouse(mouse(0, 0x10, 0, 26));
    recorder.on_raw_mouse(mouse(0, 0, -120, 30));
    recorder.on_raw_mouse(mouse(0, 0, 240, 40));
    recorder.on_raw_mouse(mouse(0, 0, 0, 50));     // movement only
    recorder.on_raw_mouse(mouse(0, 0, 60, 60));    // less than a notch
    recorder.on_raw_mouse(mouse(0, 0, 1920, 70));  // 16 notches: the largest count that fits
    EXPECT_EQ(editor.appended,
              (std::vector<Bytes>{{0x23}, {0x43}, {0x28}, {0x50}, {0x7F}, {0x62}, {0x6F}}));
    EXPECT_EQ(wheel_step(-1920), 0x70);
    EXPECT_EQ(wheel_step(-119), std::nullopt);
}

TEST_F(RecorderTest, StartingClickReleaseAndStopIconClicksAreNotRecorded) {
    recorder.set_record_pauses(false);
    recorder.start_recording();
    recorder.on_raw_mouse(mouse(0, 0x01, 0, 10));  // release of the click on the record icon
    recorder.on_raw_mouse(mouse(0x01, 0, 0, 20));
    recorder.on_raw_mouse(mouse(0, 0x01, 0, 30));
    editor.on_stop_icon = true;
    recorder.on_raw_mouse(mouse(0x01, 0, 0, 40));
    recorder.on_raw_mouse(mouse(0, 0x01, 0, 50));
    EXPECT_EQ(editor.appended, (std::vector<Bytes>{{0x21}, {0x41}}));
}

TEST_F(RecorderTest, KeyDownCaptureInsertsAfterSelectedAndEnds) {
    recorder.start_capture(kCaptureKeyDown);
    EXPECT_EQ(editor.pointer_input, std::vector<bool>{false});
    EXPECT_EQ(recording_panel_message(recorder.state()), lang::kMsgWaitKeyboard);
    recorder.on_raw_key(key(kMakeLeftShift, true, 1000));
    EXPECT_EQ(editor.inserted, (std::vector<Bytes>{{0x83, 225}}));
    EXPECT_TRUE(editor.appended.empty());
    EXPECT_EQ(recorder.state(), kNotRecording);
    EXPECT_EQ(editor.pointer_input, (std::vector<bool>{false, true}));
    recorder.on_raw_key(key(kMakeLeftShift, false, 2000));  // capture over: nothing more
    EXPECT_EQ(editor.inserted.size(), 1u);
}

TEST_F(RecorderTest, KeyUpCaptureInsertsOnlyTheRelease) {
    recorder.start_capture(kCaptureKeyUp);
    recorder.on_raw_key(key(kMakeLeftShift, true, 1000));
    EXPECT_TRUE(editor.inserted.empty());
    EXPECT_EQ(recorder.state(), kCaptureKeyUp);
    recorder.on_raw_key(key(kMakeLeftShift, false, 3000));
    EXPECT_EQ(editor.inserted, (std::vector<Bytes>{{0x84, 225}}));
    EXPECT_EQ(recorder.state(), kNotRecording);
}

TEST_F(RecorderTest, ReleaseOnlyLanguageKeys) {
    recorder.set_record_pauses(false);
    recorder.start_recording();
    recorder.on_raw_key(key(kMakeHangul, false, 10));
    EXPECT_EQ(editor.appended, (std::vector<Bytes>{{0x83, 144}, {0x84, 144}}));
    recorder.stop_recording();
    recorder.start_capture(kCaptureKeyDown);
    recorder.on_raw_key(key(kMakeHangul, false, 20));
    EXPECT_EQ(editor.inserted, (std::vector<Bytes>{{0x83, 144}}));
    EXPECT_EQ(recorder.state(), kNotRecording);
}

TEST_F(RecorderTest, PauseFakeAndUnknownKeys) {
    recorder.set_record_pauses(false);
    recorder.start_recording();
    RawKeyEvent pause = key(0x45, true, 10);
    pause.e1 = true;
    pause.virtual_key = platform::kVirtualKeyPause;
    recorder.on_raw_key(pause);
    RawKeyEvent fake = key(0x45, true, 20);
    fake.virtual_key = platform::kVirtualKeyFake;
    recorder.on_raw_key(fake);
    recorder.on_raw_key(key(0x45, true, 30));  // Num Lock
    recorder.on_raw_key(key(0x7E, true, 40));  // no usage
    RawKeyEvent right_ctrl = key(0x1D, true, 50);
    right_ctrl.e0 = true;
    recorder.on_raw_key(right_ctrl);
    EXPECT_EQ(editor.appended, (std::vector<Bytes>{{0x83, 72}, {0x83, 83}, {0x83, 228}}));
}

TEST_F(RecorderTest, MouseCapturesSkipTheStartingReleaseAndTakeOneAction) {
    recorder.start_capture(kCaptureButtonUp);
    EXPECT_EQ(recording_panel_message(recorder.state()), lang::kMsgWaitMouse);
    recorder.on_raw_mouse(mouse(0, 0x01, 0, 10));  // the tool click's release
    recorder.on_raw_mouse(mouse(0x02, 0, 0, 20));  // a press: not what is awaited
    recorder.on_raw_key(key(kMakeA, true, 25));    // keys neither
    EXPECT_TRUE(editor.inserted.empty());
    recorder.on_raw_mouse(mouse(0, 0x02, 0, 30));
    EXPECT_EQ(editor.inserted, (std::vector<Bytes>{{0x42}}));
    EXPECT_EQ(recorder.state(), kNotRecording);

    recorder.start_capture(kCaptureWheel);
    EXPECT_EQ(recording_panel_message(recorder.state()), lang::kMsgWaitScroll);
    recorder.on_raw_mouse(mouse(0x01, 0, 0, 40));
    recorder.on_raw_mouse(mouse(0, 0, -240, 50));
    EXPECT_EQ(editor.inserted, (std::vector<Bytes>{{0x42}, {0x7E}}));
    EXPECT_EQ(recorder.state(), kNotRecording);
    EXPECT_EQ(recording_panel_message(kRecording), -1);
}

}  // namespace
}  // namespace zentrik::macro
