#include "sim/sim_backend.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

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
    bool gone() override { return !mouse_->present(); }

  private:
    std::shared_ptr<SimMouse> mouse_;
};

std::vector<std::filesystem::path> state_directories(
    const std::vector<std::shared_ptr<SimMouse>>& mice) {
    std::vector<std::filesystem::path> dirs;
    for (const auto& m : mice) {
        const auto dir = m->state_directory();
        if (!dir.empty() && std::find(dirs.begin(), dirs.end(), dir) == dirs.end())
            dirs.push_back(dir);
    }
    return dirs;
}

// Compares each mouse's plug state with the one it reported last, so a change is found even
// when the caller did not wait for the descriptor.
class SimDeviceMonitor final : public platform::DeviceMonitor {
  public:
    SimDeviceMonitor(std::shared_ptr<SimBackend::Registry> registry,
                     std::shared_ptr<platform::ChangeNotifier> notifier,
                     std::vector<SimPlugState> reported)
        : registry_(std::move(registry)),
          notifier_(std::move(notifier)),
          reported_(std::move(reported)) {}

    int fd() const override { return notifier_->fd(); }

    std::vector<platform::DeviceChange> read_changes() override {
        notifier_->clear();  // before looking, so a change made meanwhile wakes us again
        std::vector<std::shared_ptr<SimMouse>> mice;
        {
            std::lock_guard lock(registry_->mutex);
            mice = registry_->mice;
        }
        std::vector<platform::DeviceChange> changes;
        for (std::size_t i = 0; i < mice.size(); ++i) {
            const SimPlugState now = mice[i]->plug_state();
            if (i == reported_.size())  // added after the monitor was made: not there before
                reported_.push_back({false, now.power_on});
            SimPlugState& before = reported_[i];
            const auto path = SimBackend::path_of(i);
            if (before.plugged && (!now.plugged || now.power_on != before.power_on))
                changes.push_back(
                    {platform::DeviceChange::Kind::kRemoval, path, platform::kAllInterfaceBits});
            if (now.plugged && (!before.plugged || now.power_on != before.power_on))
                changes.push_back(
                    {platform::DeviceChange::Kind::kArrival, path, platform::kAllInterfaceBits});
            before = now;
        }
        return changes;
    }

  private:
    std::shared_ptr<SimBackend::Registry> registry_;
    std::shared_ptr<platform::ChangeNotifier> notifier_;
    std::vector<SimPlugState> reported_;
};

class SimInputStream final : public platform::InputReportStream {
  public:
    SimInputStream(std::shared_ptr<SimMouse> mouse,
                   std::shared_ptr<platform::ChangeNotifier> notifier, SimInputCursor cursor)
        : mouse_(std::move(mouse)), notifier_(std::move(notifier)), cursor_(cursor) {}

    int fd() const override { return notifier_->fd(); }

    bool read_pending(std::vector<std::vector<std::uint8_t>>& reports) override {
        notifier_->clear();
        if (gone_)
            return false;
        gone_ = !mouse_->read_input_log(cursor_, reports);
        return !gone_;
    }

  private:
    std::shared_ptr<SimMouse> mouse_;
    std::shared_ptr<platform::ChangeNotifier> notifier_;
    SimInputCursor cursor_;
    bool gone_ = false;
};

}  // namespace

SimBackend::SimBackend() : registry_(std::make_shared<Registry>()) {}

SimBackend::SimBackend(std::vector<std::shared_ptr<SimMouse>> mice) : SimBackend() {
    registry_->mice = std::move(mice);
}

std::string SimBackend::add(std::shared_ptr<SimMouse> mouse) {
    std::lock_guard lock(registry_->mutex);
    std::erase_if(registry_->watchers, [](const auto& w) { return w.expired(); });
    for (const auto& w : registry_->watchers) {
        mouse->add_watcher(w);
        if (auto n = w.lock())
            n->notify();
    }
    registry_->mice.push_back(std::move(mouse));
    return path_of(registry_->mice.size() - 1);
}

std::shared_ptr<SimMouse> SimBackend::mouse(std::size_t index) const {
    std::lock_guard lock(registry_->mutex);
    return index < registry_->mice.size() ? registry_->mice[index] : nullptr;
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
    std::lock_guard lock(registry_->mutex);
    return registry_->mice.size();
}

std::string SimBackend::path_of(std::size_t index) {
    return std::string(kPathPrefix) + std::to_string(index);
}

std::vector<std::string> SimBackend::enumerate() {
    std::lock_guard lock(registry_->mutex);
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < registry_->mice.size(); ++i) {
        if (registry_->mice[i]->present())
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

std::string SimBackend::lock_key(const std::string& path) {
    auto m = mouse(path);
    if (!m || m->config().state_file_stem.empty())
        return {};
    std::error_code ec;
    const auto stem = std::filesystem::weakly_canonical(m->config().state_file_stem, ec);
    return "sim:" + (ec ? m->config().state_file_stem : stem).string();
}

std::unique_ptr<platform::DeviceMonitor> SimBackend::make_monitor() {
    std::lock_guard lock(registry_->mutex);
    std::shared_ptr<platform::ChangeNotifier> notifier =
        platform::make_change_notifier(state_directories(registry_->mice));
    std::vector<SimPlugState> reported;
    for (const auto& m : registry_->mice) {
        m->add_watcher(notifier);
        reported.push_back(m->plug_state());
    }
    registry_->watchers.push_back(notifier);
    return std::make_unique<SimDeviceMonitor>(registry_, std::move(notifier), std::move(reported));
}

std::unique_ptr<platform::InputReportStream> SimBackend::open_input_reports(
    const std::string& path) {
    auto m = mouse(path);
    if (!m || !m->present())
        return nullptr;
    std::shared_ptr<platform::ChangeNotifier> notifier =
        platform::make_change_notifier({m->state_directory()});
    m->add_watcher(notifier);
    const auto cursor = m->input_cursor();
    return std::make_unique<SimInputStream>(std::move(m), std::move(notifier), cursor);
}

}  // namespace zentrik::sim
