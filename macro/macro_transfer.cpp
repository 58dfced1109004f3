#include "macro/macro_transfer.h"

#include <ctime>

#include "lang/string_tables.h"
#include "macro/macro_editor.h"
#include "macro/macro_file.h"

namespace zentrik::macro {
namespace {

constexpr char kInvalidFormat[] = "invalid format !!";

SlotWrite refused(ui::Dialogs& dialogs) {
    dialogs.message("", kInvalidFormat);
    return {{SaveDecision::kInvalid, -1}, {}, {}};
}

}  // namespace

std::string default_macro_file_name() {
    char date[16];
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    std::strftime(date, sizeof date, "%Y-%m-%d", &tm);
    return std::string("macro_") + date;
}

ui::FileDialogRequest macro_file_request(bool saving) {
    return {"Macro File (*.mf)", "*.mf", kMacroFileExtension, default_macro_file_name(),
            saving ? lang::own_text("zk_macro_save_title", "Save the Macro to a File")
                   : lang::own_text("zk_macro_open_title", "Open a Macro File")};
}

bool export_editor(ui::WidgetBoard& board, ui::Dialogs& dialogs) {
    const auto path = dialogs.save_file(macro_file_request(true));
    if (!path)
        return false;
    if (!export_macro_file(*path, editor_instructions(board))) {
        dialogs.message("", "error");
        return false;
    }
    return true;
}

bool import_file_into_editor(ui::WidgetBoard& board, ui::Dialogs& dialogs,
                             const std::filesystem::path& path) {
    auto imported = import_macro_file(path);
    if (imported.status == MacroFileStatus::kUnreadable)
        return false;
    if (imported.status == MacroFileStatus::kInvalid) {
        dialogs.message("", kInvalidFormat);
        return false;
    }
    set_editor_instructions(board, std::move(imported.rows));
    return true;
}

bool import_into_editor(ui::WidgetBoard& board, ui::Dialogs& dialogs) {
    const auto path = dialogs.open_file(macro_file_request(false));
    return path && import_file_into_editor(board, dialogs, *path);
}

SlotWrite plan_editor_save(const MacroMemory& memory, ui::WidgetBoard& board, int slot,
                           ui::Dialogs& dialogs) {
    SlotWrite w;
    w.code = editor_code(board);
    w.plan = memory.plan_save(slot, w.code, dialogs);
    return w;
}

SlotWrite plan_file_save(const MacroMemory& memory, const std::filesystem::path& path, int slot,
                         ui::Dialogs& dialogs) {
    auto code = macro_code_for_slot(path);
    if (!code)
        return refused(dialogs);
    SlotWrite w;
    w.code = std::move(*code);
    w.plan = memory.plan_save(slot, w.code, dialogs);
    return w;
}

SlotWrite plan_library_save(const MacroMemory& memory, const MacroLibrary& library,
                            const LibraryRow& entry, int slot, ui::Dialogs& dialogs) {
    const auto* path = library.library_path(entry.path_index);
    if (!path || !library_entry_writable(entry))
        return refused(dialogs);
    SlotWrite w = plan_file_save(memory, *path, slot, dialogs);
    // Stored under its title, unless the mouse could not hold that as written.
    if (!record_name_problem(entry.text))
        w.name = entry.text;
    return w;
}

MemoryResult run_slot_write(MacroMemory& memory, int slot, const SlotWrite& write,
                            ui::Dialogs& dialogs, const MacroMemory::SafetyCopy& safety_copy) {
    MemoryResult result;
    if (write.plan.decision == SaveDecision::kWrite)
        result = memory.write_macro(slot, write.plan.address, write.code, write.name);
    else if (write.plan.decision == SaveDecision::kDefragment)
        result = memory.defragment(slot, safety_copy);
    else
        return {false, {}};
    if (!result.ok)
        dialogs.message("", result.error);
    return result;
}

}  // namespace zentrik::macro
