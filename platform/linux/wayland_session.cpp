#include <cstdlib>
#include <cstring>

#include "platform/raw_input.h"

namespace zentrik::platform {

bool wayland_session() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    if (display != nullptr && *display != '\0')
        return true;
    const char* type = std::getenv("XDG_SESSION_TYPE");
    return type != nullptr && std::strcmp(type, "wayland") == 0;
}

}  // namespace zentrik::platform
