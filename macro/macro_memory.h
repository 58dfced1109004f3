#pragma once
// The mouse's macro memory: a directory of 64 records of 32 bytes at 0x0000 and a code area from
// 0x0800 up to the macro limit, in which each used slot owns one contiguous range (its code and
// an end byte). Buttons name a macro by the address of its first byte, so every operation that
// moves or removes a macro re-points or resets the buttons that use it.
//
// MacroMemory keeps the program's copy of the directory for one mouse and performs the
// operations on it. Each operation runs on the thread that calls it (a job's worker in the
// window); questions go through ui::Dialogs and progress through MacroProgress.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/button_table.h"
#include "device/zklib.h"
#include "macro/instruction.h"

namespace zentrik::ui {
class Dialogs;
}

namespace zentrik::macro {

inline constexpr int kSlotCount = 64;
inline constexpr int kRecordSize = 32;
inline constexpr int kCodeAreaStart = 0x800;
inline constexpr int kNoAddress = 0xFFFF;
inline constexpr int kMaxNameChars = 14;
inline constexpr std::uint8_t kEndByte = 0x00;
inline constexpr char kHiddenNamePrefix[] = "_@";

struct MacroSlot {
    std::string name;  // UTF-8
    int start = kNoAddress;
    int end = kNoAddress;  // inclusive
    std::uint8_t mode = 0;
    std::array<bool, device::kProfileCount> profiles{};  // a button of that profile uses it

    bool used() const { return start != kNoAddress; }
    int size() const { return used() ? end - start + 1 : 0; }
};

// Where long operations report their progress; the default shows nothing.
class MacroProgress {
  public:
    virtual ~MacroProgress() = default;
    virtual void begin(const std::string& message) { (void)message; }
    virtual void update(double fraction) { (void)fraction; }
    virtual void end() {}
};

// The in-memory directory and its accounting; pure data, so placement is testable alone.
struct MacroDirectory {
    std::array<MacroSlot, kSlotCount> slots{};
    int macro_limit = kCodeAreaStart;  // first address past the code area
    int total_bytes = 0;
    int free_bytes = 0;

    // Empties every slot and sets both counts to the code area's size.
    void reset(int limit);
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
    // so the copy shows what the mouse holds.
    MemoryResult write_macro(int slot, int address, std::span<const std::uint8_t> code);
    // The whole save: plan_save, then write_macro or defragment; messages through `dialogs`.
    MemoryResult save_macro(int slot, std::span<const std::uint8_t> code, ui::Dialogs& dialogs,
                            const SafetyCopy& safety_copy, bool ask_overwrite = true);

    // The record of `slot`: name (first 14 characters) and range.
    int write_directory_record(int slot, int start, int end, const std::string& name);
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
    bool write_bytes(int address, std::span<const std::uint8_t> bytes);
    bool repoint_buttons(int old_start, int new_start);
    bool read_bytes(int address, int count, std::vector<std::uint8_t>& out);
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

// The start address of the macro in `slot` as the mouse's directory holds it (what a button
// assigned to that macro names); nullopt when the read failed or the slot is empty or not 0-63.
std::optional<int> read_slot_start(device::zklib& lib, const std::string& path, int slot);

// The name of the macro whose record starts at `address`, read from the mouse's directory;
// nullopt when no record starts there or a read failed.
std::optional<std::string> read_macro_name_at(device::zklib& lib, const std::string& path,
                                              int address);

// Case-insensitive (ASCII) name order of the macro list.
bool name_greater(const std::string& a, const std::string& b);

}  // namespace zentrik::macro
