// zentrikctl's settings commands, run in-process against simulated mice kept in a temporary
// state directory; each run stands for a new process, so what one run stores the next reads.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <tuple>

#include "cli/cli_command.h"
#include "cli/commands/device_session.h"
#include "device/commands.h"
#include "sim/sim_setup.h"
#include "tests/cli/simulated_mouse_test.h"
#include "tests/device/device_test_support.h"

namespace zentrik::cli {
namespace {

using nlohmann::json;
using ::testing::HasSubstr;
using ::testing::Not;

// Default simulated mouse: model tag "qx19", sensor 1 (angle snapping, no wheel rate).
constexpr const char* kQx10 = "model=8,sensor=0";     // wheel rate, no angle snapping
constexpr const char* kSensor5 = "model=2,sensor=5";  // 200-DPI grid

class SettingsCommands : public SimulatedMouseTest {
  protected:
    SettingsCommands() : SimulatedMouseTest("zentrik-cli-settings-") {}

    int run(std::vector<std::string> args, const std::string& setup = "", bool trace = false) {
        std::string simulate = "--simulate=state=" + state_.string();
        if (!setup.empty())
            simulate += "," + setup;
        if (trace)
            args.insert(args.begin(), "--trace");
        args.insert(args.begin(), simulate);
        out_.str("");
        err_.str("");
        return run_cli(args, out_, err_);
    }

    json settings(const std::string& setup = "") {
        EXPECT_EQ(run({"settings", "--json"}, setup), 0) << err_.str();
        return json::parse(out_.str());
    }

    std::ostringstream out_, err_;
};

TEST_F(SettingsCommands, JsonShapeOfAFreshMouse) {
    const json s = settings(kQx10);
    EXPECT_EQ(s["mouse"]["index"], 0);
    EXPECT_EQ(s["mouse"]["model"], "qx10");
    EXPECT_EQ(s["mouse"]["sensor"], 0);
    ASSERT_EQ(s["profiles"].size(), 5u);
    for (const json& p : s["profiles"]) {
        ASSERT_EQ(p["buttons"].size(), 11u);
        EXPECT_EQ(p["name"], "");
    }
    const json& b4 = s["profiles"][2]["buttons"][4];
    EXPECT_EQ(b4["index"], 4);
    EXPECT_EQ(b4["button"], "Backward");
    EXPECT_EQ(b4["function"], "Backward");
    EXPECT_EQ(b4["remapped"], false);
    EXPECT_TRUE(b4["code"].is_null());
    // Sensor 0: 32 steps of the mouse's 100 DPI.
    EXPECT_EQ(s["dpi"]["step"], 100);
    EXPECT_EQ(s["dpi"]["min"], 100);
    EXPECT_EQ(s["dpi"]["max"], 3200);
    ASSERT_EQ(s["dpi"]["levels"].size(), 4u);
    EXPECT_EQ(s["dpi"]["levels"][3]["index"], 3);
    EXPECT_TRUE(s["dpi"]["levels"][3]["x"].is_number());
    EXPECT_TRUE(s["report_rate"].is_number());
    EXPECT_TRUE(s["angle_snap"].is_null());  // only sensor 1 snaps angles
    EXPECT_TRUE(s["wheel_rate"].is_number());

    const json snapping = settings();  // the default mouse: sensor 1, no wheel rate
    EXPECT_TRUE(snapping["angle_snap"].is_boolean());
    EXPECT_TRUE(snapping["wheel_rate"].is_null());
}

TEST_F(SettingsCommands, EachChangeIsStoredAndReadBackInANewRun) {
    ASSERT_EQ(run({"profile", "3"}), 0) << err_.str();
    ASSERT_EQ(run({"button", "3", "9", "VOLUME +"}), 0) << err_.str();
    ASSERT_EQ(run({"button", "1", "2", "0xff32"}), 0) << err_.str();
    ASSERT_EQ(run({"dpi", "2", "1200"}), 0) << err_.str();
    ASSERT_EQ(run({"dpi", "3", "800", "1600"}), 0) << err_.str();
    ASSERT_EQ(run({"level", "2"}), 0) << err_.str();
    ASSERT_EQ(run({"rate", "250"}), 0) << err_.str();
    ASSERT_EQ(run({"snap", "on"}), 0) << err_.str();
    ASSERT_EQ(run({"name", "3", "Games"}), 0) << err_.str();

    const json s = settings();
    EXPECT_EQ(s["profile"], 3);
    EXPECT_EQ(s["profiles"][3]["name"], "Games");
    EXPECT_EQ(s["profiles"][3]["buttons"][9]["function"], "Volume +");
    EXPECT_EQ(s["profiles"][3]["buttons"][9]["code"], "0xFF6E");
    EXPECT_EQ(s["profiles"][1]["buttons"][2]["function"], "Copy");
    EXPECT_EQ(s["profiles"][0]["buttons"][2]["function"], "Wheel click");
    EXPECT_EQ(s["dpi"]["levels"][2], json({{"index", 2}, {"x", 1200}, {"y", 1200}}));
    EXPECT_EQ(s["dpi"]["levels"][3], json({{"index", 3}, {"x", 800}, {"y", 1600}}));
    EXPECT_EQ(s["dpi"]["level"], 2);
    EXPECT_EQ(s["report_rate"], 250);
    EXPECT_EQ(s["angle_snap"], true);

    // The rate keeps the snapping bits, and snapping keeps the rate.
    ASSERT_EQ(run({"rate", "1000"}), 0);
    EXPECT_EQ(settings()["angle_snap"], true);
    ASSERT_EQ(run({"snap", "off"}), 0);
    EXPECT_EQ(settings()["report_rate"], 1000);
    EXPECT_EQ(settings()["angle_snap"], false);

    ASSERT_EQ(run({"wheel", "7"}, kQx10), 0) << err_.str();
    EXPECT_EQ(settings(kQx10)["wheel_rate"], 7);
}

TEST_F(SettingsCommands, WritesTheBytesTheMouseExpectsThenStores) {
    // Forward is button 3 in the program and number 4 on the mouse.
    ASSERT_EQ(run({"button", "2", "3", "copy"}, "", true), 0) << err_.str();
    EXPECT_THAT(err_.str(), HasSubstr("00 01 85 02 04 80 32 ff"));
    EXPECT_THAT(err_.str(), HasSubstr("00 01 02 00"));  // store the settings
    // The second extra button is number 10; its own function goes out as not remapped, 0xFFFF.
    ASSERT_EQ(run({"button", "0", "6", "Default"}, "", true), 0);
    EXPECT_THAT(err_.str(), HasSubstr("00 01 85 00 0a 00 ff ff"));
    ASSERT_EQ(run({"button", "0", "3", "forward"}, "", true), 0);
    EXPECT_THAT(err_.str(), HasSubstr("00 01 85 00 04 00 ff ff"));

    ASSERT_EQ(run({"dpi", "1", "1000", "400"}, kSensor5, true), 0) << err_.str();
    EXPECT_THAT(err_.str(), HasSubstr("00 01 83 00 01 05"));  // X: 5 steps of 200
    EXPECT_THAT(err_.str(), HasSubstr("00 01 83 01 01 02"));  // Y: 2 steps
    ASSERT_EQ(run({"rate", "125"}, "", true), 0);
    EXPECT_THAT(err_.str(), HasSubstr("00 01 8b 08"));
    ASSERT_EQ(run({"snap", "on"}, "", true), 0);
    EXPECT_THAT(err_.str(), HasSubstr("00 01 8b 68"));  // snapping 6, divisor 8 kept
    ASSERT_EQ(run({"level", "3"}, "", true), 0);
    EXPECT_THAT(err_.str(), HasSubstr("00 01 87 03"));
    // Rates between the powers of two: 333 Hz is divisor 3, 142 Hz divisor 7.
    ASSERT_EQ(run({"rate", "333"}, "", true), 0) << err_.str();
    EXPECT_THAT(err_.str(), HasSubstr("00 01 8b 63"));
    ASSERT_EQ(run({"rate", "142"}, "", true), 0) << err_.str();
    EXPECT_THAT(err_.str(), HasSubstr("00 01 8b 67"));
    EXPECT_EQ(settings()["report_rate"], 142);
}

TEST_F(SettingsCommands, RefusesWhatTheMouseCannotTake) {
    const auto refused = [&](std::vector<std::string> args, const std::string& setup,
                             const std::string& message) {
        EXPECT_EQ(run(args, setup, true), 2) << args[0];
        EXPECT_THAT(err_.str(), HasSubstr(message)) << args[0];
        EXPECT_THAT(err_.str(), Not(HasSubstr("00 01 02 00"))) << args[0] << ": nothing stored";
    };
    refused({"dpi", "0", "850"}, "", "takes 100 to 6300 DPI in steps of 100, not 850");
    refused({"dpi", "0", "800", "6400"}, "", "not 6400");
    refused({"dpi", "0", "1100"}, kSensor5, "takes 200 to 8200 DPI in steps of 200, not 1100");
    refused({"dpi", "4", "800"}, "", "LEVEL must be a number from 0 to 3");
    refused({"rate", "300"}, "", "1000, 500, 333, 250, 200, 166, 142 or 125");
    refused({"rate", "143"}, "", "not '143'");
    refused({"snap", "on"}, kQx10, "no angle snapping");
    refused({"snap", "maybe"}, "", "'on' or 'off'");
    refused({"wheel", "3"}, "", "no wheel rate");
    refused({"wheel", "10"}, kQx10, "from 1 to 9");
    refused({"profile", "5"}, "", "from 0 to 4");
    refused({"button", "0", "11", "copy"}, "", "from 0 to 10");
    refused({"button", "0", "1", "teleport"}, "", "unknown function 'teleport'");
    refused({"button", "0", "1", "0x1234"}, "", "unknown function");
    refused({"button", "0", "1", "adjust lift"}, kQx10, "no Adjust lift");
    refused({"button", "0", "1", "macro:0"}, "", "slot 0 holds no macro");
}

TEST_F(SettingsCommands, SomeButtonAlwaysKeepsTheLeftClick) {
    const std::string refusal = "no button of profile 1 would act as left click";
    EXPECT_EQ(run({"button", "1", "0", "copy"}), 2);
    EXPECT_THAT(err_.str(), HasSubstr(refusal));
    // Another button takes the left click; now button 0 may change, then that one may not.
    ASSERT_EQ(run({"button", "1", "8", "left click"}), 0);
    ASSERT_EQ(run({"button", "1", "0", "copy"}), 0) << err_.str();
    EXPECT_EQ(run({"button", "1", "8", "disable"}), 2);
    EXPECT_THAT(err_.str(), HasSubstr(refusal));
    // Giving button 0 its own function back is always allowed.
    ASSERT_EQ(run({"button", "1", "0", "default"}), 0);
    ASSERT_EQ(run({"button", "1", "8", "disable"}), 0);
    const json s = settings();
    EXPECT_EQ(s["profiles"][1]["buttons"][0]["function"], "Left click");
    EXPECT_EQ(s["profiles"][1]["buttons"][8]["function"], "Disable");
}

TEST_F(SettingsCommands, TextFormShowsNamesLevelsAndOptions) {
    ASSERT_EQ(run({"button", "0", "9", "0xFF0E"}, kQx10), 0);
    ASSERT_EQ(run({"settings"}, kQx10), 0) << err_.str();
    const std::string text = out_.str();
    EXPECT_THAT(text, HasSubstr("model qx10"));
    EXPECT_THAT(text, HasSubstr("   9  Scroll up           Speedup 2x\n"));
    EXPECT_THAT(text, HasSubstr("dpi 100-3200 in steps of 100"));
    EXPECT_THAT(text, HasSubstr("angle snap (not on this mouse)"));
    EXPECT_THAT(text, HasSubstr("(no name)"));
}

// Bit 7, and bit 7 over a snapping value, change neither the rate nor the snapping shown, and
// a rate change keeps the snapping without passing bit 7 on.
TEST_F(SettingsCommands, UpperBitsOfTheRateByteAreNotRateOrSnapping) {
    for (const auto& [byte, hz, snap, after_rate] : {std::tuple{0x82, 500, false, "00 01 8b 01"},
                                                     std::tuple{0xE4, 250, true, "00 01 8b 61"}}) {
        std::string error;
        auto backend =
            sim::make_sim_backend(*sim::parse_sim_setup("state=" + state_.string(), error));
        device::zklib lib(backend, std::make_shared<device::testing::FakeTiming>());
        lib.discover();
        ASSERT_EQ(device::write_rate_byte(lib, lib.path_of(0), static_cast<std::uint8_t>(byte)), 1);
        const json s = settings();
        EXPECT_EQ(s["report_rate"], hz) << byte;
        EXPECT_EQ(s["angle_snap"], snap) << byte;
        ASSERT_EQ(run({"rate", "1000"}, "", true), 0) << err_.str();
        EXPECT_THAT(err_.str(), HasSubstr(after_rate)) << byte;
    }
}

TEST_F(SettingsCommands, AFailedExchangeIsAFailureAndNothingIsStored) {
    // Replies that never complete: every exchange fails.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"settings"},
                                                 {"button", "0", "1", "copy"},
                                                 {"dpi", "0", "800"},
                                                 {"rate", "500"},
                                                 {"profile", "2"},
                                                 {"level", "1"}}) {
        EXPECT_EQ(run(args, "fault=never-done", true), 4) << args[0];
        EXPECT_THAT(err_.str(), HasSubstr("zentrikctl " + args[0] + ": the mouse did not"));
        EXPECT_THAT(err_.str(), Not(HasSubstr("00 01 02 00"))) << args[0] << ": nothing stored";
        EXPECT_EQ(out_.str(), "") << args[0];
    }
}

TEST_F(SettingsCommands, UsageAndMissingMouse) {
    EXPECT_EQ(run({"dpi", "--help"}), 0);
    EXPECT_THAT(out_.str(), HasSubstr("Usage: zentrikctl dpi"));
    EXPECT_EQ(run({"button", "0", "1"}), 2);
    EXPECT_THAT(err_.str(), HasSubstr("Usage: zentrikctl button"));
    EXPECT_EQ(run({"settings", "--device=3"}), 3);
    EXPECT_THAT(err_.str(), HasSubstr("there is no mouse 3"));
}

}  // namespace
}  // namespace zentrik::cli
