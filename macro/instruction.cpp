#include "macro/instruction.h"

#include <algorithm>

namespace zentrik::macro {

std::uint32_t instruction_size(std::uint8_t code) {
    switch (code) {
        case 0x00:
        case 0x01:
        case MI_MODE_ONCE:
        case MI_MODE_LOOP:
        case MI_MODE_FIRE:
            return 1;
        case MI_JUMP:
        case MI_LOOP_DEC:
        case MI_SET_ACC:
        case MI_CONSUMER:
        case MI_WAIT16:
            return 3;
        case MI_MOUSE_MOVE:
            return 5;
        case 0x81:
        case 0x82:
        case MI_KEY_DOWN:
        case MI_KEY_UP:
        case MI_WAIT8:
            return 2;
        default:
            break;
    }
    if (code >= 0x20 && code <= 0x7F)
        return 1;  // mouse down, mouse up, wheel
    if (code >= 0xC0 && code <= 0xCF)
        return 1;  // system
    return 0;
}

InstructionLength instruction_length(std::span<const std::uint8_t> bytes, _MACRO_INSTRUCTION& out) {
    if (bytes.empty())
        return {};
    const std::uint8_t code = bytes[0];
    const std::uint32_t size = instruction_size(code);
    out.code = code;
    std::fill(std::begin(out.payload), std::end(out.payload), 0);
    out.size = size;
    if (size == 0)
        return {0, kInstructionInvalid};
    const std::size_t operands = std::min<std::size_t>(size - 1, bytes.size() - 1);
    std::copy_n(bytes.begin() + 1, operands, out.payload);
    const bool mode = code == MI_MODE_ONCE || code == MI_MODE_LOOP || code == MI_MODE_FIRE;
    return {size, mode ? kInstructionMode : kInstructionValid};
}

InstructionList decode_macro(std::span<const std::uint8_t> bytes) {
    InstructionList list;
    if (decode_inserts_mode(bytes)) {
        _MACRO_INSTRUCTION mode;
        mode.size = 1;
        mode.code = MI_MODE_ONCE;
        list.push_back(mode);
    }
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        const std::uint8_t code = bytes[offset];
        if (code == 0x00 || code == 0x01)
            break;
        _MACRO_INSTRUCTION in;
        const auto length = instruction_length(bytes.subspan(offset), in);
        if (length.size == 0 || offset + length.size > bytes.size())
            break;
        in.offset = static_cast<std::uint32_t>(offset);
        list.push_back(in);
        offset += length.size;
    }
    return list;
}

MacroCode encode_macro(const InstructionList& list) {
    MacroCode code;
    for (const auto& in : list) {
        if (in.size == 0)
            continue;
        code.push_back(in.code);
        const std::size_t operands = std::min<std::size_t>(in.size - 1, std::size(in.payload));
        code.insert(code.end(), in.payload, in.payload + operands);
    }
    return code;
}

void recompute_offsets(InstructionList& list) {
    std::uint32_t offset = 0;
    for (auto& in : list) {
        in.offset = offset;
        offset += in.size;
    }
}

std::uint32_t code_length(const InstructionList& list) {
    return list.empty() ? 0 : list.back().offset + list.back().size;
}

int instruction_kind(std::uint8_t code) {
    if (code == MI_WAIT8 || code == MI_WAIT16)
        return 0;
    if (code == MI_KEY_DOWN || code == MI_CONSUMER)
        return 1;
    if (code == MI_KEY_UP)
        return 2;
    if (code >= 0x20 && code <= 0x3F)
        return 3;
    if (code >= 0x40 && code <= 0x5F)
        return 4;
    if (code == MI_MODE_ONCE)
        return 5;
    if (code == MI_MODE_LOOP)
        return 6;
    if (code == MI_MODE_FIRE)
        return 7;
    if (code >= 0x60 && code <= 0x7F)
        return 8;
    if (code >= 0xC0 && code <= 0xCF)
        return 9;
    return 10;
}

}  // namespace zentrik::macro
