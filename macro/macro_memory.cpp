#include "macro/macro_memory.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "device/commands.h"
#include "device/memory_reader.h"
#include "lang/string_tables.h"
#include "lang/text_format.h"
#include "macro/slot_code.h"
#include "ui/dialogs.h"

namespace zentrik::macro {
namespace {

using device::kPageBytes;
constexpr int kButtonCells = device::kProfileCount * device::kButtonCount;  // progress steps

const std::string& process_caption(int index) {
    static const std::string none;
    const auto& captions = lang::strings().process_captions;
    return index >= 0 && index < static_cast<int>(captions.size()) ? captions[index] : none;
}

}  // namespace

MacroMemory::MacroMemory(device::zklib& lib, std::string path, device::ButtonTable& buttons)
    : lib_(lib), path_(std::move(path)), buttons_(buttons) {}

int MacroMemory::take_written_start() {
    return std::exchange(written_start_, kNoAddress);
}

bool MacroMemory::load_directory() {
    const auto limit = device::read_macro_limit(lib_, path_);
    // A limit past the mouse's memory (or below its directory) is not a reply to this request.
    if (!limit || *limit < kCodeAreaStart || *limit > memory_size()) {
        dir_.reset(kCodeAreaStart);
        return false;
    }
    return load_directory(*limit);
}

int MacroMemory::memory_size() const {
    const auto device = lib_.find_device(path_);
    return device && device->memory_size > 0 ? device->memory_size : device::kLargestMemorySize;
}

bool MacroMemory::load_directory(int macro_limit) {
    // Addresses wrap at the memory's size: a code area past it would overlay the directory.
    dir_.reset(std::min(macro_limit, memory_size()));
    bool complete = true;
    for (int i = 0; i < kSlotCount; ++i) {
        const auto head = device::read_memory_range(lib_, path_, i * kRecordSize, 4);
        if (!head) {
            complete = false;
            break;
        }
        MacroSlot slot;
        if ((*head)[0] == 0xFF && (*head)[1] == 0xFF) {
            dir_.slots[i] = slot;  // empty whatever the name bytes hold
            continue;
        }
        slot.start = (*head)[0] | ((*head)[1] << 8);
        slot.end = (*head)[2] | ((*head)[3] << 8);
        // A range outside the code area is never read, not even its mode byte.
        const bool readable = dir_.in_code_area(slot.start, slot.end);
        const auto mode = readable ? device::read_memory_range(lib_, path_, slot.start, 1)
                                   : std::optional<std::vector<std::uint8_t>>{{0}};
        const auto name = mode ? read_record_name(lib_, path_, i) : std::nullopt;
        if (!name) {
            complete = false;
            break;
        }
        slot.mode = (*mode)[0];
        slot.name = *name;
        dir_.slots[i] = slot;
    }
    dir_.mark_damaged();
    dir_.set_profile_markers(buttons_);
    return complete;
}

SavePlan MacroMemory::plan_save(int slot, std::span<const std::uint8_t> code, ui::Dialogs& dialogs,
                                bool ask_overwrite) const {
    const auto& s = lang::strings();
    if (slot < 0 || slot >= kSlotCount || !valid_slot_code(code)) {
        dialogs.message("", "invalid format !!");
        return {SaveDecision::kInvalid, -1};
    }
    const int size = static_cast<int>(code.size()) + 1;
    const int address = dir_.find_space(size, slot);
    if (address < 0 && size > dir_.free_bytes) {
        dialogs.message("", s.message(lang::kMsgInsufficientMemory));
        return {SaveDecision::kInsufficient, -1};
    }
    if (address < 0) {
        if (dialogs.ask_yes_no(s.message(lang::kMsgDefragTitle),
                               s.message(lang::kMsgDefragQuestion)))
            return {SaveDecision::kDefragment, -1};
        return {SaveDecision::kDeclined, -1};
    }
    if (ask_overwrite && dir_.slots[slot].used() &&
        !dialogs.ask_yes_no(
            s.message(lang::kMsgOverwriteTitle),
            lang::format_text(s.message(lang::kMsgOverwriteQuestion), dir_.slots[slot].name)))
        return {SaveDecision::kDeclined, -1};
    return {SaveDecision::kWrite, address};
}

bool MacroMemory::write_bytes(int address, std::span<const std::uint8_t> bytes) {
    const int total = static_cast<int>(bytes.size());
    int done = 0;
    auto write = [&](int count) {
        const auto part =
            bytes.subspan(static_cast<std::size_t>(done), static_cast<std::size_t>(count));
        if (!device::write_memory_block(lib_, path_, memory_address(address + done), part))
            return false;
        done += count;
        progress_->update(double(done) / total);
        return true;
    };
    if (total > kPageBytes) {
        // Up to the next 32-byte boundary, whole pages, then the rest.
        const int head = (kPageBytes - address % kPageBytes) % kPageBytes;
        if (head > 0 && !write(head))
            return false;
        while (total - done >= kPageBytes) {
            if (!write(kPageBytes))
                return false;
        }
        return done == total || write(total - done);
    }
    // A short macro goes one instruction at a time, then the end byte.
    while (done < total - 1) {
        const int size = static_cast<int>(instruction_size(bytes[static_cast<std::size_t>(done)]));
        if (!write(std::clamp(size, 1, total - 1 - done)))
            return false;
    }
    return write(1);
}

int MacroMemory::send_button(int profile, int b, bool has_function, int value) {
    const int device_button = device_button_ ? device_button_(b) : b;
    return device::write_button(lib_, path_, profile, device_button, has_function,
                                memory_address(value));
}

bool MacroMemory::repoint_buttons(int old_start, int new_start) {
    bool ok = true;
    for (int p = 0; p < device::kProfileCount; ++p) {
        for (int b = 0; b < device::kButtonCount; ++b) {
            const auto a = buttons_.get(p, b);
            if (!a.remapped || a.code != old_start)
                continue;
            if (send_button(p, b, true, new_start))
                buttons_.set(p, b, {true, static_cast<std::uint16_t>(new_start)});
            else
                ok = false;
        }
    }
    return ok;
}

MemoryResult MacroMemory::write_macro(int slot, int address, std::span<const std::uint8_t> code,
                                      const std::string& given_name) {
    if (slot < 0 || slot >= kSlotCount || !valid_slot_code(code))
        return {false, "invalid format !!"};
    const int size = static_cast<int>(code.size()) + 1;
    // The last guard before any byte goes out: macro code never lands outside the code area.
    if (!dir_.in_code_area(address, address + size - 1))
        return {false, "error: the macro does not fit inside the macro memory's code area"};
    MacroProgressScope scope(*progress_, process_caption(2));
    progress_->update(0.0);
    MacroSlot& s = dir_.slots[slot];
    const bool was_used = s.used();
    // A damaged record's range is nobody's: its bytes are not overwritten in place, and buttons
    // naming its start may name another macro, so they are not re-pointed.
    const bool was_placed = s.placed();
    const int old_start = s.start;
    const int old_size = s.size();
    const std::string name =
        !given_name.empty() ? fit_record_name(given_name)
        : was_used          ? s.name
                   : dir_.generated_name(lang::strings().panel_captions[lang::kCaptionUnknown]);

    std::vector<std::uint8_t> bytes(code.begin(), code.end());
    bytes.push_back(kEndByte);
    // The bytes first and the record last: until the record names the new range, the slot
    // keeps its old macro (or stays empty).
    bool ok;
    if (was_placed && address <= s.end && address + size - 1 >= old_start) {
        // The new bytes overwrite the old ones: the record is emptied first, and the first byte
        // goes last with an end code in its place meanwhile, so neither the record nor a button
        // ever names half-written code.
        const std::array<std::uint8_t, 4> empty{0xFF, 0xFF, 0xFF, 0xFF};
        const std::array<std::uint8_t, 1> end_code{kEndByte};
        ok = device::write_memory_block(lib_, path_, memory_address(slot * kRecordSize), empty) &&
             device::write_memory_block(lib_, path_, memory_address(address), end_code) &&
             write_bytes(address + 1, std::span(bytes).subspan(1)) &&
             device::write_memory_block(lib_, path_, memory_address(address),
                                        std::span(bytes).first(1)) &&
             write_directory_record(lib_, path_, slot, address, address + size - 1, name) == 1;
    } else {
        ok = write_bytes(address, bytes) &&
             write_directory_record(lib_, path_, slot, address, address + size - 1, name) == 1;
    }
    ok = ok && record_range_reads_back(lib_, path_, slot, address, address + size - 1);
    if (ok) {
        s.name = name;
        s.start = address;
        s.end = address + size - 1;
        s.mode = bytes[0];
        s.damaged = false;
        dir_.free_bytes += old_size - size;
        if (was_placed && address != old_start)
            ok = repoint_buttons(old_start, address);
        written_start_ = address;
        dir_.set_profile_markers(buttons_);
        lib_.timing().sleep_ms(10);
        if (!ok)
            return {false, "error: the macro was written, but a button could not be re-pointed"};
        return {true, {}};
    }
    load_directory(dir_.macro_limit);
    return {false, "error"};
}

bool same_macro(const MacroSlot& a, const MacroSlot& b) {
    return a.start == b.start && (!a.used() || (a.end == b.end && a.name == b.name));
}

MemoryResult MacroMemory::save_macro(int slot, std::span<const std::uint8_t> code,
                                     ui::Dialogs& dialogs, const SafetyCopy& safety_copy,
                                     bool ask_overwrite) {
    return carry_out(plan_save(slot, code, dialogs, ask_overwrite), slot, code, dialogs,
                     safety_copy, {});
}

MemoryResult MacroMemory::save_planned(int slot, std::span<const std::uint8_t> code,
                                       SaveDecision planned, const MacroSlot& seen,
                                       ui::Dialogs& dialogs, const SafetyCopy& safety_copy,
                                       const std::string& name) {
    if (planned != SaveDecision::kWrite && planned != SaveDecision::kDefragment)
        return {false, {}};
    if (!load_directory()) {
        dialogs.message("", "error");
        return {false, "error"};
    }
    if (planned == SaveDecision::kDefragment)
        return carry_out({SaveDecision::kDefragment, -1}, slot, code, dialogs, safety_copy, name);
    const bool unchanged = slot >= 0 && slot < kSlotCount && same_macro(dir_.slots[slot], seen);
    return carry_out(plan_save(slot, code, dialogs, !unchanged), slot, code, dialogs, safety_copy,
                     name);
}

MemoryResult MacroMemory::carry_out(const SavePlan& plan, int slot,
                                    std::span<const std::uint8_t> code, ui::Dialogs& dialogs,
                                    const SafetyCopy& safety_copy, const std::string& name) {
    MemoryResult result;
    switch (plan.decision) {
        case SaveDecision::kWrite:
            result = write_macro(slot, plan.address, code, name);
            break;
        case SaveDecision::kDefragment:
            result = defragment(slot, safety_copy);
            break;
        case SaveDecision::kInsufficient:
            return {false, lang::strings().message(lang::kMsgInsufficientMemory)};
        case SaveDecision::kInvalid:
            return {false, "invalid format !!"};
        case SaveDecision::kDeclined:
            return {false, {}};
    }
    if (!result.ok)
        dialogs.message("", result.error);
    return result;
}

MemoryResult MacroMemory::rename_macro(int slot, const std::string& name) {
    if (slot < 0 || slot >= kSlotCount || !dir_.slots[slot].used())
        return {false, "error"};
    if (const auto problem = record_name_problem(name))
        return {false, "error: " + *problem};
    MacroSlot& s = dir_.slots[slot];
    const std::string old_name = s.name;
    s.name = fit_record_name(name);  // the name as the mouse will hold it
    if (!write_directory_record(lib_, path_, slot, s.start, s.end, s.name)) {
        s.name = old_name;
        return {false, "error"};
    }
    return {true, {}};
}

MemoryResult MacroMemory::remove_macro(int slot) {
    if (slot < 0 || slot >= kSlotCount || !dir_.slots[slot].used())
        return {false, "error"};
    MacroProgressScope scope(*progress_, {});
    MacroSlot& s = dir_.slots[slot];
    // The buttons first: a button never names bytes that a later save may give another macro.
    bool ok = true;
    int n = 0;
    for (int p = 0; p < device::kProfileCount && ok; ++p) {
        for (int b = 0; b < device::kButtonCount && ok; ++b, ++n) {
            progress_->update(0.7 + n / double(kButtonCells + 1) * 0.3);
            const auto a = buttons_.get(p, b);
            if (!a.remapped || a.code != s.start)
                continue;
            ok = send_button(p, b, false, 0xFFFF) == 1;
            if (ok)
                buttons_.set(p, b, {false, 0xFFFF});
        }
    }
    if (!ok || !write_directory_record(lib_, path_, slot, kNoAddress, kNoAddress, "")) {
        dir_.set_profile_markers(buttons_);
        return {false, "error"};
    }
    dir_.free_bytes += s.size();
    s = MacroSlot{};
    dir_.set_profile_markers(buttons_);
    return {true, {}};
}

std::optional<MacroCode> MacroMemory::read_macro_code(int slot) {
    if (slot < 0 || slot >= kSlotCount || !dir_.slots[slot].placed())
        return std::nullopt;
    const MacroSlot& s = dir_.slots[slot];
    MacroProgressScope scope(*progress_, lang::format_text(process_caption(1), s.name));
    auto read = device::read_memory_range(
        lib_, path_, s.start, s.size(),
        {.chunk = device::kReadChunkBytes,
         .on_progress = [&](int done) { progress_->update(double(done) / s.size()); }});
    if (!read)
        return std::nullopt;
    std::vector<std::uint8_t> bytes = std::move(*read);
    // The code ends before the end byte (or where the range ends).
    std::size_t length = 0;
    while (length < bytes.size()) {
        const auto size = instruction_size(bytes[length]);
        if (size == 0 || bytes[length] <= 0x01 || length + size > bytes.size())
            break;
        length += size;
    }
    bytes.resize(length);
    return bytes;
}

std::optional<InstructionList> MacroMemory::load_macro(int slot) {
    auto code = read_macro_code(slot);
    if (!code)
        return std::nullopt;
    InstructionList list = decode_macro(*code);
    recompute_offsets(list);
    return list;
}

}  // namespace zentrik::macro
