// Profile names and the identity number, kept in the top bytes of the mouse's memory.
#include <random>

#include "device/commands.h"
#include "device/request.h"

namespace zentrik::device {
namespace {

constexpr int kProfiles = 5;
constexpr std::size_t kNameBytes = 12;
constexpr int kDefaultMemorySize = 0x2000;

std::uint16_t name_address(int profile) {
    return static_cast<std::uint16_t>(kProfileNameAddress + kNameBytes * profile);
}

}  // namespace

std::optional<std::u16string> read_profile_name(zklib& lib, const std::string& path, int profile) {
    if (profile < 0 || profile >= kProfiles)
        return std::nullopt;
    std::lock_guard hold(lib.lock());  // three reads of one consistent name
    std::array<std::uint8_t, kNameBytes> bytes{};
    for (std::size_t part = 0; part < 3; ++part) {
        Report reply{};
        const auto address = static_cast<std::uint16_t>(name_address(profile) + 4 * part);
        if (!read_memory(lib, path, address, reply))
            return std::nullopt;
        std::copy_n(reply.begin() + 2, 4, bytes.begin() + static_cast<std::ptrdiff_t>(4 * part));
    }
    std::u16string name;
    if (bytes[0] == 0xFF && bytes[1] == 0xFF)
        return name;
    for (std::size_t i = 0; i < kNameBytes; i += 2) {
        const char16_t c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (c == 0)
            break;
        name.push_back(c);
    }
    return name;
}

int write_profile_name(zklib& lib, const std::string& path, int profile, std::u16string_view text) {
    if (profile < 0 || profile >= kProfiles)
        return 0;
    std::u16string cut(text.substr(0, kNameBytes / 2));
    // Never store half of a surrogate pair.
    if (!cut.empty() && cut.back() >= 0xD800 && cut.back() <= 0xDBFF)
        cut.pop_back();
    std::array<std::uint8_t, kNameBytes> bytes{};
    for (std::size_t i = 0; i < cut.size(); ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(cut[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(cut[i] >> 8);
    }
    return write_memory_block(lib, path, name_address(profile), bytes);
}

std::optional<Identity> identify(zklib& lib, const std::string& path) {
    std::lock_guard hold(lib.lock());  // read, write and probe without another exchange between
    Report reply{};
    // A failed read says nothing about the mouse: it must not be taken for a missing identity,
    // or a busy mouse would lose the number it has.
    if (!read_memory(lib, path, kIdentityAddress, reply))
        return std::nullopt;
    Identity found;
    found.number = static_cast<std::uint16_t>(reply[2] | (reply[3] << 8));
    if (reply[4] != kKeyByte) {
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
    // probes that all answered without a match make the memory 8 KiB.
    found.memory_size = kDefaultMemorySize;
    for (int probe = kDefaultMemorySize; probe <= kLargestMemorySize; probe += 0x1000) {
        if (!read_memory(lib, path, static_cast<std::uint16_t>(probe - 4), reply))
            return std::nullopt;
        if (reply[4] == kKeyByte && reply[2] == low_byte(found.number) &&
            reply[3] == high_byte(found.number)) {
            found.memory_size = probe;
            break;
        }
    }
    lib.set_memory_size(path, found.memory_size);
    return found;
}

}  // namespace zentrik::device
