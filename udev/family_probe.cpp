#include "udev/family_probe.h"

#include <charconv>
#include <fstream>
#include <string_view>
#include <system_error>

#include "device/family_strings.h"
#include "platform/linux/hidraw_sysfs.h"
#include "platform/linux/usb_string_descriptor.h"

namespace zentrik::udev {
namespace {

namespace fs = std::filesystem;

std::optional<int> read_small_number(const fs::path& file) {
    std::ifstream in(file);
    std::string text;
    if (!in || !std::getline(in, text))
        return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end == text.data())
        return std::nullopt;
    return value;
}

// The usbfs node of the USB device at `device_dir` (it carries busnum and devnum), or of the USB
// device above the hidraw node at `device_dir`.
std::optional<fs::path> usbfs_node_of(const ProbeRoots& roots, const fs::path& device_dir) {
    std::error_code ec;
    if (fs::exists(device_dir / "busnum", ec)) {
        const auto bus = read_small_number(device_dir / "busnum");
        const auto address = read_small_number(device_dir / "devnum");
        if (!bus || !address || *bus < 1 || *bus > 999 || *address < 1 || *address > 999)
            return std::nullopt;
        return platform::usb::usbfs_node(roots.usbfs, *bus, *address);
    }
    const auto parent = platform::hidraw::find_usb_parent(roots.sysfs, device_dir);
    if (!parent)
        return std::nullopt;
    return platform::usb::usbfs_node(roots.usbfs, parent->bus, parent->address);
}

}  // namespace

std::string probe_device(const ProbeRoots& roots, const fs::path& device_dir,
                         const StringReader& read_string) {
    const auto node = usbfs_node_of(roots, device_dir);
    std::error_code ec;
    if (!node || !fs::exists(*node, ec))
        return {};  // no device to ask: no verdict either way
    // The variant answers string 199 with its code. Discovery does not list it, but it must open
    // it to send the wake-up request, so its nodes get access too.
    if (const auto variant = read_string(*node, device::kVariantString);
        variant && device::is_variant_string(*variant))
        return "ZENTRIK_MOUSE=1\n";
    // A device that is there but does not answer with the family signature (most devices have
    // no string 120 at all) is recorded as not one: discovery then leaves its nodes alone
    // instead of asking the user to fix their access. Nothing the device sent is printed: udev
    // reads these lines as properties.
    const auto identity = read_string(*node, device::kIdentityString);
    return identity && device::has_family_signature(*identity) ? "ZENTRIK_MOUSE=1\n"
                                                               : "ZENTRIK_MOUSE=0\n";
}

}  // namespace zentrik::udev
