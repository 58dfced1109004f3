// Which interfaces discovery lists, in what order, and the device list operations.
#include <gtest/gtest.h>

#include <stdexcept>

#include "device/backend_selection.h"
#include "device/commands.h"
#include "tests/device/device_test_support.h"

namespace zentrik::device {
namespace {

using sim::SimMouseConfig;
using testing::SimRig;

TEST(Discovery, ListsFamilyMiceInEnumerationOrderWithTheirIdentity) {
    SimRig rig;
    rig.lib.discover();
    EXPECT_EQ(rig.lib.device_count(), 0);

    rig.add(SimMouseConfig::family_mouse(8, 5, 12, 200, 32768));
    rig.add(SimMouseConfig::family_mouse(1, 0, 2, 50, 8192));
    rig.lib.discover();
    ASSERT_EQ(rig.lib.device_count(), 2);
    const _DEVICE_ first = rig.lib.device_at(0);
    EXPECT_EQ(first.path, "sim:mouse0");
    EXPECT_EQ(first.model, 8);
    EXPECT_EQ(first.sensor, 5);
    EXPECT_EQ(first.firmware, 12);
    EXPECT_EQ(first.dpi_step, 200);
    EXPECT_EQ(first.memory_size, 0) << "known only after identify";
    EXPECT_EQ(rig.lib.path_of(1), "sim:mouse1");

    // Discovery rebuilds the list from empty.
    rig.backend->mouse(0)->set_faults({.unplugged = true});
    rig.lib.discover();
    ASSERT_EQ(rig.lib.device_count(), 1);
    EXPECT_EQ(rig.lib.path_of(0), "sim:mouse1");
}

TEST(Discovery, SkipsInterfacesThatAreNotFamilyMice) {
    SimRig rig;
    auto other_signature = SimMouseConfig::family_mouse(7, 1, 3, 100, 8192);
    other_signature.strings[120] = {'Z', '5', 3, 7, 1, 100};
    rig.add(other_signature);
    auto utf16_signature = SimMouseConfig::family_mouse(7, 1, 3, 100, 8192);
    utf16_signature.strings[120] = {0x5A, 0x00, 0x34, 0x00, 3, 7};
    rig.add(utf16_signature);
    auto no_identity = SimMouseConfig::family_mouse(7, 1, 3, 100, 8192);
    no_identity.strings.erase(120);
    rig.add(no_identity);
    auto keyboard = SimMouseConfig::family_mouse(7, 1, 3, 100, 8192);
    keyboard.collections = {{1, 6, 9, 0, 9}};
    rig.add(keyboard);
    for (int length : {8, 65}) {
        rig.add(SimMouseConfig::family_mouse(7, 1, 3, 100, 8192))
            ->set_faults({.feature_report_length = length});
    }
    rig.add_mouse();  // the one mouse of the family, last
    rig.lib.discover();
    ASSERT_EQ(rig.lib.device_count(), 1);
    EXPECT_EQ(rig.lib.path_of(0), "sim:mouse6");
}

TEST(Discovery, AnyMouseCollectionWithTheLinkReportQualifiesTheInterface) {
    SimRig rig;
    // The pointer collection first, without feature reports; the link collection second.
    auto second = SimMouseConfig::family_mouse(7, 1, 3, 100, 8192);
    second.collections = {{0x0001, 0x0002, 5, 0, 0}, {0xFF00, 0x0002, 0, 0, 9}};
    rig.add(second);
    // Identities that are cut short or give a DPI step of 0 are not listed.
    auto short_identity = SimMouseConfig::family_mouse(7, 1, 3, 100, 8192);
    short_identity.strings[120] = {'Z', '4', 3, 7, 1};
    rig.add(short_identity);
    rig.add(SimMouseConfig::family_mouse(7, 1, 3, 0, 8192));
    rig.lib.discover();
    ASSERT_EQ(rig.lib.device_count(), 1);
    EXPECT_EQ(rig.lib.path_of(0), "sim:mouse0");
    EXPECT_TRUE(read_link_tag(rig.lib, "sim:mouse0")) << "the transport talks to it too";
}

TEST(Discovery, AMouseWhoseStringsMayNotBeReadIsReportedNotIgnored) {
    auto iface = std::make_shared<testing::ScriptedInterface>();
    zklib lib(std::make_shared<testing::ScriptedBackend>(iface),
              std::make_shared<testing::FakeTiming>());
    lib.discover();
    EXPECT_TRUE(lib.unopened().empty()) << "a device without strings is just not listed";

    iface->strings_failure = "/dev/bus/usb/001/007: Permission denied";
    lib.discover();
    EXPECT_EQ(lib.device_count(), 0);
    ASSERT_EQ(lib.unopened().size(), 1u);
    EXPECT_EQ(lib.unopened()[0].path, "scripted");
    EXPECT_EQ(lib.unopened()[0].reason, iface->strings_failure);
}

TEST(Discovery, WakesTheVariantAndDoesNotListIt) {
    SimRig rig;
    auto variant = rig.add(SimMouseConfig::variant_kp3());
    rig.lib.discover();
    EXPECT_EQ(rig.lib.device_count(), 0) << "although its string 120 carries the signature";
    EXPECT_EQ(variant->wakeups(), 1);
    ASSERT_EQ(variant->requests().size(), 1u);
    EXPECT_EQ(variant->requests()[0], (Report{0x00, 0x08, 0x01, 0x00}));
    EXPECT_EQ(rig.timing->sleeps(), (std::vector<int>{2, 8, 3}));
}

TEST(DeviceList, RemoveIgnoresCaseFindIsExact) {
    SimRig rig;
    rig.add_mouse();
    rig.add_mouse();
    rig.lib.discover();
    EXPECT_FALSE(rig.lib.find_device("SIM:MOUSE1"));
    EXPECT_TRUE(rig.lib.find_device("sim:mouse1"));
    EXPECT_TRUE(rig.lib.set_memory_size("sim:mouse1", 16384));
    EXPECT_FALSE(rig.lib.set_memory_size("SIM:MOUSE1", 8192));

    EXPECT_EQ(rig.lib.remove_device("SIM:Mouse0"), 1);
    ASSERT_EQ(rig.lib.device_count(), 1);
    EXPECT_EQ(rig.lib.device_at(0).path, "sim:mouse1");
    EXPECT_EQ(rig.lib.device_at(0).memory_size, 16384);
    EXPECT_EQ(rig.lib.remove_device("sim:mouse0"), 0);
    EXPECT_THROW(rig.lib.device_at(1), std::out_of_range);
    EXPECT_THROW(rig.lib.device_at(-1), std::out_of_range);
}

TEST(BackendSelection, RealMiceFirstSimulatedOtherwise) {
    auto simulated = std::make_shared<sim::SimBackend>();
    const BackendFactory make_simulated = [&] { return simulated; };
    auto timing = std::make_shared<testing::FakeTiming>();

    auto no_family_mouse = std::make_shared<sim::SimBackend>();
    no_family_mouse->add(std::make_shared<sim::SimMouse>(SimMouseConfig::variant_kp3()));
    const auto fallback = select_backend(no_family_mouse, make_simulated, timing);
    EXPECT_EQ(fallback.backend, simulated);
    EXPECT_TRUE(fallback.simulated);
    EXPECT_TRUE(select_backend(nullptr, make_simulated, timing).simulated);

    auto attached = std::make_shared<sim::SimBackend>();
    attached->add(
        std::make_shared<sim::SimMouse>(SimMouseConfig::family_mouse(7, 1, 3, 100, 8192)));
    const auto real = select_backend(attached, make_simulated, timing);
    EXPECT_EQ(real.backend, attached);
    EXPECT_FALSE(real.simulated);
}

}  // namespace
}  // namespace zentrik::device
