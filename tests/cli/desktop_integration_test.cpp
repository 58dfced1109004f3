// What ties zentrikctl into the desktop: the autostart entry, and the manuals and completion
// generated from the command table.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_command.h"
#include "cli/docs/manual_pages.h"

namespace zentrik::cli {
namespace {

namespace fs = std::filesystem;

class Autostart : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ = fs::temp_directory_path() / "zentrik-autostart-test";
        fs::remove_all(home_);
        const char* old = ::getenv("XDG_CONFIG_HOME");
        saved_ = old ? std::optional<std::string>(old) : std::nullopt;
        ::setenv("XDG_CONFIG_HOME", (home_ / "config").c_str(), 1);
    }
    void TearDown() override {
        if (saved_)
            ::setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(home_);
    }
    int run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return run_cli(args, out_, err_);
    }

    fs::path home_;
    std::optional<std::string> saved_;
    std::ostringstream out_, err_;
};

TEST_F(Autostart, OffByDefaultOnWritesAHiddenStartOffRemovesIt) {
    const fs::path entry = home_ / "config" / "autostart" / "zentrik.desktop";
    EXPECT_EQ(run({"autostart"}), kExitOk);
    EXPECT_EQ(out_.str(), "off\n");
    // A link planted at the old fixed temporary name is never written through.
    fs::create_directories(entry.parent_path());
    std::ofstream(home_ / "victim") << "victim";
    fs::create_symlink(home_ / "victim", entry.string() + ".tmp");
    ASSERT_EQ(run({"autostart", "on"}), kExitOk) << err_.str();
    EXPECT_EQ(fs::file_size(home_ / "victim"), 6u);
    fs::remove(entry.string() + ".tmp");
    std::ifstream in(entry);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(text.find(" /hide\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(entry.string() + ".tmp"));
    EXPECT_EQ(run({"autostart", "--json"}), kExitOk);
    EXPECT_NE(out_.str().find("\"autostart\": true"), std::string::npos) << out_.str();
    EXPECT_EQ(run({"autostart", "off"}), kExitOk);
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_EQ(run({"autostart", "off"}), kExitOk);  // already off: nothing to do
    EXPECT_EQ(run({"autostart", "maybe"}), kExitUsage);
}

TEST_F(Autostart, AnUnwritableFolderIsAnErrorNotSuccess) {
    fs::create_directories(home_ / "config");
    std::ofstream(home_ / "config" / "autostart") << "a file where the folder should be";
    EXPECT_EQ(run({"autostart", "on"}), kExitBadFile);
    EXPECT_NE(err_.str().find("cannot write"), std::string::npos);
}

TEST(Manuals, EveryCommandAppearsInTheManualAndTheCompletion) {
    const std::string manual = docs::zentrikctl_manual("9.9", "/usr/share/zentrik");
    const std::string completion = docs::zentrikctl_bash_completion();
    for (const auto& c : all_commands()) {
        EXPECT_NE(manual.find(".SS " + docs::roff_escape(c.name) + "\n"), std::string::npos)
            << c.name;
        EXPECT_NE(completion.find("\n        " + std::string(c.name) + ") words=\""),
                  std::string::npos)
            << c.name;
    }
    for (const auto& e : kExitCodeMeanings)
        EXPECT_NE(manual.find(".B " + std::to_string(e.code) + "\n"), std::string::npos);
    EXPECT_NE(completion.find("autostart) words=\"--help --json off on\""), std::string::npos);
    EXPECT_NE(completion.find("macro) words=\"--help build show\""), std::string::npos);
}

TEST(Manuals, RoffEscapingKeepsTextVerbatim) {
    EXPECT_EQ(docs::roff_escape(".hidden\n'quote\na\\b --x"),
              "\\&.hidden\n\\&'quote\na\\eb \\-\\-x");
}

}  // namespace
}  // namespace zentrik::cli
