#include "device/zklib.h"

#include <algorithm>
#include <stdexcept>

namespace zentrik::device {
namespace {

bool equal_ignoring_case(const std::string& a, const std::string& b) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
           });
}

}  // namespace

zklib::zklib(std::shared_ptr<platform::HidBackend> backend, std::shared_ptr<Timing> timing)
    : backend_(std::move(backend)), timing_(std::move(timing)) {}

zklib::~zklib() = default;

zklib& zklib::global() {
    static zklib instance(platform::make_system_hid_backend(), make_system_timing());
    return instance;
}

std::vector<UnopenedInterface> zklib::unopened() const {
    std::lock_guard hold(mutex_);
    return unopened_;
}

int zklib::device_count() const {
    std::lock_guard hold(mutex_);
    return static_cast<int>(devices_.size());
}

_DEVICE_ zklib::device_at(int index) const {
    std::lock_guard hold(mutex_);
    if (index < 0 || index >= static_cast<int>(devices_.size())) {
        throw std::out_of_range("device index " + std::to_string(index) + " outside the list");
    }
    return devices_[static_cast<std::size_t>(index)];
}

std::string zklib::path_of(int index) const {
    return device_at(index).path;
}

std::vector<_DEVICE_> zklib::devices() const {
    std::lock_guard hold(mutex_);
    return devices_;
}

int zklib::remove_device(const std::string& path) {
    std::lock_guard hold(mutex_);
    const auto it = std::find_if(devices_.begin(), devices_.end(), [&](const _DEVICE_& d) {
        return equal_ignoring_case(d.path, path);
    });
    if (it == devices_.end())
        return 0;
    links_.close(it->path);
    devices_.erase(it);
    return 1;
}

std::optional<_DEVICE_> zklib::find_device(const std::string& path) const {
    std::lock_guard hold(mutex_);
    for (const auto& d : devices_) {
        if (d.path == path)
            return d;
    }
    return std::nullopt;
}

bool zklib::set_memory_size(const std::string& path, int memory_size) {
    std::lock_guard hold(mutex_);
    for (auto& d : devices_) {
        if (d.path == path) {
            d.memory_size = memory_size;
            return true;
        }
    }
    return false;
}

platform::HidBackend& zklib::backend() const {
    std::lock_guard hold(mutex_);
    return *backend_;
}

std::shared_ptr<platform::HidBackend> zklib::backend_ptr() const {
    std::lock_guard hold(mutex_);
    return backend_;
}

void zklib::use_backend(std::shared_ptr<platform::HidBackend> backend) {
    std::lock_guard hold(mutex_);
    links_.clear();
    backend_ = std::move(backend);
    devices_.clear();
    unopened_.clear();
}

void zklib::set_trace(TraceSink sink) {
    std::lock_guard hold(mutex_);
    trace_ = std::move(sink);
}

void zklib::trace(const ExchangeTrace& record) const {
    std::lock_guard hold(mutex_);
    if (trace_)
        trace_(record);
}

bool zklib::tracing() const {
    std::lock_guard hold(mutex_);
    return static_cast<bool>(trace_);
}

}  // namespace zentrik::device
