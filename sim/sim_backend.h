#pragma once
// A HID backend whose interfaces are simulated mice, one path per mouse ("sim:mouse0", ...).
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/hid_backend.h"
#include "sim/sim_mouse.h"

namespace zentrik::sim {

class SimBackend final : public platform::HidBackend {
  public:
    SimBackend();
    explicit SimBackend(std::vector<std::shared_ptr<SimMouse>> mice);

    // Adds a mouse; it is listed after the ones added before it. Returns its path.
    std::string add(std::shared_ptr<SimMouse> mouse);
    std::shared_ptr<SimMouse> mouse(std::size_t index) const;
    std::shared_ptr<SimMouse> mouse(const std::string& path) const;
    std::size_t size() const;
    static std::string path_of(std::size_t index);

    std::vector<std::string> enumerate() override;  // the mice that are plugged in
    std::unique_ptr<platform::HidHandle> open(const std::string& path) override;
    // The mouse's state files, so every program sharing them shares the lock; empty for a mouse
    // that lives in this program only.
    std::string lock_key(const std::string& path) override;
    // Arrival and removal of the mice, whether this process or another one sharing their
    // state plugs or unplugs them. A mouse arrives as one change with all four interface bits
    // (its one path stands for every interface); a power cycle between two reads is reported
    // as a removal followed by an arrival.
    std::unique_ptr<platform::DeviceMonitor> make_monitor() override;
    // The input reports a mouse raises from the moment of opening, whichever program raised
    // them; the stream ends when the mouse is unplugged or power-cycled.
    std::unique_ptr<platform::InputReportStream> open_input_reports(
        const std::string& path) override;

    // The mice and the monitors watching them; shared with the monitors, which may outlive
    // the backend.
    struct Registry {
        std::mutex mutex;
        std::vector<std::shared_ptr<SimMouse>> mice;
        std::vector<std::weak_ptr<platform::ChangeNotifier>> watchers;
    };

  private:
    std::shared_ptr<Registry> registry_;
};

}  // namespace zentrik::sim
