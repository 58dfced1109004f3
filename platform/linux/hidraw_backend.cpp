// The system HID backend on Linux: hidraw nodes, listed and described through sysfs, with
// feature reports carried by the hidraw ioctls and indexed strings read from the USB parent.
#include "platform/linux/hidraw_backend.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/hid/report_descriptor.h"
#include "platform/linux/hidraw_input_stream.h"
#include "platform/linux/hidraw_sysfs.h"
#include "platform/linux/udev_monitor.h"
#include "platform/linux/udev_verdict.h"
#include "platform/linux/unique_fd.h"
#include "platform/linux/usb_string_descriptor.h"

namespace zentrik::platform::hidraw {
namespace {

// Usage pages 0xFF00 to 0xFFFF belong to the device's maker.
constexpr std::uint16_t kVendorUsagePages = 0xFF00;

// The length of a feature ioctl is encoded in 14 bits of the request number.
constexpr std::size_t kMaxIoctlBytes = (1u << 14) - 1;

template <typename F>
int retry_on_eintr(F f) {
    int r;
    do {
        r = f();
    } while (r < 0 && errno == EINTR);
    return r;
}

std::optional<std::vector<std::uint8_t>> descriptor_from_ioctl(int fd) {
    int size = 0;
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) < 0)
        return std::nullopt;  // errno tells why
    if (size <= 0) {
        errno = EINVAL;
        return std::nullopt;
    }
    hidraw_report_descriptor rd{};
    rd.size = static_cast<__u32>(std::min<int>(size, HID_MAX_DESCRIPTOR_SIZE));
    if (::ioctl(fd, HIDIOCGRDESC, &rd) < 0)
        return std::nullopt;
    return std::vector<std::uint8_t>(rd.value, rd.value + rd.size);
}

class HidrawHandle final : public HidHandle {
  public:
    HidrawHandle(int fd, std::optional<std::filesystem::path> class_dir, HidrawRoots roots)
        : fd_(fd), class_dir_(std::move(class_dir)), roots_(std::move(roots)) {}
    HidrawHandle(const HidrawHandle&) = delete;
    HidrawHandle& operator=(const HidrawHandle&) = delete;

    std::vector<HidCollectionCaps> collections() override {
        const auto* info = parsed();
        return info ? info->collections : std::vector<HidCollectionCaps>{};
    }

    std::optional<HidAttributes> attributes() override {
        std::optional<HidAttributes> a;
        hidraw_devinfo info{};
        if (::ioctl(fd_.get(), HIDIOCGRAWINFO, &info) == 0) {
            a.emplace();
            a->vendor_id = static_cast<std::uint16_t>(info.vendor);
            a->product_id = static_cast<std::uint16_t>(info.product);
        } else if (errno == ENOTTY && class_dir_) {
            // Not a hidraw node itself (a copy or a stand-in): sysfs knows the ids. A node
            // whose device is gone fails otherwise, and that failure stands.
            a = read_hid_id(*class_dir_);
        }
        if (!a)
            return std::nullopt;
        // The version is the USB device's release number; other buses have none to give.
        if (const auto usb = usb_parent())
            a->version = usb->bcd_device;
        return a;
    }

    std::optional<std::vector<std::uint8_t>> indexed_string(int index) override {
        const auto usb = usb_parent();
        if (!usb)
            return std::nullopt;
        const auto node = usb::usbfs_node(roots_.usbfs, usb->bus, usb->address);
        if (roots_.read_string)
            return roots_.read_string(node, index);
        return usb::read_string_descriptor(node, index);
    }

    std::string strings_failure() override {
        const auto usb = usb_parent();
        if (!usb || roots_.read_string)
            return {};
        const auto node = usb::usbfs_node(roots_.usbfs, usb->bus, usb->address);
        if (UniqueFd(::open(node.c_str(), O_RDWR | O_CLOEXEC)).valid())
            return {};
        if (errno != EACCES && errno != EPERM)
            return {};
        return node.string() + ": " + std::error_code(errno, std::generic_category()).message();
    }

    bool set_feature(std::span<const std::uint8_t> report) override {
        if (report.empty() || report.size() > kMaxIoctlBytes)
            return false;
        // The ioctl takes a writable buffer; the caller's report stays untouched.
        std::vector<std::uint8_t> buf(report.begin(), report.end());
        const int n = retry_on_eintr(
            [&] { return ::ioctl(fd_.get(), HIDIOCSFEATURE(buf.size()), buf.data()); });
        note_failure(n);
        return n == static_cast<int>(buf.size());
    }

    bool get_feature(std::span<std::uint8_t> report) override {
        if (report.empty() || report.size() > kMaxIoctlBytes)
            return false;
        // Byte 0 carries the report id in; hidraw keeps it in byte 0 (0 on an interface
        // without report ids) and returns the data after it.
        const int n = retry_on_eintr(
            [&] { return ::ioctl(fd_.get(), HIDIOCGFEATURE(report.size()), report.data()); });
        note_failure(n);
        if (n <= 0)
            return false;
        // A short answer must not leave what the buffer held before looking like reply bytes.
        if (static_cast<std::size_t>(n) < report.size()) {
            std::memset(report.data() + n, 0, report.size() - static_cast<std::size_t>(n));
        }
        return true;
    }

    int read_input(std::span<std::uint8_t> report, int timeout_ms) override {
        if (report.empty())
            return 0;
        pollfd p{fd_.get(), POLLIN, 0};
        const int ready = ::poll(&p, 1, timeout_ms);
        if (ready < 0)
            return errno == EINTR ? 0 : -1;
        if (ready == 0)
            return 0;
        if (p.revents & (POLLERR | POLLHUP | POLLNVAL))
            return -1;
        // hidraw gives numbered reports with their id and unnumbered ones without; the caller
        // always gets the id in byte 0.
        const auto* info = parsed();
        const bool numbered = !info || info->numbered_reports;
        std::uint8_t* dst = numbered ? report.data() : report.data() + 1;
        const std::size_t room = numbered ? report.size() : report.size() - 1;
        if (room == 0)
            return 0;
        const ssize_t n = ::read(fd_.get(), dst, room);
        if (n < 0) {
            note_failure(static_cast<int>(n));
            return (errno == EAGAIN || errno == EINTR) ? 0 : -1;
        }
        if (n == 0)
            return 0;
        if (!numbered)
            report[0] = 0;
        return static_cast<int>(n) + (numbered ? 0 : 1);
    }

    // Exchanges here are synchronous: nothing of ours is ever pending.
    void cancel() override {}

    bool gone() override { return gone_; }

    // The input report ids of the node's collections on a vendor usage page: the only input
    // reports that are the mouse's own (hidraw also hands out the interface's ordinary mouse or
    // keyboard reports).
    std::vector<std::uint8_t> vendor_input_ids() {
        std::vector<std::uint8_t> ids;
        const auto* info = parsed();
        if (!info)
            return ids;
        for (std::size_t i = 0; i < info->collections.size(); ++i) {
            if (info->collections[i].usage_page < kVendorUsagePages)
                continue;
            const auto& more = info->input_report_ids[i];
            ids.insert(ids.end(), more.begin(), more.end());
        }
        return ids;
    }

  private:
    // hidraw answers ENODEV once the device is unplugged (usbhid: ESHUTDOWN while it goes).
    void note_failure(int result) {
        if (result < 0 && (errno == ENODEV || errno == ESHUTDOWN))
            gone_ = true;
    }

    const hid::ReportDescriptorInfo* parsed() {
        if (!parsed_) {
            // The node's own answer first: it belongs to this very device, while a sysfs name
            // may already stand for another one plugged in since.
            auto bytes = descriptor_from_ioctl(fd_.get());
            if (!bytes && errno == ENOTTY && class_dir_)
                bytes = read_report_descriptor(*class_dir_);
            if (!bytes)
                return nullptr;
            parsed_ = hid::parse_report_descriptor(*bytes);
        }
        return &*parsed_;
    }

    std::optional<UsbParent> usb_parent() const {
        if (!class_dir_)
            return std::nullopt;
        return find_usb_parent(roots_.sysfs, *class_dir_);
    }

    UniqueFd fd_;
    std::optional<std::filesystem::path> class_dir_;
    HidrawRoots roots_;
    std::optional<hid::ReportDescriptorInfo> parsed_;
    bool gone_ = false;
};

class HidrawBackend final : public HidBackend {
  public:
    explicit HidrawBackend(HidrawRoots roots) : roots_(std::move(roots)) {}

    std::vector<std::string> enumerate() override {
        std::vector<std::string> paths;
        for (const auto& name : node_names(roots_.sysfs))
            paths.push_back(roots_.dev / name);
        return paths;
    }

    std::unique_ptr<HidHandle> open(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            return nullptr;
        return std::make_unique<HidrawHandle>(fd, class_dir(roots_.sysfs, path), roots_);
    }

    std::optional<std::vector<std::uint8_t>> report_descriptor(const std::string& path) override {
        // Only a known hidraw node is opened: opening an arbitrary device can have effects.
        const auto dir = class_dir(roots_.sysfs, path);
        if (!dir)
            return std::nullopt;
        if (auto bytes = read_report_descriptor(*dir))
            return bytes;
        // The sysfs copy is unreadable: ask the node itself, which needs only read access.
        const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        if (!fd.valid())
            return std::nullopt;
        return descriptor_from_ioctl(fd.get());
    }

    std::string open_failure(const std::string& path) override {
        if (UniqueFd(::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK)).valid())
            return {};
        return std::error_code(errno, std::generic_category()).message();
    }

    std::optional<bool> family_verdict(const std::string& path) override {
        const auto dir = class_dir(roots_.sysfs, path);
        if (!dir)
            return std::nullopt;
        const auto usb = find_usb_parent(roots_.sysfs, *dir);
        if (!usb)
            return std::nullopt;
        return roots_.read_verdict ? roots_.read_verdict(usb->sysfs_dir)
                                   : udev_family_verdict(usb->sysfs_dir);
    }

    int interface_number(const std::string& path) override {
        const auto dir = class_dir(roots_.sysfs, path);
        if (!dir)
            return -1;
        const auto usb = find_usb_parent(roots_.sysfs, *dir);
        return usb ? usb->interface_number : -1;
    }

    std::vector<std::string> vendor_input_paths(const std::string& path) override {
        const auto dir = class_dir(roots_.sysfs, path);
        if (!dir)
            return {};
        std::vector<std::string> paths;
        for (const auto& name : sibling_node_names(roots_.sysfs, *dir)) {
            const auto bytes = read_report_descriptor(roots_.sysfs / "class" / "hidraw" / name);
            if (!bytes)
                continue;
            const auto info = hid::parse_report_descriptor(*bytes);
            const bool vendor_input = std::any_of(
                info.collections.begin(), info.collections.end(), [](const HidCollectionCaps& c) {
                    return c.usage_page >= kVendorUsagePages && c.input_report_length > 0;
                });
            if (vendor_input)
                paths.push_back(roots_.dev / name);
        }
        return paths;
    }

    std::unique_ptr<InputReportStream> open_input_reports(const std::string& path) override {
        std::vector<InputNode> nodes;
        for (const auto& input_path : vendor_input_paths(path)) {
            // Reading needs no write access; the node never blocks the main loop.
            const int fd = ::open(input_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
            if (fd < 0)
                continue;
            auto handle =
                std::make_unique<HidrawHandle>(fd, class_dir(roots_.sysfs, input_path), roots_);
            auto ids = handle->vendor_input_ids();
            nodes.push_back({fd, std::move(handle), std::move(ids)});
        }
        return make_input_report_stream(std::move(nodes));
    }

    std::unique_ptr<DeviceMonitor> make_monitor() override { return make_udev_monitor(roots_.dev); }

  private:
    HidrawRoots roots_;
};

}  // namespace

std::unique_ptr<HidBackend> make_hidraw_backend(HidrawRoots roots) {
    return std::make_unique<HidrawBackend>(std::move(roots));
}

}  // namespace zentrik::platform::hidraw

namespace zentrik::platform {

std::unique_ptr<HidBackend> make_system_hid_backend() {
    return hidraw::make_hidraw_backend(hidraw::HidrawRoots{});
}

}  // namespace zentrik::platform
