// The real device path (hidraw backend, libusb string reads, the udev probe, zentrikctl) against
// an emulated kernel (tests/kernel/emulated_kernel.h) with simulated mice behind the nodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "cli/cli_command.h"
#include "cli/commands/device_session.h"
#include "device/commands.h"
#include "device/memory_reader.h"
#include "device/transport.h"
#include "device/vendor_report.h"
#include "platform/linux/hidraw_backend.h"
#include "platform/linux/usb_string_descriptor.h"
#include "tests/device/device_test_support.h"
#include "tests/kernel/emulated_kernel.h"
#include "tests/platform/descriptor_builder.h"
#include "tests/platform/fake_sysfs.h"
#include "udev/family_probe.h"

namespace zentrik::kernel_test {
namespace {

namespace fs = std::filesystem;
using platform::hidraw::test::FakeSysfs;
using Bytes = std::vector<std::uint8_t>;

// Interface 1: the pointer and the link collection; interface 2: the vendor input reports.
Bytes link_node_descriptor() {
    platform::hid::test::DescriptorBuilder d;
    d.append(platform::hid::test::boot_mouse())
        .append(platform::hid::test::vendor_feature_collection());
    return d.bytes();
}
Bytes input_node_descriptor() {
    platform::hid::test::DescriptorBuilder d;
    d.usage_page(0x01).usage(0x02).application().report_id(1).fields(8, 4).input().end();
    d.usage_page(0xFF00).usage(0x01).application();
    d.report_id(sim::kInputReportId).usage(0x01).logical(0, 255).fields(8, 7).input().end();
    return d.bytes();
}

class KernelPath : public ::testing::Test {
  protected:
    void TearDown() override {
        cli::use_system_backend({});
        cli::use_device_timing({});
        reset();
    }

    // A mouse on USB port `port` at `address`: link node `n`, input node `n + 1`.
    std::shared_ptr<EmulatedUsbDevice> plug(int n, const std::string& port, int address,
                                            sim::SimMouseConfig config) {
        auto device = std::make_shared<EmulatedUsbDevice>();
        device->firmware = std::make_shared<sim::SimMouse>(std::move(config));
        fs_.add_usb_node(n, port, address, "0100", link_node_descriptor(), 1);
        fs_.add_usb_node(n + 1, port, address, "0100", input_node_descriptor(), 2);
        add_hidraw_node(fs_.dev_path(n), device, link_node_descriptor());
        add_hidraw_node(fs_.dev_path(n + 1), device, input_node_descriptor());
        add_usbfs_node(usbfs(address), device);
        FakeSysfs::write(usbfs(address), "");  // what the udev probe finds in the folder
        return device;
    }
    std::string usbfs(int address) const {
        return platform::usb::usbfs_node(fs_.roots().usbfs, 1, address).string();
    }
    void unplug_nodes(int n, const std::shared_ptr<EmulatedUsbDevice>& device) {
        unplug(device);
        fs::remove(fs_.roots().sysfs / "class" / "hidraw" / ("hidraw" + std::to_string(n)));
        fs::remove(fs_.roots().sysfs / "class" / "hidraw" / ("hidraw" + std::to_string(n + 1)));
    }
    // The backend as the program makes it, with its strings read by libusb.
    std::shared_ptr<platform::HidBackend> backend() const {
        auto roots = fs_.roots();
        roots.read_string = nullptr;
        return platform::hidraw::make_hidraw_backend(roots);
    }
    std::unique_ptr<device::zklib> lib() const {
        auto l = std::make_unique<device::zklib>(backend(), timing_);
        l->discover();
        return l;
    }
    int zentrikctl(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        const auto made = backend();
        cli::use_system_backend([made] { return made; });
        cli::use_device_timing(timing_);
        return cli::run_cli(args, out_, err_);
    }

    FakeSysfs fs_;
    std::shared_ptr<device::testing::FakeTiming> timing_ =
        std::make_shared<device::testing::FakeTiming>();
    std::ostringstream out_, err_;
};

TEST_F(KernelPath, DiscoveryListsOneAndTwoMiceAndWakesTheVariant) {
    auto first = plug(0, "1-2", 5, sim::SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    auto variant = plug(4, "1-4", 9, sim::SimMouseConfig::variant_kp3());
    auto l = lib();
    ASSERT_EQ(l->device_count(), 1) << "the variant is woken, not listed";
    EXPECT_EQ(l->path_of(0), fs_.dev_path(0).string());
    EXPECT_EQ(l->device_at(0).model, 7);
    ASSERT_FALSE(variant->firmware->requests().empty());
    EXPECT_EQ(variant->firmware->requests().back()[1], 0x08);
    EXPECT_EQ(variant->firmware->requests().back()[2], 0x01);

    auto second = plug(2, "1-3", 7, sim::SimMouseConfig::family_mouse(8, 1, 3, 100, 16384));
    l = lib();
    ASSERT_EQ(l->device_count(), 2);
    EXPECT_EQ(l->path_of(1), fs_.dev_path(2).string());
    EXPECT_EQ(l->device_at(1).model, 8);
    EXPECT_TRUE(l->unopened().empty());
}

// identify, the settings and a whole backup, each one zentrikctl command over the real backend:
// the link node is opened once per command, not once per exchange.
TEST_F(KernelPath, IdentifySettingsAndBackupOpenTheNodeOncePerSession) {
    auto mouse = plug(0, "1-2", 5, sim::SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    const std::string node = fs_.dev_path(0).string();
    ASSERT_EQ(zentrikctl({"identify"}), 0) << err_.str();
    const int after_identify = write_opens(node);

    ASSERT_EQ(zentrikctl({"settings", "--json"}), 0) << err_.str();
    EXPECT_NE(out_.str().find("\"profile\""), std::string::npos) << out_.str();
    const int settings_opens = write_opens(node) - after_identify;

    const fs::path file = fs_.roots().sysfs.parent_path() / "mouse.mbf";
    const std::size_t exchanges_before = mouse->firmware->requests().size();
    ASSERT_EQ(zentrikctl({"backup", file.string()}), 0) << err_.str();
    const std::size_t exchanges = mouse->firmware->requests().size() - exchanges_before;
    const int backup_opens = write_opens(node) - after_identify - settings_opens;
    EXPECT_GT(fs::file_size(file), 8192u);
    std::printf("backup: %zu exchanges, %d opens of the link node for them\n", exchanges,
                backup_opens);
    // The command's two discoveries (the backend choice, then the device link) open each node
    // once; the exchanges of the command share one more open.
    EXPECT_LE(settings_opens, 3);
    EXPECT_LE(backup_opens, 3);
    EXPECT_GT(exchanges, 1000u);
}

// hidraw hands every input report of the interface to the reader: only the vendor collection's
// reach the decoder, tilts and profile events as the mouse raises them.
TEST_F(KernelPath, TiltsAndProfileEventsArriveThroughTheInputNode) {
    auto mouse = plug(0, "1-2", 5, sim::SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    auto l = lib();
    auto stream = l->backend().open_input_reports(fs_.dev_path(0).string());
    ASSERT_NE(stream, nullptr);
    ASSERT_TRUE(mouse->firmware->tilt(-2));
    ASSERT_TRUE(mouse->firmware->press_profile_button(3));
    deliver_input(fs_.dev_path(1).string());
    std::vector<Bytes> reports;
    ASSERT_TRUE(stream->read_pending(reports));
    ASSERT_EQ(reports.size(), 2u);
    const auto tilt = device::decode_vendor_report(reports[0]);
    ASSERT_TRUE(tilt);
    EXPECT_EQ(tilt->event, device::VendorEvent::kTilt);
    EXPECT_EQ(tilt->tilt, -2);
    const auto profile = device::decode_vendor_report(reports[1]);
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile->event, device::VendorEvent::kProfile);
    EXPECT_EQ(profile->profile, 3);

    unplug_nodes(0, mouse);
    EXPECT_FALSE(stream->read_pending(reports)) << "the hang-up ends the stream";
}

// The cable goes between two exchanges of a job: the next exchange fails at once (ENODEV, no
// 21 status reads), and the mouse plugged in again on new nodes works.
TEST_F(KernelPath, UnplugMidJobAndReplug) {
    auto mouse = plug(0, "1-2", 5, sim::SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    auto l = lib();
    const std::string path = fs_.dev_path(0).string();
    device::Report reply{};
    ASSERT_EQ(device::read_memory(*l, path, 0x0000, reply), 1);
    timing_->clear();
    unplug_nodes(0, mouse);
    EXPECT_EQ(device::read_memory(*l, path, 0x0004, reply), 0);
    EXPECT_TRUE(timing_->sleeps().empty()) << "no retries on a device that is gone";

    auto again = plug(2, "1-2", 6, sim::SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    l->discover();
    ASSERT_EQ(l->device_count(), 1);
    EXPECT_EQ(device::read_memory(*l, fs_.dev_path(2).string(), 0x0000, reply), 1);
}

// A firmware that acts on the request but stalls the set-feature's status stage: usbhid reports
// the error, and the exchange still gets its reply.
TEST_F(KernelPath, AStalledStatusStageStillGetsTheReply) {
    auto mouse = plug(0, "1-2", 5, sim::SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    auto l = lib();
    const std::string path = fs_.dev_path(0).string();
    ASSERT_EQ(device::write_memory_byte(*l, path, 0x0100, 0x5A), 1);
    mouse->fail_status_stage = true;
    device::Report reply{};
    ASSERT_EQ(device::read_memory(*l, path, 0x0100, reply), 1);
    EXPECT_NE(std::find(reply.begin(), reply.end(), 0x5A), reply.end());
    ASSERT_EQ(device::write_memory_byte(*l, path, 0x0101, 0x33), 1);
    mouse->fail_status_stage = false;
    ASSERT_EQ(device::read_memory(*l, path, 0x0101, reply), 1);
    EXPECT_NE(std::find(reply.begin(), reply.end(), 0x33), reply.end()) << "the write was done";
}

// The udev probe's verdicts through libusb and usbfs, as udev runs it for each USB device.
TEST_F(KernelPath, TheProbesVerdicts) {
    plug(0, "1-2", 5, sim::SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    plug(2, "1-3", 6, sim::SimMouseConfig::variant_kp3());
    auto other_config = sim::SimMouseConfig::family_mouse(7, 1, 3, 100, 8192);
    other_config.strings.erase(120);
    plug(4, "1-4", 7, other_config);
    const udev::ProbeRoots roots{fs_.roots().sysfs, fs_.roots().usbfs};
    const auto read = [](const fs::path& node, int index) {
        return platform::usb::read_string_descriptor(node, index);
    };
    const auto class_dir = [&](int n) {
        return fs_.roots().sysfs / "class" / "hidraw" / ("hidraw" + std::to_string(n));
    };
    EXPECT_EQ(udev::probe_device(roots, class_dir(0), read), "ZENTRIK_MOUSE=1\n");
    EXPECT_EQ(udev::probe_device(roots, class_dir(2), read), "ZENTRIK_MOUSE=1\n");
    EXPECT_EQ(udev::probe_device(roots, class_dir(4), read), "ZENTRIK_MOUSE=0\n");
}

}  // namespace
}  // namespace zentrik::kernel_test
