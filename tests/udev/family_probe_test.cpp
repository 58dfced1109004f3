// The udev probe on fake sysfs trees: which devices it names a family mouse, and that it stays
// quiet (and successful) for everything else.
#include "udev/family_probe.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>

#include "tests/platform/fake_sysfs.h"

namespace zentrik::udev {
namespace {

namespace fs = std::filesystem;
using platform::hidraw::test::FakeSysfs;
using Bytes = std::vector<std::uint8_t>;

const Bytes kFamilyIdentity = {'Z', '4', 0x11, 0x02, 0x05, 0x32};
const Bytes kVariantCode = {'K', 'P', '-', '3', '0', '1'};
const Bytes kKeyboardText = {'K', 0, 'e', 0, 'y', 0, 's', 0};  // UTF-16 as most devices answer

// Strings per usbfs node; a missing entry cannot be read (the device stalls or is gone).
struct FakeStrings {
    std::map<std::pair<std::string, int>, Bytes> strings;
    std::vector<std::pair<std::string, int>> asked;

    StringReader reader() {
        return [this](const fs::path& node, int index) -> std::optional<Bytes> {
            asked.emplace_back(node.string(), index);
            const auto it = strings.find({node.string(), index});
            if (it == strings.end())
                return std::nullopt;
            return it->second;
        };
    }
};

class FamilyProbe : public ::testing::Test {
  protected:
    ProbeRoots roots() const { return {sysfs_.roots().sysfs, sysfs_.roots().usbfs}; }

    // A hidraw node on a USB device at `address`; returns the node's class directory.
    fs::path add_device(int n, int address) {
        auto node =
            sysfs_.add_usb_node(n, "1-" + std::to_string(n + 1), address, "0100", {0x05, 0x01});
        fs::create_directories(fs::path(node_path(address)).parent_path());
        FakeSysfs::write(node_path(address), "");  // the usbfs node the probe asks
        return node;
    }
    static fs::path usb_device_of(const fs::path& node) {
        // node -> HID device -> interface -> USB device
        return fs::canonical(node / "device").parent_path().parent_path();
    }
    std::string node_path(int address) const {
        return (sysfs_.roots().usbfs / "001" / ("00" + std::to_string(address))).string();
    }

    FakeSysfs sysfs_;
    FakeStrings device_;
};

TEST_F(FamilyProbe, AFamilyMouseIsNamedFromItsUsbDeviceAndFromItsHidrawNode) {
    const auto node = add_device(0, 5);
    device_.strings[{node_path(5), 120}] = kFamilyIdentity;
    EXPECT_EQ(probe_device(roots(), usb_device_of(node), device_.reader()), "ZENTRIK_MOUSE=1\n");
    EXPECT_EQ(probe_device(roots(), node, device_.reader()), "ZENTRIK_MOUSE=1\n");
    // Only the two strings discovery reads, on the device's own usbfs node.
    for (const auto& [path, index] : device_.asked) {
        EXPECT_EQ(path, node_path(5));
        EXPECT_TRUE(index == 120 || index == 199) << index;
    }
}

TEST_F(FamilyProbe, TheVariantIsGrantedAndOtherDevicesAreRecordedAsNone) {
    // Discovery must open the variant to wake it up, so it gets access like a mouse.
    const auto variant = add_device(0, 2);
    device_.strings[{node_path(2), 199}] = kVariantCode;
    EXPECT_EQ(probe_device(roots(), usb_device_of(variant), device_.reader()), "ZENTRIK_MOUSE=1\n");
    EXPECT_EQ(probe_device(roots(), variant, device_.reader()), "ZENTRIK_MOUSE=1\n");
    const auto keyboard = add_device(1, 3);
    device_.strings[{node_path(3), 120}] = kKeyboardText;
    const auto silent = add_device(2, 4);  // answers no string at all
    const auto short_answer = add_device(3, 6);
    device_.strings[{node_path(6), 120}] = {'Z'};
    for (const auto& node : {keyboard, silent, short_answer}) {
        EXPECT_EQ(probe_device(roots(), usb_device_of(node), device_.reader()), "ZENTRIK_MOUSE=0\n")
            << node;
        EXPECT_EQ(probe_device(roots(), node, device_.reader()), "ZENTRIK_MOUSE=0\n") << node;
    }
    // A device gone before the probe asked leaves no verdict.
    fs::remove(node_path(4));
    EXPECT_EQ(probe_device(roots(), silent, device_.reader()), "");
}

TEST_F(FamilyProbe, NodesWithoutAUsbDeviceAreNeverOpened) {
    const auto virtual_node = sysfs_.add_virtual_node(0, {0x05, 0x01});
    EXPECT_EQ(probe_device(roots(), virtual_node, device_.reader()), "");
    EXPECT_EQ(probe_device(roots(), sysfs_.roots().sysfs / "devices" / "nowhere", device_.reader()),
              "");
    // A USB device whose numbers are garbage is not guessed at either.
    const auto node = add_device(1, 7);
    FakeSysfs::write(usb_device_of(node) / "devnum", "x\n");
    EXPECT_EQ(probe_device(roots(), usb_device_of(node), device_.reader()), "");
    EXPECT_TRUE(device_.asked.empty());
}

// The installed program as udev runs it: whatever the device, exit status 0 and only
// well-formed properties on stdout.
TEST_F(FamilyProbe, TheProgramExitsZeroQuietlyForEveryOtherDevice) {
    const auto virtual_node = sysfs_.add_virtual_node(0, {0x05, 0x01});
    const auto usb_node = add_device(1, 9);
    fs::remove(node_path(9));  // its usbfs node does not exist: nothing to ask
    const std::string probe = ZENTRIK_UDEV_PROBE_BINARY;
    const std::string roots_args =
        " --sysfs '" + roots().sysfs.string() + "' --usbfs '" + roots().usbfs.string() + "' ";
    for (const std::string& args : {roots_args + "'" + virtual_node.string() + "'",
                                    roots_args + "'" + usb_device_of(usb_node).string() + "'",
                                    roots_args + "'" + usb_node.string() + "'",
                                    std::string(" /nonexistent"), std::string("")}) {
        FILE* pipe = ::popen((probe + args + " 2>/dev/null").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::array<char, 256> buf{};
        const std::size_t n = std::fread(buf.data(), 1, buf.size(), pipe);
        const int status = ::pclose(pipe);
        EXPECT_EQ(n, 0u) << args;
        ASSERT_TRUE(WIFEXITED(status)) << args;
        EXPECT_EQ(WEXITSTATUS(status), 0) << args;
    }
}

}  // namespace
}  // namespace zentrik::udev
