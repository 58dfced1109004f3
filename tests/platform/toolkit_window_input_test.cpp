// What the window's own input (the Wayland recorder source) hears of the toolkit's events.
#include <gtest/gtest.h>

#include <vector>

#include "platform/linux/wayland_window_input.h"

namespace zentrik::platform {
namespace {

struct Heard final : RawInputSink {
    std::vector<RawKeyEvent> keys;
    std::vector<RawMouseEvent> mice;
    void on_raw_key(const RawKeyEvent& e) override { keys.push_back(e); }
    void on_raw_mouse(const RawMouseEvent& e) override { mice.push_back(e); }
};

struct Event {
    GdkEvent* event;
    explicit Event(GdkEventType type) : event(gdk_event_new(type)) {}
    ~Event() { gdk_event_free(event); }
};

bool deliver_key(GdkEventType type, int keycode, Heard& heard) {
    Event e(type);
    e.event->key.hardware_keycode = static_cast<guint16>(keycode);
    e.event->key.time = 5000;
    return deliver_toolkit_event(*e.event, heard);
}

bool deliver_button(GdkEventType type, int button, Heard& heard) {
    Event e(type);
    e.event->button.button = static_cast<guint>(button);
    e.event->button.time = 6000;
    return deliver_toolkit_event(*e.event, heard);
}

bool deliver_scroll(GdkScrollDirection direction, Heard& heard) {
    Event e(GDK_SCROLL);
    e.event->scroll.direction = direction;
    e.event->scroll.time = 7000;
    return deliver_toolkit_event(*e.event, heard);
}

TEST(ToolkitWindowInput, KeysByKeycodeButtonsAndWheelNotches) {
    Heard heard;
    // xkb keycode 38 is Linux KEY_A (30), set-1 make code 0x1E; 118 is Insert (E0 0x52).
    EXPECT_TRUE(deliver_key(GDK_KEY_PRESS, 38, heard));
    EXPECT_TRUE(deliver_key(GDK_KEY_RELEASE, 118, heard));
    ASSERT_EQ(heard.keys.size(), 2u);
    EXPECT_EQ(heard.keys[0].make_code, 0x1E);
    EXPECT_TRUE(heard.keys[0].down);
    EXPECT_FALSE(heard.keys[0].e0);
    EXPECT_EQ(heard.keys[0].time_ms, 5000u);
    EXPECT_EQ(heard.keys[1].make_code, 0x52);
    EXPECT_TRUE(heard.keys[1].e0);
    EXPECT_FALSE(heard.keys[1].down);

    EXPECT_TRUE(deliver_button(GDK_BUTTON_PRESS, 8, heard));    // back
    EXPECT_TRUE(deliver_button(GDK_BUTTON_RELEASE, 3, heard));  // right
    EXPECT_FALSE(deliver_button(GDK_2BUTTON_PRESS, 1, heard));  // follows its single press
    EXPECT_FALSE(deliver_button(GDK_BUTTON_PRESS, 6, heard));   // horizontal wheel
    EXPECT_TRUE(deliver_scroll(GDK_SCROLL_UP, heard));
    EXPECT_TRUE(deliver_scroll(GDK_SCROLL_DOWN, heard));
    EXPECT_FALSE(deliver_scroll(GDK_SCROLL_SMOOTH, heard));  // sent beside each notch
    EXPECT_FALSE(deliver_scroll(GDK_SCROLL_LEFT, heard));
    ASSERT_EQ(heard.mice.size(), 4u);
    EXPECT_EQ(heard.mice[0].buttons_down, kRawButton4);
    EXPECT_EQ(heard.mice[0].time_ms, 6000u);
    EXPECT_EQ(heard.mice[1].buttons_up, kRawButtonRight);
    EXPECT_EQ(heard.mice[1].buttons_down, 0);
    EXPECT_EQ(heard.mice[2].wheel_delta, kWheelDeltaPerNotch);
    EXPECT_EQ(heard.mice[3].wheel_delta, -kWheelDeltaPerNotch);
    EXPECT_EQ(heard.mice[3].time_ms, 7000u);
}

}  // namespace
}  // namespace zentrik::platform
