#pragma once
// The macro limit a restore gives the mouse. A backup file holds the memory image but not the
// limit, and a reset lowers the limit to 0x1F00 (a 16 KiB mouse keeps 5888 of its 14080 bytes
// of macro memory), so a restore after a reset would leave the mouse smaller than the backup
// says it was unless it writes the limit too.
#include <cstdint>
#include <span>

namespace zentrik::core {

// The mouse's normal limit, memory size - 256 (the top 256 bytes hold the profile names and the
// identity), raised to just past the end of any macro the image's directory places above it, so
// every macro of the image stays inside the macro area; never past the memory size.
std::uint16_t restored_macro_limit(std::span<const std::uint8_t> image);

}  // namespace zentrik::core
