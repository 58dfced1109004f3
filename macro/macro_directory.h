#pragma once
// The program's copy of the mouse's macro directory: 64 slots, each naming one contiguous range
// of the code area (its code and an end byte), and the placement of new macros in it. Pure data:
// nothing here talks to a mouse, so placement is testable alone.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device/button_table.h"
#include "device/protocol.h"

namespace zentrik::macro {

inline constexpr int kSlotCount = device::kDirectoryRecords;
inline constexpr int kRecordSize = device::kDirectoryRecordBytes;
inline constexpr int kCodeAreaStart = device::kMacroAreaStart;
inline constexpr int kNoAddress = 0xFFFF;
inline constexpr int kMaxNameChars = 14;  // UTF-16 units in a record's 28 name bytes
inline constexpr std::uint8_t kEndByte = 0x00;
inline constexpr char kHiddenNamePrefix[] = "_@";

struct MacroSlot {
    std::string name;  // UTF-8
    int start = kNoAddress;
    int end = kNoAddress;  // inclusive
    std::uint8_t mode = 0;
    std::array<bool, device::kProfileCount> profiles{};  // a button of that profile uses it
    // The record names a range outside the code area, backwards or over another macro's: it is
    // shown and can be removed, but its range is never read, moved or counted.
    bool damaged = false;

    bool used() const { return start != kNoAddress; }
    // A used record whose range holds a macro.
    bool placed() const { return used() && !damaged; }
    int size() const { return placed() ? end - start + 1 : 0; }
};

// The in-memory directory and its accounting.
struct MacroDirectory {
    std::array<MacroSlot, kSlotCount> slots{};
    int macro_limit = kCodeAreaStart;  // first address past the code area
    int total_bytes = 0;
    int free_bytes = 0;

    // Empties every slot and sets both counts to the code area's size.
    void reset(int limit);
    // Whether start..end (inclusive) lies inside the code area.
    bool in_code_area(int start, int end) const;
    // Marks the used records whose range is outside the code area, backwards, or overlaps a
    // record before it that is sound, and recounts the free bytes from the sound ones.
    void mark_damaged();
    // The first slot whose record is damaged, or -1.
    int first_damaged() const;
    // Used slots by name (case-insensitive, equal names in slot order), then empty slots.
    std::vector<int> list_order() const;
    // Address for a macro of `size` bytes (end byte included) in `slot` (-1: any), or -1.
    int find_space(int size, int slot) const;
    // "Unknown %02d" with the smallest number no used slot is named.
    std::string generated_name(const std::string& unknown_caption) const;
    // Recomputes every slot's profile markers from the buttons.
    void set_profile_markers(const device::ButtonTable& buttons);
    // Memory line text ("Remaining: %d B , Total: %d B") and bar fraction.
    std::string memory_line() const;
    double used_fraction() const;
};

// Case-insensitive (ASCII) name order of the macro list.
bool name_greater(const std::string& a, const std::string& b);

}  // namespace zentrik::macro
