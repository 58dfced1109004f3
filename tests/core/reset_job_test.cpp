// The reset to defaults against the simulated mouse.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/backup_flows.h"
#include "core/backup_jobs.h"
#include "device/commands.h"
#include "tests/core/settings_test_support.h"

namespace zentrik::core {
namespace {

using testing::MouseRig;
using testing::RecordingProgress;
using testing::ScriptedDialogs;
using testing::TempDir;

class ResetJob : public ::testing::Test {
  protected:
    OverwriteOptions options() const { return {dir / "safety", {}}; }
    TempDir dir;
    RecordingProgress progress;
};

TEST_F(ResetJob, DpiLevelsFollowTheMousesDpiStepOnBothAxes) {
    const std::vector<std::pair<int, std::array<std::uint8_t, 4>>> cases = {
        {90, {5, 10, 20, 40}}, {200, {4, 8, 12, 16}}, {100, {4, 8, 16, 32}}};
    for (const auto& [step, levels] : cases) {
        MouseRig m(8192, step);
        ASSERT_TRUE(reset_mouse(m.rig.lib, m.device, progress, options()).ok());
        const auto s = m.mouse->stored_settings();
        for (std::size_t l = 0; l < 4; ++l) {
            EXPECT_EQ(s.dpi[l][0], levels[l]) << "step " << step << " level " << l;
            EXPECT_EQ(s.dpi[l][1], levels[l]) << "step " << step << " level " << l;
        }
    }
}

TEST_F(ResetJob, LeavesNoFunctionsNoNamesAnEmptyDirectoryAndTheDefaultSettings) {
    MouseRig m;
    m.fill(0x00);  // every button has a function, every name text, the directory is full
    const JobResult r = reset_mouse(m.rig.lib, m.device, progress, options());
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_TRUE(r.reload);
    ASSERT_TRUE(r.safety_copy);

    auto& lib = m.rig.lib;
    const auto& path = m.device.path;
    for (int p = 0; p < 5; ++p) {
        for (int b = 0; b < 11; ++b) {
            const auto fn = device::read_button(lib, path, p, b);
            ASSERT_TRUE(fn);
            EXPECT_FALSE(fn->kind & 0x80) << p << "/" << b;
            EXPECT_EQ(fn->value, 0xFFFF);
        }
        EXPECT_EQ(device::read_profile_name(lib, path, p), std::u16string());
    }
    const auto memory = m.mouse->memory();
    EXPECT_TRUE(std::all_of(memory.begin(), memory.begin() + 0x800,
                            [](std::uint8_t b) { return b == 0xFF; }));
    // The key byte goes to the limit the mouse reports back (on an 8 KiB mouse the first
    // button cell, which the button writes then clear).
    const auto requests = m.mouse->requests();
    const auto key = std::find_if(requests.begin(), requests.end(),
                                  [](const auto& q) { return q[1] == 0x02 && q[2] == 0x01; });
    ASSERT_NE(key, requests.end());
    EXPECT_EQ((*key)[3] | ((*key)[4] << 8), 0x1F00);
    EXPECT_EQ((*key)[6], 0x12);
    const auto s = m.mouse->stored_settings();
    EXPECT_EQ(s, m.mouse->working_settings());
    EXPECT_EQ(s.profile, 0);
    EXPECT_EQ(s.dpi_level, 1);
    EXPECT_EQ(s.rate_byte, 2);
    EXPECT_EQ(s.wheel_rate, 1);
    EXPECT_EQ(s.macro_limit, 0x1F00);
}

TEST_F(ResetJob, WritesTwelveButtonsPerProfileAndReportsItsProgress) {
    MouseRig m;
    ASSERT_TRUE(reset_mouse(m.rig.lib, m.device, progress, options()).ok());
    std::array<std::vector<int>, 5> written;
    for (const auto& r : m.mouse->requests()) {
        if (r[1] == 0x01 && r[2] == 0x85) {
            EXPECT_EQ(r[6] | (r[7] << 8), 0xFFFF);
            written[r[3]].push_back(r[4]);
        }
    }
    const std::vector<int> indices = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    for (const auto& w : written)
        EXPECT_EQ(w, indices);
    EXPECT_TRUE(progress.reached(0.2));
    EXPECT_TRUE(progress.reached(0.3));
    EXPECT_GE(progress.fractions.back(), 0.98);
    EXPECT_EQ(progress.begins, 1);
    EXPECT_EQ(progress.ends, 1);
}

TEST_F(ResetJob, AnsweringNoChangesNothing) {
    MouseRig m;
    ScriptedDialogs dialogs;
    dialogs.answer_yes = false;
    const JobResult r = run_reset(m.rig.lib, m.device, dialogs, progress, options());
    EXPECT_EQ(r.status, JobStatus::cancelled);
    EXPECT_FALSE(r.reload);
    EXPECT_EQ(dialogs.questions,
              std::vector<std::string>{"Reset|All setting will lose, continue?"});
    EXPECT_TRUE(m.mouse->requests().empty());
    EXPECT_EQ(progress.begins, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "safety"));
}

TEST_F(ResetJob, AFailedWriteStopsTheJobAndNamesTheSafetyCopy) {
    MouseRig m;
    ScriptedDialogs dialogs;
    m.mouse->set_faults({.unplug_after_exchanges = 1177 + 3 + 20});
    const JobResult r = run_reset(m.rig.lib, m.device, dialogs, progress, options());
    EXPECT_EQ(r.status, JobStatus::failed);
    EXPECT_TRUE(r.reload);
    ASSERT_TRUE(r.safety_copy);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_THAT(dialogs.messages[0], ::testing::HasSubstr("buttons of profile 2"));
    EXPECT_THAT(dialogs.messages[0], ::testing::HasSubstr(r.safety_copy->string()));
    EXPECT_EQ(progress.ends, 1);
}

}  // namespace
}  // namespace zentrik::core
