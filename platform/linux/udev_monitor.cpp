#include "platform/linux/udev_monitor.h"

#include <libudev.h>
#include <unistd.h>

#include "platform/linux/hidraw_sysfs.h"

namespace zentrik::platform::hidraw {
namespace {

// Where udevd announces itself. Without it (containers, early boot) the events come straight
// from the kernel: the node may then be announced before its permissions are set, which the
// delayed poll after an arrival covers.
constexpr char kUdevControl[] = "/run/udev/control";
// Changes taken per call; the socket stays readable for the rest.
constexpr int kChangesPerCall = 64;

class UdevMonitor final : public DeviceMonitor {
  public:
    explicit UdevMonitor(std::filesystem::path dev) : dev_(std::move(dev)) {
        udev_ = udev_new();
        if (!udev_)
            return;
        const char* source = ::access(kUdevControl, F_OK) == 0 ? "udev" : "kernel";
        monitor_ = udev_monitor_new_from_netlink(udev_, source);
        if (!monitor_ ||
            udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
            udev_monitor_enable_receiving(monitor_) < 0) {
            release();
            return;
        }
        fd_ = udev_monitor_get_fd(monitor_);
    }
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;
    ~UdevMonitor() override { release(); }

    int fd() const override { return fd_; }

    std::vector<DeviceChange> read_changes() override {
        std::vector<DeviceChange> changes;
        if (!monitor_)
            return changes;
        // The monitor's socket does not block: no device means nothing is pending.
        for (int i = 0; i < kChangesPerCall; ++i) {
            udev_device* device = udev_monitor_receive_device(monitor_);
            if (!device)
                break;
            const char* action = udev_device_get_action(device);
            const char* sysname = udev_device_get_sysname(device);
            const char* devpath = udev_device_get_devpath(device);
            if (action && sysname && devpath) {
                if (auto change = change_from_uevent(action, sysname, devpath, dev_))
                    changes.push_back(std::move(*change));
            }
            udev_device_unref(device);
        }
        return changes;
    }

  private:
    void release() {
        if (monitor_)
            udev_monitor_unref(monitor_);
        if (udev_)
            udev_unref(udev_);
        monitor_ = nullptr;
        udev_ = nullptr;
        fd_ = -1;
    }

    std::filesystem::path dev_;
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    int fd_ = -1;
};

}  // namespace

std::unique_ptr<DeviceMonitor> make_udev_monitor(const std::filesystem::path& dev) {
    return std::make_unique<UdevMonitor>(dev);
}

std::optional<DeviceChange> change_from_uevent(std::string_view action, std::string_view sysname,
                                               std::string_view devpath,
                                               const std::filesystem::path& dev) {
    DeviceChange change;
    if (action == "add")
        change.kind = DeviceChange::Kind::kArrival;
    else if (action == "remove")
        change.kind = DeviceChange::Kind::kRemoval;
    else
        return std::nullopt;
    // Only the node's own name is trusted into a path: never a "/" or "..".
    if (sysname.empty() || sysname.find('/') != std::string_view::npos || sysname == "." ||
        sysname == "..")
        return std::nullopt;
    change.path = (dev / std::string(sysname)).string();
    change.interface_bits = interface_bits(interface_number_from_devpath(devpath));
    return change;
}

}  // namespace zentrik::platform::hidraw
