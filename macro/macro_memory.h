#pragma once
// The mouse's macro memory: a directory of 64 records of 32 bytes at 0x0000 and a code area from
// 0x0800 up to the macro limit, in which each used slot owns one contiguous range (its code and
// an end byte). Buttons name a macro by the address of its first byte, so every operation that
// moves or removes a macro re-points or resets the buttons that use it.
//
// MacroMemory keeps the program's copy of the directory (macro_directory.h) for one mouse and
// performs the operations on it. Each operation runs on the thread that calls it (a job's worker
// in the window); questions go through ui::Dialogs and progress through MacroProgress.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "device/button_table.h"
#include "device/zklib.h"
#include "macro/directory_record.h"
#include "macro/instruction.h"
#include "macro/macro_directory.h"
#include "macro/macro_progress.h"

namespace zentrik::ui {
class Dialogs;
}

namespace zentrik::macro {

// What the save questions decided.
enum class SaveDecision {
    kWrite,         // write at the address found
    kInsufficient,  // larger than all free bytes ("insufficient memory !!" was shown)
    kDefragment,    // the user agreed to defragment; the macro is not written
    kDeclined,      // the user answered No (overwrite or defragment)
    kInvalid,       // the code cannot go into a slot ("invalid format !!" was shown)
};

struct SavePlan {
    SaveDecision decision = SaveDecision::kDeclined;
    int address = -1;
};

// Outcome of an operation that writes to the mouse.
struct MemoryResult {
    bool ok = false;
    std::string error;  // why, for the message shown; empty when ok
};

// Whether two records name the same macro (same range and name), or are both empty.
bool same_macro(const MacroSlot& a, const MacroSlot& b);

class MacroMemory {
  public:
    using SafetyCopy = std::function<std::optional<std::filesystem::path>()>;

    MacroMemory(device::zklib& lib, std::string path, device::ButtonTable& buttons);

    const MacroDirectory& directory() const { return dir_; }
    MacroDirectory& directory() { return dir_; }
    const std::string& path() const { return path_; }
    void set_progress(MacroProgress* progress) { progress_ = progress ? progress : &no_progress_; }
    // The number the mouse knows button `b` of the table by (the window keeps its table in
    // label order); the same number when unset.
    void set_device_button(std::function<int(int)> device_button) {
        device_button_ = std::move(device_button);
    }
    // Start address of the macro written last (for reselection); kNoAddress once taken.
    int take_written_start();

    // Reads all 64 records (the macro limit first, from the mouse); false when a read failed
    // (the slots read so far stay, the rest are empty).
    bool load_directory();
    bool load_directory(int macro_limit);

    // The questions of a save, asked on the calling thread. `code` is without the end byte.
    SavePlan plan_save(int slot, std::span<const std::uint8_t> code, ui::Dialogs& dialogs,
                       bool ask_overwrite = true) const;
    // Writes `code` + end byte at `address` as slot's macro: the bytes first, the record last,
    // then re-points the buttons when the start moved. On failure the directory is read again
    // so the copy shows what the mouse holds. `name` names it (a library entry's title); empty,
    // it keeps the slot's name, or an empty slot gets "Unknown NN".
    MemoryResult write_macro(int slot, int address, std::span<const std::uint8_t> code,
                             const std::string& name = {});
    // The whole save: plan_save, then write_macro or defragment; messages through `dialogs`.
    MemoryResult save_macro(int slot, std::span<const std::uint8_t> code, ui::Dialogs& dialogs,
                            const SafetyCopy& safety_copy, bool ask_overwrite = true);
    // A save whose questions were asked earlier, from the directory as it was then (`seen`:
    // the slot as the user saw it; `planned`: kWrite or kDefragment). Call while holding the
    // mouse's lock: another program may have written since, so the directory is read again
    // and the range and the "Unknown NN" name are chosen from it. The overwrite question comes
    // again only when the slot now holds a macro other than `seen`.
    MemoryResult save_planned(int slot, std::span<const std::uint8_t> code, SaveDecision planned,
                              const MacroSlot& seen, ui::Dialogs& dialogs,
                              const SafetyCopy& safety_copy, const std::string& name = {});

    MemoryResult rename_macro(int slot, const std::string& name);
    // Resets the buttons that use the macro, then empties its record.
    MemoryResult remove_macro(int slot);
    // Compacts the code area in slot order with `target_slot` last (-1: none), rewrites every
    // record and re-points the buttons. `safety_copy` runs first; without a copy nothing is
    // written.
    MemoryResult defragment(int target_slot, const SafetyCopy& safety_copy);
    // The code of a used slot (without the end byte), or nullopt when a read failed.
    std::optional<MacroCode> read_macro_code(int slot);
    // The slot's macro decoded for the editor (a run-mode step first when it has none).
    std::optional<InstructionList> load_macro(int slot);

  private:
    MemoryResult carry_out(const SavePlan& plan, int slot, std::span<const std::uint8_t> code,
                           ui::Dialogs& dialogs, const SafetyCopy& safety_copy,
                           const std::string& name);
    // The mouse's memory size as identified, else the largest a mouse of the family has.
    int memory_size() const;
    bool write_bytes(int address, std::span<const std::uint8_t> bytes);
    bool repoint_buttons(int old_start, int new_start);
    int send_button(int profile, int b, bool has_function, int value);

    device::zklib& lib_;
    std::string path_;
    device::ButtonTable& buttons_;
    MacroDirectory dir_;
    MacroProgress no_progress_;
    MacroProgress* progress_ = &no_progress_;
    int written_start_ = kNoAddress;
    std::function<int(int)> device_button_;
};

}  // namespace zentrik::macro
