// zentrikctl hid-caps, run in-process as a user would run it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_command.h"
#include "tests/platform/descriptor_builder.h"
#include "tests/platform/fake_sysfs.h"

namespace zentrik::cli {
namespace {

struct CliRun {
    int status;
    std::string out, err;
};

CliRun hid_caps(std::vector<std::string> args) {
    args.insert(args.begin(), "hid-caps");
    std::ostringstream out, err;
    const int status = run_cli(args, out, err);
    return {status, out.str(), err.str()};
}

class HidCapsCommand : public ::testing::Test {
  protected:
    std::string file(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const auto p = fs_.roots().dev / name;
        platform::hidraw::test::FakeSysfs::write(p, std::string(bytes.begin(), bytes.end()));
        return p.string();
    }
    platform::hidraw::test::FakeSysfs fs_;
};

TEST_F(HidCapsCommand, PrintsOneLinePerTopLevelCollection) {
    platform::hid::test::DescriptorBuilder d;
    d.append(platform::hid::test::boot_keyboard());
    d.append(platform::hid::test::vendor_feature_collection(0x02));
    const auto r = hid_caps({file("two.bin", d.bytes())});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0x0001 0x0006 9 2 0\n0xff00 0x0002 0 0 9\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(HidCapsCommand, JsonGivesEachCollectionWithItsLengths) {
    platform::hid::test::DescriptorBuilder d;
    d.append(platform::hid::test::boot_keyboard());
    d.append(platform::hid::test::vendor_feature_collection(0x02));
    const auto r = hid_caps({"--json", file("two.bin", d.bytes())});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    ASSERT_EQ(json.at("collections").size(), 2u);
    const auto& vendor = json["collections"][1];
    EXPECT_EQ(vendor.at("usage_page"), 0xFF00);
    EXPECT_EQ(vendor.at("usage"), 2);
    EXPECT_EQ(vendor.at("input_report_length"), 0);
    EXPECT_EQ(vendor.at("output_report_length"), 0);
    EXPECT_EQ(vendor.at("feature_report_length"), 9);
}

TEST_F(HidCapsCommand, BadInputGetsAMessageAndAFailingStatus) {
    const auto expect_failure = [](const CliRun& r, const std::string& says) {
        EXPECT_NE(r.status, 0);
        EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
    };
    expect_failure(hid_caps({}), "usage");
    expect_failure(hid_caps({"a", "b"}), "usage");
    expect_failure(hid_caps({(fs_.roots().dev / "none.bin").string()}), "no such file");
    expect_failure(hid_caps({fs_.roots().dev.string()}), "directory");
    expect_failure(hid_caps({file("empty.bin", {})}), "empty");
    expect_failure(hid_caps({file("garbage.bin", {0xC0, 0x12, 0x34})}), "not a valid");
    expect_failure(hid_caps({file("nocollection.bin", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02})}),
                   "no application collection");
    expect_failure(hid_caps({file("huge.bin", std::vector<std::uint8_t>(70000, 0))}), "too large");
    expect_failure(hid_caps({"/dev/null"}), "not a HID device");
}

TEST_F(HidCapsCommand, ACutDescriptorShowsWhatWasReadAndFails) {
    auto bytes = platform::hid::test::boot_mouse();
    const auto mouse_size = bytes.size();
    const auto vendor = platform::hid::test::vendor_feature_collection();
    bytes.insert(bytes.end(), vendor.begin(), vendor.end() - 2);
    const auto r = hid_caps({file("cut.bin", bytes)});
    EXPECT_EQ(r.status, kExitBadFile);
    EXPECT_EQ(r.out, "0x0001 0x0002 5 0 0\n");
    EXPECT_NE(r.err.find("byte " + std::to_string(mouse_size + vendor.size() - 3)),
              std::string::npos)
        << r.err;
}

TEST_F(HidCapsCommand, HelpDescribesTheOutput) {
    const auto r = hid_caps({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("0xPPPP 0xUUUU IN OUT FEAT"), std::string::npos);
}

}  // namespace
}  // namespace zentrik::cli
