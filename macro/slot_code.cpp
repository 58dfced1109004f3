#include "macro/slot_code.h"

#include "macro/instruction.h"

namespace zentrik::macro {

bool valid_slot_code(std::span<const std::uint8_t> code) {
    if (code.empty())
        return false;
    std::size_t offset = 0;
    while (offset < code.size()) {
        const std::uint8_t c = code[offset];
        const std::uint32_t size = instruction_size(c);
        if (size == 0 || c == 0x00 || c == 0x01 || offset + size > code.size())
            return false;
        offset += size;
    }
    return true;
}

}  // namespace zentrik::macro
