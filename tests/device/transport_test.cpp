// The busy/done handshake: its exact sleeps, its retry limits and what reaches the caller.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/commands.h"
#include "device/transport.h"
#include "tests/device/device_test_support.h"

namespace zentrik::device {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::ScriptedBackend;
using testing::ScriptedInterface;
using testing::SimRig;

const Report kReadIdentity = {0, 0x02, 0x00, 0xFC, 0xFF, 0, 0, 0, 0x12};

TEST(Transport, SleepsAroundTheDelayDependOnIt) {
    struct Case {
        int delay;
        std::vector<int> sleeps;
    };
    for (const Case& c : {Case{0, {1, 1}}, Case{1, {1, 1, 1}}, Case{4, {1, 4, 1}},
                          Case{5, {2, 5, 3}}, Case{150, {2, 150, 3}}}) {
        SimRig rig;
        rig.add_mouse();
        Report reply{};
        ASSERT_EQ(transfer(rig.lib, "sim:mouse0", kReadIdentity, reply, c.delay), 1);
        EXPECT_EQ(rig.timing->sleeps(), c.sleeps) << "delay " << c.delay;
    }
}

TEST(Transport, BusyMouseGetsTheRequestAfterItIsReady) {
    SimRig rig;
    auto mouse = rig.add_mouse();
    mouse->set_faults({.busy_reads = 2});
    Report reply{};
    ASSERT_EQ(transfer(rig.lib, "sim:mouse0", kReadIdentity, reply, 10), 1);
    EXPECT_EQ(rig.timing->sleeps(), (std::vector<int>{4, 4, 2, 10, 3}));
    EXPECT_EQ(mouse->requests().size(), 1u);
}

TEST(Transport, GivesUpAfter21BusyReadsWithoutSending) {
    SimRig rig;
    auto mouse = rig.add_mouse();
    mouse->set_faults({.busy_reads = 1000});
    Report reply{};
    EXPECT_EQ(transfer(rig.lib, "sim:mouse0", kReadIdentity, reply, 0), 0);
    EXPECT_EQ(rig.timing->sleeps(), std::vector<int>(20, 4));
    EXPECT_EQ(mouse->faults().busy_reads, 1000 - 21);
    EXPECT_TRUE(mouse->requests().empty());
}

TEST(Transport, GivesUpAfter201ReadsWithoutDone) {
    SimRig rig;
    auto mouse = rig.add_mouse();
    mouse->set_faults({.never_done = true});
    Report reply{0, 1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(transfer(rig.lib, "sim:mouse0", kReadIdentity, reply, 10), 0);
    std::vector<int> expected = {2, 10};
    expected.insert(expected.end(), 200, 4);
    EXPECT_EQ(rig.timing->sleeps(), expected);
    EXPECT_EQ(reply, Report{}) << "no stale bytes are left in a failed reply";
}

TEST(Transport, FailedReadsCountAsBusyAndAsNotDone) {
    auto iface = std::make_shared<ScriptedInterface>();
    iface->reads = {std::nullopt,
                    testing::busy_status(),
                    testing::idle_status(),  // status
                    std::nullopt,
                    testing::idle_status(),  // not yet
                    testing::done_reply({0x41, 0x34, 0x12})};
    testing::FakeTiming* timing = nullptr;
    auto t = std::make_shared<testing::FakeTiming>();
    timing = t.get();
    zklib lib(std::make_shared<ScriptedBackend>(iface), t);
    Report reply{};
    ASSERT_EQ(transfer(lib, "scripted", kReadIdentity, reply, 0), 1);
    EXPECT_EQ(timing->sleeps(), (std::vector<int>{4, 4, 1, 4, 4, 1}));
    // Status bits 7 and 6 are cleared, bits 0-5 reach the caller: 0x41 becomes 0x01.
    EXPECT_THAT(reply, ElementsAre(0, 0x01, 0x34, 0x12, 0, 0, 0, 0, 0));
    ASSERT_EQ(iface->sent.size(), 1u);
    EXPECT_EQ(iface->sent[0], kReadIdentity);
}

TEST(Transport, RequestAndReplyMayShareOneBuffer) {
    SimRig rig;
    auto mouse = rig.add_mouse(8192);
    const std::array<std::uint8_t, 3> bytes = {0xAB, 0xCD, 0x12};
    mouse->poke_memory(0x1FFC, bytes);
    Report buffer = kReadIdentity;
    buffer[0] = 0x55;  // the transport writes the report id itself
    ASSERT_EQ(transfer(rig.lib, "sim:mouse0", buffer, buffer, 0), 1);
    EXPECT_EQ(buffer[2], 0xAB);
    EXPECT_EQ(buffer[3], 0xCD);
    EXPECT_EQ(mouse->requests().at(0), kReadIdentity);
}

TEST(Transport, InterfaceWithAnotherReportLengthIsNeverWritten) {
    for (int length : {8, 65}) {
        SimRig rig;
        auto mouse = rig.add_mouse();
        mouse->set_faults({.feature_report_length = length});
        Report reply{};
        EXPECT_EQ(transfer(rig.lib, "sim:mouse0", kReadIdentity, reply, 0), 0);
        EXPECT_EQ(write_memory_byte(rig.lib, "sim:mouse0", 0x10, 0x77), 0);
        EXPECT_TRUE(mouse->requests().empty());
        EXPECT_EQ(mouse->wrong_length_transfers(), 0) << "not even attempted";
        EXPECT_TRUE(rig.timing->sleeps().empty());
    }
}

TEST(Transport, UnpluggedMouseFailsAtOnce) {
    SimRig rig;
    auto mouse = rig.add_mouse();
    mouse->set_faults({.unplugged = true});
    Report reply{};
    EXPECT_EQ(transfer(rig.lib, "sim:mouse0", kReadIdentity, reply, 10), 0);
    EXPECT_EQ(transfer(rig.lib, "sim:nothing", kReadIdentity, reply, 10), 0);
    EXPECT_TRUE(rig.timing->sleeps().empty());
}

TEST(Transport, RequestThatCannotBeSentIsNotAnsweredByTheLastReply) {
    // The status before the send still carries the previous reply's done bit, and the mouse
    // never got the request: what it keeps answering is that previous reply.
    auto iface = std::make_shared<ScriptedInterface>();
    iface->set_feature_result = false;
    for (int i = 0; i < 300; ++i)
        iface->reads.push_back(testing::done_reply({0, 0x11}));
    auto timing = std::make_shared<testing::FakeTiming>();
    zklib lib(std::make_shared<ScriptedBackend>(iface), timing);
    Report reply{};
    EXPECT_EQ(transfer(lib, "scripted", kReadIdentity, reply, 0), 0);
    EXPECT_EQ(reply, Report{}) << "the previous reply is not passed on";
    EXPECT_EQ(iface->get_calls, 1 + kDoneReads);
}

// A firmware that acts on the request but fails the status stage of the set-feature: the reply
// is still waited for and taken, and the trace says what happened; once the device is gone the
// exchange ends at once.
TEST(Transport, AFailedSendStillWaitsForTheReplyWhileTheDeviceIsThere) {
    auto iface = std::make_shared<ScriptedInterface>();
    iface->set_feature_result = false;
    iface->reads = {testing::idle_status(), testing::idle_status(), testing::done_reply({0, 0x99})};
    auto timing = std::make_shared<testing::FakeTiming>();
    zklib lib(std::make_shared<ScriptedBackend>(iface), timing);
    std::vector<std::string> lines;
    lib.set_trace([&](const ExchangeTrace& t) { lines.push_back(format_exchange(t)); });
    Report reply{};
    EXPECT_EQ(transfer(lib, "scripted", kReadIdentity, reply, 0), 1);
    EXPECT_EQ(reply[2], 0x99);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("00 00 99 00 00 00 00 00 00  (send failed)"), std::string::npos)
        << lines[0];

    iface->gone = true;
    iface->get_calls = 0;
    iface->reads = {std::nullopt, testing::done_reply({0, 0x99})};
    EXPECT_EQ(transfer(lib, "scripted", kReadIdentity, reply, 0), 0);
    EXPECT_EQ(iface->get_calls, 1) << "no retries on a device that is gone";
    EXPECT_NE(lines.back().find("failed (device gone)"), std::string::npos) << lines.back();
}

// A link collection that numbers its feature report is written and read with that number.
TEST(Transport, ANumberedLinkReportCarriesItsReportId) {
    auto iface = std::make_shared<ScriptedInterface>();
    iface->collections = {{1, 2, 0, 0, 9, 0x05}};
    iface->reads = {testing::idle_status(), testing::done_reply({0, 0x42})};
    auto timing = std::make_shared<testing::FakeTiming>();
    zklib lib(std::make_shared<ScriptedBackend>(iface), timing);
    Report reply{};
    EXPECT_EQ(transfer(lib, "scripted", kReadIdentity, reply, 0), 1);
    ASSERT_EQ(iface->sent.size(), 1u);
    EXPECT_EQ(iface->sent[0][0], 0x05);
    EXPECT_EQ(iface->read_ids, (std::vector<std::uint8_t>{0x05, 0x05}));
    EXPECT_EQ(reply[0], 0) << "callers see the body as always";
    EXPECT_EQ(reply[2], 0x42);
}

// The node is opened once for the session, not per exchange, and anew after a failure (the
// mouse may have been unplugged and plugged in again) or once it is no longer listed.
TEST(Transport, TheLinkNodeStaysOpenForTheSession) {
    SimRig rig;
    auto mouse = rig.add_mouse(8192);
    rig.lib.discover();
    Report reply{};
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(transfer(rig.lib, "sim:mouse0", kReadIdentity, reply, 0), 1);
    EXPECT_EQ(rig.lib.links().opens(), 1);
    mouse->unplug();
    EXPECT_EQ(transfer(rig.lib, "sim:mouse0", kReadIdentity, reply, 0), 0);
    mouse->plug();
    EXPECT_EQ(transfer(rig.lib, "sim:mouse0", kReadIdentity, reply, 0), 1);
    EXPECT_EQ(rig.lib.links().opens(), 2) << "reopened after the failure";
    EXPECT_EQ(rig.lib.remove_device("SIM:MOUSE0"), 1);
    EXPECT_EQ(transfer(rig.lib, "sim:mouse0", kReadIdentity, reply, 0), 1);
    EXPECT_EQ(rig.lib.links().opens(), 3) << "closed with the removal";
}

TEST(Transport, TraceHasOneLinePerExchange) {
    SimRig rig;
    auto mouse = rig.add_mouse(8192);
    mouse->set_faults({.unplug_after_exchanges = 2});
    std::vector<std::string> lines;
    rig.lib.set_trace([&](const ExchangeTrace& t) { lines.push_back(format_exchange(t)); });
    Report reply{};
    transfer(rig.lib, "sim:mouse0", kReadIdentity, reply, 0);
    transfer(rig.lib, "sim:mouse0", kReadIdentity, reply, 10);
    transfer(rig.lib, "sim:mouse0", kReadIdentity, reply, 0);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0],
              "00 02 00 fc ff 00 00 00 12  delay 0  ->  00 00 ff ff ff ff ff ff ff  2.00 ms");
    EXPECT_EQ(lines[1],
              "00 02 00 fc ff 00 00 00 12  delay 10  ->  00 00 ff ff ff ff ff ff ff  15.00 ms");
    EXPECT_EQ(lines[2], "00 02 00 fc ff 00 00 00 12  delay 0  ->  failed (cannot open)  0.00 ms");
}

}  // namespace
}  // namespace zentrik::device
