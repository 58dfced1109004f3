#include "macro/instruction_text.h"

#include "lang/text_format.h"
#include "macro/instruction.h"
#include "macro/key_names.h"

namespace zentrik::macro {
namespace {

// "[Left][Right]..." for the set bits of a mouse button mask, in the order the editor lists them.
std::string button_list(const lang::StringTables& strings, std::uint8_t mask) {
    static constexpr std::uint8_t kOrder[] = {MB_LEFT, MB_RIGHT, MB_MIDDLE, MB_B4, MB_B5};
    std::string out;
    for (std::size_t i = 0; i < std::size(kOrder); ++i) {
        if ((mask & kOrder[i]) != 0)
            out += "[" + strings.macro_button_names[i] + "]";
    }
    return out;
}

}  // namespace

std::string instruction_text(const lang::StringTables& strings, const UsageNamer& key_namer,
                             std::uint8_t code, std::uint8_t byte1, std::uint8_t byte2) {
    using lang::format_text;
    const auto& t = strings.macro_texts;
    const std::int64_t op16 = byte1 | (byte2 << 8);
    switch (code) {
        case 0x00:
        case 0x01:
            return "Stop";
        case MI_MODE_ONCE:
            return t[lang::kMacroOnce];
        case MI_MODE_LOOP:
            return t[lang::kMacroLoop];
        case MI_MODE_FIRE:
            return t[lang::kMacroFirekey];
        case MI_KEY_DOWN:
            return format_text(t[lang::kMacroKeyDown], key_namer(byte1));
        case MI_KEY_UP:
            return format_text(t[lang::kMacroKeyUp], key_namer(byte1));
        case MI_WAIT8:
            return format_text(t[lang::kMacroWait], std::int64_t{byte1});
        case MI_WAIT16:
            return format_text(t[lang::kMacroWait], op16);
        case MI_JUMP:
            return format_text(t[lang::kMacroJump], op16);
        case MI_LOOP_DEC:
            return format_text(t[lang::kMacroLoopJump], op16);
        case MI_SET_ACC:
            return format_text(t[lang::kMacroSetCounter], op16);
        case MI_CONSUMER:
            if (op16 == 0)
                return t[lang::kMacroConsumerUp];
            return format_text(t[lang::kMacroConsumerDown],
                               consumer_key_name(static_cast<int>(op16)));
        default:
            break;
    }
    if (code >= 0x60 && code <= 0x7F)
        return format_text(t[lang::kMacroWheel], std::int64_t{wheel_count(code)});
    if (code >= 0x20 && code <= 0x3F)
        return t[lang::kMacroMouseDown] + button_list(strings, code);
    if (code >= 0x40 && code <= 0x5F)
        return t[lang::kMacroMouseUp] + button_list(strings, code);
    if (code >= 0xC0 && code <= 0xCF)
        return t[lang::kMacroSystem];
    return "Unknown";
}

std::string instruction_text(std::uint8_t code, std::uint8_t byte1, std::uint8_t byte2) {
    return instruction_text(
        lang::strings(), [](int usage) { return key_name(usage); }, code, byte1, byte2);
}

}  // namespace zentrik::macro
