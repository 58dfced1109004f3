// Profile names and the identity number, kept in the top bytes of the mouse's memory.
#include <random>

#include "device/commands.h"
#include "device/memory_reader.h"
#include "device/name_codec.h"
#include "device/request.h"

namespace zentrik::device {
namespace {

// A name is read in three parts of 4 bytes, at its address, + 4 and + 8.
constexpr int kNamePartBytes = 4;
// The identity number and its key byte.
constexpr int kIdentityCellBytes = 3;
constexpr int kProbeStep = 0x1000;
// The identity cell's distance from the top of the memory.
constexpr int kIdentityFromTop = 0x10000 - kIdentityAddress;

std::uint16_t name_address(int profile) {
    return static_cast<std::uint16_t>(kProfileNameAddress + kProfileNameBytes * profile);
}

}  // namespace

std::optional<std::u16string> read_profile_name(zklib& lib, const std::string& path, int profile) {
    if (profile < 0 || profile >= kProfileCount)
        return std::nullopt;
    const auto bytes = read_memory_range(lib, path, name_address(profile), kProfileNameBytes,
                                         {.chunk = kNamePartBytes});
    if (!bytes)
        return std::nullopt;
    if ((*bytes)[0] == 0xFF && (*bytes)[1] == 0xFF)
        return std::u16string();
    return decode_name(*bytes);
}

int write_profile_name(zklib& lib, const std::string& path, int profile, std::u16string_view text) {
    if (profile < 0 || profile >= kProfileCount)
        return 0;
    std::array<std::uint8_t, kProfileNameBytes> bytes{};
    encode_name(text, bytes);
    return write_memory_block(lib, path, name_address(profile), bytes);
}

std::optional<StoredIdentity> read_stored_identity(zklib& lib, const std::string& path,
                                                   std::uint16_t address) {
    const auto cell = read_memory_range(lib, path, address, kIdentityCellBytes);
    if (!cell)
        return std::nullopt;
    StoredIdentity stored;
    if ((*cell)[2] == kKeyByte)
        stored.number = static_cast<std::uint16_t>((*cell)[0] | ((*cell)[1] << 8));
    return stored;
}

std::optional<Identity> identify(zklib& lib, const std::string& path) {
    std::lock_guard hold(lib.lock());  // read, write and probe without another exchange between
    // A failed read says nothing about the mouse: it must not be taken for a missing identity,
    // or a busy mouse would lose the number it has.
    const auto stored = read_stored_identity(lib, path);
    if (!stored)
        return std::nullopt;
    Identity found;
    if (stored->number) {
        found.number = *stored->number;
    } else {
        std::minstd_rand generator(static_cast<std::uint32_t>(lib.timing().now_us() / 1000));
        found.number = static_cast<std::uint16_t>((generator() >> 8) & 0x7FFF);
        const int word = write_memory_word(lib, path, kIdentityAddress, low_byte(found.number),
                                           high_byte(found.number));
        lib.timing().sleep_ms(2);
        if (!word)
            return std::nullopt;  // the key byte is not written over a number that is not there
        const int key = write_memory_byte(lib, path, kIdentityKeyAddress, kKeyByte);
        lib.timing().sleep_ms(10);
        if (!key)
            return std::nullopt;
    }
    // The memory wraps: in a memory of S bytes, S - 4 is the cell the identity went to. Only
    // probes that all answered without a match make the memory the smallest size.
    found.memory_size = kSmallestMemorySize;
    for (int probe = kSmallestMemorySize; probe <= kLargestMemorySize; probe += kProbeStep) {
        const auto cell =
            read_stored_identity(lib, path, static_cast<std::uint16_t>(probe - kIdentityFromTop));
        if (!cell)
            return std::nullopt;
        if (cell->number == found.number) {
            found.memory_size = probe;
            break;
        }
    }
    lib.set_memory_size(path, found.memory_size);
    return found;
}

}  // namespace zentrik::device
