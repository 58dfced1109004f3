#include "sim/sim_backend.h"

#include <charconv>

namespace zentrik::sim {
namespace {

constexpr std::string_view kPathPrefix = "sim:mouse";

// One open interface of a simulated mouse. It holds the mouse alive, like a kernel handle
// holds a device node; once the mouse is unplugged every call fails.
class SimHandle final : public platform::HidHandle {
  public:
    explicit SimHandle(std::shared_ptr<SimMouse> mouse) : mouse_(std::move(mouse)) {}

    std::vector<platform::HidCollectionCaps> collections() override {
        if (!mouse_->present())
            return {};
        return mouse_->collections();
    }
    std::optional<platform::HidAttributes> attributes() override {
        if (!mouse_->present())
            return std::nullopt;
        return platform::HidAttributes{0x0000, 0x0000, 0x0100};
    }
    std::optional<std::vector<std::uint8_t>> indexed_string(int index) override {
        return mouse_->indexed_string(index);
    }
    bool set_feature(std::span<const std::uint8_t> report) override {
        return mouse_->set_feature(report);
    }
    bool get_feature(std::span<std::uint8_t> report) override {
        return mouse_->get_feature(report);
    }
    int read_input(std::span<std::uint8_t> report, int timeout_ms) override {
        return mouse_->read_input(report, timeout_ms);
    }
    void cancel() override {}

  private:
    std::shared_ptr<SimMouse> mouse_;
};

}  // namespace

SimBackend::SimBackend(std::vector<std::shared_ptr<SimMouse>> mice) : mice_(std::move(mice)) {}

std::string SimBackend::add(std::shared_ptr<SimMouse> mouse) {
    std::lock_guard lock(mutex_);
    mice_.push_back(std::move(mouse));
    return path_of(mice_.size() - 1);
}

std::shared_ptr<SimMouse> SimBackend::mouse(std::size_t index) const {
    std::lock_guard lock(mutex_);
    return index < mice_.size() ? mice_[index] : nullptr;
}

std::shared_ptr<SimMouse> SimBackend::mouse(const std::string& path) const {
    if (path.rfind(kPathPrefix, 0) != 0)
        return nullptr;
    std::size_t index = 0;
    const char* first = path.data() + kPathPrefix.size();
    const char* last = path.data() + path.size();
    const auto [end, ec] = std::from_chars(first, last, index);
    if (ec != std::errc() || end != last || first == last)
        return nullptr;
    return mouse(index);
}

std::size_t SimBackend::size() const {
    std::lock_guard lock(mutex_);
    return mice_.size();
}

std::string SimBackend::path_of(std::size_t index) {
    return std::string(kPathPrefix) + std::to_string(index);
}

std::vector<std::string> SimBackend::enumerate() {
    std::lock_guard lock(mutex_);
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < mice_.size(); ++i) {
        if (mice_[i]->present())
            paths.push_back(path_of(i));
    }
    return paths;
}

std::unique_ptr<platform::HidHandle> SimBackend::open(const std::string& path) {
    auto m = mouse(path);
    if (!m || !m->present())
        return nullptr;
    return std::make_unique<SimHandle>(std::move(m));
}

}  // namespace zentrik::sim
