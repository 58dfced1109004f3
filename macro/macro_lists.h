#pragma once
// The lists that show the mouse's macros: "list macro 2" on the macro page (every slot) and the
// user-macro part of the function list "list macro" on the button page, plus the memory line,
// the bar and the library list.
#include <cstdint>
#include <vector>

#include "macro/macro_library.h"
#include "macro/macro_memory.h"
#include "ui/widget.h"

namespace zentrik::ui {
class WidgetBoard;
}

namespace zentrik::macro {

inline constexpr char kMemoryList[] = "list macro 2";
inline constexpr char kFunctionList[] = "list macro";
inline constexpr char kLibraryList[] = "list macro pc";
inline constexpr ui::Argb kEmptySlotColor = 0xFE909090;

// Slot rows carry the slot in `tag` and the macro's start in `value` (kNoAddress for an empty
// slot, which the pointer logic then neither drags, renames nor deletes).
std::vector<ui::ListItem> memory_list_rows(const MacroDirectory& dir);
// The user-macro part of the function list: its header and one row per used slot.
std::vector<ui::ListItem> user_macro_rows(const MacroDirectory& dir);

// Fills "list macro 2", and "list macro" from `builtin_rows` (the built-in header and functions
// the button page builds) followed by the user macros; reselects the macro that starts at
// `reselect_start` (kNoAddress: none); sets the memory line and the bar.
void rebuild_macro_lists(ui::WidgetBoard& board, const MacroDirectory& dir,
                         std::vector<ui::ListItem> builtin_rows, int reselect_start = kNoAddress);
void show_memory_line(ui::WidgetBoard& board, const MacroDirectory& dir);
// Sets the profile markers of the macro rows of the memory and function lists from `dir`'s, in
// place: the lists keep their rows, folds, selection and scrolling.
void show_profile_markers(ui::WidgetBoard& board, const MacroDirectory& dir);

// The slot a row of "list macro 2" carries, or -1.
int slot_of_row(ui::WidgetBoard& board, int row);

// Rows of "list macro pc": headers, and entries carrying their path index in `value` and their
// size in `tag`.
std::vector<ui::ListItem> library_rows(const MacroLibrary& library);

}  // namespace zentrik::macro
