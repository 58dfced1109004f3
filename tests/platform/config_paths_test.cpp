// Where the program looks for its configuration files.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "platform/paths.h"

namespace zentrik::platform {
namespace {

namespace fs = std::filesystem;

TEST(ConfigPaths, TheUserFolderComesFirstThenTheDataFolderThenTheProgramFolder) {
    const char* old = ::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/zentrik-paths-test", 1);
    const auto order = config_search_path();
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], fs::path("/tmp/zentrik-paths-test/zentrik"));
    EXPECT_EQ(order[1], installed_data_directory());
    EXPECT_EQ(order[2], module_directory());
    // "set.ini" is written to the user's folder, wherever the program runs from.
    EXPECT_EQ(settings_directory(), fs::path("/tmp/zentrik-paths-test/zentrik"));
    if (old)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

TEST(ConfigPaths, TheFirstFolderHoldingTheFileWins) {
    const fs::path root = fs::temp_directory_path() / "zentrik-config-paths";
    fs::remove_all(root);
    for (const char* d : {"user", "data", "program"})
        fs::create_directories(root / d);
    const std::vector<fs::path> order = {root / "user", root / "data", root / "program"};
    EXPECT_EQ(first_folder_holding(order, "language.ini"), root / "program");  // none holds it
    std::ofstream(root / "program" / "language.ini") << "[1031]\n";
    std::ofstream(root / "data" / "language.ini") << "[1031]\n";
    EXPECT_EQ(first_folder_holding(order, "language.ini"), root / "data");
    fs::create_directories(root / "user" / "language.ini");  // a folder is not the file
    EXPECT_EQ(first_folder_holding(order, "language.ini"), root / "data");
    fs::remove(root / "user" / "language.ini");
    std::ofstream(root / "user" / "language.ini") << "[1031]\n";
    EXPECT_EQ(first_folder_holding(order, "language.ini"), root / "user");
    fs::remove_all(root);
}

}  // namespace
}  // namespace zentrik::platform
