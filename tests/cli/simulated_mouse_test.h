#pragma once
// What the zentrikctl tests on simulated mice share: a state folder of the test's own (named
// after the test, emptied before and after it) and device time that passes without waiting.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "cli/commands/device_session.h"
#include "tests/device/device_test_support.h"

namespace zentrik::cli {

class SimulatedMouseTest : public ::testing::Test {
  protected:
    explicit SimulatedMouseTest(std::string prefix) : prefix_(std::move(prefix)) {}
    void SetUp() override {
        // The process id keeps two builds running the same test at once apart.
        state_ = std::filesystem::temp_directory_path() /
                 (prefix_ +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(state_);
        use_device_timing(std::make_shared<device::testing::FakeTiming>());
    }
    void TearDown() override {
        use_device_timing(nullptr);
        std::filesystem::remove_all(state_);
    }

    std::filesystem::path state_;

  private:
    std::string prefix_;
};

}  // namespace zentrik::cli
