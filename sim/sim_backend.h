#pragma once
// A HID backend whose interfaces are simulated mice, one path per mouse ("sim:mouse0", ...).
#include <memory>
#include <string>
#include <vector>

#include "platform/hid_backend.h"
#include "sim/sim_mouse.h"

namespace zentrik::sim {

class SimBackend final : public platform::HidBackend {
  public:
    SimBackend() = default;
    explicit SimBackend(std::vector<std::shared_ptr<SimMouse>> mice);

    // Adds a mouse; it is listed after the ones added before it. Returns its path.
    std::string add(std::shared_ptr<SimMouse> mouse);
    std::shared_ptr<SimMouse> mouse(std::size_t index) const;
    std::shared_ptr<SimMouse> mouse(const std::string& path) const;
    std::size_t size() const;
    static std::string path_of(std::size_t index);

    std::vector<std::string> enumerate() override;  // the mice that are plugged in
    std::unique_ptr<platform::HidHandle> open(const std::string& path) override;

  private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<SimMouse>> mice_;
};

}  // namespace zentrik::sim
