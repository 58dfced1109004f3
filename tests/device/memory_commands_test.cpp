// Memory commands: the requests of block and page writes, their commit delays, wrap-around.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

#include "device/commands.h"
#include "tests/device/device_test_support.h"

namespace zentrik::device {
namespace {

using testing::SimRig;

constexpr const char* kPath = "sim:mouse0";

std::vector<std::uint8_t> counting(std::size_t n, std::uint8_t first = 0x30) {
    std::vector<std::uint8_t> v(n);
    std::iota(v.begin(), v.end(), first);
    return v;
}

std::vector<std::uint8_t> codes_of(const std::vector<sim::FeatureReport>& requests) {
    std::vector<std::uint8_t> codes;
    for (const auto& r : requests)
        codes.push_back(r[2]);
    return codes;
}

struct BlockCase {
    std::size_t n;
    std::vector<std::uint8_t> stages;
    int commit_delay;
};

class WriteMemoryBlock : public ::testing::TestWithParam<BlockCase> {};

TEST_P(WriteMemoryBlock, StagesInOrderThenCommitsWithTheDelayOfTheLastStage) {
    const BlockCase c = GetParam();
    SimRig rig;
    auto mouse = rig.add_mouse();
    const auto data = counting(c.n);
    ASSERT_EQ(write_memory_block(rig.lib, kPath, 0x0900, data), 1);

    auto expected_codes = c.stages;
    expected_codes.push_back(0x04);
    const auto requests = mouse->requests();
    EXPECT_EQ(codes_of(requests), expected_codes);
    const auto& commit = requests.back();
    EXPECT_THAT(commit, ::testing::ElementsAre(0, 0x02, 0x04, 0x00, 0x09, 0, c.n, 0, 0x12));
    // Every stage is one exchange with delay 1 (sleeps 1, 1, 1); the commit comes last.
    const auto sleeps = rig.timing->sleeps();
    const std::vector<int> commit_sleeps = c.commit_delay > 4
                                               ? std::vector<int>{2, c.commit_delay, 3}
                                               : std::vector<int>{1, c.commit_delay, 1};
    ASSERT_EQ(sleeps.size(), 3 * requests.size());
    EXPECT_EQ(std::vector<int>(sleeps.end() - 3, sleeps.end()), commit_sleeps);

    const auto memory = mouse->memory();
    EXPECT_EQ(std::vector<std::uint8_t>(memory.begin() + 0x900, memory.begin() + 0x900 + c.n),
              data);
    EXPECT_EQ(memory[0x900 + c.n], 0xFF) << "nothing written past the block";
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, WriteMemoryBlock,
    ::testing::Values(BlockCase{3, {0x03}, 1}, BlockCase{6, {0x03}, 1},
                      BlockCase{7, {0x03, 0x05}, 2}, BlockCase{13, {0x03, 0x05, 0x06}, 3},
                      BlockCase{19, {0x03, 0x05, 0x06, 0x07}, 6},
                      BlockCase{25, {0x03, 0x05, 0x06, 0x07, 0x08}, 9},
                      BlockCase{31, {0x03, 0x05, 0x06, 0x07, 0x08, 0x09}, 10},
                      BlockCase{32, {0x03, 0x05, 0x06, 0x07, 0x08, 0x09}, 10}));

TEST(WriteMemoryBlockShort, ZeroOneAndTwoBytes) {
    SimRig rig;
    auto mouse = rig.add_mouse();
    EXPECT_EQ(write_memory_block(rig.lib, kPath, 0x900, {}), 0);
    EXPECT_EQ(write_memory_block(rig.lib, kPath, 0x900, counting(33)), 0);
    EXPECT_TRUE(mouse->requests().empty());
    EXPECT_TRUE(rig.timing->sleeps().empty());

    ASSERT_EQ(write_memory_block(rig.lib, kPath, 0x0901, std::vector<std::uint8_t>{0xAA}), 1);
    EXPECT_EQ(mouse->requests().back(), (Report{0, 2, 1, 0x01, 0x09, 0, 0xAA, 0, 0x12}));
    rig.timing->clear();
    ASSERT_EQ(write_memory_block(rig.lib, kPath, 0x0904, std::vector<std::uint8_t>{0xBB, 0xCC}), 1);
    EXPECT_EQ(mouse->requests().back(), (Report{0, 2, 2, 0x04, 0x09, 0, 0xBB, 0xCC, 0x12}));
    EXPECT_EQ(rig.timing->sleeps(), (std::vector<int>{1, 1, 1, 1})) << "1 ms after the word";
    EXPECT_EQ(mouse->memory()[0x901], 0xAA);
    EXPECT_EQ(mouse->memory()[0x905], 0xCC);
}

TEST(WriteMemoryBlockShort, StageBytesPastTheBlockAreZero) {
    SimRig rig;
    auto mouse = rig.add_mouse();
    const std::vector<std::uint8_t> three = {1, 2, 3};
    ASSERT_EQ(write_memory_block(rig.lib, kPath, 0x900, three), 1);
    EXPECT_EQ(mouse->requests()[0], (Report{0, 2, 3, 1, 2, 3, 0, 0, 0}));
}

TEST(WriteMemoryBlockFailure, StopsAtTheFirstFailedStageWithoutCommitting) {
    SimRig rig;
    auto mouse = rig.add_mouse();
    mouse->set_faults({.unplug_after_exchanges = 2});
    EXPECT_EQ(write_memory_block(rig.lib, kPath, 0x900, counting(32)), 0);
    EXPECT_EQ(codes_of(mouse->requests()), (std::vector<std::uint8_t>{0x03, 0x05}));
    EXPECT_EQ(mouse->memory()[0x900], 0xFF);
}

TEST(WriteMemoryPage, SixStagesThenPageCommit) {
    SimRig rig;
    auto mouse = rig.add_mouse();
    const auto data = counting(32, 0x80);
    ASSERT_EQ(write_memory_page(rig.lib, kPath, 0x0A20, std::span<const std::uint8_t, 32>(data)),
              1);
    EXPECT_EQ(codes_of(mouse->requests()),
              (std::vector<std::uint8_t>{0x03, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A}));
    EXPECT_EQ(mouse->requests()[5], (Report{0, 2, 9, 0x9E, 0x9F, 0, 0, 0, 0}));
    EXPECT_EQ(mouse->requests()[6], (Report{0, 2, 0x0A, 0x20, 0x0A, 0, 0, 0, 0x12}));
    EXPECT_EQ(rig.timing->sleeps(), std::vector<int>(21, 1));
    const auto memory = mouse->memory();
    EXPECT_EQ(std::vector<std::uint8_t>(memory.begin() + 0xA20, memory.begin() + 0xA40), data);
}

TEST(ReadMemory, AddressesWrapModuloTheMemorySize) {
    for (int size : {8192, 16384, 32768}) {
        SimRig rig;
        auto mouse = rig.add_mouse(size);
        const std::array<std::uint8_t, 4> tail = {0x11, 0x22, 0x33, 0x44};
        mouse->poke_memory(static_cast<std::uint16_t>(size - 4), tail);
        const std::array<std::uint8_t, 3> head = {0x55, 0x66, 0x77};
        mouse->poke_memory(0, head);
        Report high{}, low{};
        ASSERT_EQ(read_memory(rig.lib, kPath, 0xFFFC, high), 1);
        ASSERT_EQ(read_memory(rig.lib, kPath, static_cast<std::uint16_t>(size - 4), low), 1);
        EXPECT_EQ(high, low);
        EXPECT_THAT(high, ::testing::ElementsAre(0, 0, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77));
        EXPECT_EQ(mouse->requests()[0], (Report{0, 2, 0, 0xFC, 0xFF, 0, 0, 0, 0x12}));
    }
}

TEST(ReadMemory, FailedReadReportsFailure) {
    SimRig rig;
    rig.add_mouse()->set_faults({.never_done = true});
    Report reply{};
    EXPECT_EQ(read_memory(rig.lib, kPath, 0, reply), 0);
}

}  // namespace
}  // namespace zentrik::device
