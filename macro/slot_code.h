#pragma once
// What may be written into a slot of the mouse's macro memory. The firmware runs a slot from its
// first byte to the end byte, so the code must cut into whole instructions it knows; a half
// instruction, an unknown code or an end code inside would make it run bytes that are not the
// macro.
#include <cstdint>
#include <span>

namespace zentrik::macro {

// True when `code` (without the end byte) is at least one byte long and is a run of whole
// instructions of known length, none of them an end code (0x00, 0x01) or the unused mode byte
// 0x07.
bool valid_slot_code(std::span<const std::uint8_t> code);

}  // namespace zentrik::macro
