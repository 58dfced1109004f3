// Memory commands and the block and page writes built from them.
#include <algorithm>
#include <array>

#include "device/commands.h"
#include "device/request.h"
#include "device/transport.h"

namespace zentrik::device {
namespace {

constexpr int kReadDelayMs = 0;
constexpr int kWriteDelayMs = 1;

struct Stage {
    std::uint8_t code;
    std::size_t first;         // first source byte
    std::size_t needed_above;  // sent only when the block is longer than this
    int commit_delay_ms;       // commit delay when this is the last stage sent
};
// Six bytes per stage request; the last carries bytes 30 and 31 only.
constexpr std::array<Stage, 6> kStages = {{{0x03, 0, 0, 1},
                                           {0x05, 6, 6, 2},
                                           {0x06, 12, 12, 3},
                                           {0x07, 18, 18, 6},
                                           {0x08, 24, 24, 9},
                                           {0x09, 30, 30, 10}}};

int send_stage(zklib& lib, const std::string& path, const Stage& stage,
               const std::array<std::uint8_t, kPageBytes>& bytes) {
    Report r = make_request(0x02, stage.code);
    const std::size_t count = stage.code == 0x09 ? 2 : 6;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(stage.first), count, r.begin() + 3);
    Report reply{};
    return transfer(lib, path, r, reply, kWriteDelayMs);
}

Report addressed(std::uint8_t code, std::uint16_t address,
                 std::initializer_list<std::pair<int, std::uint8_t>> more = {}) {
    Report r = make_request(
        0x02, code, {{3, low_byte(address)}, {4, high_byte(address)}, {5, 0}, {8, kKeyByte}});
    for (const auto& [index, value] : more)
        r[static_cast<std::size_t>(index)] = value;
    return r;
}

}  // namespace

int read_memory(zklib& lib, const std::string& path, std::uint16_t address, Report& reply) {
    return transfer(lib, path, addressed(0x00, address), reply, kReadDelayMs);
}

int write_memory_byte(zklib& lib, const std::string& path, std::uint16_t address,
                      std::uint8_t value) {
    Report reply{};
    return transfer(lib, path, addressed(0x01, address, {{6, value}}), reply, kWriteDelayMs);
}

int write_memory_word(zklib& lib, const std::string& path, std::uint16_t address,
                      std::uint8_t first, std::uint8_t second) {
    Report reply{};
    return transfer(lib, path, addressed(0x02, address, {{6, first}, {7, second}}), reply,
                    kWriteDelayMs);
}

int write_memory_block(zklib& lib, const std::string& path, std::uint16_t address,
                       std::span<const std::uint8_t> data) {
    const std::size_t n = data.size();
    if (n == 0 || n > kPageBytes)
        return 0;
    // The mouse has one staging buffer: another thread's stages between ours and our commit
    // would corrupt the block, so the whole sequence holds the link.
    std::lock_guard hold(lib.lock());
    if (n == 1)
        return write_memory_byte(lib, path, address, data[0]);
    if (n == 2) {
        const int result = write_memory_word(lib, path, address, data[0], data[1]);
        lib.timing().sleep_ms(1);
        return result;
    }
    // Stages always carry six bytes; those past the end of the block are sent as zeros (the
    // mouse commits only n of them).
    std::array<std::uint8_t, kPageBytes> bytes{};
    std::copy(data.begin(), data.end(), bytes.begin());
    int commit_delay = 1;
    for (const Stage& stage : kStages) {
        if (n <= stage.needed_above)
            break;
        if (!send_stage(lib, path, stage, bytes))
            return 0;
        commit_delay = stage.commit_delay_ms;
    }
    Report reply{};
    return transfer(lib, path, addressed(0x04, address, {{6, static_cast<std::uint8_t>(n)}}), reply,
                    commit_delay);
}

int write_memory_page(zklib& lib, const std::string& path, std::uint16_t address,
                      std::span<const std::uint8_t, kPageBytes> data) {
    std::lock_guard hold(lib.lock());  // one staging buffer in the mouse, as above
    std::array<std::uint8_t, kPageBytes> bytes{};
    std::copy(data.begin(), data.end(), bytes.begin());
    for (const Stage& stage : kStages) {
        if (!send_stage(lib, path, stage, bytes))
            return 0;
    }
    Report reply{};
    return transfer(lib, path, addressed(0x0A, address), reply, kWriteDelayMs);
}

}  // namespace zentrik::device
