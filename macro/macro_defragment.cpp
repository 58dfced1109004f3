// Defragmenting the macro memory: every macro moved to the start of the code area, in slot
// order with the macro being saved last, the directory rewritten and the buttons re-pointed.
#include <algorithm>
#include <string>
#include <vector>

#include "device/commands.h"
#include "device/memory_reader.h"
#include "macro/macro_memory.h"

namespace zentrik::macro {
namespace {

using device::kPageBytes;
constexpr int kButtonCells = device::kProfileCount * device::kButtonCount;  // progress steps

}  // namespace

MemoryResult MacroMemory::defragment(int target_slot, const SafetyCopy& safety_copy) {
    // A damaged record's range cannot be moved, and compacting around it would erase it.
    if (const int damaged = dir_.first_damaged(); damaged >= 0)
        return {false, "error: the record of slot " + std::to_string(damaged) +
                           " is damaged; remove that macro first (nothing was changed)"};
    const auto copy = safety_copy ? safety_copy() : std::nullopt;
    if (!copy)
        return {false,
                "error: no safety copy of the mouse could be saved, so its macro memory "
                "was not defragmented"};
    MacroProgressScope scope(*progress_, {});
    struct Moved {
        int old_start;
        int new_start;
        int new_end;
        std::string name;
    };
    std::vector<int> order;
    int used_bytes = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        if (dir_.slots[i].used() && i != target_slot) {
            order.push_back(i);
            used_bytes += dir_.slots[i].size();
        }
    }
    if (target_slot >= 0 && target_slot < kSlotCount && dir_.slots[target_slot].used()) {
        order.push_back(target_slot);
        used_bytes += dir_.slots[target_slot].size();
    }
    if (kCodeAreaStart + used_bytes > dir_.macro_limit)
        return {false, "error: the directory names more bytes than the macro memory holds"};

    // Read everything before anything is written.
    std::vector<std::uint8_t> buffer;
    std::vector<Moved> moved;
    for (int i : order) {
        const MacroSlot& s = dir_.slots[i];
        const int offset = static_cast<int>(buffer.size());
        const auto code = device::read_memory_range(lib_, path_, s.start, s.size());
        if (!code)
            return {false, "error: a macro could not be read; nothing was changed"};
        buffer.insert(buffer.end(), code->begin(), code->end());
        moved.push_back(
            {s.start, kCodeAreaStart + offset, kCodeAreaStart + offset + s.size() - 1, s.name});
        progress_->update(double(buffer.size()) / (used_bytes + device::kReadChunkBytes) * 0.3);
    }
    const std::string failed =
        "error: the macro memory was only partly rewritten; a copy of the mouse was saved to " +
        copy->string();
    for (std::size_t done = 0; done < buffer.size(); done += kPageBytes) {
        const std::size_t n = std::min<std::size_t>(kPageBytes, buffer.size() - done);
        if (!device::write_memory_block(lib_, path_,
                                        memory_address(kCodeAreaStart + static_cast<int>(done)),
                                        std::span(buffer).subspan(done, n)))
            return {false, failed};
        progress_->update(0.3 + 0.3 * double(done + n) / buffer.size());
    }
    for (int k = 0; k < kSlotCount; ++k) {
        const bool has = k < static_cast<int>(moved.size());
        const int ok = has ? write_directory_record(lib_, path_, k, moved[k].new_start,
                                                    moved[k].new_end, moved[k].name)
                           : write_directory_record(lib_, path_, k, kNoAddress, kNoAddress, "");
        if (!ok)
            return {false, failed};
        progress_->update(0.6 + 0.2 * (k + 1) / kSlotCount);
    }
    int n = 0;
    for (int p = 0; p < device::kProfileCount; ++p) {
        for (int b = 0; b < device::kButtonCount; ++b, ++n) {
            progress_->update(0.8 + 0.2 * n / double(kButtonCells));
            const auto a = buttons_.get(p, b);
            if (!a.remapped)
                continue;
            const auto it = std::find_if(moved.begin(), moved.end(),
                                         [&](const Moved& m) { return m.old_start == a.code; });
            if (it == moved.end())
                continue;
            if (!send_button(p, b, true, it->new_start))
                return {false, failed};
            buttons_.set(p, b, {true, static_cast<std::uint16_t>(it->new_start)});
            lib_.timing().sleep_ms(1);
        }
    }
    if (!load_directory(dir_.macro_limit))
        return {false,
                "error: the macro memory was defragmented but could not be read back; a "
                "copy of the mouse was saved to " +
                    copy->string()};
    return {true, {}};
}

}  // namespace zentrik::macro
