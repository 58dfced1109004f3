#pragma once
// The right-hand panel of the macro page holds the macro editor and the macro library. The
// "bt_lib" button steps through three views: the editor alone (the start), the editor above the
// library (entries drag onto the editor or onto a slot of the mouse's list), and the library
// alone, filling the panel for browsing a long catalogue.
#include "ui/widget_board.h"

namespace zentrik::ui {

enum class LibraryView { kEditor = 0, kEditorAndLibrary = 1, kLibrary = 2 };

LibraryView next_library_view(LibraryView view);

// Shows, hides and places "list macro edit" and "list macro pc" for `view`, with the card
// behind them; the editor's rows and selection stay as they are.
void show_library_view(WidgetBoard& board, LibraryView view);

}  // namespace zentrik::ui
