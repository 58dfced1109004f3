// The device link over the hidraw backend on fake sysfs trees: which nodes discovery lists,
// which it finds but cannot open, and what the backend tells about a mouse's nodes.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "device/backend_selection.h"
#include "device/zklib.h"
#include "platform/joined_monitor.h"
#include "platform/linux/hidraw_sysfs.h"
#include "platform/linux/udev_monitor.h"
#include "sim/sim_backend.h"
#include "tests/platform/descriptor_builder.h"
#include "tests/platform/fake_sysfs.h"

namespace zentrik::platform::hidraw {
namespace {

using hid::test::DescriptorBuilder;
using test::FakeSysfs;
using Bytes = std::vector<std::uint8_t>;

const Bytes kIdentity = {'Z', '4', 3, 8, 1, 100};  // firmware 3, model 8, sensor 1, step 100

// The pointer collection first (no feature report), the link collection after it.
Bytes mouse_with_vendor_collection() {
    DescriptorBuilder d;
    d.append(hid::test::boot_mouse()).append(hid::test::vendor_feature_collection());
    return d.bytes();
}

// A vendor collection that sends 7-byte input reports with id 4 (8 bytes with the id).
Bytes vendor_input_collection() {
    DescriptorBuilder d;
    d.usage_page(0xFF00).usage(0x01).application();
    d.report_id(4).usage(0x01).logical(0, 255).fields(8, 7).input();
    d.end();
    return d.bytes();
}

std::shared_ptr<device::zklib> discover(const FakeSysfs& fs) {
    auto lib = std::make_shared<device::zklib>(make_hidraw_backend(fs.roots()),
                                               device::make_system_timing());
    lib->discover();
    return lib;
}

TEST(HidrawDiscovery, ListsNodesWhoseAnyMouseCollectionCarriesTheLink) {
    FakeSysfs fs;
    // 1: the project's own layout; the first usage-2 collection has no feature report.
    fs.add_usb_node(1, "1-2", 7, "0100", mouse_with_vendor_collection());
    fs.set_string(7, 120, kIdentity);
    // 2: a plain mouse with the signature but no 9-byte feature report anywhere.
    fs.add_usb_node(2, "1-3", 9, "0100", hid::test::boot_mouse());
    fs.set_string(9, 120, kIdentity);
    // 3: 65-byte feature reports.
    fs.add_usb_node(3, "1-4", 11, "0100", hid::test::vendor_feature_collection(0x02, 64));
    fs.set_string(11, 120, kIdentity);
    // 4 and 5: the link collection, but an identity cut short or with a DPI step of 0.
    fs.add_usb_node(4, "1-5", 12, "0100", mouse_with_vendor_collection());
    fs.set_string(12, 120, {'Z', '4', 3, 8, 1});
    fs.add_usb_node(5, "1-6", 13, "0100", mouse_with_vendor_collection());
    fs.set_string(13, 120, {'Z', '4', 3, 8, 1, 0});
    for (int n = 1; n <= 5; ++n)
        fs.add_dev_file(n);

    const auto lib = discover(fs);
    ASSERT_EQ(lib->device_count(), 1);
    const auto d = lib->device_at(0);
    EXPECT_EQ(d.path, fs.dev_path(1).string());
    EXPECT_EQ(d.firmware, 3);
    EXPECT_EQ(d.model, 8);
    EXPECT_EQ(d.sensor, 1);
    EXPECT_EQ(d.dpi_step, 100);
    EXPECT_TRUE(lib->unopened().empty());
}

TEST(HidrawDiscovery, AMouseThatCannotBeOpenedIsReportedAndNotReplacedBySimulation) {
    FakeSysfs fs;
    fs.add_usb_node(1, "1-2", 7, "0100", mouse_with_vendor_collection());  // no /dev entry
    fs.add_usb_node(2, "1-3", 9, "0100", hid::test::boot_mouse());         // nor here
    const auto lib = discover(fs);
    EXPECT_EQ(lib->device_count(), 0);
    ASSERT_EQ(lib->unopened().size(), 1u) << "only the node that shows the link collection";
    EXPECT_EQ(lib->unopened()[0].path, fs.dev_path(1).string());
    EXPECT_EQ(lib->unopened()[0].reason, "No such file or directory");
    EXPECT_FALSE(lib->unopened()[0].confirmed) << "nothing recorded about the device";

    // The udev probe's verdict decides: another maker's device is left alone, and a mouse it
    // recorded as one of the family is not replaced by the simulated one.
    auto roots = fs.roots();
    roots.read_verdict = [](const std::filesystem::path&) { return false; };
    device::zklib other(make_hidraw_backend(roots), device::make_system_timing());
    other.discover();
    EXPECT_TRUE(other.unopened().empty());
    roots.read_verdict = [](const std::filesystem::path&) { return true; };
    device::zklib confirmed(make_hidraw_backend(roots), device::make_system_timing());
    confirmed.discover();
    ASSERT_EQ(confirmed.unopened().size(), 1u);
    EXPECT_TRUE(confirmed.unopened()[0].confirmed);

    bool simulated_made = false;
    const auto choice = device::select_backend(
        make_hidraw_backend(roots),
        [&] {
            simulated_made = true;
            return std::shared_ptr<HidBackend>();
        },
        device::make_system_timing());
    EXPECT_FALSE(choice.simulated);
    EXPECT_FALSE(simulated_made);
    ASSERT_EQ(choice.unopened.size(), 1u);

    // Once the node opens, the mouse is listed and nothing is left unopened.
    fs.add_dev_file(1);
    fs.set_string(7, 120, kIdentity);
    const auto again = discover(fs);
    EXPECT_EQ(again->device_count(), 1);
    EXPECT_TRUE(again->unopened().empty());
}

// A window that started with no mouse runs on the simulated one; a mouse of the family plugged
// in later is listed instead of it (the poll then drops the simulated selection), and the
// simulated mouse comes back when the real one goes. With --simulate nothing is joined.
TEST(JoinedBackend, AMousePluggedInLaterIsPreferredToTheSimulatedOne) {
    FakeSysfs fs;
    auto simulated = std::make_shared<sim::SimBackend>();
    simulated->add(
        std::make_shared<sim::SimMouse>(sim::SimMouseConfig::family_mouse(7, 1, 3, 100, 8192)));
    const auto timing = device::make_system_timing();
    const auto choice = device::select_backend(
        make_hidraw_backend(fs.roots()), [&] { return simulated; }, timing,
        device::Arrivals::kFollow);
    ASSERT_TRUE(choice.simulated);
    device::zklib lib(choice.backend, timing);
    lib.discover();
    ASSERT_EQ(lib.device_count(), 1);
    EXPECT_EQ(lib.path_of(0), "sim:mouse0");

    fs.add_usb_node(1, "1-2", 7, "0100", mouse_with_vendor_collection());
    fs.set_string(7, 120, kIdentity);
    fs.add_dev_file(1);
    lib.discover();
    ASSERT_EQ(lib.device_count(), 1);
    EXPECT_EQ(lib.path_of(0), fs.dev_path(1).string());
    // Each path goes to the backend that lists it.
    EXPECT_EQ(choice.backend->interface_number(fs.dev_path(1)), 1);
    EXPECT_EQ(choice.backend->lock_key("sim:mouse0"), simulated->lock_key("sim:mouse0"));
    EXPECT_NE(choice.backend->open("sim:mouse0"), nullptr);

    std::filesystem::remove(fs.roots().sysfs / "class" / "hidraw" / "hidraw1");
    lib.discover();
    ASSERT_EQ(lib.device_count(), 1);
    EXPECT_EQ(lib.path_of(0), "sim:mouse0");

    const auto asked_for = device::select_backend(
        make_hidraw_backend(fs.roots()), [&] { return simulated; }, timing);
    EXPECT_EQ(asked_for.backend, simulated) << "only a window follows arrivals";
}

// One descriptor for both monitors: a change of either wakes the loop and is read.
TEST(JoinedBackend, TheJoinedMonitorReportsBoth) {
    struct PipeMonitor final : DeviceMonitor {
        int ends[2] = {-1, -1};
        std::string name;
        explicit PipeMonitor(std::string n) : name(std::move(n)) {
            EXPECT_EQ(::pipe2(ends, O_NONBLOCK | O_CLOEXEC), 0);
        }
        ~PipeMonitor() override {
            ::close(ends[0]);
            ::close(ends[1]);
        }
        int fd() const override { return ends[0]; }
        std::vector<DeviceChange> read_changes() override {
            char c;
            std::vector<DeviceChange> out;
            while (::read(ends[0], &c, 1) == 1)
                out.push_back({DeviceChange::Kind::kArrival, name, kAllInterfaceBits});
            return out;
        }
    };
    auto system = std::make_unique<PipeMonitor>("/dev/hidraw3");
    auto simulated = std::make_unique<PipeMonitor>("sim:mouse0");
    const int system_in = system->ends[1];
    std::vector<std::unique_ptr<DeviceMonitor>> parts;
    parts.push_back(std::move(system));
    parts.push_back(nullptr);  // a backend without a monitor is left out
    parts.push_back(std::move(simulated));
    const auto joined = join_monitors(std::move(parts));
    ASSERT_NE(joined, nullptr);
    pollfd p{joined->fd(), POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 0), 0);
    ASSERT_EQ(::write(system_in, "x", 1), 1);
    EXPECT_EQ(::poll(&p, 1, 5000), 1);
    const auto changes = joined->read_changes();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].path, "/dev/hidraw3");
    EXPECT_EQ(::poll(&p, 1, 0), 0) << "drained";
}

TEST(HidrawMouseNodes, InterfaceNumbersAndVendorInputSiblings) {
    FakeSysfs fs;
    // One mouse: keyboard on interface 0, the link and a vendor input collection on 1 and 2.
    fs.add_usb_node(0, "1-2", 7, "0100", hid::test::boot_keyboard(), 0);
    fs.add_usb_node(1, "1-2", 7, "0100", mouse_with_vendor_collection(), 1);
    fs.add_usb_node(2, "1-2", 7, "0100", vendor_input_collection(), 2);
    // Another device with a vendor input collection, and one that is not on USB.
    fs.add_usb_node(3, "1-3", 9, "0100", vendor_input_collection(), 1);
    fs.add_virtual_node(4, vendor_input_collection());
    auto backend = make_hidraw_backend(fs.roots());

    EXPECT_EQ(backend->interface_number(fs.dev_path(0)), 0);
    EXPECT_EQ(backend->interface_number(fs.dev_path(1)), 1);
    EXPECT_EQ(backend->interface_number(fs.dev_path(4)), -1);
    EXPECT_EQ(backend->interface_number(fs.dev_path(9)), -1);

    EXPECT_EQ(backend->vendor_input_paths(fs.dev_path(1)),
              (std::vector<std::string>{fs.dev_path(2).string()}));
    EXPECT_EQ(backend->vendor_input_paths(fs.dev_path(4)),
              (std::vector<std::string>{fs.dev_path(4).string()}));
    EXPECT_TRUE(backend->vendor_input_paths(fs.dev_path(9)).empty());
}

TEST(HidrawMouseNodes, UeventsBecomeChangesWithTheirInterfaceBits) {
    const std::string usb = "/devices/pci0000:00/0000:00:14.0/usb1/";
    EXPECT_EQ(interface_number_from_devpath(usb + "1-2/1-2:1.1/0003:1234:5678.0005/hidraw/hidraw5"),
              1);
    EXPECT_EQ(interface_number_from_devpath(usb + "1-1/1-1.4/1-1.4.2/1-1.4.2:1.0/0003:1:2.0001"),
              0);
    EXPECT_EQ(interface_number_from_devpath(usb + "3-1/3-1:2.10/0003:1:2.0001/hidraw/hidraw0"), 10);
    EXPECT_EQ(interface_number_from_devpath("/devices/virtual/misc/uhid/0003:1:2.0001/hidraw/h"),
              -1);
    EXPECT_EQ(interface_number_from_devpath(""), -1);

    const std::string node = usb + "1-2/1-2:1.1/0003:1234:5678.0005/hidraw/hidraw5";
    const auto arrival = change_from_uevent("add", "hidraw5", node, "/dev");
    ASSERT_TRUE(arrival);
    EXPECT_EQ(arrival->kind, DeviceChange::Kind::kArrival);
    EXPECT_EQ(arrival->path, "/dev/hidraw5");
    EXPECT_EQ(arrival->interface_bits, kInterfaceOneBits);
    const auto removal = change_from_uevent("remove", "hidraw4",
                                            usb + "1-2/1-2:1.0/0003:1:2.4/hidraw/hidraw4", "/dev");
    ASSERT_TRUE(removal);
    EXPECT_EQ(removal->kind, DeviceChange::Kind::kRemoval);
    EXPECT_EQ(removal->interface_bits, kInterfaceZeroBit);
    EXPECT_EQ(change_from_uevent("add", "hidraw6", usb + "1-2/1-2:1.2/x/hidraw/hidraw6", "/dev")
                  ->interface_bits,
              0u);
    EXPECT_FALSE(change_from_uevent("change", "hidraw5", node, "/dev"));
    EXPECT_FALSE(change_from_uevent("add", "../sda", node, "/dev"));
    EXPECT_FALSE(change_from_uevent("add", "", node, "/dev"));
}

TEST(HidrawMouseNodes, MonitorSetsUpWithoutBlocking) {
    auto monitor = make_hidraw_backend(HidrawRoots{})->make_monitor();
    ASSERT_NE(monitor, nullptr);
    if (monitor->fd() < 0)
        GTEST_SKIP() << "no netlink socket here";
    EXPECT_TRUE(monitor->read_changes().empty()) << "nothing pending, and no wait for it";
}

// FIFOs stand in for the nodes: writers send reports; closing one is the unplug.
TEST(HidrawMouseNodes, InputReportsOfAllVendorCollectionsThroughOneDescriptor) {
    FakeSysfs fs;
    fs.add_usb_node(1, "1-2", 7, "0100", mouse_with_vendor_collection(), 1);
    fs.add_usb_node(2, "1-2", 7, "0100", vendor_input_collection(), 1);
    fs.add_usb_node(3, "1-2", 7, "0100", vendor_input_collection(), 2);
    int writers[2] = {-1, -1};
    for (int n : {2, 3})
        ASSERT_EQ(::mkfifo(fs.dev_path(n).c_str(), 0600), 0);
    auto stream = make_hidraw_backend(fs.roots())->open_input_reports(fs.dev_path(1));
    ASSERT_NE(stream, nullptr);
    for (int i = 0; i < 2; ++i) {
        writers[i] = ::open(fs.dev_path(2 + i).c_str(), O_WRONLY | O_NONBLOCK);
        ASSERT_GE(writers[i], 0);
    }

    std::vector<Bytes> reports;
    EXPECT_TRUE(stream->read_pending(reports));
    EXPECT_TRUE(reports.empty());

    const Bytes profile = {4, 0x12, 7, 1, 2, 0, 0, 0};
    const Bytes tilt = {4, 0x12, 7, 3, 0xFF, 0, 0, 0};
    ASSERT_EQ(::write(writers[1], tilt.data(), tilt.size()), 8);
    pollfd p{stream->fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 1000), 1) << "the stream's descriptor wakes the loop";
    ASSERT_EQ(::write(writers[0], profile.data(), profile.size()), 8);
    EXPECT_TRUE(stream->read_pending(reports));
    EXPECT_EQ(reports, (std::vector<Bytes>{profile, tilt}));
    EXPECT_EQ(::poll(&p, 1, 0), 0) << "drained";

    ::close(writers[1]);
    EXPECT_FALSE(stream->read_pending(reports)) << "a node went away";
    EXPECT_FALSE(stream->read_pending(reports));
    EXPECT_EQ(::poll(&p, 1, 0), 0) << "the hang-up does not keep waking the loop";
    ::close(writers[0]);

    EXPECT_EQ(make_hidraw_backend(fs.roots())->open_input_reports(fs.dev_path(5)), nullptr);
}

}  // namespace
}  // namespace zentrik::platform::hidraw
