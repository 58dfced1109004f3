#include "settings/mouse_identity.h"

#include "device/commands.h"

namespace zentrik::settings {

namespace {
constexpr std::uint8_t kIdentityKeyByte = 0x12;
}

std::optional<MouseIdentity> identify_mouse(device::zklib& lib, const std::string& path) {
    const auto found = device::identify(lib, path);
    if (!found)
        return std::nullopt;
    return MouseIdentity{found->number, found->memory_size};
}

std::optional<std::uint16_t> stored_identity(device::zklib& lib, const std::string& path,
                                             bool& answered) {
    device::Report reply{};
    answered = device::read_memory(lib, path, device::kIdentityAddress, reply) == 1;
    if (!answered || reply[4] != kIdentityKeyByte)
        return std::nullopt;
    return static_cast<std::uint16_t>(reply[2] | (reply[3] << 8));
}

}  // namespace zentrik::settings
