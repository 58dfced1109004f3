#pragma once
// Moving macros between the editor, files, the library and the mouse, as the window does it:
// the questions and file dialogs on the window's thread, the writes on a job's worker.
#include <filesystem>
#include <optional>
#include <string>

#include "macro/macro_library.h"
#include "macro/macro_memory.h"
#include "ui/dialogs.h"

namespace zentrik::ui {
class WidgetBoard;
}

namespace zentrik::macro {

// The file dialogs' request: "Macro File (*.mf)", extension "mf", initial name "macro_" + the
// date as yyyy-MM-dd, the title of the save or the open dialog.
ui::FileDialogRequest macro_file_request(bool saving);
std::string default_macro_file_name();

// Export of the editor's rows through the save dialog. False when cancelled; a file that cannot
// be written is reported ("error").
bool export_editor(ui::WidgetBoard& board, ui::Dialogs& dialogs);
// Import through the open dialog into the editor; "invalid format !!" for a file that is not a
// macro file (the editor is then unchanged); a file that cannot be opened ends silently.
bool import_into_editor(ui::WidgetBoard& board, ui::Dialogs& dialogs);
// The same for a known path (a library entry dropped on the editor).
bool import_file_into_editor(ui::WidgetBoard& board, ui::Dialogs& dialogs,
                             const std::filesystem::path& path);

// A macro ready to be written into a slot once its questions were answered.
struct SlotWrite {
    SavePlan plan;
    MacroCode code;
    std::string name;  // the record's name; empty: the slot's own, or "Unknown NN"
};
// The questions of saving the editor's macro into `slot` (drop of the editor on a slot row).
SlotWrite plan_editor_save(const MacroMemory& memory, ui::WidgetBoard& board, int slot,
                           ui::Dialogs& dialogs);
// The questions of writing a macro file into `slot`: a file that is missing, not a macro file
// or holds code that cannot go into a slot is refused with "invalid format !!" and nothing is
// written (never an empty macro).
SlotWrite plan_file_save(const MacroMemory& memory, const std::filesystem::path& path, int slot,
                         ui::Dialogs& dialogs);
// A library entry dropped on a slot: entries of size 0 (missing or invalid file) are refused;
// the macro is stored under the entry's title (`entry.text`).
SlotWrite plan_library_save(const MacroMemory& memory, const MacroLibrary& library,
                            const LibraryRow& entry, int slot, ui::Dialogs& dialogs);
// The worker's part: writes (or defragments) as planned; a failure is shown through `dialogs`.
MemoryResult run_slot_write(MacroMemory& memory, int slot, const SlotWrite& write,
                            ui::Dialogs& dialogs, const MacroMemory::SafetyCopy& safety_copy);

}  // namespace zentrik::macro
