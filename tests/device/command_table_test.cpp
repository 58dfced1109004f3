// Every command's request bytes and delay, as the exchange trace records them: one row per
// command, so a wrong byte or delay in any of them fails here.
#include <gtest/gtest.h>

#include <functional>

#include "device/commands.h"
#include "device/transport.h"
#include "tests/device/device_test_support.h"

namespace zentrik::device {
namespace {

using testing::SimRig;

constexpr const char* kPath = "sim:mouse0";

struct Sent {
    Report request;
    int delay_ms;
    bool operator==(const Sent&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Sent& s) {
    ExchangeTrace t;
    t.request = s.request;
    t.delay_ms = s.delay_ms;
    return out << format_exchange(t);
}

class CommandTable : public ::testing::Test {
  protected:
    void SetUp() override {
        rig_.add_mouse(8192);
        rig_.lib.discover();
        rig_.lib.set_trace([this](const ExchangeTrace& t) {
            sent_.push_back({t.request, t.delay_ms});
        });
    }
    std::vector<Sent> run(const std::function<void(zklib&)>& command) {
        sent_.clear();
        command(rig_.lib);
        return sent_;
    }

    SimRig rig_;
    std::vector<Sent> sent_;
};

TEST_F(CommandTable, EachCommandSendsItsBytesWithItsDelay) {
    int x = 0, y = 0;
    Report reply{};
    const struct {
        const char* name;
        std::function<void(zklib&)> command;
        Sent expected;
    } rows[] = {
        {"commit_settings",
         [](zklib& l) { commit_settings(l, kPath); },
         {{0, 0x01, 0x02, 0, 0, 0, 0, 0, 0x12}, 150}},
        {"read_dpi_values",
         [&](zklib& l) { read_dpi_values(l, kPath, 2, x, y); },
         {{0, 0x01, 0x03, 0, 2, 0, 0, 0, 0}, 10}},
        {"write_dpi_value",
         [](zklib& l) { write_dpi_value(l, kPath, 1, 3, 0x2A); },
         {{0, 0x01, 0x83, 1, 3, 0x2A, 0, 0, 0x12}, 10}},
        {"read_button",
         [](zklib& l) { read_button(l, kPath, 4, 10); },
         {{0, 0x01, 0x05, 4, 10, 0, 0, 0, 0}, 10}},
        {"write_button",
         [](zklib& l) { write_button(l, kPath, 3, 7, true, 0xBEEF); },
         {{0, 0x01, 0x85, 3, 7, 0x80, 0xEF, 0xBE, 0x12}, 20}},
        {"write_button none",
         [](zklib& l) { write_button(l, kPath, 0, 1, false, 0xFFFF); },
         {{0, 0x01, 0x85, 0, 1, 0x00, 0xFF, 0xFF, 0x12}, 20}},
        {"read_dpi_level",
         [](zklib& l) { read_dpi_level(l, kPath); },
         {{0, 0x01, 0x07, 0, 0, 0, 0, 0, 0}, 10}},
        {"write_dpi_level",
         [](zklib& l) { write_dpi_level(l, kPath, 2); },
         {{0, 0x01, 0x87, 2, 0, 0, 0, 0, 0x12}, 10}},
        {"read_profile",
         [](zklib& l) { read_profile(l, kPath); },
         {{0, 0x01, 0x08, 0x02, 0x12, 0, 0, 0, 0}, 10}},
        {"write_profile",
         [](zklib& l) { write_profile(l, kPath, 4); },
         {{0, 0x01, 0x88, 4, 0, 0, 0, 0, 0x12}, 10}},
        {"read_macro_limit",
         [](zklib& l) { read_macro_limit(l, kPath); },
         {{0, 0x01, 0x0A, 0, 0, 0, 0, 0, 0}, 10}},
        {"write_macro_limit",
         [](zklib& l) { write_macro_limit(l, kPath, 0x1F00); },
         {{0, 0x01, 0x8A, 0x00, 0x1F, 0, 0, 0, 0x12}, 10}},
        {"read_rate_byte",
         [](zklib& l) { read_rate_byte(l, kPath); },
         {{0, 0x01, 0x0B, 0, 0, 0, 0, 0, 0}, 10}},
        {"write_rate_byte",
         [](zklib& l) { write_rate_byte(l, kPath, 0x32); },
         {{0, 0x01, 0x8B, 0x32, 0, 0, 0, 0, 0}, 10}},
        {"read_link_tag",
         [](zklib& l) { read_link_tag(l, kPath); },
         {{0, 0x00, 0x00, 0, 0, 0, 0, 0, 0x12}, 10}},
        {"write_link_tag",
         [](zklib& l) { write_link_tag(l, kPath, 0xC8); },
         {{0, 0x00, 0x02, 0xC8, 0, 0, 0, 0, 0x12}, 10}},
        {"read_wheel_rate",
         [](zklib& l) { read_wheel_rate(l, kPath); },
         {{0, 0x07, 0x00, 0, 0, 0, 0, 0, 0}, 10}},
        {"listing_request",
         [](zklib& l) { listing_request(l, kPath); },
         {{0, 0x07, 0x01, 1, 0, 0, 0, 0, 0}, 10}},
        {"write_wheel_rate",
         [](zklib& l) { write_wheel_rate(l, kPath, 5); },
         {{0, 0x07, 0x02, 5, 0x12, 0, 0, 0, 0}, 10}},
        {"read_memory",
         [&](zklib& l) { read_memory(l, kPath, 0xABCD, reply); },
         {{0, 0x02, 0x00, 0xCD, 0xAB, 0, 0, 0, 0x12}, 0}},
        {"write_memory_byte",
         [](zklib& l) { write_memory_byte(l, kPath, 0x1234, 0x56); },
         {{0, 0x02, 0x01, 0x34, 0x12, 0, 0x56, 0, 0x12}, 1}},
        {"write_memory_word",
         [](zklib& l) { write_memory_word(l, kPath, 0xFFFC, 0xA5, 0x00); },
         {{0, 0x02, 0x02, 0xFC, 0xFF, 0, 0xA5, 0x00, 0x12}, 1}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(run(row.command), std::vector<Sent>{row.expected}) << row.name;
    }
}

TEST_F(CommandTable, BlockAndPageWritesStageThenCommit) {
    std::array<std::uint8_t, 32> data{};
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(0x40 + i);
    // Bytes past the block's end (`n`) are sent as zeros.
    auto stage = [&](std::uint8_t code, std::size_t first, std::size_t count, std::size_t n = 32) {
        Report r{0, 0x02, code};
        for (std::size_t i = 0; i < count && first + i < n; ++i)
            r[3 + i] = data[first + i];
        return Sent{r, 1};
    };
    auto commit = [](std::uint8_t n, int delay) {
        return Sent{{0, 0x02, 0x04, 0x00, 0x20, 0, n, 0, 0x12}, delay};
    };
    const auto block = [&](std::size_t n) {
        return run(
            [&](zklib& l) { write_memory_block(l, kPath, 0x2000, std::span(data).first(n)); });
    };
    EXPECT_EQ(block(3), (std::vector<Sent>{stage(0x03, 0, 6, 3), commit(3, 1)}));
    EXPECT_EQ(block(7), (std::vector<Sent>{stage(0x03, 0, 6), stage(0x05, 6, 6, 7), commit(7, 2)}));
    EXPECT_EQ(block(32),
              (std::vector<Sent>{stage(0x03, 0, 6), stage(0x05, 6, 6), stage(0x06, 12, 6),
                                 stage(0x07, 18, 6), stage(0x08, 24, 6), stage(0x09, 30, 2),
                                 commit(32, 10)}));
    // Stages 0x06 to 0x08 end with commit delays 3, 6 and 9.
    EXPECT_EQ(block(13).back().delay_ms, 3);
    EXPECT_EQ(block(19).back().delay_ms, 6);
    EXPECT_EQ(block(25).back().delay_ms, 9);

    const auto page = run([&](zklib& l) { write_memory_page(l, kPath, 0x0120, data); });
    EXPECT_EQ(page, (std::vector<Sent>{stage(0x03, 0, 6), stage(0x05, 6, 6), stage(0x06, 12, 6),
                                       stage(0x07, 18, 6), stage(0x08, 24, 6), stage(0x09, 30, 2),
                                       Sent{{0, 0x02, 0x0A, 0x20, 0x01, 0, 0, 0, 0x12}, 1}}));
}

}  // namespace
}  // namespace zentrik::device
