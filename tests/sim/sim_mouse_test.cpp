// The simulated mouse seen through raw feature reports, as the real one would be.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <thread>

#include "sim/sim_backend.h"

namespace zentrik::sim {
namespace {

FeatureReport exchange(SimMouse& m, FeatureReport request) {
    EXPECT_TRUE(m.set_feature(request));
    FeatureReport reply{};
    EXPECT_TRUE(m.get_feature(reply));
    return reply;
}

std::filesystem::path fresh_dir(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("zentrik-sim-test-" + name + "-" +
                      std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(dir);
    return dir;
}

TEST(SimMouse, StatusBitsFollowTheRequest) {
    SimMouse m(SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    FeatureReport status{};
    ASSERT_TRUE(m.get_feature(status));
    EXPECT_EQ(status[1], 0) << "idle: neither busy nor done";
    m.set_faults({.busy_reads = 1});
    ASSERT_TRUE(m.set_feature(FeatureReport{0, 0x01, 0x08, 2, 0x12}));
    ASSERT_TRUE(m.get_feature(status));
    EXPECT_EQ(status[1], 0x80);
    ASSERT_TRUE(m.get_feature(status));
    EXPECT_EQ(status[1], 0x40);
    m.set_faults({.never_done = true});
    ASSERT_TRUE(m.get_feature(status));
    EXPECT_EQ(status[1], 0);
}

TEST(SimMouse, WritesNeedTheKeyByte) {
    SimMouse m(SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    exchange(m, {0, 0x02, 0x01, 0x10, 0x00, 0, 0xAB, 0, 0x00});
    EXPECT_EQ(m.memory()[0x10], 0xFF);
    exchange(m, {0, 0x02, 0x01, 0x10, 0x00, 0, 0xAB, 0, 0x12});
    EXPECT_EQ(m.memory()[0x10], 0xAB);
    exchange(m, {0, 0x01, 0x88, 3, 0, 0, 0, 0, 0});
    EXPECT_EQ(m.working_settings().profile, 0);
}

TEST(SimMouse, MemoryWrapsAndTheTopHoldsButtonsNamesAndIdentity) {
    for (int size : {8192, 16384, 32768}) {
        SimMouse m(SimMouseConfig::family_mouse(7, 1, 3, 100, size));
        // A word written at 0xFFFF lands in the last byte and the first byte.
        exchange(m, {0, 0x02, 0x02, 0xFF, 0xFF, 0, 0x11, 0x22, 0x12});
        const auto memory = m.memory();
        EXPECT_EQ(memory[static_cast<std::size_t>(size - 1)], 0x11);
        EXPECT_EQ(memory[0], 0x22);
        // A new mouse: empty directory, no names, no identity, buttons without function.
        EXPECT_EQ(memory[0x20], 0xFF);
        EXPECT_EQ(memory[static_cast<std::size_t>(size - 75)], 0xFF);
        EXPECT_NE(memory[static_cast<std::size_t>(size - 2)], 0x12);
        const auto button = exchange(m, {0, 0x01, 0x05, 4, 11});
        EXPECT_EQ(button[2], 0x00);
        EXPECT_EQ(button[3], 0xFF);
        EXPECT_EQ(button[4], 0xFF);
        const auto limit = exchange(m, {0, 0x01, 0x0A});
        EXPECT_EQ(limit[2] | (limit[3] << 8), size - 256);
    }
}

TEST(SimMouse, StagedBlockIsCommittedByCount) {
    SimMouse m(SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    exchange(m, {0, 0x02, 0x03, 1, 2, 3, 4, 5, 6});
    exchange(m, {0, 0x02, 0x05, 7, 8, 9, 10, 11, 12});
    exchange(m, {0, 0x02, 0x04, 0x00, 0x09, 0, 8, 0, 0x12});
    const auto memory = m.memory();
    EXPECT_EQ(std::vector<std::uint8_t>(memory.begin() + 0x900, memory.begin() + 0x909),
              (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 0xFF}));
}

TEST(SimMouse, StoredStateSurvivesRestartsWorkingStateOnlyThePowerOn) {
    const auto dir = fresh_dir("persist");
    auto config = SimMouseConfig::family_mouse(7, 1, 3, 100, 16384);
    config.state_file_stem = dir / "mouse0";
    {
        SimMouse m(config);
        exchange(m, {0, 0x02, 0x02, 0x00, 0x0A, 0, 0x5A, 0xA5, 0x12});
        exchange(m, {0, 0x01, 0x85, 1, 2, 0x80, 0x34, 0x12, 0x12});
        exchange(m, {0, 0x01, 0x83, 0, 3, 40, 0, 0, 0x12});
        exchange(m, {0, 0x01, 0x02, 0, 0, 0, 0, 0, 0x12});
        exchange(m, {0, 0x07, 0x02, 9, 0x12});  // not committed
        exchange(m, {0, 0x00, 0x02, 7, 0, 0, 0, 0, 0x12});
    }
    SimMouse again(config);
    const auto memory = again.memory();
    EXPECT_EQ(memory[0xA00], 0x5A);
    EXPECT_EQ(memory[0xA01], 0xA5);
    const auto button = exchange(again, {0, 0x01, 0x05, 1, 2});
    EXPECT_EQ(button[2], 0x80);
    EXPECT_EQ(button[3] | (button[4] << 8), 0x1234);
    EXPECT_EQ(again.working_settings().dpi[3][0], 40);
    // A program restart is no power cycle: the mouse keeps its tag and working settings.
    EXPECT_EQ(again.working_settings().wheel_rate, 9);
    EXPECT_EQ(again.link_tag(), 7);
    again.unplug();
    again.plug();
    EXPECT_EQ(again.working_settings().wheel_rate, SimSettings{}.wheel_rate);
    EXPECT_EQ(again.working_settings().dpi[3][0], 40);
    EXPECT_EQ(again.link_tag(), 0) << "the link tag does not survive a power cycle";

    // A mouse of another size does not take this image.
    auto bigger = config;
    bigger.memory_size = 32768;
    bigger.state_file_stem = dir / "mouse0-other";
    SimMouse other(bigger);
    EXPECT_EQ(other.memory()[0xA00], 0xFF);
    std::filesystem::remove_all(dir);
}

TEST(SimMouse, RestartDropsUncommittedSettings) {
    SimMouse m(SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    exchange(m, {0, 0x01, 0x87, 3, 0, 0, 0, 0, 0x12});
    EXPECT_EQ(m.working_settings().dpi_level, 3);
    m.restart();
    EXPECT_EQ(m.working_settings(), m.stored_settings());
}

TEST(SimMouse, FaultsAsAHandleSeesThem) {
    SimMouse m(SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    m.set_faults({.feature_report_length = 65});
    EXPECT_EQ(m.collections()[0].feature_report_length, 65);
    EXPECT_FALSE(m.set_feature(FeatureReport{}));
    EXPECT_EQ(m.wrong_length_transfers(), 1);
    EXPECT_TRUE(m.requests().empty());

    m.set_faults({.unplug_after_exchanges = 1});
    exchange(m, {0, 0x01, 0x07});
    EXPECT_FALSE(m.present());
    FeatureReport r{};
    EXPECT_FALSE(m.get_feature(r));
    EXPECT_FALSE(m.indexed_string(120));
}

// Exactly the second request from now is lost: the mouse does nothing with it, and the ones
// before and after it go through.
TEST(SimMouse, FailOnceLosesExactlyOneRequest) {
    SimMouse m(SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    m.set_faults({.fail_exchange = 2});
    const FeatureReport write_a{0, 0x02, 0x01, 0x00, 0x09, 0, 0xA1, 0, 0x12};
    const FeatureReport write_b{0, 0x02, 0x01, 0x01, 0x09, 0, 0xB2, 0, 0x12};
    const FeatureReport write_c{0, 0x02, 0x01, 0x02, 0x09, 0, 0xC3, 0, 0x12};
    EXPECT_TRUE(m.set_feature(write_a));
    EXPECT_FALSE(m.set_feature(write_b));
    EXPECT_TRUE(m.set_feature(write_c));
    const auto memory = m.memory();
    EXPECT_EQ((std::vector<std::uint8_t>(memory.begin() + 0x900, memory.begin() + 0x903)),
              (std::vector<std::uint8_t>{0xA1, 0xFF, 0xC3}));
    EXPECT_TRUE(m.set_feature(write_b)) << "once only";
    EXPECT_EQ(m.requests(), (std::vector<FeatureReport>{write_a, write_c, write_b}));
    EXPECT_TRUE(m.present());
}

TEST(SimMouse, InputReportsCarryTheLinkTag) {
    SimMouse m(SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    exchange(m, {0, 0x00, 0x02, 42, 0, 0, 0, 0, 0x12});
    std::array<std::uint8_t, 16> buf{};
    EXPECT_EQ(m.read_input(buf, 0), 0);
    m.press_profile_button(3);
    m.press_dpi_button(2);
    m.tilt(-2);
    ASSERT_EQ(m.read_input(buf, 0), 8);
    EXPECT_EQ(std::vector<std::uint8_t>(buf.begin(), buf.begin() + 8),
              (std::vector<std::uint8_t>{kInputReportId, 0x12, 42, 1, 3, 0, 0, 0}));
    ASSERT_EQ(m.read_input(buf, 0), 8);
    EXPECT_EQ(std::vector<std::uint8_t>(buf.begin(), buf.begin() + 8),
              (std::vector<std::uint8_t>{kInputReportId, 0x12, 42, 2, 2, 0xFA, 16, 16}));
    ASSERT_EQ(m.read_input(buf, 0), 8);
    EXPECT_EQ(buf[3], 3);
    EXPECT_EQ(static_cast<std::int8_t>(buf[4]), -2);
    EXPECT_EQ(m.working_settings().profile, 3);
    EXPECT_EQ(m.working_settings().dpi_level, 2);
    m.set_faults({.unplugged = true});
    EXPECT_EQ(m.read_input(buf, 1000), -1) << "an unplugged mouse ends the wait";
}

TEST(SimMouse, ButtonPressesOnTwoThreadsRaiseOneEventEachWithTheirOwnValue) {
    SimMouse m(SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    constexpr int kPresses = 5000;
    auto presser = [&](int profile, int level) {
        for (int i = 0; i < kPresses; ++i) {
            m.press_profile_button(profile);
            m.press_dpi_button(level);
        }
    };
    std::thread a(presser, 1, 0);
    std::thread b(presser, 2, 3);
    a.join();
    b.join();

    std::map<std::pair<int, int>, int> counts;  // (event, value) -> events raised
    std::array<std::uint8_t, 8> buf{};
    std::array<std::uint8_t, 8> last_profile{}, last_dpi{};
    while (m.read_input(buf, 0) == 8) {
        ++counts[{buf[3], buf[4]}];
        (buf[3] == kEventProfile ? last_profile : last_dpi) = buf;
    }
    EXPECT_EQ(counts, (std::map<std::pair<int, int>, int>{{{kEventProfile, 1}, kPresses},
                                                          {{kEventProfile, 2}, kPresses},
                                                          {{kEventDpi, 0}, kPresses},
                                                          {{kEventDpi, 3}, kPresses}}));
    // The latest events tell the settings the mouse ended with.
    EXPECT_EQ(last_profile[4], m.working_settings().profile);
    EXPECT_EQ(last_dpi[4], m.working_settings().dpi_level);
}

TEST(SimBackend, ListsPluggedMiceAndOpensByPath) {
    SimBackend backend;
    backend.add(std::make_shared<SimMouse>(SimMouseConfig::family_mouse(7, 1, 3, 100, 8192)));
    backend.add(std::make_shared<SimMouse>(SimMouseConfig::variant_kp3()));
    EXPECT_EQ(backend.enumerate(), (std::vector<std::string>{"sim:mouse0", "sim:mouse1"}));
    auto handle = backend.open("sim:mouse1");
    ASSERT_TRUE(handle);
    EXPECT_EQ(handle->indexed_string(199), (std::vector<std::uint8_t>{'K', 'P', '-', '3'}));
    backend.mouse(1)->tilt(5);
    std::array<std::uint8_t, 8> input{};
    EXPECT_EQ(handle->read_input(input, 0), 8);
    EXPECT_EQ(input[4], 5);
    EXPECT_FALSE(backend.open("sim:mouse2"));
    EXPECT_FALSE(backend.open("sim:mouse"));
    EXPECT_FALSE(backend.open("sim:mouse1x"));
    backend.mouse(0)->set_faults({.unplugged = true});
    EXPECT_EQ(backend.enumerate(), (std::vector<std::string>{"sim:mouse1"}));
    EXPECT_FALSE(backend.open("sim:mouse0"));
}

}  // namespace
}  // namespace zentrik::sim
