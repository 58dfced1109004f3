#include "platform/replacing_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/scratch_mount.h"

namespace zentrik::platform {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

unsigned mode_of(const fs::path& file) {
    struct stat st {};
    EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
    return st.st_mode & 07777;
}

std::size_t entries_in(const fs::path& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

class ReplacingFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("zentrik-replace-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(ReplacingFileTest, KeepsAnExistingFilesModeAndGivesANewOneItsOwn) {
    const fs::path kept = dir_ / "kept";
    std::ofstream(kept) << "old";
    ::chmod(kept.c_str(), 0640);
    ASSERT_TRUE(replace_file(kept, "new"));
    EXPECT_EQ(contents(kept), "new");
    EXPECT_EQ(mode_of(kept), 0640u);

    const fs::path private_file = dir_ / "private";
    ASSERT_TRUE(replace_file(private_file, "x", nullptr, ReplaceOptions{.new_file_mode = 0600}));
    EXPECT_EQ(mode_of(private_file), 0600u);
    EXPECT_EQ(entries_in(dir_), 2u);  // no temporary file left behind
}

TEST_F(ReplacingFileTest, TemporaryNamesAreFreshAndNeverFollowALink) {
    // A link planted where a writer with a fixed name would write ("X.tmp", ".X.tmp").
    const fs::path victim = dir_ / "victim";
    std::ofstream(victim) << "victim";
    const fs::path target = dir_ / "target";
    fs::create_symlink(victim, dir_ / "target.tmp");
    fs::create_symlink(victim, dir_ / ".target.tmp");

    // Two writers at once get different temporary files; the last commit wins whole.
    ReplacingFile first(target);
    ReplacingFile second(target);
    ASSERT_TRUE(first.ok()) << first.error();
    ASSERT_TRUE(second.ok()) << second.error();
    EXPECT_NE(first.temporary_path(), second.temporary_path());
    EXPECT_EQ(first.temporary_path().parent_path(), dir_);
    EXPECT_FALSE(fs::is_symlink(first.temporary_path()));
    ASSERT_TRUE(first.commit("first"));
    ASSERT_TRUE(second.commit("second"));
    EXPECT_EQ(contents(target), "second");
    EXPECT_EQ(contents(victim), "victim");
    EXPECT_FALSE(fs::is_symlink(target));
}

TEST_F(ReplacingFileTest, AFullFileSystemLeavesTheOldFileAndSaysWhy) {
    testing::ScratchMount disk(dir_ / "disk", 64 * 1024);
    if (!disk.active())
        GTEST_SKIP() << disk.reason();
    const fs::path target = disk.path() / "set.ini";
    ASSERT_TRUE(replace_file(target, "[LANG]\nid=1\n"));
    std::string error;
    EXPECT_FALSE(replace_file(target, std::string(256 * 1024, 'x'), &error));
    EXPECT_NE(error.find(target.string()), std::string::npos) << error;
    EXPECT_NE(error.find(std::strerror(ENOSPC)), std::string::npos) << error;
    EXPECT_EQ(contents(target), "[LANG]\nid=1\n");
    EXPECT_EQ(entries_in(disk.path()), 1u);
}

TEST_F(ReplacingFileTest, AReadOnlyFolderIsKnownBeforeAnyWrite) {
    testing::ScratchMount disk(dir_ / "disk", 64 * 1024);
    if (!disk.active())
        GTEST_SKIP() << disk.reason();
    const fs::path target = disk.path() / "m.mf";
    ASSERT_TRUE(replace_file(target, "old"));
    ASSERT_TRUE(disk.make_read_only());
    ReplacingFile file(target);
    EXPECT_FALSE(file.ok());
    EXPECT_NE(file.error().find(std::strerror(EROFS)), std::string::npos) << file.error();
    EXPECT_FALSE(file.commit("new"));
    EXPECT_EQ(contents(target), "old");
}

}  // namespace
}  // namespace zentrik::platform
