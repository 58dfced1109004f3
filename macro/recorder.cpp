#include "macro/recorder.h"

#include <algorithm>

#include "lang/string_tables.h"
#include "macro/instruction.h"

namespace zentrik::macro {
namespace {

// The language keys of Korean keyboards send only a release.
constexpr int kUsageLang1 = 144;
constexpr int kUsageLang2 = 145;
constexpr int kPauseScanCode = 0xC5;
constexpr int kFakeMakeCode = 0x45;

bool release_only_key(int usage) {
    return usage == kUsageLang1 || usage == kUsageLang2;
}

}  // namespace

Recorder::Recorder(RecorderSink& sink, const ScanCodeTable& table) : sink_(sink), table_(table) {}

void Recorder::start_recording(bool started_by_click) {
    key_down_.fill(false);
    last_event_ms_.reset();
    state_ = kRecording;
    skip_first_release_ = started_by_click;
}

void Recorder::stop_recording() {
    state_ = kNotRecording;
    sink_.set_pointer_input(true);
}

void Recorder::start_capture(int state, bool started_by_click) {
    if (state < kCaptureKeyDown || state > kCaptureWheel)
        return;
    state_ = state;
    if (state == kCaptureButtonDown || state == kCaptureButtonUp)
        skip_first_release_ = started_by_click;
    sink_.set_pointer_input(false);
}

void Recorder::on_raw_key(const platform::RawKeyEvent& event) {
    if (state_ == kNotRecording)
        return;
    skip_first_release_ = false;
    int scan = event.make_code;
    if (event.e0 || event.e1)
        scan |= 0xE000;
    if (event.virtual_key == platform::kVirtualKeyPause)
        scan = kPauseScanCode;
    if (event.virtual_key == platform::kVirtualKeyFake && event.make_code == kFakeMakeCode)
        return;
    const int usage = table_.usage_from_scan(scan);
    if (usage <= 0 || usage > 255)
        return;

    bool capture_ends = false;
    std::uint8_t code = MI_KEY_UP;
    if (!event.down) {
        key_down_[usage] = false;
        if (release_only_key(usage) && state_ == kCaptureKeyDown) {
            code = MI_KEY_DOWN;
            capture_ends = true;
        }
        if (state_ == kCaptureKeyUp)
            capture_ends = true;
    } else {
        if (key_down_[usage])
            return;  // auto-repeat
        key_down_[usage] = true;
        code = MI_KEY_DOWN;
        capture_ends = state_ == kCaptureKeyDown;
    }

    add_pause(event.time_ms);
    const auto key = static_cast<std::uint8_t>(usage);
    if (state_ == kRecording && !event.down && release_only_key(usage))
        add({MI_KEY_DOWN, key});
    if (state_ == kRecording || capture_ends)
        add({code, key});
    if (capture_ends)
        end_capture();
}

void Recorder::on_raw_mouse(const platform::RawMouseEvent& event) {
    if (state_ == kNotRecording)
        return;
    std::uint8_t press = 0;
    std::uint8_t release = 0;
    if ((event.buttons_down & platform::kRawButtonLeft) != 0) {
        if (sink_.pointer_on_stop_icon())
            return;
        press |= MB_LEFT;
    }
    if ((event.buttons_up & platform::kRawButtonLeft) != 0) {
        if (skip_first_release_) {
            skip_first_release_ = false;
            return;
        }
        if (sink_.pointer_on_stop_icon())
            return;
        release |= MB_LEFT;
    }
    constexpr std::uint8_t kOtherButtons = platform::kRawButtonRight | platform::kRawButtonMiddle |
                                           platform::kRawButton4 | platform::kRawButton5;
    // The raw bits of the other buttons are the instruction's mask bits.
    press |= event.buttons_down & kOtherButtons;
    release |= event.buttons_up & kOtherButtons;

    skip_first_release_ = false;
    const std::optional<std::uint8_t> wheel = wheel_step(event.wheel_delta);
    if (press == 0 && release == 0 && !wheel)
        return;

    add_pause(event.time_ms);
    bool capture_ends = false;
    if (press != 0 && (state_ == kRecording || state_ == kCaptureButtonDown)) {
        add({static_cast<std::uint8_t>(MI_MOUSE_DOWN | press)});
        capture_ends = state_ == kCaptureButtonDown;
    }
    if (release != 0 && (state_ == kRecording || state_ == kCaptureButtonUp)) {
        add({static_cast<std::uint8_t>(MI_MOUSE_UP | release)});
        capture_ends = state_ == kCaptureButtonUp;
    }
    if (wheel && (state_ == kRecording || state_ == kCaptureWheel)) {
        add({*wheel});
        capture_ends = state_ == kCaptureWheel;
    }
    if (capture_ends)
        end_capture();
}

void Recorder::add_pause(std::uint32_t now) {
    if (state_ == kRecording && record_pauses_ && last_event_ms_) {
        for (auto& step : pause_steps(platform::elapsed_ms(*last_event_ms_, now)))
            add(std::move(step));
    }
    last_event_ms_ = now;
}

void Recorder::add(std::vector<std::uint8_t> code) {
    if (state_ == kRecording)
        sink_.append_step(std::move(code));
    else
        sink_.insert_step_after_selected(std::move(code));
}

void Recorder::end_capture() {
    state_ = kNotRecording;
    sink_.set_pointer_input(true);
}

int recording_panel_message(int state) {
    switch (state) {
        case kCaptureKeyDown:
        case kCaptureKeyUp:
            return lang::kMsgWaitKeyboard;
        case kCaptureButtonDown:
        case kCaptureButtonUp:
            return lang::kMsgWaitMouse;
        case kCaptureWheel:
            return lang::kMsgWaitScroll;
        default:
            return -1;
    }
}

std::vector<std::vector<std::uint8_t>> pause_steps(std::uint32_t ms) {
    std::vector<std::vector<std::uint8_t>> steps;
    if (ms > 0 && ms <= 0xFF) {
        steps.push_back({MI_WAIT8, static_cast<std::uint8_t>(ms)});
        return steps;
    }
    while (ms > 0) {
        const std::uint32_t part = std::min<std::uint32_t>(ms, 0xFFFF);
        steps.push_back({MI_WAIT16, static_cast<std::uint8_t>(part & 0xFF),
                         static_cast<std::uint8_t>(part >> 8)});
        ms -= part;
    }
    return steps;
}

std::optional<std::uint8_t> wheel_step(int delta) {
    const int count = std::clamp(delta / platform::kWheelDeltaPerNotch, -16, 15);
    if (count == 0)
        return std::nullopt;
    return static_cast<std::uint8_t>(MI_WHEEL | (count & 0x1F));
}

}  // namespace zentrik::macro
