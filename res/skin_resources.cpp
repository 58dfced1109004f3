// Image table: filled by the build from the sources in this folder.
#include "res/skin_resources.h"

namespace zentrik::res {

std::span<const std::uint8_t> skin_png(int) {
    return {};
}
std::vector<int> skin_image_ids() {
    return {};
}

}  // namespace zentrik::res
