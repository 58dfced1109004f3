#pragma once
// The image table that the build generates from the drawing code in skin_gen/.
#include <cstddef>
#include <cstdint>

namespace zentrik::res::detail {

struct PngEntry {
    int id;
    std::uint32_t offset;  // into kPngBlob
    std::uint32_t size;
};

// Sorted by id.
extern const PngEntry kPngEntries[];
extern const std::size_t kPngEntryCount;
extern const unsigned char* const kPngBlob;

}  // namespace zentrik::res::detail
