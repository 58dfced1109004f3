#include "tests/device/device_test_support.h"

namespace zentrik::device::testing {
namespace {

class ScriptedHandle final : public platform::HidHandle {
  public:
    explicit ScriptedHandle(std::shared_ptr<ScriptedInterface> iface) : iface_(std::move(iface)) {}
    std::vector<platform::HidCollectionCaps> collections() override { return iface_->collections; }
    std::optional<platform::HidAttributes> attributes() override {
        return platform::HidAttributes{};
    }
    std::optional<std::vector<std::uint8_t>> indexed_string(int) override { return std::nullopt; }
    std::string strings_failure() override { return iface_->strings_failure; }
    bool set_feature(std::span<const std::uint8_t> report) override {
        Report r{};
        std::copy(report.begin(), report.end(), r.begin());
        iface_->sent.push_back(r);
        return iface_->set_feature_result;
    }
    bool get_feature(std::span<std::uint8_t> report) override {
        ++iface_->get_calls;
        iface_->read_ids.push_back(report[0]);
        if (iface_->reads.empty()) {
            std::fill(report.begin(), report.end(), 0);
            return true;
        }
        const auto next = iface_->reads.front();
        iface_->reads.pop_front();
        if (!next)
            return false;
        std::copy_n(next->begin(), report.size(), report.begin());
        return true;
    }
    int read_input(std::span<std::uint8_t>, int) override { return 0; }
    void cancel() override {}
    bool gone() override { return iface_->gone; }

  private:
    std::shared_ptr<ScriptedInterface> iface_;
};

}  // namespace

std::unique_ptr<platform::HidHandle> ScriptedBackend::open(const std::string& path) {
    if (path != "scripted")
        return nullptr;
    return std::make_unique<ScriptedHandle>(iface_);
}

}  // namespace zentrik::device::testing
