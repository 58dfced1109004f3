// Macro code read from a mouse or a file: cutting it into instructions, encoding them again and
// naming each one must hold up, and the encoded bytes are the decoded part of the input.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "lang/string_tables.h"
#include "macro/instruction.h"
#include "macro/instruction_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zentrik::macro;
    static const auto strings = zentrik::lang::default_string_tables();
    const std::span<const std::uint8_t> bytes(data, size);

    const InstructionList list = decode_macro(bytes);
    const MacroCode code = encode_macro(list);
    const std::size_t inserted = decode_inserts_mode(bytes) ? 1 : 0;
    // Offsets count from the input's first byte; once recomputed they cover the encoded code.
    InstructionList renumbered = list;
    recompute_offsets(renumbered);
    if (code.size() != code_length(renumbered) || code.size() > size + inserted)
        std::abort();
    if (inserted && (code.empty() || code[0] != MI_MODE_ONCE))
        std::abort();
    for (std::size_t i = inserted; i < code.size(); ++i) {
        if (code[i] != bytes[i - inserted])
            std::abort();
    }
    // Decoding the encoded code gives the same instructions (code led by the unused mode byte
    // 0x07 decodes to nothing, and nothing encodes to nothing).
    const InstructionList again = decode_macro(code);
    if (!list.empty() && again.size() != list.size())
        std::abort();

    const UsageNamer namer = [](int usage) { return "key " + std::to_string(usage); };
    for (const auto& in : list) {
        if (in.size == 0 || in.size > 8 || instruction_kind(in.code) < 0)
            std::abort();
        (void)instruction_text(strings, namer, in.code, in.payload[0], in.payload[1]);
    }
    return 0;
}
