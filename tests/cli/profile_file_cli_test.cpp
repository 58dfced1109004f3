// zentrikctl profile-file against simulated mice of different models: what one mouse exports
// another takes, a function the target lacks or a hostile file is refused with the mouse
// untouched, and macros the target already holds are not stored twice.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_command.h"
#include "tests/cli/simulated_mouse_test.h"

namespace zentrik::cli {
namespace {

using ::testing::HasSubstr;

constexpr const char* kQx19 = "model=7";  // has Adjust lift
constexpr const char* kQx10 = "model=8";  // has none

class ProfileFileCommands : public SimulatedMouseTest {
  protected:
    ProfileFileCommands() : SimulatedMouseTest("zentrik-cli-profile-file-") {}

    // Each mouse keeps its state in a folder of its own.
    int run(const std::string& mouse, std::vector<std::string> args) {
        args.insert(args.begin(), "--simulate=" + std::string(mouse == kQx19 ? kQx19 : kQx10) +
                                      ",state=" + (state_ / mouse).string());
        out_.str("");
        err_.str("");
        return run_cli(args, out_, err_);
    }
    std::string file(const std::string& name) const { return (state_ / name).string(); }
    static std::string text_of(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // The mouse's whole memory and settings, as a backup file holds them.
    std::string image(const std::string& mouse) {
        EXPECT_EQ(run(mouse, {"backup", file("image.mbf")}), kExitOk) << err_.str();
        return text_of(file("image.mbf"));
    }
    void write_text(const std::string& name, const std::string& text) {
        std::filesystem::create_directories(state_);
        std::ofstream(file(name), std::ios::binary) << text;
    }
    nlohmann::json macros(const std::string& mouse) {
        EXPECT_EQ(run(mouse, {"macros", "--json"}), kExitOk) << err_.str();
        return nlohmann::json::parse(out_.str());
    }
    // Profile 1 of the QX19: a name, Adjust lift, one macro on two buttons and another.
    void prepare_source() {
        std::filesystem::create_directories(state_);
        ASSERT_EQ(run(kQx19, {"macro", "build", file("a.mf"), "05830488328404"}), 0);
        ASSERT_EQ(run(kQx19, {"macro", "build", file("b.mf"), "048305"}), 0);
        for (const auto& args : std::vector<std::vector<std::string>>{
                 {"macros", "write", "3", file("a.mf"), "--name", "Reload"},
                 {"macros", "write", "5", file("b.mf"), "--name", "Jump"},
                 {"button", "1", "3", "macro:3"},
                 {"button", "1", "5", "macro:3"},
                 {"button", "1", "6", "macro:5"},
                 {"button", "1", "2", "Adjust lift"},
                 {"name", "1", "Game"}})
            ASSERT_EQ(run(kQx19, args), kExitOk) << err_.str();
        ASSERT_EQ(run(kQx19, {"profile-file", "export", "1", file("game.json")}), kExitOk)
            << err_.str();
    }

    std::ostringstream out_, err_;
};

TEST_F(ProfileFileCommands, RoundTripBetweenModelsRefusingAFunctionTheTargetLacks) {
    prepare_source();
    const std::string exported = text_of(file("game.json"));
    EXPECT_THAT(exported, HasSubstr(R"({"button": 2, "function": "Adjust lift"})"));
    EXPECT_THAT(exported, HasSubstr(R"({"name": "Reload", "code": "05 83 04 88 32 84 04"})"));

    const std::string before = image(kQx10);
    EXPECT_EQ(run(kQx10, {"profile-file", "import", file("game.json"), "2"}), kExitFailure);
    EXPECT_THAT(err_.str(), HasSubstr("Adjust lift"));
    EXPECT_THAT(err_.str(), HasSubstr("nothing was written"));
    EXPECT_TRUE(image(kQx10) == before);  // (not printed: 16 KiB)

    // Without Adjust lift the QX10 takes it, and exports the same profile back.
    std::string edited = exported;
    edited.replace(edited.find("Adjust lift"), 11, "Copy");
    write_text("edited.json", edited);
    ASSERT_EQ(run(kQx10, {"profile-file", "import", file("edited.json"), "2"}), kExitOk)
        << err_.str();
    ASSERT_EQ(run(kQx10, {"profile-file", "export", "2", file("back.json")}), kExitOk);
    EXPECT_EQ(text_of(file("back.json")), edited);
    ASSERT_EQ(run(kQx10, {"settings", "--json"}), kExitOk);
    const auto settings = nlohmann::json::parse(out_.str());
    EXPECT_EQ(settings["profiles"][2]["name"], "Game");
    EXPECT_EQ(settings["profiles"][2]["buttons"][5]["function"], "Reload");
    EXPECT_EQ(settings["profiles"][1]["buttons"][5]["function"], "Zentrik Button 1");
}

TEST_F(ProfileFileCommands, ASlotHoldingTheSameCodeIsUsedAgain) {
    prepare_source();
    const auto held = macros(kQx19);
    // Into the mouse that holds both macros already: nothing is stored twice.
    ASSERT_EQ(run(kQx19, {"profile-file", "import", file("game.json"), "4"}), kExitOk)
        << err_.str();
    const auto after = macros(kQx19);
    EXPECT_EQ(after["macros"].size(), 2u);
    EXPECT_EQ(after["free_bytes"], held["free_bytes"]);
    EXPECT_EQ(after["macros"][0]["buttons"].size(), 4u);  // Reload: buttons 3 and 5 of both

    // Twice into another mouse: the second import finds both macros in place.
    std::string text = text_of(file("game.json"));
    text.replace(text.find("Adjust lift"), 11, "Mute");
    write_text("mute.json", text);
    ASSERT_EQ(run(kQx10, {"profile-file", "import", file("mute.json"), "0"}), kExitOk);
    const auto once = macros(kQx10);
    ASSERT_EQ(run(kQx10, {"profile-file", "import", file("mute.json"), "3"}), kExitOk);
    const auto twice = macros(kQx10);
    EXPECT_EQ(twice["macros"].size(), 2u);
    EXPECT_EQ(twice["free_bytes"], once["free_bytes"]);
    EXPECT_EQ(twice["macros"][1]["profiles"], nlohmann::json::array({0, 3}));
}

TEST_F(ProfileFileCommands, HostileFilesAreRefusedWithTheMouseUnchanged) {
    prepare_source();
    const std::string good = text_of(file("game.json"));
    const auto variant = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    std::string huge_code = "04";
    for (int i = 0; i < 20000; ++i)
        huge_code += " 83";
    const std::vector<std::pair<std::string, std::string>> files = {
        {good.substr(0, good.size() / 2), "not valid JSON"},
        {variant("\"Default\"", "\"Teleport\""), "unknown function 'Teleport'"},
        {variant("04 83 05", huge_code), "needs 20002 bytes"},
        {variant("04 83 05", "04 83"), "not a run of whole, known instructions"},
        {variant("\"Jump\", \"code\"", "\"Reload\", \"code\""), "two macros are named 'Reload'"},
        {variant("\"version\": 1", "\"version\": 2"), "version 2"},
    };
    const std::string before = image(kQx19);
    for (const auto& [text, why] : files) {
        write_text("hostile.json", text);
        EXPECT_NE(run(kQx19, {"profile-file", "import", file("hostile.json"), "0"}), kExitOk)
            << why;
        EXPECT_THAT(err_.str(), HasSubstr(why));
        EXPECT_THAT(err_.str(), HasSubstr("nothing was written"));
    }
    EXPECT_TRUE(image(kQx19) == before);
}

}  // namespace
}  // namespace zentrik::cli
