// The Linux key codes the X11 input source hears, checked against the program's scan-code table:
// every key becomes the HID usage the table gives it, as the recorder computes it.
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <set>

#include "macro/scan_code_table.h"
#include "platform/linux/evdev_scan_codes.h"

namespace zentrik::platform {
namespace {

int recorded_usage(int evdev) {
    const auto key = set1_from_evdev(evdev);
    if (!key)
        return 0;
    int scan = key->make_code | ((key->e0 || key->e1) ? 0xE000 : 0);
    if (key->virtual_key == kVirtualKeyPause)
        scan = 0xC5;
    return macro::ScanCodeTable::builtin().usage_from_scan(scan);
}

TEST(EvdevScanCodes, KeysBecomeTheirHidUsages) {
    const std::pair<int, int> keys[] = {
        {KEY_A, 4},           {KEY_Z, 29},          {KEY_1, 30},           {KEY_0, 39},
        {KEY_ENTER, 40},      {KEY_ESC, 41},        {KEY_SPACE, 44},       {KEY_GRAVE, 53},
        {KEY_F1, 58},         {KEY_F12, 69},        {KEY_SYSRQ, 70},       {KEY_SCROLLLOCK, 71},
        {KEY_PAUSE, 72},      {KEY_INSERT, 73},     {KEY_HOME, 74},        {KEY_PAGEUP, 75},
        {KEY_DELETE, 76},     {KEY_END, 77},        {KEY_PAGEDOWN, 78},    {KEY_RIGHT, 79},
        {KEY_LEFT, 80},       {KEY_DOWN, 81},       {KEY_UP, 82},          {KEY_NUMLOCK, 83},
        {KEY_KPSLASH, 84},    {KEY_KPASTERISK, 85}, {KEY_KPENTER, 88},     {KEY_KP1, 89},
        {KEY_KPDOT, 99},      {KEY_102ND, 100},     {KEY_COMPOSE, 101},    {KEY_HANGEUL, 144},
        {KEY_HANJA, 145},     {KEY_LEFTCTRL, 224},  {KEY_LEFTSHIFT, 225},  {KEY_LEFTALT, 226},
        {KEY_LEFTMETA, 227},  {KEY_RIGHTCTRL, 228}, {KEY_RIGHTSHIFT, 229}, {KEY_RIGHTALT, 230},
        {KEY_RIGHTMETA, 231},
    };
    for (const auto& [evdev, usage] : keys)
        EXPECT_EQ(recorded_usage(evdev), usage) << "evdev " << evdev;
    EXPECT_TRUE(set1_from_evdev(KEY_HANGEUL)->release_only);
    EXPECT_FALSE(set1_from_evdev(KEY_VOLUMEUP).has_value());
}

TEST(EvdevScanCodes, EveryKeyOfTheTableCanBeRecorded) {
    std::set<int> reached;
    for (int evdev = 0; evdev < 256; ++evdev) {
        if (const int usage = recorded_usage(evdev))
            reached.insert(usage);
    }
    const auto& table = macro::ScanCodeTable::builtin();
    for (int usage = 1; usage < macro::ScanCodeTable::kEntries; ++usage) {
        const int scan = table.scan(usage);
        // Usages that share a scan code with a lower one (Non-US # with \) record as that one.
        if (scan != 0 && table.usage_from_scan(scan) == usage) {
            EXPECT_TRUE(reached.count(usage)) << "usage " << usage << " scan " << scan;
        }
    }
}

}  // namespace
}  // namespace zentrik::platform
