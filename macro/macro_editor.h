#pragma once
// The macro editor ("list macro edit") as operations on the widget board: each row is one
// instruction, row 0 is the run-mode step, and the offsets always chain so the rows encode the
// macro without gaps. Editing a row in place (a wait's value, the run mode, the Delete key) is
// the pointer logic's, with the rules of ui/step_list.h that the operations here share.
#include <cstdint>
#include <string>

#include "macro/instruction.h"
#include "ui/widget.h"

namespace zentrik::ui {
class WidgetBoard;
}

namespace zentrik::macro {

inline constexpr char kEditorList[] = "list macro edit";

ui::ListItem row_from_instruction(const _MACRO_INSTRUCTION& in);
_MACRO_INSTRUCTION instruction_from_row(const ui::ListItem& row);
// The text an editor row shows: the text form of its instruction (the renderer's step-text
// hook).
std::string step_text(const ui::ListItem& row);

// The editor's rows as instructions, and their code (what a save or an export takes).
InstructionList editor_instructions(ui::WidgetBoard& board);
MacroCode editor_code(ui::WidgetBoard& board);
// Replaces the rows (a run-mode step first when `list` has none), selects row 0, scrolls up.
void set_editor_instructions(ui::WidgetBoard& board, InstructionList list);

// Empties the editor down to the single "execute one time" step.
void reset_editor(ui::WidgetBoard& board);
// Adds a step after the selected row (appended when the selection is the last row or the editor
// holds one row), selects it; returns its index.
int add_editor_row(ui::WidgetBoard& board, const _MACRO_INSTRUCTION& in, bool append = false);
// Adds a 1 ms wait after the selected row, selects it, and opens the value editor on it when
// the pointer logic installed one; returns its index.
int insert_wait(ui::WidgetBoard& board);
// Deletes the selected step (an editor row dropped on the delete icon); row 0 is never
// deleted. True when a row went.
bool delete_selected_step(ui::WidgetBoard& board);
// A drop on the editor first selects the drop row.
void select_editor_row(ui::WidgetBoard& board, int row);

}  // namespace zentrik::macro
