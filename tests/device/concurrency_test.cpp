// Exchanges from several threads never interleave: each thread's writes and reads of its own
// memory region stay consistent while discovery runs alongside.
#include <gtest/gtest.h>

#include <thread>

#include "device/commands.h"
#include "tests/device/device_test_support.h"

namespace zentrik::device {
namespace {

TEST(Concurrency, ThreadsShareOneLinkSafely) {
    testing::SimRig rig;
    rig.add_mouse(8192);
    rig.add_mouse(16384);
    rig.lib.discover();
    constexpr int kThreads = 4;
    constexpr int kRounds = 40;
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            const std::string path = t % 2 ? "sim:mouse1" : "sim:mouse0";
            const auto base = static_cast<std::uint16_t>(0x800 + 0x100 * t);
            for (int round = 0; round < kRounds; ++round) {
                std::vector<std::uint8_t> data(12, static_cast<std::uint8_t>(round + t));
                if (!write_memory_block(rig.lib, path, base, data))
                    ++failures[t];
                Report reply{};
                if (!read_memory(rig.lib, path, base, reply) || reply[2] != data[0] ||
                    reply[8] != data[6]) {
                    ++failures[t];
                }
                if (round % 10 == 0)
                    rig.lib.discover();
            }
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(failures, std::vector<int>(kThreads, 0));
    EXPECT_EQ(rig.lib.device_count(), 2);
}

}  // namespace
}  // namespace zentrik::device
