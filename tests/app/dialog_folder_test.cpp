// The file dialogs' start folder: the one last used while it exists, else home.
#include "app/shell/dialog_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace zentrik::app {
namespace {

namespace fs = std::filesystem;

TEST(DialogFolder, OpensWhereTheLastFileWasChosenWhileThatFolderExistsElseAtHome) {
    const fs::path root =
        fs::temp_directory_path() / ("zentrik-dialog-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "home");
    fs::create_directories(root / "backups");
    const DialogFolder folders(root / "state" / "dialog-folder", root / "home");
    EXPECT_EQ(folders.start(), root / "home");  // nothing kept yet (no state folder either)

    folders.remember(root / "backups" / "mouse.mbf");
    EXPECT_EQ(folders.start(), root / "backups");
    // Kept in a file, so a later start of the program opens there too.
    EXPECT_EQ(DialogFolder(root / "state" / "dialog-folder", "/").start(), root / "backups");

    fs::remove_all(root / "backups");
    EXPECT_EQ(folders.start(), root / "home");
    std::ofstream(root / "state" / "dialog-folder") << "relative/folder";
    EXPECT_EQ(folders.start(), root / "home");
    fs::remove_all(root);
}

}  // namespace
}  // namespace zentrik::app
