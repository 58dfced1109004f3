#include "device/memory_reader.h"

#include <algorithm>

#include "device/commands.h"

namespace zentrik::device {

std::optional<std::vector<std::uint8_t>> read_memory_range(zklib& lib, const std::string& path,
                                                           int address, int count,
                                                           const MemoryReadOptions& options) {
    const int chunk = std::clamp(options.chunk, 1, kReadChunkBytes);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(std::max(count, 0)));
    std::unique_lock hold(lib.lock());
    for (int done = 0; done < count; done += chunk) {
        Report reply{};
        if (!read_memory(lib, path, static_cast<std::uint16_t>((address + done) & 0xFFFF), reply))
            return std::nullopt;
        const int take = std::min(chunk, count - done);
        bytes.insert(bytes.end(), reply.begin() + 2, reply.begin() + 2 + take);
        if (options.on_progress) {
            hold.unlock();
            options.on_progress(done + take);
            hold.lock();
        }
    }
    return bytes;
}

}  // namespace zentrik::device
