// Several programs on one simulated mouse: state shared through the state directory, hot-plug
// seen by device monitors, raised reports read by input streams, and state-file faults.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "sim/sim_backend.h"
#include "sim/sim_setup.h"

namespace zentrik::sim {
namespace {

using platform::DeviceChange;
using Reports = std::vector<std::vector<std::uint8_t>>;

std::filesystem::path fresh_dir(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("zentrik-sim-share-" + name + "-" +
                      std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(dir);
    return dir;
}

// One "program": its own backend over the mice in `dir`.
std::shared_ptr<SimBackend> program(const std::filesystem::path& dir, int mice = 1) {
    std::string error;
    auto setup = parse_sim_setup("memory=8,mice=" + std::to_string(mice), error);
    setup->state_dir = dir;
    return make_sim_backend(*setup);
}

FeatureReport exchange(SimMouse& m, FeatureReport request) {
    EXPECT_TRUE(m.set_feature(request));
    FeatureReport reply{};
    EXPECT_TRUE(m.get_feature(reply));
    return reply;
}

bool readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1;
}

// Waits a little for a descriptor that another "program" should have woken.
bool readable_soon(int fd) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 2000) == 1;
}

TEST(SimSharing, TwoProgramsSeeEachOthersWrites) {
    const auto dir = fresh_dir("writes");
    auto a = program(dir), b = program(dir);
    SimMouse& ma = *a->mouse(0);
    SimMouse& mb = *b->mouse(0);

    exchange(ma, {0, 0x02, 0x02, 0x00, 0x0A, 0, 0x5A, 0xA5, 0x12});  // memory word
    exchange(ma, {0, 0x00, 0x02, 9, 0, 0, 0, 0, 0x12});              // link tag
    exchange(ma, {0, 0x01, 0x87, 2, 0, 0, 0, 0, 0x12});              // working DPI level
    EXPECT_EQ(mb.memory()[0xA00], 0x5A);
    EXPECT_EQ(exchange(mb, {0, 0x00, 0x00, 0, 0, 0, 0, 0, 0x12})[7], 9);
    EXPECT_EQ(mb.working_settings().dpi_level, 2);
    EXPECT_EQ(mb.stored_settings().dpi_level, 1) << "not stored yet";

    // The other way round, and the store command.
    exchange(mb, {0, 0x01, 0x83, 0, 3, 40, 0, 0, 0x12});
    exchange(mb, {0, 0x01, 0x02, 0, 0, 0, 0, 0, 0x12});
    EXPECT_EQ(ma.stored_settings().dpi[3][0], 40);
    EXPECT_EQ(ma.stored_settings().dpi_level, 2);

    // A program started later finds the same power-on.
    auto c = program(dir);
    EXPECT_EQ(c->mouse(0)->link_tag(), 9);
    EXPECT_EQ(c->mouse(0)->memory()[0xA01], 0xA5);

    // A replug by one program is a new power-on for all: tag and working settings go.
    exchange(ma, {0, 0x07, 0x02, 7, 0x12});  // wheel rate, not stored
    mb.unplug();
    EXPECT_FALSE(ma.present());
    EXPECT_TRUE(a->enumerate().empty());
    EXPECT_FALSE(a->open("sim:mouse0"));
    FeatureReport r{};
    EXPECT_FALSE(ma.set_feature(r));
    c->mouse(0)->plug();
    EXPECT_TRUE(ma.present());
    EXPECT_EQ(ma.link_tag(), 0);
    EXPECT_EQ(mb.working_settings(), mb.stored_settings());
    EXPECT_EQ(ma.working_settings().wheel_rate, SimSettings{}.wheel_rate);

    // A reply pending when another program replugs the mouse is gone with the power.
    EXPECT_TRUE(ma.set_feature(FeatureReport{0, 0x01, 0x07}));
    mb.restart();
    EXPECT_TRUE(ma.get_feature(r));
    EXPECT_EQ(r[1], 0) << "neither busy nor done";
    std::filesystem::remove_all(dir);
}

// Two programs writing at once: neither loses the other's change, not even in the files that
// are written whole (working settings).
TEST(SimSharing, ConcurrentWritersLoseNothing) {
    const auto dir = fresh_dir("concurrent");
    auto a = program(dir), b = program(dir);
    constexpr int kWrites = 200;
    auto writer = [](SimMouse& m, std::uint8_t base, std::uint8_t level_axis) {
        for (int i = 0; i < kWrites; ++i) {
            const auto addr = static_cast<std::uint8_t>(base + 2 * i % 100);
            exchange(m, {0, 0x02, 0x01, addr, 0x01, 0, static_cast<std::uint8_t>(i), 0, 0x12});
            // DPI value of level i % 4 on this writer's own axis.
            exchange(m, {0, 0x01, 0x83, level_axis, static_cast<std::uint8_t>(i % 4),
                         static_cast<std::uint8_t>(i), 0, 0, 0x12});
        }
    };
    std::thread ta(writer, std::ref(*a->mouse(0)), 0, 0);
    std::thread tb(writer, std::ref(*b->mouse(0)), 1, 1);
    ta.join();
    tb.join();
    auto c = program(dir);
    const auto memory = c->mouse(0)->memory();
    const auto working = c->mouse(0)->working_settings();
    for (int level = 0; level < 4; ++level) {
        const int last = kWrites - 4 + level;  // the last value written to this level
        EXPECT_EQ(working.dpi[static_cast<std::size_t>(level)][0], last) << level;
        EXPECT_EQ(working.dpi[static_cast<std::size_t>(level)][1], last) << level;
    }
    for (int k = 0; k < 50; ++k) {  // the last round of each writer at each of its addresses
        EXPECT_EQ(memory[0x100 + 2 * k], 150 + k) << k;
        EXPECT_EQ(memory[0x100 + 2 * k + 1], 150 + k) << k;
    }
    EXPECT_EQ(a->mouse(0)->memory(), memory);
    std::filesystem::remove_all(dir);
}

TEST(SimSharing, MonitorReportsPlugChangesAtOnceInProcess) {
    for (const bool shared : {false, true}) {
        SCOPED_TRACE(shared ? "state in files" : "state=none");
        const auto dir = fresh_dir("monitor");
        std::string error;
        auto setup = parse_sim_setup("mice=2,memory=8,state=none", error);
        if (shared)
            setup->state_dir = dir;
        auto backend = make_sim_backend(*setup);
        auto monitor = backend->make_monitor();
        ASSERT_TRUE(monitor);
        EXPECT_GE(monitor->fd(), 0);
        EXPECT_TRUE(monitor->read_changes().empty()) << "mice there from the start are no news";

        backend->mouse(1)->unplug();
        EXPECT_TRUE(readable(monitor->fd()));
        auto changes = monitor->read_changes();
        ASSERT_EQ(changes.size(), 1u);
        EXPECT_EQ(changes[0].kind, DeviceChange::Kind::kRemoval);
        EXPECT_EQ(changes[0].path, "sim:mouse1");
        EXPECT_FALSE(readable(monitor->fd()));

        backend->mouse(1)->set_faults({});  // the fault switch plugs it back in
        changes = monitor->read_changes();
        ASSERT_EQ(changes.size(), 1u);
        EXPECT_EQ(changes[0].kind, DeviceChange::Kind::kArrival);
        EXPECT_EQ(changes[0].interface_bits, platform::kAllInterfaceBits);

        // Pulled out and back in between two reads: the program must still hear of it,
        // since the mouse forgot its link tag.
        backend->mouse(0)->unplug();
        backend->mouse(0)->plug();
        changes = monitor->read_changes();
        ASSERT_EQ(changes.size(), 2u);
        EXPECT_EQ(changes[0].kind, DeviceChange::Kind::kRemoval);
        EXPECT_EQ(changes[1].kind, DeviceChange::Kind::kArrival);
        EXPECT_EQ(changes[1].path, "sim:mouse0");

        // The unplug fault of a running exchange.
        backend->mouse(0)->set_faults({.unplug_after_exchanges = 1});
        exchange(*backend->mouse(0), {0, 0x01, 0x07});
        changes = monitor->read_changes();
        ASSERT_EQ(changes.size(), 1u);
        EXPECT_EQ(changes[0].kind, DeviceChange::Kind::kRemoval);

        // A mouse added later arrives.
        backend->add(std::make_shared<SimMouse>(SimMouseConfig::variant_kp3()));
        EXPECT_TRUE(readable(monitor->fd()));
        changes = monitor->read_changes();
        ASSERT_EQ(changes.size(), 1u);
        EXPECT_EQ(changes[0].path, "sim:mouse2");
        std::filesystem::remove_all(dir);
    }
}

TEST(SimSharing, MonitorFollowsAnotherProgram) {
    const auto dir = fresh_dir("monitor-x");
    auto window = program(dir, 2), ctl = program(dir, 2);
    auto monitor = window->make_monitor();
    ctl->mouse(1)->unplug();
    ASSERT_TRUE(readable_soon(monitor->fd()));
    auto changes = monitor->read_changes();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, DeviceChange::Kind::kRemoval);
    EXPECT_EQ(changes[0].path, "sim:mouse1");
    EXPECT_EQ(window->enumerate(), std::vector<std::string>{"sim:mouse0"});

    ctl->mouse(1)->plug();
    ASSERT_TRUE(readable_soon(monitor->fd()));
    changes = monitor->read_changes();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, DeviceChange::Kind::kArrival);
    std::filesystem::remove_all(dir);
}

TEST(SimSharing, EveryStreamReadsTheReportsOfEveryProgram) {
    const auto dir = fresh_dir("events");
    auto window = program(dir), other_window = program(dir), ctl = program(dir);
    ctl->mouse(0)->press_profile_button(1);  // before the streams open: not theirs
    exchange(*window->mouse(0), {0, 0x00, 0x02, 33, 0, 0, 0, 0, 0x12});

    auto first = window->open_input_reports("sim:mouse0");
    auto second = other_window->open_input_reports("sim:mouse0");
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(window->open_input_reports("sim:mouse7"));
    Reports got;
    EXPECT_TRUE(first->read_pending(got));
    EXPECT_TRUE(got.empty());

    ctl->mouse(0)->press_profile_button(2);
    ctl->mouse(0)->change_dpi(3, 12, 14);
    ctl->mouse(0)->change_wheel(1, 5, 6, 7);
    window->mouse(0)->tilt(-3);
    ASSERT_TRUE(readable_soon(second->fd()));
    const Reports expected = {{kInputReportId, 0x12, 33, 1, 2, 0, 0, 0},
                              {kInputReportId, 0x12, 33, 2, 3, 0xFA, 12, 14},
                              {kInputReportId, 0x12, 33, 11, 1, 5, 6, 7},
                              {kInputReportId, 0x12, 33, 3, 0xFD, 0, 0, 0}};
    for (auto* stream : {first.get(), second.get()}) {
        Reports reports;
        EXPECT_TRUE(stream->read_pending(reports));
        EXPECT_EQ(reports, expected);
        reports.clear();
        EXPECT_TRUE(stream->read_pending(reports));
        EXPECT_TRUE(reports.empty()) << "each report once";
    }
    EXPECT_EQ(window->mouse(0)->working_settings().wheel_rate, 7);
    EXPECT_EQ(window->mouse(0)->working_settings().dpi[3][1], 14);

    // The stream ends with the power-on, even when the mouse is back before it looks.
    ctl->mouse(0)->unplug();
    ctl->mouse(0)->plug();
    ctl->mouse(0)->tilt(1);
    Reports after;
    EXPECT_FALSE(first->read_pending(after));
    EXPECT_TRUE(after.empty());
    auto reopened = window->open_input_reports("sim:mouse0");
    ctl->mouse(0)->tilt(2);
    EXPECT_TRUE(reopened->read_pending(after));
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0][2], 0) << "the new power-on has no tag yet";
    EXPECT_EQ(after[0][4], 2);
    std::filesystem::remove_all(dir);
}

TEST(SimSharing, InProcessStreamWithoutStateFiles) {
    SimBackend backend;
    backend.add(std::make_shared<SimMouse>(SimMouseConfig::family_mouse(7, 1, 3, 100, 8192)));
    auto stream = backend.open_input_reports("sim:mouse0");
    ASSERT_TRUE(stream);
    backend.mouse(0)->press_dpi_button(2);
    EXPECT_TRUE(readable(stream->fd()));
    Reports reports;
    EXPECT_TRUE(stream->read_pending(reports));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0][3], kEventDpi);
    EXPECT_FALSE(readable(stream->fd()));
    backend.mouse(0)->unplug();
    EXPECT_FALSE(stream->read_pending(reports));
    EXPECT_FALSE(backend.open_input_reports("sim:mouse0"));
}

TEST(SimSharing, UnsavableStateFailsTheExchangeAndSaysSoOnce) {
    const auto dir = fresh_dir("unsavable");
    std::filesystem::create_directories(dir);
    // A state folder that cannot be made (a file is in the way), as with a read-only folder.
    std::ofstream(dir / "blocked") << "x";
    auto config = SimMouseConfig::family_mouse(7, 1, 3, 100, 8192);
    config.state_file_stem = dir / "blocked" / "mouse0-8k";
    testing::internal::CaptureStderr();
    SimMouse m(config);
    FeatureReport reply{};
    EXPECT_TRUE(m.set_feature(FeatureReport{0, 0x02, 0x00, 0xFC, 0xFF}));  // reads still work
    EXPECT_TRUE(m.get_feature(reply));
    EXPECT_FALSE(m.set_feature(FeatureReport{0, 0x02, 0x01, 0x00, 0x01, 0, 0x42, 0, 0x12}));
    EXPECT_FALSE(m.set_feature(FeatureReport{0, 0x00, 0x02, 5, 0, 0, 0, 0, 0x12}));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("cannot save"), std::string::npos) << err;
    EXPECT_EQ(err.find("cannot save"), err.rfind("cannot save")) << "said once: " << err;

    // The lock is there but one state file cannot be replaced.
    auto config2 = config;
    config2.state_file_stem = dir / "mouse1-8k";
    SimMouse m2(config2);
    std::filesystem::create_directories(dir / "mouse1-8k.power");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(m2.set_feature(FeatureReport{0, 0x00, 0x02, 5, 0, 0, 0, 0, 0x12}));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot save"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(SimSharing, DamagedMemoryFileIsMovedAsideNotOverwritten) {
    const auto dir = fresh_dir("damaged");
    std::filesystem::create_directories(dir);
    const std::vector<char> truncated(5000, 0x11);
    std::ofstream(dir / "mouse0-8k.mem", std::ios::binary).write(truncated.data(), 5000);
    testing::internal::CaptureStderr();
    auto backend = program(dir);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("5000 bytes"), std::string::npos) << err;

    std::vector<std::filesystem::path> aside;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        if (e.path().filename().string().rfind("mouse0-8k.mem.damaged-", 0) == 0)
            aside.push_back(e.path());
    }
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(std::filesystem::file_size(aside[0]), 5000u) << "the damaged file is kept whole";
    EXPECT_EQ(std::filesystem::file_size(dir / "mouse0-8k.mem"), 8192u);
    EXPECT_EQ(backend->mouse(0)->memory()[0], 0xFF);

    testing::internal::CaptureStderr();
    auto again = program(dir);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "a sound file is no news";
    std::filesystem::remove_all(dir);
}

// What stands at a state file's place but is no regular file is refused and said: a folder as
// the memory is moved aside like a damaged image, a FIFO or /dev/zero is never read (neither
// blocks nor reads without end). Links at the old fixed temporary names are never followed.
TEST(SimSharing, StateFilesThatAreNotRegularFilesAreRefusedWithoutHanging) {
    const auto dir = fresh_dir("irregular");
    std::filesystem::create_directories(dir / "mouse0-8k.mem");
    ASSERT_EQ(::mkfifo((dir / "mouse0-8k.settings").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir / "mouse0-8k.events").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir / "mouse0-8k.power");
    std::ofstream(dir / "victim") << "victim";
    for (const char* name : {"mouse0-8k.power.tmp", "mouse0-8k.settings.tmp", "mouse0-8k.mem.tmp"})
        std::filesystem::create_symlink(dir / "victim", dir / name);

    testing::internal::CaptureStderr();
    auto backend = program(dir);
    SimMouse& m = *backend->mouse(0);
    EXPECT_EQ(m.memory()[0], 0xFF);                                  // started erased
    exchange(m, FeatureReport{0, 0x00, 0x02, 5, 0, 0, 0, 0, 0x12});  // saves the power state
    SimInputCursor cursor = m.input_cursor();
    std::vector<std::vector<std::uint8_t>> reports;
    EXPECT_TRUE(m.read_input_log(cursor, reports));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("mouse0-8k.mem: is a folder"), std::string::npos) << err;
    EXPECT_NE(err.find("mouse0-8k.settings: is not a regular file"), std::string::npos) << err;

    std::ifstream victim(dir / "victim");
    std::string text;
    victim >> text;
    EXPECT_EQ(text, "victim");
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "mouse0-8k.power"));
    EXPECT_EQ(std::filesystem::file_size(dir / "mouse0-8k.mem"), 8192u);
    std::filesystem::remove_all(dir);
}

TEST(SimSharing, FaultsFromTheSpecText) {
    std::string error;
    auto setup =
        parse_sim_setup("fault=busy:3,fault=never-done,state=none,fault=unplug-after:2", error);
    ASSERT_TRUE(setup) << error;
    EXPECT_EQ(setup->faults.busy_reads, 3);
    EXPECT_TRUE(setup->faults.never_done);
    EXPECT_EQ(setup->faults.unplug_after_exchanges, 2);
    EXPECT_FALSE(setup->faults.garbage_replies);
    EXPECT_TRUE(parse_sim_setup("fault=garbage", error)->faults.garbage_replies);
    EXPECT_EQ(parse_sim_setup("fault=fail-once:7", error)->faults.fail_exchange, 7);
    for (const char* bad : {"fault=busy", "fault=busy:x", "fault=unplug-after:0", "fault=slow",
                            "fault=", "fault=garbage:1", "fault=fail-once:0", "fault=fail-once"}) {
        EXPECT_FALSE(parse_sim_setup(bad, error)) << bad;
    }

    // The mice start with them.
    auto backend = make_sim_backend(*parse_sim_setup("fault=busy:1,state=none", error));
    FeatureReport reply{};
    EXPECT_TRUE(backend->mouse(0)->get_feature(reply));
    EXPECT_EQ(reply[1], 0x80);
    EXPECT_TRUE(backend->mouse(0)->get_feature(reply));
    EXPECT_EQ(reply[1], 0x00);
}

}  // namespace
}  // namespace zentrik::sim
