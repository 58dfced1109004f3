// The system HID backend. Until hidraw access lands, it lists no interfaces.
#include "platform/hid_backend.h"

namespace zentrik::platform {
namespace {

class NoHidBackend final : public HidBackend {
  public:
    std::vector<std::string> enumerate() override { return {}; }
    std::unique_ptr<HidHandle> open(const std::string&) override { return nullptr; }
};

}  // namespace

std::unique_ptr<HidBackend> make_system_hid_backend() {
    return std::make_unique<NoHidBackend>();
}

}  // namespace zentrik::platform
