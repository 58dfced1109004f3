#include "platform/linux/hidraw_sysfs.h"

#include <gtest/gtest.h>

#include "tests/platform/descriptor_builder.h"
#include "tests/platform/fake_sysfs.h"

namespace zentrik::platform::hidraw {
namespace {

using test::FakeSysfs;

TEST(HidrawSysfs, NodesAreListedByTheirNumber) {
    FakeSysfs fs;
    EXPECT_TRUE(node_names(fs.roots().sysfs).empty());
    const auto mouse = hid::test::boot_mouse();
    fs.add_virtual_node(10, mouse);
    fs.add_virtual_node(2, mouse);
    fs.add_virtual_node(1, mouse);
    FakeSysfs::write(fs.roots().sysfs / "class" / "hidraw" / "hidrawx", "");
    FakeSysfs::write(fs.roots().sysfs / "class" / "hidraw" / "hidraw", "");
    FakeSysfs::write(fs.roots().sysfs / "class" / "hidraw" / "README", "");
    EXPECT_EQ(node_names(fs.roots().sysfs),
              (std::vector<std::string>{"hidraw1", "hidraw2", "hidraw10"}));
    EXPECT_TRUE(node_names(fs.roots().sysfs / "missing").empty());
}

TEST(HidrawSysfs, FindsTheNodeDirectoryOfADevicePath) {
    FakeSysfs fs;
    const auto dir = fs.add_virtual_node(3, hid::test::boot_mouse());
    EXPECT_EQ(class_dir(fs.roots().sysfs, fs.dev_path(3)), dir);
    EXPECT_FALSE(class_dir(fs.roots().sysfs, fs.dev_path(4)));  // no such node
    EXPECT_FALSE(class_dir(fs.roots().sysfs, "/dev/mouse3"));
    // A character device that is not a hidraw node is not taken for one.
    EXPECT_FALSE(class_dir(fs.roots().sysfs, "/dev/null"));
}

TEST(HidrawSysfs, FindsACharacterDeviceNodeByItsNumberWhateverItsName) {
    FakeSysfs fs;
    const auto dir = fs.add_virtual_node(7, hid::test::boot_mouse());
    fs.add_virtual_node(8, hid::test::boot_keyboard());
    if (!fs.add_dev_char(7, "zentrik-mouse", 241, 7) || !fs.add_dev_char(8, "hidraw7", 241, 8)) {
        GTEST_SKIP() << "cannot create device nodes here";
    }
    EXPECT_EQ(class_dir(fs.roots().sysfs, fs.roots().dev / "zentrik-mouse"), dir);
    // The number decides, not a name that looks like another node's.
    EXPECT_EQ(class_dir(fs.roots().sysfs, fs.roots().dev / "hidraw7"),
              fs.roots().sysfs / "class" / "hidraw" / "hidraw8");
}

TEST(HidrawSysfs, ReadsDescriptorAndIdsOfTheHidDevice) {
    FakeSysfs fs;
    const auto keyboard = hid::test::boot_keyboard();
    const auto dir = fs.add_virtual_node(0, keyboard);
    EXPECT_EQ(read_report_descriptor(dir), keyboard);
    const auto ids = read_hid_id(dir);
    ASSERT_TRUE(ids);
    EXPECT_EQ(ids->vendor_id, 0x1234);
    EXPECT_EQ(ids->product_id, 0x5678);

    const auto uevent = dir / "device" / "uevent";
    for (const char* bad : {"HID_ID=0003:00001234\n", "HID_ID=0003:0001FFFF:00000001\n",
                            "HID_ID=0003:zz:0001\n", "DRIVER=hid-generic\n"}) {
        FakeSysfs::write(uevent, bad);
        EXPECT_FALSE(read_hid_id(dir)) << bad;
    }
    FakeSysfs::write(dir / "device" / "report_descriptor", "");
    EXPECT_FALSE(read_report_descriptor(dir));
}

TEST(HidrawSysfs, TheUsbParentIsTheDeviceAboveTheInterface) {
    FakeSysfs fs;
    const auto on_usb = fs.add_usb_node(0, "1-2", 7, "0210", hid::test::boot_mouse());
    const auto parent = find_usb_parent(fs.roots().sysfs, on_usb);
    ASSERT_TRUE(parent);
    EXPECT_EQ(parent->bus, 1);
    EXPECT_EQ(parent->address, 7);  // not the root hub's address 1
    EXPECT_EQ(parent->bcd_device, 0x0210);
    EXPECT_EQ(parent->interface_number, 1);
    EXPECT_EQ(parent->sysfs_dir.filename(), "1-2");

    const auto virtual_node = fs.add_virtual_node(1, hid::test::boot_mouse());
    EXPECT_FALSE(find_usb_parent(fs.roots().sysfs, virtual_node));

    // A device with an unreadable address is not mistaken for its hub.
    const auto broken = fs.add_usb_node(2, "1-3", 9, "0100", hid::test::boot_mouse());
    FakeSysfs::write(broken / "device" / ".." / ".." / "devnum", "nine\n");
    EXPECT_FALSE(find_usb_parent(fs.roots().sysfs, broken));
}

}  // namespace
}  // namespace zentrik::platform::hidraw
