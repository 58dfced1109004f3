#include "macro/instruction.h"

#include <gtest/gtest.h>

#include "lang/string_tables.h"
#include "macro/instruction_text.h"

namespace zentrik::macro {
namespace {

MacroCode bytes(std::initializer_list<int> values) {
    MacroCode out;
    for (int v : values)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

std::string text(int code, int b1 = 0, int b2 = 0) {
    static const auto tables = lang::default_string_tables();
    return instruction_text(
        tables, [](int usage) { return "U" + std::to_string(usage); },
        static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(b1),
        static_cast<std::uint8_t>(b2));
}

TEST(DecodeMacro, CutsCodeIntoInstructionsAndStopsAtTheEndCode) {
    const auto list = decode_macro(bytes({0x05, 0x83, 0x04, 0x88, 0x32, 0x84, 0x04, 0x00, 0x83}));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].code, MI_MODE_LOOP);
    EXPECT_EQ(list[0].offset, 0u);
    EXPECT_EQ(list[1].code, MI_KEY_DOWN);
    EXPECT_EQ(list[1].offset, 1u);
    EXPECT_EQ(list[1].payload[0], 4);
    EXPECT_EQ(list[2].code, MI_WAIT8);
    EXPECT_EQ(list[2].offset, 3u);
    EXPECT_EQ(list[2].payload[0], 50);
    EXPECT_EQ(list[3].code, MI_KEY_UP);
    EXPECT_EQ(list[3].offset, 5u);
    EXPECT_EQ(code_length(list), 7u);
}

TEST(DecodeMacro, InsertsExactlyOneModeStepWhenTheCodeHasNone) {
    auto list = decode_macro(bytes({0x83, 0x04, 0x84, 0x04}));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].code, MI_MODE_ONCE);
    EXPECT_EQ(list[0].size, 1u);
    EXPECT_EQ(list[1].offset, 0u);  // offsets of the input bytes until recomputed
    recompute_offsets(list);
    EXPECT_EQ(list[2].offset, 3u);
    EXPECT_EQ(encode_macro(list), bytes({0x04, 0x83, 0x04, 0x84, 0x04}));

    EXPECT_EQ(decode_macro({}).size(), 1u);  // empty code: just the mode step
}

TEST(DecodeMacro, InvalidAndTruncatedInstructionsEndTheDecodablePart) {
    // 0x07 counts as a mode byte at the head (no step inserted) but is itself invalid.
    EXPECT_TRUE(decode_macro(bytes({0x07, 0x83, 0x04})).empty());
    // An invalid code keeps what came before it.
    EXPECT_EQ(decode_macro(bytes({0x04, 0x20, 0x90, 0x40})).size(), 2u);
    // An instruction running past the end is not decoded.
    const auto list = decode_macro(bytes({0x04, 0x88, 0x10, 0x89, 0xE8}));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.back().code, MI_WAIT8);
    // The five-byte movement and the reserved two-byte codes are carried by length.
    const auto odd = decode_macro(bytes({0x04, 0x80, 1, 2, 3, 4, 0x81, 9, 0x82, 8, 0xC3}));
    ASSERT_EQ(odd.size(), 5u);
    EXPECT_EQ(odd[1].size, 5u);
    EXPECT_EQ(odd[4].offset, 10u);
}

TEST(DecodeMacro, EncodeRoundTripsEveryValidInstruction) {
    MacroCode code = {MI_MODE_FIRE};
    for (int c = 0; c < 256; ++c) {
        const auto size = instruction_size(static_cast<std::uint8_t>(c));
        if (size == 0 || c <= 0x01 || c == MI_MODE_ONCE || c == MI_MODE_LOOP || c == MI_MODE_FIRE)
            continue;
        code.push_back(static_cast<std::uint8_t>(c));
        for (std::uint32_t k = 1; k < size; ++k)
            code.push_back(static_cast<std::uint8_t>(c + k));
    }
    const auto list = decode_macro(code);
    EXPECT_EQ(encode_macro(list), code);
    for (std::size_t i = 1; i < list.size(); ++i)
        EXPECT_EQ(list[i].offset, list[i - 1].offset + list[i - 1].size);
}

TEST(InstructionLength, ReportsModesValidAndInvalidCodes) {
    _MACRO_INSTRUCTION in;
    EXPECT_EQ(instruction_length(bytes({0x05}), in).status, kInstructionMode);
    const auto wait = instruction_length(bytes({0x89, 0xE8, 0x03, 0x77}), in);
    EXPECT_EQ(wait.size, 3u);
    EXPECT_EQ(wait.status, kInstructionValid);
    EXPECT_EQ(op16(in), 1000);
    EXPECT_EQ(in.payload[2], 0);  // only the operand bytes are taken
    EXPECT_EQ(instruction_length(bytes({0x07}), in).status, kInstructionInvalid);
    EXPECT_EQ(instruction_length(bytes({0x90}), in).size, 0u);
    // The system codes end with 0xCF: one byte long; 0xD0 is no instruction and ends decoding.
    EXPECT_EQ(instruction_length(bytes({0xCF}), in).status, kInstructionValid);
    EXPECT_EQ(in.size, 1u);
    EXPECT_EQ(instruction_length(bytes({0xD0}), in).status, kInstructionInvalid);
    EXPECT_EQ(decode_macro(bytes({0x04, 0xCF, 0xD0, 0xCF})).size(), 2u);
    EXPECT_EQ(instruction_length({}, in).status, kInstructionInvalid);
}

TEST(InstructionKind, SelectsTheStepIcon) {
    EXPECT_EQ(instruction_kind(MI_WAIT16), 0);
    EXPECT_EQ(instruction_kind(MI_CONSUMER), 1);
    EXPECT_EQ(instruction_kind(MI_KEY_UP), 2);
    EXPECT_EQ(instruction_kind(0x3F), 3);
    EXPECT_EQ(instruction_kind(0x40), 4);
    EXPECT_EQ(instruction_kind(MI_MODE_FIRE), 7);
    EXPECT_EQ(instruction_kind(0x7F), 8);
    EXPECT_EQ(instruction_kind(0xCF), 9);
    EXPECT_EQ(instruction_kind(0xD0), 10);
    EXPECT_EQ(instruction_kind(MI_MOUSE_MOVE), 10);
    EXPECT_EQ(instruction_kind(MI_JUMP), 10);
}

TEST(InstructionText, ShowsOperandsInTheLanguageTemplates) {
    EXPECT_EQ(text(0x05), "Loop mode");
    EXPECT_EQ(text(0x83, 4), "Press & hold Keyboard  U4");
    EXPECT_EQ(text(0x84, 4), "Release Keyboard  U4");
    EXPECT_EQ(text(0x89, 0xE8, 0x03), "Wait 1000 ms");
    EXPECT_EQ(text(0x88, 0xFF), "Wait 255 ms");
    EXPECT_EQ(text(0x10, 0x34, 0x12), "Set ACC=ACC-1, if ACC!=0 then jump to address 4660");
    EXPECT_EQ(text(0x18, 3), "Set ACC=3");
    EXPECT_EQ(text(0x85, 0, 0), "Release Consumer-key");
    EXPECT_EQ(text(0x85, 0xE9, 0), "Press & hold Consumer-key  Volume +");
    EXPECT_EQ(text(0x7F), "Wheel Scrolling  -1 count(unit)");
    EXPECT_EQ(text(0x6F), "Wheel Scrolling  15 count(unit)");
    EXPECT_EQ(text(0x70), "Wheel Scrolling  -16 count(unit)");
    EXPECT_EQ(text(0x20), "Press & hold mouse button ");
    EXPECT_EQ(text(0x23), "Press & hold mouse button [Left][Right]");
    EXPECT_EQ(text(0x5F), "Release mouse button [Left][Right][Middle][B4][B5]");
    EXPECT_EQ(text(0x48), "Release mouse button [B5]");
    EXPECT_EQ(text(0xC7), "System command");
    EXPECT_EQ(text(0xCF), "System command");
    EXPECT_EQ(text(0xD0), "Unknown");
    EXPECT_EQ(text(0x00), "Stop");
    EXPECT_EQ(text(0x80), "Unknown");
    EXPECT_EQ(text(0x81), "Unknown");
}

TEST(InstructionText, HostileTranslatedTemplatesAreFilledSafely) {
    auto tables = lang::default_string_tables();
    tables.macro_texts[lang::kMacroWait] = "%s%s%n %99999d";
    tables.macro_texts[lang::kMacroKeyDown] = "key %d %s";
    const auto namer = [](int) { return std::string("A"); };
    EXPECT_EQ(instruction_text(tables, namer, 0x88, 50, 0), "50%s%n %99999d");
    EXPECT_EQ(instruction_text(tables, namer, 0x83, 4, 0), "key A %s");
}

}  // namespace
}  // namespace zentrik::macro
