// The SPEC text of --simulate.
#include <gtest/gtest.h>

#include "sim/sim_setup.h"

namespace zentrik::sim {
namespace {

TEST(SimSetup, DefaultsAndValues) {
    std::string error;
    const auto defaults = parse_sim_setup("", error);
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->mice, 1);
    EXPECT_EQ(defaults->memory_kib, 16);
    EXPECT_EQ(defaults->state_dir, default_state_dir());

    const auto setup = parse_sim_setup(
        "model=8,sensor=5,firmware=12,dpi-step=200,memory=32,mice=3,state=/tmp/x", error);
    ASSERT_TRUE(setup) << error;
    EXPECT_EQ(setup->model, 8);
    EXPECT_EQ(setup->sensor, 5);
    EXPECT_EQ(setup->firmware, 12);
    EXPECT_EQ(setup->dpi_step, 200);
    EXPECT_EQ(setup->memory_kib, 32);
    EXPECT_EQ(setup->mice, 3);
    EXPECT_EQ(setup->state_dir, std::filesystem::path("/tmp/x"));
    EXPECT_FALSE(parse_sim_setup("state=none", error)->state_dir);
}

TEST(SimSetup, BadTextIsRefusedWithAReason) {
    for (const char* bad : {"memory=12", "memory=", "model=256", "mice=0", "mice=x", "colour=red",
                            "model", "model=1x", "variant=kp4", "state="}) {
        std::string error;
        EXPECT_FALSE(parse_sim_setup(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST(SimSetup, BackendHasTheMiceAsked) {
    std::string error;
    const auto setup = parse_sim_setup("model=1,memory=8,mice=2,state=none", error);
    const auto backend = make_sim_backend(*setup);
    ASSERT_EQ(backend->size(), 2u);
    EXPECT_EQ(backend->mouse(1)->memory_size(), 8192);
    EXPECT_EQ(backend->mouse(1)->indexed_string(120)->at(3), 1);
    EXPECT_TRUE(backend->mouse(0)->config().state_file_stem.empty());
}

// A program started without "mice=" also reaches the mice another program made in the same
// state directory (of the same memory size), and no others.
TEST(SimSetup, WithoutAMouseCountTheMiceOfTheStateDirectoryAreListed) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("zentrik-sim-setup-" + std::to_string(::testing::UnitTest::GetInstance()
                                                                 ->random_seed()));
    std::filesystem::remove_all(dir);
    std::string error;
    const auto with = [&](const std::string& spec) {
        return make_sim_backend(*parse_sim_setup(spec + ",state=" + dir.string(), error))->size();
    };
    EXPECT_EQ(with("memory=16,mice=3"), 3u);
    EXPECT_EQ(with("memory=16"), 3u);
    EXPECT_EQ(with("memory=8"), 1u);  // another size: another set of mice
    EXPECT_EQ(with("memory=16,mice=1"), 1u);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zentrik::sim
