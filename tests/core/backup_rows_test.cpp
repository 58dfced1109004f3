// The window's backup, restore and reset buttons on the application core: dialogs, pointer
// input, the reload at the end.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/backup_rows.h"
#include "support/core_harness.h"

namespace zentrik::testing {
namespace {

class BackupRows : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ =
            std::filesystem::temp_directory_path() / ("zentrik-rows-" + std::string(info->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        h.start_and_load();
        core::install_backup_rows(*h.session, dir_ / "safety");
        h.clear_requests();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    CoreHarness h{{family_mouse(7, 1, 3, 90, 8192)}};
    std::filesystem::path dir_;
};

TEST_F(BackupRows, AnsweringNoToTheResetChangesNothingAndGivesPointerInputBack) {
    h.dialogs.answer(false);
    h.click("bt_reset");
    EXPECT_TRUE(h.requests().empty());
    EXPECT_EQ(h.board.live, 1);
    ASSERT_EQ(h.dialogs.shown().size(), 1u);
    EXPECT_EQ(h.dialogs.shown()[0].kind, "question");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "safety"));
}

TEST_F(BackupRows, ResetThenRestoreShowsTheBackedUpSettingsAgain) {
    h.set_value_and_click("dpi x", 1800);
    h.advance(3000);
    const auto before = h.session->model().snapshot().levels;

    h.dialogs.choose_file(dir_ / "mouse.mbf");
    h.click("bt_backup");
    ASSERT_TRUE(std::filesystem::exists(dir_ / "mouse.mbf"));

    h.dialogs.answer(true);
    h.click("bt_reset");
    EXPECT_EQ(h.board.live, 1);
    const auto reset = h.session->model().snapshot();
    EXPECT_EQ(reset.levels[0].x, 5);  // the table of a mouse with 90-DPI steps
    EXPECT_EQ(reset.level, 1);
    EXPECT_EQ(reset.rate_divisor, 2);

    h.dialogs.choose_file(dir_ / "mouse.mbf");
    h.dialogs.answer(true);
    h.click("bt_restore");
    EXPECT_EQ(h.board.live, 1);
    const auto restored = h.session->model().snapshot().levels;
    for (std::size_t l = 0; l < restored.size(); ++l) {
        EXPECT_EQ(restored[l].x, before[l].x) << l;
        EXPECT_EQ(restored[l].y, before[l].y) << l;
    }
    EXPECT_FALSE(h.session->progress_overlay().shown());
    // A safety copy before the reset and one before the restore; one message box: where the
    // backup went.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "safety"), {}), 2);
    std::vector<std::string> messages;
    for (const auto& s : h.dialogs.shown())
        if (s.kind == "message")
            messages.push_back(s.text);
    EXPECT_EQ(messages, std::vector<std::string>{"The backup of the mouse was saved to " +
                                                 (dir_ / "mouse.mbf").string() + "."});
}

// A qx9 shows a 100-DPI grid whatever its own step; the reset follows the mouse's own 90-DPI
// step, as zentrikctl's does.
TEST(BackupRowsReset, LevelsFollowTheMousesOwnStepNotTheGrid) {
    const auto dir = std::filesystem::temp_directory_path() / "zentrik-rows-own-step";
    std::filesystem::remove_all(dir);
    CoreHarness h{{family_mouse(0, 1, 3, 90, 8192)}};
    h.start_and_load();
    ASSERT_EQ(h.session->model().snapshot().dpi_step, 100);
    core::install_backup_rows(*h.session, dir / "safety");
    h.dialogs.answer(true);
    h.click("bt_reset");
    const auto levels = h.session->model().snapshot().levels;
    EXPECT_EQ(levels[0].x, 5);
    EXPECT_EQ(levels[3].x, 40);
    EXPECT_EQ(levels[3].y, 40);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zentrik::testing
