// identify(): identity number, memory size probe, and profile names.
#include <gtest/gtest.h>

#include "device/commands.h"
#include "tests/device/device_test_support.h"

namespace zentrik::device {
namespace {

using testing::SimRig;

constexpr const char* kPath = "sim:mouse0";

TEST(Identify, FindsTheMemorySizeOfAMouseWithAStoredIdentity) {
    for (int size : {8192, 16384, 32768}) {
        SimRig rig;
        auto mouse = rig.add_mouse(size);
        const std::array<std::uint8_t, 3> identity = {0x34, 0x12, 0x12};
        mouse->poke_memory(static_cast<std::uint16_t>(size - 4), identity);
        rig.lib.discover();
        const auto found = identify(rig.lib, kPath);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->number, 0x1234);
        EXPECT_EQ(found->memory_size, size);
        EXPECT_EQ(rig.lib.device_at(0).memory_size, size);
    }
}

TEST(Identify, ProbesOneReadPerSizeUntilTheIdentityAppears) {
    SimRig rig;
    auto mouse = rig.add_mouse(16384);
    const std::array<std::uint8_t, 3> identity = {0xCD, 0x0B, 0x12};
    mouse->poke_memory(0x3FFC, identity);
    rig.lib.discover();
    EXPECT_EQ(identify(rig.lib, kPath)->number, 0x0BCD);
    EXPECT_EQ(rig.lib.device_at(0).memory_size, 16384);
    std::vector<std::uint16_t> addresses;
    for (const auto& r : mouse->requests())
        addresses.push_back(r[3] | (r[4] << 8));
    EXPECT_EQ(addresses, (std::vector<std::uint16_t>{0xFFFC, 0x1FFC, 0x2FFC, 0x3FFC}));
}

TEST(Identify, GivesAMouseWithoutIdentityANewOneFirst) {
    SimRig rig;
    auto mouse = rig.add_mouse(32768);
    rig.lib.discover();
    const std::uint16_t identity = identify(rig.lib, kPath).value().number;
    EXPECT_LE(identity, 0x7FFF);
    const auto requests = mouse->requests();
    ASSERT_GE(requests.size(), 3u);
    EXPECT_EQ(requests[1], (Report{0, 2, 2, 0xFC, 0xFF, 0, static_cast<std::uint8_t>(identity),
                                   static_cast<std::uint8_t>(identity >> 8), 0x12}));
    EXPECT_EQ(requests[2], (Report{0, 2, 1, 0xFE, 0xFF, 0, 0x12, 0, 0x12}));
    const auto memory = mouse->memory();
    EXPECT_EQ(memory[32768 - 4] | (memory[32768 - 3] << 8), identity);
    EXPECT_EQ(memory[32768 - 2], 0x12);
    EXPECT_EQ(rig.lib.device_at(0).memory_size, 32768);
    // The sleeps after the two writes: word (1, 1, 1), 2 ms, byte (1, 1, 1), 10 ms.
    const auto sleeps = rig.timing->sleeps();
    EXPECT_EQ(std::vector<int>(sleeps.begin() + 2, sleeps.begin() + 10),
              (std::vector<int>{1, 1, 1, 2, 1, 1, 1, 10}));
    // Asked again, the mouse keeps its number.
    EXPECT_EQ(identify(rig.lib, kPath)->number, identity);
}

// A failed exchange is never taken for what the mouse holds: no new identity over a busy
// mouse's real one, no memory size from a probe that did not answer, nothing written to a
// mouse that is gone.
TEST(Identify, FailsWithoutWritingOrRecordingWhenAnExchangeFails) {
    SimRig rig;
    auto mouse = rig.add_mouse(32768);
    const std::array<std::uint8_t, 3> identity = {0x34, 0x12, 0x12};
    mouse->poke_memory(0x7FFC, identity);
    rig.lib.discover();
    ASSERT_EQ(identify(rig.lib, kPath)->memory_size, 32768);

    // Busy through the whole status wait of the first read.
    mouse->clear_requests();
    mouse->set_faults({.busy_reads = 21});
    EXPECT_FALSE(identify(rig.lib, kPath));
    EXPECT_TRUE(mouse->requests().empty()) << "nothing reached the mouse, nothing was written";
    EXPECT_EQ(identify(rig.lib, kPath)->number, 0x1234) << "the mouse kept its number";

    // The first read answers, the first size probe does not.
    mouse->set_faults({.unplug_after_exchanges = 1});
    EXPECT_FALSE(identify(rig.lib, kPath));
    EXPECT_EQ(rig.lib.device_at(0).memory_size, 32768) << "not replaced by the 8 KiB default";

    // A fresh discovery of an unplugged mouse leaves the size unknown.
    mouse->set_faults({});
    rig.lib.discover();
    mouse->set_faults({.unplugged = true});
    EXPECT_FALSE(identify(rig.lib, kPath));
    EXPECT_EQ(rig.lib.device_at(0).memory_size, 0);
}

TEST(Identify, AFailedNewIdentityIsNotMarkedValid) {
    SimRig rig;
    auto mouse = rig.add_mouse(8192);
    rig.lib.discover();
    // The read shows no identity; the mouse goes before the new number is written.
    mouse->set_faults({.unplug_after_exchanges = 1});
    EXPECT_FALSE(identify(rig.lib, kPath));
    mouse->set_faults({});
    EXPECT_EQ(mouse->memory()[8192 - 2], 0xFF) << "key byte not written";
    EXPECT_EQ(rig.lib.device_at(0).memory_size, 0);

    // Only the write of the number fails; the mouse answers everything after it.
    mouse->set_faults({.fail_exchange = 2});
    EXPECT_FALSE(identify(rig.lib, kPath));
    EXPECT_EQ(mouse->faults().fail_exchange, 0) << "the lost exchange was the word write";
    EXPECT_EQ(mouse->memory()[8192 - 2], 0xFF) << "key byte not written over no number";
    EXPECT_EQ(rig.lib.device_at(0).memory_size, 0);
    const auto later = identify(rig.lib, kPath);
    ASSERT_TRUE(later);
    EXPECT_EQ(mouse->memory()[8192 - 2], 0x12);
    EXPECT_EQ(later->memory_size, 8192);
}

TEST(ProfileNames, RoundTripAndStoredForm) {
    SimRig rig;
    auto mouse = rig.add_mouse(8192);
    EXPECT_EQ(read_profile_name(rig.lib, kPath, 0), u"") << "a new mouse has no names";
    ASSERT_EQ(write_profile_name(rig.lib, kPath, 2, u"Games"), 1);
    EXPECT_EQ(read_profile_name(rig.lib, kPath, 2), u"Games");
    const auto memory = mouse->memory();
    const std::size_t at = 8192 - 75 + 24;
    EXPECT_EQ(std::vector<std::uint8_t>(memory.begin() + at, memory.begin() + at + 12),
              (std::vector<std::uint8_t>{'G', 0, 'a', 0, 'm', 0, 'e', 0, 's', 0, 0, 0}));
    EXPECT_EQ(memory[at - 1], 0xFF) << "profile 1 untouched";
    EXPECT_EQ(memory[at + 12], 0xFF) << "profile 3 untouched";

    ASSERT_EQ(write_profile_name(rig.lib, kPath, 4, u"Shooter"), 1);
    EXPECT_EQ(read_profile_name(rig.lib, kPath, 4), u"Shoote");
    // Half of a surrogate pair is not stored.
    ASSERT_EQ(write_profile_name(rig.lib, kPath, 1, u"abcde\U0001F600"), 1);
    EXPECT_EQ(read_profile_name(rig.lib, kPath, 1), u"abcde");
}

TEST(ProfileNames, ErasedMarkerMeansNoNameAndBadInputIsRefused) {
    SimRig rig;
    auto mouse = rig.add_mouse(8192);
    const std::array<std::uint8_t, 4> erased = {0xFF, 0xFF, 0x41, 0x00};
    mouse->poke_memory(0xFFB5 + 12 * 3, erased);
    EXPECT_EQ(read_profile_name(rig.lib, kPath, 3), u"");
    EXPECT_FALSE(read_profile_name(rig.lib, kPath, 5));
    EXPECT_EQ(write_profile_name(rig.lib, kPath, -1, u"x"), 0);
    mouse->set_faults({.unplugged = true});
    EXPECT_FALSE(read_profile_name(rig.lib, kPath, 0)) << "a failed read is not an empty name";
}

}  // namespace
}  // namespace zentrik::device
