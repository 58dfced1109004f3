#pragma once
// zklib: the one device-access object. Its recursive lock serialises discovery and every
// exchange with a mouse; its device list holds the supported mice found by the last discovery.
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "device/device_record.h"
#include "device/exchange_trace.h"
#include "device/link_handles.h"
#include "device/timing.h"
#include "platform/hid_backend.h"

namespace zentrik::device {

// An interface that shows the collection a mouse of the family talks through but that the last
// discovery could not open, or whose identity string it was not permitted to read: a mouse may
// be there that this user may not use (device permissions).
struct UnopenedInterface {
    std::string path;
    std::string reason;  // why, e.g. "Permission denied"; may be empty
    // The system recorded the device as a mouse of the family (the udev probe's verdict); when
    // false nothing was recorded and the node may as well be another maker's device.
    bool confirmed = false;
};

class zklib {
  public:
    zklib(std::shared_ptr<platform::HidBackend> backend, std::shared_ptr<Timing> timing);
    virtual ~zklib();
    zklib(const zklib&) = delete;
    zklib& operator=(const zklib&) = delete;

    // The process-wide object, on the system backend and real time until use_backend() picks
    // another backend at start-up.
    static zklib& global();

    // Held during discovery and during every exchange; a caller may hold it across several
    // exchanges (it is recursive).
    std::recursive_mutex& lock() const { return mutex_; }

    // Rebuilds the device list from the backend's interfaces.
    void discover();

    // The interfaces the last discovery found but could not open, in enumeration order.
    std::vector<UnopenedInterface> unopened() const;

    int device_count() const;
    // Throws std::out_of_range for an index outside the list (a programming error).
    _DEVICE_ device_at(int index) const;
    std::string path_of(int index) const;
    std::vector<_DEVICE_> devices() const;
    // Removes the first device whose path matches ignoring case; 1 when one was removed.
    int remove_device(const std::string& path);
    // Exact path comparison.
    std::optional<_DEVICE_> find_device(const std::string& path) const;
    // Sets the memory size of the device with exactly this path; false when none has it.
    bool set_memory_size(const std::string& path, int memory_size);

    platform::HidBackend& backend() const;
    std::shared_ptr<platform::HidBackend> backend_ptr() const;
    void use_backend(std::shared_ptr<platform::HidBackend> backend);
    Timing& timing() const { return *timing_; }

    // The link nodes kept open between exchanges; use only while holding lock().
    LinkHandles& links() { return links_; }

    // Receives every exchange (trace output); empty to stop.
    void set_trace(TraceSink sink);
    void trace(const ExchangeTrace& record) const;
    bool tracing() const;

  private:
    mutable std::recursive_mutex mutex_;
    std::shared_ptr<platform::HidBackend> backend_;
    std::shared_ptr<Timing> timing_;
    std::vector<_DEVICE_> devices_;
    std::vector<UnopenedInterface> unopened_;
    LinkHandles links_;
    TraceSink trace_;
};

}  // namespace zentrik::device
