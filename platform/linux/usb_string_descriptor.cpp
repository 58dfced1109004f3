#include "platform/linux/usb_string_descriptor.h"

#include <fcntl.h>
#include <libusb.h>

#include <cstdio>
#include <mutex>

#include "platform/linux/unique_fd.h"

namespace zentrik::platform::usb {
namespace {

constexpr std::uint16_t kDefaultLanguage = 0x0409;  // English (United States)
constexpr int kMaxDescriptorBytes = 255;            // bLength is one byte

struct Context {
    libusb_context* ctx = nullptr;
    Context() {
        // The device is reached through the node opened here; no bus scan, no hotplug thread.
        static std::once_flag once;
        std::call_once(once, [] { libusb_set_option(nullptr, LIBUSB_OPTION_NO_DEVICE_DISCOVERY); });
        if (libusb_init(&ctx) != 0)
            ctx = nullptr;
    }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    ~Context() {
        if (ctx)
            libusb_exit(ctx);
    }
};

struct Handle {
    libusb_device_handle* h = nullptr;
    Handle(libusb_context* ctx, int fd) {
        if (libusb_wrap_sys_device(ctx, static_cast<intptr_t>(fd), &h) != 0)
            h = nullptr;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (h)
            libusb_close(h);  // leaves the file descriptor open; its UniqueFd closes it
    }
};

// The descriptor's body, or nullopt when the answer is not a string descriptor.
std::optional<std::vector<std::uint8_t>> get_string(libusb_device_handle* h, std::uint8_t index,
                                                    std::uint16_t language,
                                                    std::chrono::milliseconds timeout) {
    unsigned char buf[kMaxDescriptorBytes] = {};
    const int n =
        libusb_control_transfer(h, LIBUSB_ENDPOINT_IN, LIBUSB_REQUEST_GET_DESCRIPTOR,
                                static_cast<std::uint16_t>((LIBUSB_DT_STRING << 8) | index),
                                language, buf, sizeof buf, static_cast<unsigned>(timeout.count()));
    if (n < 2 || buf[1] != LIBUSB_DT_STRING)
        return std::nullopt;
    // bLength may claim less than arrived; never more than arrived is used.
    const int length = (buf[0] >= 2 && buf[0] < n) ? buf[0] : n;
    return std::vector<std::uint8_t>(buf + 2, buf + length);
}

}  // namespace

std::filesystem::path usbfs_node(const std::filesystem::path& usbfs, int bus, int address) {
    char bus_name[8];
    char address_name[8];
    std::snprintf(bus_name, sizeof bus_name, "%03d", bus);
    std::snprintf(address_name, sizeof address_name, "%03d", address);
    return usbfs / bus_name / address_name;
}

std::optional<std::vector<std::uint8_t>> read_string_descriptor(const std::filesystem::path& node,
                                                                int index,
                                                                std::chrono::milliseconds timeout) {
    if (index < 0 || index > 255)
        return std::nullopt;
    // Control transfers through usbfs need write access to the node.
    UniqueFd fd(::open(node.c_str(), O_RDWR | O_CLOEXEC));
    if (!fd.valid())
        return std::nullopt;
    Context context;
    if (!context.ctx)
        return std::nullopt;
    Handle handle(context.ctx, fd.get());
    if (!handle.h)
        return std::nullopt;

    std::uint16_t language = kDefaultLanguage;
    if (const auto languages = get_string(handle.h, 0, 0, timeout);
        languages && languages->size() >= 2) {
        language = static_cast<std::uint16_t>((*languages)[0] | ((*languages)[1] << 8));
    }
    return get_string(handle.h, static_cast<std::uint8_t>(index), language, timeout);
}

}  // namespace zentrik::platform::usb
