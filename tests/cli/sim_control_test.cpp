// zentrikctl unplug, plug and event against a "running program": a backend of its own on the
// same state directory, as the window would hold.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_command.h"
#include "cli/exit_codes.h"
#include "sim/sim_setup.h"

namespace zentrik::cli {
namespace {

using ::testing::HasSubstr;
using Reports = std::vector<std::vector<std::uint8_t>>;

class SimControl : public ::testing::Test {
  protected:
    void SetUp() override {
        state_ = std::filesystem::temp_directory_path() /
                 ("zentrik-cli-sim-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(state_);
        std::string error;
        auto setup = sim::parse_sim_setup(spec(), error);
        window_ = sim::make_sim_backend(*setup);
    }
    void TearDown() override { std::filesystem::remove_all(state_); }

    std::string spec() const { return "mice=2,memory=8,state=" + state_.string(); }

    int run(std::vector<std::string> args) {
        args.insert(args.begin(), "--simulate=" + spec());
        out_.str("");
        err_.str("");
        return run_cli(args, out_, err_);
    }

    void give_tag(std::size_t mouse, std::uint8_t tag) {
        sim::SimMouse& m = *window_->mouse(mouse);
        ASSERT_TRUE(m.set_feature(sim::FeatureReport{0, 0x00, 0x02, tag, 0, 0, 0, 0, 0x12}));
        sim::FeatureReport reply{};
        ASSERT_TRUE(m.get_feature(reply));
    }

    std::filesystem::path state_;
    std::shared_ptr<sim::SimBackend> window_;
    std::ostringstream out_, err_;
};

TEST_F(SimControl, UnplugAndPlugReachARunningProgram) {
    give_tag(1, 0x44);
    auto monitor = window_->make_monitor();
    ASSERT_EQ(run({"unplug", "1"}), kExitOk) << err_.str();
    EXPECT_EQ(out_.str(), "sim:mouse1: unplugged\n");
    auto changes = monitor->read_changes();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, platform::DeviceChange::Kind::kRemoval);
    EXPECT_EQ(changes[0].path, "sim:mouse1");
    EXPECT_EQ(window_->enumerate(), std::vector<std::string>{"sim:mouse0"});

    ASSERT_EQ(run({"plug", "1"}), kExitOk) << err_.str();
    changes = monitor->read_changes();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, platform::DeviceChange::Kind::kArrival);
    EXPECT_EQ(window_->mouse(1)->link_tag(), 0) << "a replugged mouse has lost its tag";

    // Mouse 0 is the one meant when no number is given.
    ASSERT_EQ(run({"unplug"}), kExitOk);
    EXPECT_FALSE(window_->mouse(0)->present());
    EXPECT_TRUE(window_->mouse(1)->present());
}

TEST_F(SimControl, EventsReachAnOpenStreamWithTheMousesTag) {
    give_tag(1, 0x21);
    auto stream = window_->open_input_reports("sim:mouse1");
    ASSERT_TRUE(stream);
    EXPECT_EQ(run({"event", "1", "profile", "2"}), kExitOk) << err_.str();
    EXPECT_EQ(run({"event", "1", "dpi", "3", "12", "18"}), kExitOk) << err_.str();
    EXPECT_EQ(run({"event", "1", "wheel", "0", "4", "5", "6"}), kExitOk) << err_.str();
    EXPECT_EQ(run({"event", "1", "tilt", "-5"}), kExitOk) << err_.str();
    EXPECT_EQ(run({"event", "tilt", "1"}), kExitOk) << "mouse 0, not this stream's";
    Reports reports;
    ASSERT_TRUE(stream->read_pending(reports));
    EXPECT_EQ(reports, (Reports{{4, 0x12, 0x21, 1, 2, 0, 0, 0},
                                {4, 0x12, 0x21, 2, 3, 0xFA, 12, 18},
                                {4, 0x12, 0x21, 11, 0, 4, 5, 6},
                                {4, 0x12, 0x21, 3, 0xFB, 0, 0, 0}}));
    const auto working = window_->mouse(1)->working_settings();
    EXPECT_EQ(working.profile, 2);
    EXPECT_EQ(working.dpi_level, 0);
    EXPECT_EQ(working.wheel_rate, 6);
}

TEST_F(SimControl, BadCommandLinesChangeNothing) {
    auto stream = window_->open_input_reports("sim:mouse0");
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{"event"}, kExitUsage},
        {{"event", "jump"}, kExitUsage},
        {{"event", "profile"}, kExitUsage},
        {{"event", "profile", "5"}, kExitUsage},
        {{"event", "profile", "1", "2"}, kExitUsage},
        {{"event", "dpi", "4", "1", "1"}, kExitUsage},
        {{"event", "dpi", "1", "256", "1"}, kExitUsage},
        {{"event", "wheel", "1", "1", "1"}, kExitUsage},
        {{"event", "tilt", "128"}, kExitUsage},
        {{"event", "tilt", "0x3"}, kExitUsage},
        {{"event", "2", "tilt", "1"}, kExitNoMouse},
        {{"unplug", "x"}, kExitUsage},
        {{"unplug", "0", "1"}, kExitUsage},
        {{"plug", "2"}, kExitNoMouse},
    };
    for (const auto& [args, status] : cases) {
        EXPECT_EQ(run(args), status) << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_FALSE(err_.str().empty());
    }
    // Without --simulate there is no simulated mouse to act on.
    std::ostringstream out, err;
    EXPECT_EQ(run_cli({"unplug"}, out, err), kExitUsage);
    EXPECT_THAT(err.str(), HasSubstr("--simulate"));
    // An unplugged mouse raises nothing.
    ASSERT_EQ(run({"unplug", "0"}), kExitOk);
    EXPECT_EQ(run({"event", "tilt", "1"}), kExitNoMouse);
    EXPECT_THAT(err_.str(), HasSubstr("unplugged"));

    Reports reports;
    stream->read_pending(reports);
    EXPECT_TRUE(reports.empty());
    EXPECT_TRUE(window_->mouse(1)->present());
}

TEST_F(SimControl, AChangeOtherProgramsCannotSeeIsAFailure) {
    std::filesystem::create_directories(state_);
    std::ofstream(state_ / "file") << "in the way";
    const std::string spec = "--simulate=state=" + (state_ / "file" / "sim").string();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{spec, "unplug"}, {spec, "event", "tilt", "2"}}) {
        std::ostringstream out, err;
        EXPECT_EQ(run_cli(args, out, err), kExitBadFile) << args[1];
        EXPECT_THAT(err.str(), HasSubstr("could not be saved"));
    }
}

}  // namespace
}  // namespace zentrik::cli
