// Safety copies: their names, their content, and that only the newest ten per mouse are kept.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "core/backup_file.h"
#include "core/safety_copies.h"
#include "tests/core/settings_test_support.h"

namespace zentrik::core {
namespace {

using testing::MouseRig;
using testing::TempDir;

void touch(const std::filesystem::path& p) {
    std::ofstream(p) << "x";
}

TEST(SafetyCopies, HoldTheMouseAsItIsUnderItsIdentity) {
    TempDir dir;
    MouseRig m;
    m.fill(0x10);
    NoProgress progress;
    const SafetyCopy copy = make_safety_copy(m.rig.lib, m.device, progress, dir.path());
    ASSERT_TRUE(copy.file) << copy.error;
    EXPECT_THAT(copy.file->filename().string(),
                ::testing::MatchesRegex("mouse-[0-9a-f]{4}-[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}-"
                                        "[0-9]{2}-[0-9]{2}\\.[0-9]{3}\\.mbf"));
    const auto decoded = load_backup_file(*copy.file);
    ASSERT_EQ(decoded.error, BackupFileError::none);
    const auto memory = m.mouse->memory();
    EXPECT_TRUE(std::equal(memory.begin(), memory.end() - 4, decoded.backup.image.begin()));
    const auto s = m.mouse->working_settings();
    EXPECT_EQ(decoded.backup.settings.rate_divisor, s.rate_byte & 0x0F);
    EXPECT_EQ(decoded.backup.settings.levels[3].x, s.dpi[3][0]);
    // This model has no wheel rate: it is never asked for one, as a real one might not answer.
    const auto requests = m.mouse->requests();
    EXPECT_EQ(std::count_if(requests.begin(), requests.end(),
                            [](const auto& r) { return r[1] == 0x07 && r[2] == 0x00; }),
              0);

    // The user's data, readable by the user alone.
    const auto perms = [](const std::filesystem::path& p) {
        return std::filesystem::status(p).permissions() & std::filesystem::perms::all;
    };
    EXPECT_EQ(perms(*copy.file),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(perms(dir.path()), std::filesystem::perms::owner_all);

    const auto listed = list_safety_copies(dir.path());
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].file, *copy.file);
    EXPECT_EQ(listed[0].memory_size, 8192);
    EXPECT_THAT(listed[0].saved_at, ::testing::MatchesRegex("[0-9-]{10} [0-9:]{8}"));
}

TEST(SafetyCopies, OnlyTheNewestTenOfEachMouseAreKept) {
    TempDir dir;
    MouseRig m;
    NoProgress progress;
    // Twelve older copies of this mouse, two of another, and a file that is not a copy.
    bool answered = false;
    char id[8];
    std::snprintf(id, sizeof id, "%04x", *stored_identity(m.rig.lib, m.device.path, answered));
    for (int i = 0; i < 12; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "mouse-%s-2020-01-01T00-00-%02d.000.mbf", id, i);
        touch(dir / name);
    }
    touch(dir / "mouse-zzzz-2020-01-01T00-00-00.000.mbf");
    touch(dir / "mouse-zzzz-2020-01-01T00-00-01.000.mbf");
    touch(dir / "notes.txt");

    const SafetyCopy copy = make_safety_copy(m.rig.lib, m.device, progress, dir.path());
    ASSERT_TRUE(copy.file);
    std::vector<std::string> mine;
    for (const auto& e : list_safety_copies(dir.path())) {
        if (e.mouse == id)
            mine.push_back(e.file.filename().string());
    }
    ASSERT_EQ(mine.size(), 10u);
    EXPECT_EQ(mine.front(), std::string("mouse-") + id + "-2020-01-01T00-00-03.000.mbf");
    EXPECT_EQ(mine.back(), copy.file->filename().string());
    EXPECT_TRUE(std::filesystem::exists(dir / "mouse-zzzz-2020-01-01T00-00-00.000.mbf"));
    EXPECT_TRUE(std::filesystem::exists(dir / "notes.txt"));
}

TEST(SafetyCopies, AMouseThatStopsAnsweringGivesNoCopy) {
    TempDir dir;
    MouseRig m;
    NoProgress progress;
    m.mouse->set_faults({.unplug_after_exchanges = 500});
    const SafetyCopy copy = make_safety_copy(m.rig.lib, m.device, progress, dir.path());
    EXPECT_FALSE(copy.file);
    EXPECT_THAT(copy.error, ::testing::HasSubstr("did not answer"));
    EXPECT_TRUE(dir.names().empty());
}

}  // namespace
}  // namespace zentrik::core
