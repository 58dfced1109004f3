#include "core/mouse_identity.h"

#include "device/commands.h"

namespace zentrik::core {

std::optional<MouseIdentity> identify_mouse(device::zklib& lib, const std::string& path) {
    const auto found = device::identify(lib, path);
    if (!found)
        return std::nullopt;
    return MouseIdentity{found->number, found->memory_size};
}

std::optional<std::uint16_t> stored_identity(device::zklib& lib, const std::string& path,
                                             bool& answered) {
    const auto stored = device::read_stored_identity(lib, path);
    answered = stored.has_value();
    return stored ? stored->number : std::nullopt;
}

}  // namespace zentrik::core
