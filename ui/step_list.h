#pragma once
// The editing rules of a step list (a list with edit_mode 1, the macro editor): each row is one
// macro instruction and the rows' offsets chain, so the rows encode the macro without gaps.
// The pointer logic runs them for the window (value editor, second press, Delete key) and the
// macro editor's board operations for the tools and drops. The caller holds the board's lock
// and invalidates the list afterwards.
#include <cstdint>
#include <string_view>

#include "ui/widget.h"

namespace zentrik::ui::step_list {

inline constexpr std::uint8_t kWaitShort = 0x88;  // wait with a one-byte value in ms
inline constexpr std::uint8_t kWaitLong = 0x89;   // wait with a two-byte value in ms

bool is_wait(const ListItem& row);
// The milliseconds a wait row holds.
int wait_value(const ListItem& row);
// A wait typed into the value editor: the leading decimal number, 0 for anything else,
// clamped to 0-65535.
int parse_wait_value(std::string_view text);
// Stores a typed wait into the wait row `row`: the one-byte form up to 255 ms, else the two-byte
// form; the later rows' offsets follow. False (nothing changes) when `row` is no wait row.
bool commit_wait(Widget& list, int row, std::string_view text);

// Run-mode rows: code & 0xFC is 0x04.
bool is_mode(const ListItem& row);
// 0x04 (once) -> 0x06 (fire key) -> 0x05 (loop) -> 0x04; 0x07 -> 0x06.
std::uint8_t next_mode(std::uint8_t code);
// Steps the run mode of `row`; false (nothing changes) when it is no run-mode row.
bool cycle_mode(Widget& list, int row);

// Deletes step `row`; row 0, the run-mode step, never goes. The later rows' offsets follow and
// the selection stays within the rows. True when a row went.
bool delete_step(Widget& list, int row);

}  // namespace zentrik::ui::step_list
