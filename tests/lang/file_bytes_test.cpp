#include "lang/file_bytes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace zentrik::lang {
namespace {

namespace fs = std::filesystem;

// Every kind of thing that is not a small regular file is refused at once, with a reason that
// names it; none of them blocks (a FIFO without a writer) or reads without end (/dev/zero).
TEST(FileBytes, OnlySmallRegularFilesAreRead) {
    const fs::path dir =
        fs::temp_directory_path() / ("zentrik-bytes-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "folder");
    std::ofstream(dir / "small") << "12345";
    fs::create_symlink(dir / "small", dir / "link");
    fs::create_symlink("/dev/zero", dir / "zero");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);

    EXPECT_EQ(read_regular_file(dir / "small", 5).bytes, "12345");
    EXPECT_EQ(read_regular_file(dir / "link", 5).bytes, "12345");  // the user's own link
    const FileRead missing = read_regular_file(dir / "none", 5);
    EXPECT_TRUE(missing.missing);
    EXPECT_FALSE(missing.bytes);
    for (const char* name : {"folder", "zero", "fifo"}) {
        const FileRead read = read_regular_file(dir / name, 5);
        EXPECT_FALSE(read.bytes) << name;
        EXPECT_FALSE(read.missing) << name;
        EXPECT_NE(read.refusal.find((dir / name).string()), std::string::npos) << read.refusal;
        EXPECT_FALSE(read_file_bytes(dir / name, 5)) << name;
    }
    const FileRead large = read_regular_file(dir / "small", 4);
    EXPECT_FALSE(large.bytes);
    EXPECT_NE(large.refusal.find("larger than 4 bytes"), std::string::npos) << large.refusal;
    EXPECT_EQ(read_file_bytes(dir / "small", 4), "1234");  // the prefix reader cuts instead
    fs::remove_all(dir);
}

}  // namespace
}  // namespace zentrik::lang
