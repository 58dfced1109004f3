#include "tilt/tilt_output_lock.h"

#include <cctype>

namespace zentrik::tilt {

std::string tilt_output_lock_name(const std::string& desktop) {
    std::string name = "tilt-";
    for (const char c : desktop) {
        const bool plain =
            std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
        name += plain ? c : '_';
    }
    return name;
}

std::unique_ptr<platform::ExclusiveLock> open_tilt_output_lock(const std::string& desktop,
                                                               std::string& error) {
    return platform::open_exclusive_lock(tilt_output_lock_name(desktop), error);
}

}  // namespace zentrik::tilt
