#pragma once
// What sysfs tells about hidraw nodes: which exist, their report descriptors, their HID ids and
// the USB device they hang off. Every function takes the sysfs root, so tests use a fake tree.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hid_backend.h"

namespace zentrik::platform::hidraw {

// Names of the hidraw nodes under <sysfs>/class/hidraw ("hidraw0", "hidraw2", "hidraw10", ...),
// ordered by their number so the order stays put between calls.
std::vector<std::string> node_names(const std::filesystem::path& sysfs);

// The sysfs directory (<sysfs>/class/hidraw/hidrawN) of the node at `dev_path`: found by the
// device number when `dev_path` is a character device, else by its file name.
std::optional<std::filesystem::path> class_dir(const std::filesystem::path& sysfs,
                                               const std::filesystem::path& dev_path);

// The report descriptor the kernel holds for the node (device/report_descriptor).
std::optional<std::vector<std::uint8_t>> read_report_descriptor(
    const std::filesystem::path& class_dir);

// Vendor and product from the HID_ID line of device/uevent ("HID_ID=0003:0000046D:0000C24E").
std::optional<HidAttributes> read_hid_id(const std::filesystem::path& class_dir);

// The USB device that carries the node: its bus number and address, and bcdDevice.
struct UsbParent {
    int bus = 0;
    int address = 0;
    std::uint16_t bcd_device = 0;
    int interface_number = -1;  // bInterfaceNumber of the interface the node is on; -1 unknown
    std::filesystem::path sysfs_dir;
};

// The USB interface number in a device path such as
// "/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:1234:5678.0005/hidraw/hidraw5": the
// last component of the form "<port>:<configuration>.<interface>". Works on a removal, when
// the path is no longer in sysfs. -1 when the path has no such component.
int interface_number_from_devpath(std::string_view devpath);

// Names of the hidraw nodes on the same USB device as the node in `class_dir` (the node itself
// included), in node_names() order; just the node itself when it is not on USB.
std::vector<std::string> sibling_node_names(const std::filesystem::path& sysfs,
                                            const std::filesystem::path& class_dir);

// Walks up from the node's HID device to the first ancestor with busnum and devnum (the USB
// device, above its interface); nullopt when the node is not on USB (Bluetooth, I2C, uhid).
std::optional<UsbParent> find_usb_parent(const std::filesystem::path& sysfs,
                                         const std::filesystem::path& class_dir);

}  // namespace zentrik::platform::hidraw
