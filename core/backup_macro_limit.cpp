#include "core/backup_macro_limit.h"

#include <algorithm>

#include "device/protocol.h"

namespace zentrik::core {
namespace {

constexpr int kNoAddress = 0xFFFF;

int word_at(std::span<const std::uint8_t> image, std::size_t at) {
    return image[at] | image[at + 1] << 8;
}

}  // namespace

std::uint16_t restored_macro_limit(std::span<const std::uint8_t> image) {
    const int size = static_cast<int>(image.size());
    int limit = std::max(device::kMacroAreaStart, size - device::kTopAreaBytes);
    if (size < device::kDirectoryBytes)
        return static_cast<std::uint16_t>(limit);
    for (int slot = 0; slot < device::kDirectoryRecords; ++slot) {
        const auto record = static_cast<std::size_t>(slot * device::kDirectoryRecordBytes);
        const int start = word_at(image, record);
        const int end = word_at(image, record + 2);
        // Only a record that names a range inside the memory's code area counts; an empty or
        // damaged one holds no macro to make room for.
        if (start == kNoAddress || start < device::kMacroAreaStart || end < start || end >= size)
            continue;
        limit = std::max(limit, end + 1);
    }
    return static_cast<std::uint16_t>(std::min(limit, size));
}

}  // namespace zentrik::core
