// A macro directory read from a damaged or hostile mouse: whatever its records say, the sound
// ones lie inside the code area without overlapping, the free bytes are never negative, every
// place found for a new macro is inside the code area and clear of the sound macros, and no
// name reads as a list header.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "macro/directory_record.h"
#include "macro/macro_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zentrik::macro;
    if (size < 4)
        return 0;
    const std::span<const std::uint8_t> bytes(data, size);
    MacroDirectory dir;
    dir.reset(std::min<int>(bytes[0] | (bytes[1] << 8), zentrik::device::kLargestMemorySize));
    const int wanted = bytes[2] | ((bytes[3] & 0x7F) << 8);
    const int target = bytes[3] >> 1 & 0x3F;
    const auto records = bytes.subspan(4);
    for (int i = 0; i < kSlotCount; ++i) {
        const std::size_t at = static_cast<std::size_t>(i) * kRecordSize;
        if (at + kRecordSize > records.size())
            break;
        const auto r = records.subspan(at, kRecordSize);
        if (r[0] == 0xFF && r[1] == 0xFF)
            continue;
        MacroSlot& s = dir.slots[static_cast<std::size_t>(i)];
        s.start = r[0] | (r[1] << 8);
        s.end = r[2] | (r[3] << 8);
        s.name = decode_record_name(r.subspan(kRecordNameOffset));
        if (s.name.starts_with(kHiddenNamePrefix))
            std::abort();
    }
    dir.mark_damaged();

    int used = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        const MacroSlot& a = dir.slots[static_cast<std::size_t>(i)];
        if (!a.placed())
            continue;
        if (!dir.in_code_area(a.start, a.end))
            std::abort();
        for (int j = 0; j < i; ++j) {
            const MacroSlot& b = dir.slots[static_cast<std::size_t>(j)];
            if (b.placed() && b.start <= a.end && b.end >= a.start)
                std::abort();
        }
        used += a.size();
    }
    if (dir.free_bytes < 0 || dir.free_bytes != std::max(0, dir.total_bytes - used))
        std::abort();

    const int need = wanted + 1;
    const int address = dir.find_space(need, target);
    if (address < 0)
        return 0;
    if (!dir.in_code_area(address, address + need - 1))
        std::abort();
    for (int j = 0; j < kSlotCount; ++j) {
        const MacroSlot& b = dir.slots[static_cast<std::size_t>(j)];
        if (j != target && b.placed() && b.start <= address + need - 1 && b.end >= address)
            std::abort();
    }
    return 0;
}
