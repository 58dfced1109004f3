#include "device/joined_backend.h"

#include <mutex>
#include <set>
#include <vector>

#include "device/zklib.h"
#include "platform/joined_monitor.h"

namespace zentrik::device {
namespace {

class JoinedBackend final : public platform::HidBackend {
  public:
    JoinedBackend(std::shared_ptr<platform::HidBackend> system,
                  std::shared_ptr<platform::HidBackend> simulated, std::shared_ptr<Timing> timing)
        : system_(std::move(system)),
          simulated_(std::move(simulated)),
          timing_(std::move(timing)) {}

    std::vector<std::string> enumerate() override {
        auto simulated_paths = simulated_->enumerate();
        remember_simulated(simulated_paths);
        // A discovery of the system's own, with the same steps (a variant is woken here).
        zklib probe(system_, timing_);
        probe.discover();
        if (probe.device_count() > 0)
            return system_->enumerate();
        return simulated_paths;
    }

    std::unique_ptr<platform::HidHandle> open(const std::string& path) override {
        return owner(path).open(path);
    }
    std::optional<std::vector<std::uint8_t>> report_descriptor(const std::string& path) override {
        return owner(path).report_descriptor(path);
    }
    std::string open_failure(const std::string& path) override {
        return owner(path).open_failure(path);
    }
    std::optional<bool> family_verdict(const std::string& path) override {
        return owner(path).family_verdict(path);
    }
    int interface_number(const std::string& path) override {
        return owner(path).interface_number(path);
    }
    std::vector<std::string> vendor_input_paths(const std::string& path) override {
        return owner(path).vendor_input_paths(path);
    }
    std::string lock_key(const std::string& path) override { return owner(path).lock_key(path); }
    std::unique_ptr<platform::InputReportStream> open_input_reports(
        const std::string& path) override {
        return owner(path).open_input_reports(path);
    }

    std::unique_ptr<platform::DeviceMonitor> make_monitor() override {
        std::vector<std::unique_ptr<platform::DeviceMonitor>> monitors;
        monitors.push_back(system_->make_monitor());
        monitors.push_back(simulated_->make_monitor());
        return platform::join_monitors(std::move(monitors));
    }

  private:
    // The simulated mice's paths are the ones they ever listed (an unplugged one keeps its
    // path); everything else is the system's.
    platform::HidBackend& owner(const std::string& path) {
        if (!is_simulated(path))
            remember_simulated(simulated_->enumerate());
        return is_simulated(path) ? *simulated_ : *system_;
    }
    bool is_simulated(const std::string& path) {
        std::lock_guard hold(mutex_);
        return simulated_paths_.count(path) > 0;
    }
    void remember_simulated(const std::vector<std::string>& paths) {
        std::lock_guard hold(mutex_);
        simulated_paths_.insert(paths.begin(), paths.end());
    }

    std::shared_ptr<platform::HidBackend> system_;
    std::shared_ptr<platform::HidBackend> simulated_;
    std::shared_ptr<Timing> timing_;
    std::mutex mutex_;
    std::set<std::string> simulated_paths_;
};

}  // namespace

std::shared_ptr<platform::HidBackend> make_joined_backend(
    std::shared_ptr<platform::HidBackend> system, std::shared_ptr<platform::HidBackend> simulated,
    std::shared_ptr<Timing> timing) {
    return std::make_shared<JoinedBackend>(std::move(system), std::move(simulated),
                                           std::move(timing));
}

}  // namespace zentrik::device
