// The virtual scroll device through a recording sink: the device it asks the kernel for, and the
// exact events of each step.
#include "platform/linux/uinput_scroll_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

namespace zentrik::platform {
namespace {

struct Ev {
    int type, code, value;
    bool operator==(const Ev&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Ev& e) {
    return out << "{" << e.type << "," << e.code << "," << e.value << "}";
}

struct Trace {
    std::set<std::pair<unsigned long, int>> enabled;
    std::vector<uinput_setup> setups;
    std::vector<std::vector<Ev>> writes;
    unsigned long refuse_request = 0;  // an enable the "kernel" refuses
    int failing_writes = 0;            // the next N writes fail
};

class RecordingSink final : public UinputSink {
  public:
    explicit RecordingSink(Trace& trace) : trace_(trace) {}
    bool enable(unsigned long request, int code) override {
        if (request == trace_.refuse_request)
            return false;
        // Creation comes last: nothing is enabled after it.
        EXPECT_TRUE(trace_.setups.empty());
        trace_.enabled.insert({request, code});
        return true;
    }
    bool create(const uinput_setup& setup) override {
        trace_.setups.push_back(setup);
        return true;
    }
    bool write(std::span<const input_event> events) override {
        std::vector<Ev> evs;
        for (const input_event& e : events)
            evs.push_back({e.type, e.code, e.value});
        trace_.writes.push_back(evs);
        if (trace_.failing_writes > 0) {
            --trace_.failing_writes;
            return false;
        }
        return true;
    }

  private:
    Trace& trace_;
};

const Ev kSyn{EV_SYN, SYN_REPORT, 0};

TEST(UinputScrollDevice, AsksForAWheelMouseWithTheTwoModifierKeys) {
    Trace trace;
    ASSERT_TRUE(UinputScrollDevice::create(std::make_unique<RecordingSink>(trace)));
    const std::set<std::pair<unsigned long, int>> expected = {
        {UI_SET_EVBIT, EV_REL},
        {UI_SET_EVBIT, EV_KEY},
        {UI_SET_EVBIT, EV_SYN},
        {UI_SET_RELBIT, REL_X},
        {UI_SET_RELBIT, REL_Y},
        {UI_SET_RELBIT, REL_WHEEL},
        {UI_SET_RELBIT, REL_HWHEEL},
        {UI_SET_RELBIT, REL_WHEEL_HI_RES},
        {UI_SET_RELBIT, REL_HWHEEL_HI_RES},
        {UI_SET_KEYBIT, BTN_LEFT},
        {UI_SET_KEYBIT, BTN_RIGHT},
        {UI_SET_KEYBIT, BTN_MIDDLE},
        {UI_SET_KEYBIT, KEY_LEFTSHIFT},
        {UI_SET_KEYBIT, KEY_LEFTCTRL},
    };
    EXPECT_EQ(trace.enabled, expected);
    ASSERT_EQ(trace.setups.size(), 1u);
    EXPECT_EQ(trace.setups[0].id.bustype, BUS_VIRTUAL);
    EXPECT_STREQ(trace.setups[0].name, kUinputDeviceName);
    EXPECT_TRUE(trace.writes.empty());

    Trace refused;
    refused.refuse_request = UI_SET_RELBIT;
    EXPECT_FALSE(UinputScrollDevice::create(std::make_unique<RecordingSink>(refused)));
    EXPECT_TRUE(refused.setups.empty());  // no half-made device
    EXPECT_FALSE(UinputScrollDevice::create(nullptr));
}

TEST(UinputScrollDevice, EachStepIsOneWriteOfItsEvents) {
    Trace trace;
    auto device = UinputScrollDevice::create(std::make_unique<RecordingSink>(trace));
    ASSERT_TRUE(device);
    const auto wheel_step = [](int key, int notch) {
        return std::vector<Ev>{{EV_KEY, key, 1},
                               kSyn,
                               {EV_REL, REL_WHEEL, notch},
                               {EV_REL, REL_WHEEL_HI_RES, notch * 120},
                               kSyn,
                               {EV_KEY, key, 0},
                               kSyn};
    };
    const struct {
        ScrollGesture gesture;
        bool left;
        std::vector<Ev> events;
    } cases[] = {
        {ScrollGesture::kHorizontalButtons,
         true,
         {{EV_REL, REL_HWHEEL, -1}, {EV_REL, REL_HWHEEL_HI_RES, -120}, kSyn}},
        {ScrollGesture::kHorizontalButtons,
         false,
         {{EV_REL, REL_HWHEEL, 1}, {EV_REL, REL_HWHEEL_HI_RES, 120}, kSyn}},
        // A left tilt is the wheel turned up (away from the user), as on X11 (button 4).
        {ScrollGesture::kShiftWheel, true, wheel_step(KEY_LEFTSHIFT, 1)},
        {ScrollGesture::kShiftWheel, false, wheel_step(KEY_LEFTSHIFT, -1)},
        {ScrollGesture::kCtrlWheel, true, wheel_step(KEY_LEFTCTRL, 1)},
        {ScrollGesture::kCtrlWheel, false, wheel_step(KEY_LEFTCTRL, -1)},
    };
    for (const auto& c : cases) {
        trace.writes.clear();
        EXPECT_TRUE(device->send(c.gesture, c.left));
        ASSERT_EQ(trace.writes.size(), 1u);
        EXPECT_EQ(trace.writes[0], c.events) << int(c.gesture) << (c.left ? " left" : " right");
    }
}

TEST(UinputScrollDevice, AFailedStepIsReportedAndNeverLeavesTheModifierHeld) {
    Trace trace;
    auto device = UinputScrollDevice::create(std::make_unique<RecordingSink>(trace));
    ASSERT_TRUE(device);
    trace.failing_writes = 1;
    EXPECT_FALSE(device->send(ScrollGesture::kShiftWheel, true));
    ASSERT_EQ(trace.writes.size(), 2u);
    EXPECT_EQ(trace.writes[1], (std::vector<Ev>{{EV_KEY, KEY_LEFTSHIFT, 0}, kSyn}));

    trace.writes.clear();
    trace.failing_writes = 1;
    EXPECT_FALSE(device->send(ScrollGesture::kHorizontalButtons, false));
    EXPECT_EQ(trace.writes.size(), 1u);  // no key to let go of
}

}  // namespace
}  // namespace zentrik::platform
