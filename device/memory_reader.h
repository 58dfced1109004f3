#pragma once
// Reading a range of the mouse's memory: one read_memory per chunk at address, address + chunk,
// ..., under the zklib lock, so that no other thread's exchange lands between them.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/protocol.h"
#include "device/zklib.h"

namespace zentrik::device {

struct MemoryReadOptions {
    // Bytes taken from each reply, 1 to 7; a layout of aligned parts may ask for fewer than a
    // read returns.
    int chunk = kReadChunkBytes;
    // Told the bytes read so far after each read. The lock is let go while it runs: it may
    // update the window, whose thread may be waiting to talk to a mouse. So with a progress
    // sink another thread's exchange may land between two reads.
    std::function<void(int done)> on_progress = nullptr;
};

// `count` bytes from `address` (wrapping at 16 bits, as the mouse's addresses do); nullopt at
// the first failed exchange. A count of 0 or less reads nothing.
std::optional<std::vector<std::uint8_t>> read_memory_range(zklib& lib, const std::string& path,
                                                           int address, int count,
                                                           const MemoryReadOptions& options = {});

}  // namespace zentrik::device
