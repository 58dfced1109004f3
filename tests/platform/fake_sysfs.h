#pragma once
// A throw-away sysfs and /dev tree in a temporary directory, laid out as the kernel lays out
// hidraw nodes: class links into /sys/devices, HID devices under USB interfaces.
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/hidraw_backend.h"

namespace zentrik::platform::hidraw::test {

class FakeSysfs {
  public:
    FakeSysfs() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zentrik-sysfs-XXXXXX");
        root_ = ::mkdtemp(pattern.data());
        std::filesystem::create_directories(roots().sysfs / "class" / "hidraw");
        std::filesystem::create_directories(roots().dev);
        write(usb_controller() / "busnum", "1\n");  // the root hub
        write(usb_controller() / "devnum", "1\n");
    }
    ~FakeSysfs() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    FakeSysfs(const FakeSysfs&) = delete;
    FakeSysfs& operator=(const FakeSysfs&) = delete;

    // Indexed strings are answered from strings() instead of a USB device; the udev probe's
    // verdict from the udev database, which has none for these trees.
    HidrawRoots roots() const {
        auto strings = strings_;
        return {root_ / "sys",
                root_ / "dev",
                root_ / "usb",
                [strings](const std::filesystem::path& node, int index) {
                    const auto it = strings->find({node.string(), index});
                    return it == strings->end()
                               ? std::nullopt
                               : std::optional<std::vector<std::uint8_t>>(it->second);
                },
                {}};
    }

    // Indexed string `index` of the USB device at bus 1, `address`.
    void set_string(int address, int index, std::vector<std::uint8_t> bytes) {
        char name[16];
        std::snprintf(name, sizeof name, "001/%03d", address);
        (*strings_)[{(roots().usbfs / name).string(), index}] = std::move(bytes);
    }

    // hidrawN on interface `interface` (default 1) of the USB device at bus 1, `port`.
    std::filesystem::path add_usb_node(int n, const std::string& port, int address,
                                       const std::string& bcd_device,
                                       const std::vector<std::uint8_t>& descriptor,
                                       int interface = 1) {
        const auto device = usb_controller() / port;
        write(device / "busnum", "1\n");
        write(device / "devnum", std::to_string(address) + "\n");
        write(device / "bcdDevice", bcd_device + "\n");
        const auto usb_interface = device / (port + ":1." + std::to_string(interface));
        char number[8];
        std::snprintf(number, sizeof number, "%02x\n", interface);
        FakeSysfs::write(usb_interface / "bInterfaceNumber", number);
        return add_node(n, usb_interface, descriptor);
    }

    // hidrawN on a virtual (uhid) device: no USB anywhere above it.
    std::filesystem::path add_virtual_node(int n, const std::vector<std::uint8_t>& descriptor) {
        return add_node(n, roots().sysfs / "devices" / "virtual" / "misc" / "uhid", descriptor);
    }

    // The /dev entry of node n as a regular file (ioctls on it fail like on a dead device).
    std::filesystem::path add_dev_file(int n) {
        const auto p = dev_path(n);
        write(p, "");
        return p;
    }

    // A character device `name` in /dev with the number sysfs gives hidrawN; false when this
    // process may not create device nodes.
    bool add_dev_char(int n, const std::string& name, unsigned major_number,
                      unsigned minor_number) {
        const auto p = roots().dev / name;
        if (::mknod(p.c_str(), S_IFCHR | 0600, makedev(major_number, minor_number)) != 0) {
            return false;
        }
        const auto by_number = roots().sysfs / "dev" / "char" /
                               (std::to_string(major_number) + ":" + std::to_string(minor_number));
        std::filesystem::create_directories(by_number.parent_path());
        std::filesystem::create_directory_symlink(
            std::filesystem::canonical(roots().sysfs / "class" / "hidraw" /
                                       ("hidraw" + std::to_string(n))),
            by_number);
        return true;
    }

    std::filesystem::path dev_path(int n) const {
        return roots().dev / ("hidraw" + std::to_string(n));
    }

    static void write(const std::filesystem::path& p, const std::string& text) {
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
    }

  private:
    std::filesystem::path usb_controller() const {
        return roots().sysfs / "devices" / "pci0000:00" / "0000:00:14.0" / "usb1";
    }

    std::filesystem::path add_node(int n, const std::filesystem::path& parent,
                                   const std::vector<std::uint8_t>& descriptor) {
        const auto hid = parent / ("0003:1234:5678.000" + std::to_string(n));
        write(hid / "uevent", "DRIVER=hid-generic\nHID_ID=0003:00001234:00005678\nHID_NAME=Fake\n");
        write(hid / "report_descriptor", std::string(descriptor.begin(), descriptor.end()));
        const auto node = hid / "hidraw" / ("hidraw" + std::to_string(n));
        std::filesystem::create_directories(node);
        std::filesystem::create_directory_symlink("../../", node / "device");
        const auto link = roots().sysfs / "class" / "hidraw" / node.filename();
        std::filesystem::create_directory_symlink(node, link);
        return link;
    }

    std::filesystem::path root_;
    std::shared_ptr<std::map<std::pair<std::string, int>, std::vector<std::uint8_t>>> strings_ =
        std::make_shared<std::map<std::pair<std::string, int>, std::vector<std::uint8_t>>>();
};

}  // namespace zentrik::platform::hidraw::test
