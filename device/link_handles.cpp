#include "device/link_handles.h"

#include <algorithm>

namespace zentrik::device {

platform::HidHandle* LinkHandles::open(platform::HidBackend& backend, const std::string& path) {
    auto& slot = handles_[path];
    if (slot && slot->gone())
        slot.reset();
    if (!slot) {
        slot = backend.open(path);
        if (!slot) {
            handles_.erase(path);
            return nullptr;
        }
        ++opens_;
    }
    return slot.get();
}

void LinkHandles::close(const std::string& path) {
    handles_.erase(path);
}

void LinkHandles::keep_only(const std::vector<std::string>& paths) {
    for (auto it = handles_.begin(); it != handles_.end();) {
        const bool listed = std::find(paths.begin(), paths.end(), it->first) != paths.end();
        it = listed && !it->second->gone() ? std::next(it) : handles_.erase(it);
    }
}

}  // namespace zentrik::device
