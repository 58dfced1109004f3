#pragma once
// Test doubles for the device link: virtual time that records every sleep, a scripted HID
// interface for replies the simulated mouse never gives, and a zklib over simulated mice.
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "device/zklib.h"
#include "sim/sim_backend.h"

namespace zentrik::device::testing {

class FakeTiming final : public Timing {
  public:
    void sleep_ms(int ms) override {
        std::lock_guard lock(mutex_);
        sleeps_.push_back(ms);
        now_us_ += ms * 1000;
    }
    std::int64_t now_us() override {
        std::lock_guard lock(mutex_);
        return now_us_;
    }
    std::vector<int> sleeps() const {
        std::lock_guard lock(mutex_);
        return sleeps_;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        sleeps_.clear();
    }

  private:
    mutable std::mutex mutex_;
    std::vector<int> sleeps_;
    std::int64_t now_us_ = 5'000'000;
};

// One interface whose feature reads follow a script: each entry is a report, or nullopt for a
// read that fails. When the script runs out, reads return an idle status.
struct ScriptedInterface {
    std::vector<platform::HidCollectionCaps> collections = {{1, 2, 8, 0, 9}};
    std::deque<std::optional<Report>> reads;
    bool set_feature_result = true;
    std::string strings_failure;  // what the handle says when strings cannot be read
    std::vector<Report> sent;
    int get_calls = 0;
    std::vector<std::uint8_t> read_ids;  // byte 0 of each feature read as the transport passed it
    bool gone = false;                   // what the handle says after a failed call
};

class ScriptedBackend final : public platform::HidBackend {
  public:
    explicit ScriptedBackend(std::shared_ptr<ScriptedInterface> iface) : iface_(std::move(iface)) {}
    std::vector<std::string> enumerate() override { return {"scripted"}; }
    std::unique_ptr<platform::HidHandle> open(const std::string& path) override;

  private:
    std::shared_ptr<ScriptedInterface> iface_;
};

// Status reports the mouse answers with.
inline Report idle_status() {
    return Report{};
}
inline Report busy_status() {
    return Report{0, kStatusBusy};
}
inline Report done_reply(std::initializer_list<std::uint8_t> body) {
    Report r{};
    std::size_t i = 1;
    for (auto b : body)
        r[i++] = b;
    r[1] |= kStatusDone;
    return r;
}

// A zklib over simulated mice with virtual time; mice are listed by discover().
struct SimRig {
    std::shared_ptr<sim::SimBackend> backend = std::make_shared<sim::SimBackend>();
    std::shared_ptr<FakeTiming> timing = std::make_shared<FakeTiming>();
    zklib lib{backend, timing};

    std::shared_ptr<sim::SimMouse> add(sim::SimMouseConfig config) {
        auto m = std::make_shared<sim::SimMouse>(std::move(config));
        backend->add(m);
        return m;
    }
    std::shared_ptr<sim::SimMouse> add_mouse(int memory_size = 16384) {
        return add(sim::SimMouseConfig::family_mouse(7, 1, 3, 100, memory_size));
    }
};

}  // namespace zentrik::device::testing
