// Exchanges from several threads never interleave, and a block write is never split by another
// thread's stages: each thread's writes of its own memory region read back intact while
// discovery runs alongside.
#include <gtest/gtest.h>

#include <thread>

#include "device/commands.h"
#include "tests/device/device_test_support.h"

namespace zentrik::device {
namespace {

TEST(Concurrency, ThreadsShareOneLinkSafely) {
    testing::SimRig rig;
    auto mouse = rig.add_mouse(8192);
    rig.lib.discover();
    constexpr int kThreads = 4;
    constexpr int kRounds = 150;
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            const auto base = static_cast<std::uint16_t>(0x800 + 0x40 * t);
            for (int round = 0; round < kRounds; ++round) {
                std::vector<std::uint8_t> data(32);
                for (std::size_t i = 0; i < data.size(); ++i) {
                    data[i] = static_cast<std::uint8_t>(t * 64 + round + i);
                }
                if (!write_memory_block(rig.lib, "sim:mouse0", base, data))
                    ++failures[t];
                for (std::size_t at = 0; at < data.size(); at += 7) {
                    Report reply{};
                    const auto address = static_cast<std::uint16_t>(base + at);
                    if (!read_memory(rig.lib, "sim:mouse0", address, reply))
                        ++failures[t];
                    for (std::size_t i = 0; i < 7 && at + i < data.size(); ++i) {
                        if (reply[2 + i] != data[at + i])
                            ++failures[t];
                    }
                }
                if (round % 25 == 0)
                    rig.lib.discover();
            }
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(failures, std::vector<int>(kThreads, 0));
    EXPECT_EQ(rig.lib.device_count(), 1);
}

}  // namespace
}  // namespace zentrik::device
