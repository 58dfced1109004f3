// Backup and restore against the simulated mouse: what is read and written, in which order,
// what the file holds, and what is refused before anything is sent.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "core/backup_flows.h"
#include "core/backup_jobs.h"
#include "core/backup_macro_limit.h"
#include "core/mouse_memory.h"
#include "device/commands.h"
#include "macro/macro_file.h"
#include "macro/macro_memory.h"
#include "tests/core/settings_test_support.h"

namespace zentrik::core {
namespace {

using ::testing::HasSubstr;
using testing::MouseRig;
using testing::RecordingProgress;
using testing::ScriptedDialogs;
using testing::TempDir;

std::string read_text(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void write_text(const std::filesystem::path& p, const std::string& s) {
    std::ofstream(p, std::ios::binary) << s;
}

// Requests as "class/code" words, consecutive repeats folded into "xN".
std::vector<std::string> request_kinds(const sim::SimMouse& mouse, std::size_t from = 0) {
    std::vector<std::string> out;
    const auto requests = mouse.requests();
    for (std::size_t i = from; i < requests.size(); ++i) {
        char text[8];
        std::snprintf(text, sizeof text, "%02x/%02x", requests[i][1], requests[i][2]);
        out.emplace_back(text);
    }
    return out;
}

BackupFile file_for(const MouseRig& m, std::uint8_t seed) {
    BackupFile b;
    b.date = "2026-01-02";
    b.settings.rate_divisor = 4;
    b.settings.wheel_rate = 6;
    b.settings.levels = {{{3, 6}, {9, 12}, {15, 18}, {21, 24}}};
    b.image.resize(static_cast<std::size_t>(m.device.memory_size));
    for (std::size_t i = 0; i < b.image.size(); ++i)
        b.image[i] = static_cast<std::uint8_t>(seed + i * 13);
    return b;
}

class BackupJobs : public ::testing::Test {
  protected:
    OverwriteOptions options() {
        return {dir / "safety", [this] { ++before_writes; }};
    }
    TempDir dir;
    MouseRig m;
    RecordingProgress progress;
    int before_writes = 0;
};

TEST_F(BackupJobs, BackupReadsTheMemorySevenBytesAtATimeAndWritesTheFile) {
    m.fill(0x21);
    const BackupSettings current{2, 3, {{{4, 4}, {8, 8}, {16, 16}, {32, 30}}}};
    const auto target = dir / "a.mbf";
    const JobResult r = backup_to_file(m.rig.lib, m.device, current, target, progress);
    ASSERT_TRUE(r.ok()) << r.message;

    const auto requests = m.mouse->requests();
    ASSERT_EQ(requests.size(), 1170u);  // a = 0, 7, ..., 8183
    for (std::size_t i = 0; i < requests.size(); ++i) {
        ASSERT_EQ(requests[i][1], 0x02);
        ASSERT_EQ(requests[i][2], 0x00);
        ASSERT_EQ(requests[i][3] | (requests[i][4] << 8), static_cast<int>(i * 7));
    }
    const auto decoded = load_backup_file(target);
    ASSERT_EQ(decoded.error, BackupFileError::none);
    EXPECT_EQ(decoded.backup.settings, current);
    const auto memory = m.mouse->memory();
    EXPECT_TRUE(std::equal(memory.begin(), memory.end() - 4, decoded.backup.image.begin()));
    EXPECT_EQ(progress.begins, 1);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_TRUE(progress.reached(8183.0 / 8192));
    EXPECT_EQ(dir.names(), std::vector<std::string>{"a.mbf"});
}

TEST_F(BackupJobs, BackupOverAnExistingFileKeepsItsMode) {
    namespace fs = std::filesystem;
    const auto target = dir / "a.mbf";
    write_text(target, "the earlier backup");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(backup_to_file(m.rig.lib, m.device, {}, target, progress).ok());
    EXPECT_EQ(load_backup_file(target).error, BackupFileError::none);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(BackupJobs, BackupThatFailsPartWayLeavesTheOldFileAndNoOther) {
    const auto target = dir / "a.mbf";
    write_text(target, "the earlier backup");
    m.mouse->set_faults({.unplug_after_exchanges = 100});
    const JobResult r = backup_to_file(m.rig.lib, m.device, {}, target, progress);
    EXPECT_EQ(r.status, JobStatus::failed);
    EXPECT_EQ(r.message, "error: the mouse stopped answering while it was read; " +
                             target.string() + " was not written.");
    EXPECT_EQ(read_text(target), "the earlier backup");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"a.mbf"});
    EXPECT_EQ(progress.ends, 1);
}

TEST_F(BackupJobs, BackupToADirectoryThatCannotHoldItFailsBeforeReading) {
    const JobResult r =
        backup_to_file(m.rig.lib, m.device, {}, dir / "missing" / "a.mbf", progress);
    EXPECT_EQ(r.status, JobStatus::failed);
    EXPECT_TRUE(r.file_failed);
    // Says which file and why, not only "error".
    EXPECT_EQ(r.message.rfind("error: cannot write '" + (dir / "missing").string(), 0), 0u)
        << r.message;
    EXPECT_NE(r.message.find("No such file or directory"), std::string::npos) << r.message;
    EXPECT_TRUE(m.mouse->requests().empty());
}

TEST_F(BackupJobs, RestoreOfAnotherMemorySizeSendsNothing) {
    MouseRig big(16384);
    const JobResult r = restore_backup(m.rig.lib, m.device, file_for(big, 1), progress, options());
    EXPECT_EQ(r.status, JobStatus::refused);
    EXPECT_EQ(r.message, "memory size doesn't match !!");
    EXPECT_TRUE(m.mouse->requests().empty());
    EXPECT_EQ(before_writes, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "safety"));
}

TEST_F(BackupJobs, RestoreWritesInOrderAndSparesTheLastFourBytes) {
    m.fill(0x40);
    const auto before = m.mouse->memory();
    const BackupFile file = file_for(m, 7);
    const JobResult r = restore_backup(m.rig.lib, m.device, file, progress, options());
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_TRUE(r.reload);
    EXPECT_EQ(before_writes, 1);

    const auto after = m.mouse->memory();
    EXPECT_TRUE(std::equal(after.begin(), after.end() - 4, file.image.begin()));
    EXPECT_TRUE(std::equal(after.end() - 4, after.end(), before.end() - 4));

    // The safety copy's reads (identity, rate, 4 levels, 1170 memory reads; this model has no
    // wheel rate to read) come first.
    const auto kinds = request_kinds(*m.mouse, 1176);
    std::vector<std::string> expected = {"01/8b", "07/02"};
    for (int level = 0; level < 4; ++level)
        expected.insert(expected.end(), {"01/83", "01/83"});
    expected.push_back("01/8a");  // the macro limit
    for (int page = 0; page < 255; ++page) {
        expected.insert(expected.end(),
                        {"02/03", "02/05", "02/06", "02/07", "02/08", "02/09", "02/0a"});
    }
    expected.insert(expected.end(), 14, "02/02");
    expected.insert(expected.end(), {"01/88", "01/88", "01/02"});
    EXPECT_EQ(kinds, expected);
    const auto requests = m.mouse->requests();
    EXPECT_EQ(requests[requests.size() - 3][3], 1);  // profile 1, then 0
    EXPECT_EQ(requests[requests.size() - 2][3], 0);
    const auto last_word = requests[requests.size() - 4];
    EXPECT_EQ(last_word[3] | (last_word[4] << 8), 8192 - 32 + 26);

    // The box names both phases, each a run from 0 to 1.
    EXPECT_EQ(progress.texts, (std::vector<std::string>{"Saving a safety copy\u2026",
                                                        "Writing the backup to the mouse\u2026"}));
    EXPECT_TRUE(progress.reached(0.06));
    EXPECT_TRUE(progress.reached(0.1));
    EXPECT_EQ(progress.fractions.back(), 1.0);
    EXPECT_EQ(progress.ends, 1);

    // The safety copy holds the mouse as it was.
    ASSERT_TRUE(r.safety_copy);
    const auto copy = load_backup_file(*r.safety_copy);
    ASSERT_EQ(copy.error, BackupFileError::none);
    EXPECT_TRUE(std::equal(before.begin(), before.end() - 4, copy.backup.image.begin()));
}

TEST_F(BackupJobs, AfterARestoreTheMouseReportsTheRestoredButtonsAndLevels) {
    BackupFile file = file_for(m, 0);
    const std::size_t button = static_cast<std::size_t>(8192 - 256 + (2 * 12 + 4) * 3);
    file.image[button] = 0x80;
    file.image[button + 1] = 0x34;
    file.image[button + 2] = 0x12;
    ASSERT_TRUE(restore_backup(m.rig.lib, m.device, file, progress, options()).ok());

    const auto fn = device::read_button(m.rig.lib, m.device.path, 2, 4);
    ASSERT_TRUE(fn);
    EXPECT_EQ(fn->value, 0x1234);
    for (int level = 0; level < 4; ++level) {
        int x = 0, y = 0;
        ASSERT_TRUE(device::read_dpi_values(m.rig.lib, m.device.path, level, x, y));
        EXPECT_EQ(x, file.settings.levels[level].x);
        EXPECT_EQ(y, file.settings.levels[level].y);
    }
    const auto stored = m.mouse->stored_settings();
    EXPECT_EQ(stored, m.mouse->working_settings());
    EXPECT_EQ(stored.rate_byte, 4);
    EXPECT_EQ(stored.wheel_rate, 6);
    EXPECT_EQ(stored.profile, 0);
}

TEST_F(BackupJobs, NoSafetyCopyMeansNoRestore) {
    write_text(dir / "safety", "a file where the directory should be");
    const JobResult r = restore_backup(m.rig.lib, m.device, file_for(m, 3), progress, options());
    EXPECT_EQ(r.status, JobStatus::failed);
    EXPECT_THAT(r.message, HasSubstr("no safety copy"));
    EXPECT_FALSE(r.reload);
    EXPECT_EQ(testing::write_requests(*m.mouse), 0);
}

TEST_F(BackupJobs, RestoreStoppedByAFailedWriteSaysWhereTheSafetyCopyIs) {
    // The safety copy takes 1177 exchanges; the mouse goes during the page writes.
    m.mouse->set_faults({.unplug_after_exchanges = 1177 + 10 + 50});
    const JobResult r = restore_backup(m.rig.lib, m.device, file_for(m, 3), progress, options());
    EXPECT_EQ(r.status, JobStatus::failed);
    EXPECT_TRUE(r.partly_written);
    EXPECT_TRUE(r.reload);
    ASSERT_TRUE(r.safety_copy);
    EXPECT_THAT(r.message, HasSubstr("partly written"));
    EXPECT_THAT(r.message, HasSubstr(r.safety_copy->string()));
    EXPECT_EQ(load_backup_file(*r.safety_copy).error, BackupFileError::none);
}

TEST_F(BackupJobs, RestoreDialogRefusesAMacroFileBeforeSendingAnything) {
    ScriptedDialogs dialogs;
    dialogs.chosen = dir / "macro.mf";
    ASSERT_TRUE(macro::write_macro_file(*dialogs.chosen, std::vector<std::uint8_t>{1, 2, 3}));
    const JobResult r = run_restore(m.rig.lib, m.device, dialogs, progress, options());
    EXPECT_EQ(r.status, JobStatus::refused);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"invalid format !!"});
    EXPECT_TRUE(m.mouse->requests().empty());
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].filter_name, "Mouse Backup File (*.mbf)");
    EXPECT_EQ(dialogs.requests[0].pattern, "*.mbf");
    EXPECT_EQ(dialogs.requests[0].default_extension, "mbf");
    EXPECT_EQ(dialogs.requests[0].title, "Restore a Backup");
}

TEST_F(BackupJobs, CancelledDialogsDoNothing) {
    ScriptedDialogs dialogs;
    EXPECT_EQ(run_restore(m.rig.lib, m.device, dialogs, progress, options()).status,
              JobStatus::cancelled);
    EXPECT_EQ(run_backup(m.rig.lib, m.device, {}, dialogs, progress).status, JobStatus::cancelled);
    EXPECT_TRUE(m.mouse->requests().empty());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(progress.begins, 0);
}

TEST_F(BackupJobs, BackupDialogProposesTodaysNameAndShowsFailures) {
    ScriptedDialogs dialogs;
    dialogs.chosen = dir / "nowhere" / "b.mbf";
    const JobResult r = run_backup(m.rig.lib, m.device, {}, dialogs, progress);
    EXPECT_EQ(r.status, JobStatus::failed);
    EXPECT_EQ(dialogs.messages,
              std::vector<std::string>{"error: cannot write '" + dialogs.chosen->string() +
                                       "': No such file or directory"});
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].initial_name, "backup_" + today_date_text());
    EXPECT_THAT(dialogs.requests[0].initial_name,
                ::testing::MatchesRegex("backup_[0-9]{4}-[0-9]{2}-[0-9]{2}"));
}

TEST_F(BackupJobs, BackupThenRestoreIntoAnotherMouseCarriesEverything) {
    m.fill(0x55);
    ScriptedDialogs dialogs;
    dialogs.chosen = dir / "full.mbf";
    const BackupSettings current{3, 5, {{{2, 2}, {4, 6}, {8, 8}, {10, 12}}}};
    ASSERT_TRUE(run_backup(m.rig.lib, m.device, current, dialogs, progress).ok());

    // The finished backup says where it went.
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"The backup of the mouse was saved to " +
                                                         dialogs.chosen->string() + "."});

    // The restore asks first, naming the file; No sends nothing.
    MouseRig other;
    dialogs.answer_yes = false;
    EXPECT_EQ(run_restore(other.rig.lib, other.device, dialogs, progress, options()).status,
              JobStatus::cancelled);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_THAT(dialogs.questions[0], HasSubstr("Restore|"));
    EXPECT_THAT(dialogs.questions[0], HasSubstr(dialogs.chosen->string()));
    EXPECT_TRUE(other.mouse->requests().empty());

    dialogs.answer_yes = true;
    ASSERT_TRUE(run_restore(other.rig.lib, other.device, dialogs, progress, options()).ok());
    const auto a = m.mouse->memory();
    const auto b = other.mouse->memory();
    EXPECT_TRUE(std::equal(a.begin(), a.end() - 4, b.begin()));
    EXPECT_EQ(other.mouse->stored_settings().dpi[1], (std::array<std::uint8_t, 2>{4, 6}));
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST(RestoredMacroLimit, IsTheNormalLimitRaisedOnlyForAMacroOfTheImageAboveIt) {
    std::vector<std::uint8_t> image(8192, 0xFF);
    EXPECT_EQ(restored_macro_limit(image), 8192 - 256);
    const auto set_record = [&image](int slot, int start, int end) {
        const auto at = static_cast<std::size_t>(slot * 32);
        image[at] = start & 0xFF;
        image[at + 1] = start >> 8;
        image[at + 2] = end & 0xFF;
        image[at + 3] = end >> 8;
    };
    set_record(2, 0x900, 0x1000);
    set_record(5, 0x1000, 0x3000);  // damaged: past the memory
    set_record(6, 0x1F80, 0x1F10);  // damaged: backwards
    EXPECT_EQ(restored_macro_limit(image), 8192 - 256);
    set_record(3, 0x1001, 8192 - 100);
    EXPECT_EQ(restored_macro_limit(image), 8192 - 99);
}

// A reset lowers the macro limit to 0x1F00, which the backup file does not hold: restoring the
// backup taken before, or the reset's safety copy, must give the mouse back whole, a macro above
// 0x1F00 and the capacity included.
TEST_F(BackupJobs, RestoreAfterAResetGivesTheMouseBackWithItsWholeMacroMemory) {
    MouseRig big(16384);
    auto& lib = big.rig.lib;
    const std::string& path = big.device.path;
    device::ButtonTable buttons;
    macro::MacroMemory macros(lib, path, buttons);
    ASSERT_TRUE(macros.load_directory());
    const int capacity = macros.directory().total_bytes;
    ASSERT_EQ(capacity, 16384 - 256 - 0x800);
    const std::vector<std::uint8_t> key_taps = [] {
        std::vector<std::uint8_t> code;
        for (int i = 0; i < 1750; ++i)
            code.insert(code.end(), {0x83, 0x04, 0x84, 0x04});
        return code;
    }();  // 7001 bytes with its end byte: it ends above 0x1F00
    ASSERT_TRUE(macros.write_macro(0, 0x800, key_taps).ok);
    ASSERT_TRUE(device::write_button(lib, path, 1, 3, true, 0x800));
    ASSERT_TRUE(device::write_profile_name(lib, path, 1, u"Games"));
    ASSERT_TRUE(device::write_dpi_value(lib, path, 1, 2, 20));
    ASSERT_TRUE(device::write_rate_byte(lib, path, 4));
    ASSERT_TRUE(device::write_wheel_rate(lib, path, 1));  // what a model without one restores
    ASSERT_TRUE(device::commit_settings(lib, path));
    const auto memory = big.mouse->memory();
    const auto settings = big.mouse->stored_settings();

    const auto backup = dir / "before.mbf";
    const auto current = read_backup_settings(lib, big.device);
    ASSERT_TRUE(current);
    ASSERT_TRUE(backup_to_file(lib, big.device, *current, backup, progress).ok());
    // First the backup; then, after another reset, the safety copy the first reset saved.
    std::optional<std::filesystem::path> first_reset_copy;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "the backup" : "the reset's safety copy");
        const JobResult reset = reset_mouse(lib, big.device, progress, options());
        ASSERT_TRUE(reset.ok()) << reset.message;
        ASSERT_EQ(big.mouse->stored_settings().macro_limit, 0x1F00);
        if (round == 0)
            first_reset_copy = reset.safety_copy;
        ASSERT_TRUE(first_reset_copy);
        const auto file = load_backup_file(round == 0 ? backup : *first_reset_copy);
        ASSERT_EQ(file.error, BackupFileError::none);
        const JobResult r = restore_backup(lib, big.device, file.backup, progress, options());
        ASSERT_TRUE(r.ok()) << r.message;

        EXPECT_EQ(big.mouse->memory(), memory);
        EXPECT_EQ(big.mouse->stored_settings(), settings);
        ASSERT_TRUE(macros.load_directory());
        EXPECT_EQ(macros.directory().total_bytes, capacity);
        EXPECT_TRUE(macros.directory().slots[0].placed());
        EXPECT_EQ(macros.read_macro_code(0), key_taps);
    }
}

}  // namespace
}  // namespace zentrik::core
