#pragma once
// The macro byte code the mouse's interpreter runs: instruction codes, lengths, and the cutting
// of a byte sequence into instructions.
//
// A macro is one run-mode byte followed by instructions back to back; in the mouse an end byte
// follows the last instruction (macro files and the editor hold the code without it). Every
// instruction's length follows from its code byte; operands are little-endian.
#include <cstdint>
#include <span>
#include <vector>

namespace zentrik::macro {

inline constexpr std::uint8_t MI_END = 0x00;  // 0x01 ends a macro as well
inline constexpr std::uint8_t MI_MODE_ONCE = 0x04;
inline constexpr std::uint8_t MI_MODE_LOOP = 0x05;
inline constexpr std::uint8_t MI_MODE_FIRE = 0x06;
inline constexpr std::uint8_t MI_JUMP = 0x08;        // op16 = target address
inline constexpr std::uint8_t MI_LOOP_DEC = 0x10;    // op16 = target address
inline constexpr std::uint8_t MI_SET_ACC = 0x18;     // op16 = value
inline constexpr std::uint8_t MI_MOUSE_DOWN = 0x20;  // 0x20-0x3F, low 5 bits = button mask
inline constexpr std::uint8_t MI_MOUSE_UP = 0x40;    // 0x40-0x5F, low 5 bits = button mask
inline constexpr std::uint8_t MI_WHEEL = 0x60;       // 0x60-0x7F, low 5 bits = signed count
inline constexpr std::uint8_t MI_MOUSE_MOVE = 0x80;  // four operand bytes
inline constexpr std::uint8_t MI_KEY_DOWN = 0x83;    // byte 1 = HID keyboard usage
inline constexpr std::uint8_t MI_KEY_UP = 0x84;      // byte 1 = HID keyboard usage
inline constexpr std::uint8_t MI_CONSUMER = 0x85;    // op16 = consumer usage, 0 = release
inline constexpr std::uint8_t MI_WAIT8 = 0x88;       // byte 1 = milliseconds
inline constexpr std::uint8_t MI_WAIT16 = 0x89;      // op16 = milliseconds
inline constexpr std::uint8_t MI_SYSTEM = 0xC0;      // 0xC0-0xCF

// Mouse button mask bits of MI_MOUSE_DOWN / MI_MOUSE_UP.
inline constexpr std::uint8_t MB_LEFT = 0x01;
inline constexpr std::uint8_t MB_RIGHT = 0x02;
inline constexpr std::uint8_t MB_MIDDLE = 0x04;
inline constexpr std::uint8_t MB_B5 = 0x08;
inline constexpr std::uint8_t MB_B4 = 0x10;

// One decoded instruction (16 bytes, kept by value in the macro lists).
struct _MACRO_INSTRUCTION {
    std::uint32_t offset = 0;  // from the start of the macro code
    std::uint32_t size = 0;    // 1, 2, 3 or 5; 0 for an invalid code
    std::uint8_t code = 0;
    std::uint8_t payload[7] = {};  // operand bytes, then zeros
};
static_assert(sizeof(_MACRO_INSTRUCTION) == 16);

using MacroCode = std::vector<std::uint8_t>;
using InstructionList = std::vector<_MACRO_INSTRUCTION>;

// Result status of instruction_length.
inline constexpr int kInstructionValid = 0;
inline constexpr int kInstructionMode = 2;
inline constexpr int kInstructionInvalid = -1;

struct InstructionLength {
    std::uint32_t size = 0;
    int status = kInstructionInvalid;
};

// The length of the instruction at bytes[0] (0 when bytes is empty or the code is invalid);
// fills `out` with its code and the operand bytes that are present. `out.offset` is untouched.
InstructionLength instruction_length(std::span<const std::uint8_t> bytes, _MACRO_INSTRUCTION& out);
std::uint32_t instruction_size(std::uint8_t code);

// A present run-mode byte (0x04-0x07; only 0x04-0x06 are valid modes).
inline bool is_mode_byte(std::uint8_t code) {
    return (code & 0xFC) == 0x04;
}
// Whether decoding puts an MI_MODE_ONCE step in front of `bytes` (no mode byte at its head).
inline bool decode_inserts_mode(std::span<const std::uint8_t> bytes) {
    return bytes.empty() || !is_mode_byte(bytes[0]);
}

// Cuts code into instructions: an MI_MODE_ONCE step first when the code has no mode byte, then
// each instruction in order; stops at an end code, an invalid code, or an instruction that runs
// past the end of the bytes.
InstructionList decode_macro(std::span<const std::uint8_t> bytes);
// The code and operand bytes of each instruction, `size` bytes each (at most 8).
MacroCode encode_macro(const InstructionList& list);
// Sets each offset to the sum of the sizes before it.
void recompute_offsets(InstructionList& list);
// Length of the code a list holds: last offset + size (0 for an empty list).
std::uint32_t code_length(const InstructionList& list);

// The icon kind of a step in the editor list: wait 0, key down / consumer 1, key up 2,
// mouse down 3, mouse up 4, the three modes 5/6/7, wheel 8, system 9, anything else 10.
int instruction_kind(std::uint8_t code);

// The 16-bit operand of bytes 1 and 2.
inline int op16(const _MACRO_INSTRUCTION& in) {
    return in.payload[0] | (in.payload[1] << 8);
}
// The signed count of an MI_WHEEL code (-16 ... 15).
inline int wheel_count(std::uint8_t code) {
    const int v = code & 0x1F;
    return v >= 0x10 ? v - 0x20 : v;
}

}  // namespace zentrik::macro
