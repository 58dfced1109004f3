// zentrikctl's device subcommands, run in-process against simulated mice kept in a temporary
// state directory; each run_cli call stands for a new process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>

#include "cli/cli_command.h"
#include "cli/commands/device_session.h"
#include "cli/exit_codes.h"
#include "tests/cli/simulated_mouse_test.h"
#include "tests/device/device_test_support.h"
#include "tests/platform/descriptor_builder.h"

#include <nlohmann/json.hpp>

namespace zentrik::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::MatchesRegex;

class DeviceCommands : public SimulatedMouseTest {
  protected:
    DeviceCommands() : SimulatedMouseTest("zentrik-cli-test-") {}

    int run(std::vector<std::string> args, const std::string& setup = "") {
        std::string simulate = "--simulate=state=" + state_.string();
        if (!setup.empty())
            simulate += "," + setup;
        args.insert(args.begin(), simulate);
        out_.str("");
        err_.str("");
        return run_cli(args, out_, err_);
    }

    std::ostringstream out_, err_;
};

TEST_F(DeviceCommands, ListShowsEveryMouseWithIdentityAndMemory) {
    ASSERT_EQ(run({"list"}, "model=8,sensor=5,firmware=12,dpi-step=200,memory=32,mice=2"), 0)
        << err_.str();
    const std::string text = out_.str();
    EXPECT_THAT(text, MatchesRegex("0  sim:mouse0  model=8 sensor=5 firmware=12 dpi_step=200 "
                                   "identity=[0-9A-F]{4} memory=32768\n"
                                   "1  sim:mouse1  .* memory=32768\n"));
    // The identity given at the first listing is kept by the mouse.
    ASSERT_EQ(run({"list"}, "model=8,sensor=5,firmware=12,dpi-step=200,memory=32,mice=2"), 0);
    EXPECT_EQ(out_.str(), text);
}

// The JSON shapes scripts rely on: keys, types and the values the text output shows.
TEST_F(DeviceCommands, JsonOutputHasTheDocumentedShapes) {
    const std::string mice = "model=8,sensor=5,firmware=12,dpi-step=200,memory=32,mice=2";
    ASSERT_EQ(run({"--json", "list"}, mice), kExitOk) << err_.str();
    const auto list = nlohmann::json::parse(out_.str());
    ASSERT_EQ(list.at("mice").size(), 2u);
    const auto& first = list["mice"][0];
    EXPECT_EQ(first.at("index"), 0);
    EXPECT_EQ(first.at("path"), "sim:mouse0");
    EXPECT_EQ(first.at("model"), 8);
    EXPECT_EQ(first.at("sensor"), 5);
    EXPECT_EQ(first.at("firmware"), 12);
    EXPECT_EQ(first.at("dpi_step"), 200);
    EXPECT_EQ(first.at("memory"), 32768);
    EXPECT_THAT(first.at("identity").get<std::string>(), MatchesRegex("[0-9A-F]{4}"));

    // --json also works after the command; identify reports the identity list gave.
    ASSERT_EQ(run({"identify", "--json"}, mice), kExitOk) << err_.str();
    const auto identify = nlohmann::json::parse(out_.str());
    EXPECT_EQ(identify.at("identity"), first.at("identity"));
    EXPECT_EQ(identify.at("memory"), 32768);

    ASSERT_EQ(run({"name", "1", "Sniper"}, mice), kExitOk) << err_.str();
    ASSERT_EQ(run({"--json", "names"}, mice), kExitOk) << err_.str();
    const auto names = nlohmann::json::parse(out_.str());
    ASSERT_EQ(names.at("profiles").size(), 5u);
    EXPECT_EQ(names["profiles"][1].at("name"), "Sniper");
    EXPECT_EQ(names["profiles"][1].at("profile"), 2);
    EXPECT_TRUE(names["profiles"][0].at("name").is_null());
}

TEST_F(DeviceCommands, ExitStatusesTellFailuresApart) {
    EXPECT_EQ(run({"--json", "read", "0"}), kExitUsage);  // read prints no JSON
    EXPECT_THAT(err_.str(), HasSubstr("no JSON output"));
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(run({"identify", "--device=5"}), kExitNoMouse);
    // Every usage error is one line on stderr that points to the help.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--bogus"},
                                                 {"list", "extra"},
                                                 {"names", "extra"},
                                                 {"read"},
                                                 {"name", "1"}}) {
        EXPECT_EQ(run(args), kExitUsage) << args[0];
        const std::string message = err_.str();
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
        EXPECT_THAT(message, HasSubstr("--help"));
    }
}

TEST_F(DeviceCommands, TracePrintsEachExchange) {
    const std::vector<std::string> args = {"--simulate=state=" + state_.string(), "--trace",
                                           "identify"};
    ASSERT_EQ(run_cli(args, out_, err_), 0);
    EXPECT_THAT(out_.str(), MatchesRegex("sim:mouse0  identity=[0-9A-F]{4} memory=16384\n"));
    EXPECT_THAT(err_.str(), HasSubstr("00 02 00 fc ff 00 00 00 12  delay 0  ->  00 00 ff ff ff "
                                      "ff ff ff ff  2.00 ms  sim:mouse0\n"));
    EXPECT_THAT(err_.str(), HasSubstr("00 02 01 fe ff 00 12 00 12  delay 1  ->  "));
}

TEST_F(DeviceCommands, NamesWrittenInOneRunAreReadInTheNext) {
    ASSERT_EQ(run({"name", "2", "Games"}), 0) << err_.str();
    ASSERT_EQ(run({"name", "0", "Büro-Arbeit"}), 0);
    EXPECT_THAT(err_.str(), HasSubstr("storing 'Büro-A'"));
    ASSERT_EQ(run({"names"}), 0);
    EXPECT_EQ(out_.str(),
              "0  profile 1  Büro-A\n1  profile 2  (no name)\n2  profile 3  Games\n"
              "3  profile 4  (no name)\n4  profile 5  (no name)\n");
}

TEST_F(DeviceCommands, ReadDumpsMemoryAcrossTheWrap) {
    ASSERT_EQ(run({"name", "0", "AB"}), 0);
    ASSERT_EQ(run({"read", "0xffb5", "4"}), 0);
    EXPECT_EQ(out_.str(), "ffb5: 41 00 42 00\n");
    ASSERT_EQ(run({"read", "fffe", "20"}, "memory=8"), 0);
    EXPECT_THAT(out_.str(), MatchesRegex("fffe: 12 ff( ff){14}\n000e: ff ff ff ff\n"));
}

TEST_F(DeviceCommands, SecondMouseIsAddressedByNumber) {
    ASSERT_EQ(run({"name", "--device=1", "4", "Two"}, "mice=2"), 0);
    ASSERT_EQ(run({"names", "--device=1"}, "mice=2"), 0);
    EXPECT_THAT(out_.str(), HasSubstr("4  profile 5  Two\n"));
    ASSERT_EQ(run({"names"}, "mice=2"), 0);
    EXPECT_THAT(out_.str(), HasSubstr("4  profile 5  (no name)\n"));
    EXPECT_EQ(run({"names", "--device=2"}, "mice=2"), kExitNoMouse);
    EXPECT_THAT(err_.str(), HasSubstr("there is no mouse 2"));
}

TEST_F(DeviceCommands, BadArgumentsGetAMessageAndAnError) {
    const std::vector<std::vector<std::string>> bad = {
        {"read"},           {"read", "zz"},         {"read", "10000"},
        {"read", "0", "0"}, {"read", "0", "16385"}, {"read", "0", "1", "2"},
        {"name", "5", "x"}, {"name", "-1", "x"},    {"name", "1"},
        {"names", "x"},     {"list", "x"},          {"identify", "--device=x"},
    };
    for (const auto& args : bad) {
        EXPECT_EQ(run(args), kUsageError) << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_THAT(err_.str(), HasSubstr("zentrikctl")) << args[0];
    }
    out_.str("");
    err_.str("");
    EXPECT_EQ(run_cli({"--simulate=memory=12", "list"}, out_, err_), kUsageError);
    EXPECT_THAT(err_.str(), HasSubstr("memory: 8, 16 or 32"));
}

TEST_F(DeviceCommands, UnansweredVariantIsNotListed) {
    EXPECT_EQ(run({"list"}, "variant=kp3"), kExitNoMouse);
    EXPECT_THAT(err_.str(), HasSubstr("no mouse found"));
}

// Attached mice that the commands see without --simulate.
class AttachedMice : public DeviceCommands {
  protected:
    void SetUp() override {
        DeviceCommands::SetUp();
        // Where the simulated mouse would keep its state if it stood in.
        const char* old = std::getenv("XDG_STATE_HOME");
        old_state_home_ = old ? std::optional<std::string>(old) : std::nullopt;
        ::setenv("XDG_STATE_HOME", state_.c_str(), 1);
    }
    void TearDown() override {
        use_system_backend({});
        if (old_state_home_)
            ::setenv("XDG_STATE_HOME", old_state_home_->c_str(), 1);
        else
            ::unsetenv("XDG_STATE_HOME");
        DeviceCommands::TearDown();
    }
    int run_attached(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return run_cli(args, out_, err_);
    }
    std::optional<std::string> old_state_home_;
};

// A hidraw node that shows the mouse's link collection but may not be opened, with what the
// udev probe recorded about its device.
class LockedNode final : public platform::HidBackend {
  public:
    explicit LockedNode(std::optional<bool> verdict) : verdict_(verdict) {}
    std::vector<std::string> enumerate() override { return {"/dev/hidraw7"}; }
    std::unique_ptr<platform::HidHandle> open(const std::string&) override { return nullptr; }
    std::optional<std::vector<std::uint8_t>> report_descriptor(const std::string&) override {
        return platform::hid::test::vendor_feature_collection();
    }
    std::string open_failure(const std::string&) override { return "Permission denied"; }
    std::optional<bool> family_verdict(const std::string&) override { return verdict_; }

  private:
    std::optional<bool> verdict_;
};

TEST_F(AttachedMice, AMouseThatCannotBeOpenedFailsInsteadOfSimulating) {
    use_system_backend([] { return std::make_shared<LockedNode>(true); });
    for (const char* command : {"list", "identify", "names", "settings", "macros"}) {
        EXPECT_EQ(run_attached({command}), kExitDevice) << command;
        EXPECT_EQ(err_.str(),
                  "zentrikctl: /dev/hidraw7 is a mouse of the family but cannot be opened "
                  "(Permission denied); install the udev rule that gives you access to it (see "
                  "README: device access)\n")
            << command;
        EXPECT_EQ(out_.str(), "");
    }
    EXPECT_FALSE(std::filesystem::exists(state_)) << "no simulated mouse state was written";
}

// Another maker's device with a look-alike collection: the probe's "not one" leaves it alone,
// and without any verdict it is only a hint beside the simulated mouse.
TEST_F(AttachedMice, ALookAlikeNodeWithoutTheProbesVerdictIsOnlyAHint) {
    use_system_backend([] { return std::make_shared<LockedNode>(false); });
    EXPECT_EQ(run_attached({"list"}), 0);
    EXPECT_EQ(err_.str(), "zentrikctl: no mouse attached; using the simulated mouse\n");
    use_system_backend([] { return std::make_shared<LockedNode>(std::nullopt); });
    EXPECT_EQ(run_attached({"list"}), 0);
    EXPECT_THAT(err_.str(), HasSubstr("/dev/hidraw7 may be a mouse of the family but cannot be "
                                      "opened (Permission denied); if it is one"));
    EXPECT_THAT(err_.str(), HasSubstr("using the simulated mouse"));
    EXPECT_THAT(out_.str(), HasSubstr("sim:mouse0"));
}

TEST_F(AttachedMice, AMouseThatDoesNotAnswerIsListedWithoutIdentity) {
    auto backend = std::make_shared<sim::SimBackend>();
    auto silent =
        std::make_shared<sim::SimMouse>(sim::SimMouseConfig::family_mouse(8, 1, 3, 100, 16384));
    auto answering =
        std::make_shared<sim::SimMouse>(sim::SimMouseConfig::family_mouse(7, 1, 3, 100, 8192));
    backend->add(silent);
    backend->add(answering);
    use_system_backend([backend] { return backend; });
    silent->set_faults({.never_done = true});

    EXPECT_EQ(run_attached({"list"}), kExitDevice);
    EXPECT_THAT(out_.str(), MatchesRegex("0  sim:mouse0  model=8 .* identity=\\? memory=\\?\n"
                                         "1  sim:mouse1  .* identity=[0-9A-F]{4} memory=8192\n"));
    EXPECT_THAT(err_.str(), HasSubstr("mouse 0 (sim:mouse0) did not answer"));
    EXPECT_EQ(run_attached({"identify"}), kExitDevice);
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(run_attached({"read", "0"}), kExitDevice);
    EXPECT_EQ(silent->memory()[16384 - 2], 0xFF) << "no identity was written to it";
}

TEST_F(DeviceCommands, HelpTextsExist) {
    for (const char* name : {"list", "identify", "read", "names", "name"}) {
        out_.str("");
        EXPECT_EQ(run_cli({name, "--help"}, out_, err_), 0);
        EXPECT_THAT(out_.str(), HasSubstr(std::string("Usage: zentrikctl ") + name));
    }
}

}  // namespace
}  // namespace zentrik::cli
