#include "platform/linux/hidraw_backend.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>

#include "tests/platform/descriptor_builder.h"
#include "tests/platform/fake_sysfs.h"

namespace zentrik::platform::hidraw {
namespace {

using test::FakeSysfs;

std::vector<std::uint8_t> mouse_with_vendor_collection() {
    hid::test::DescriptorBuilder d;
    d.append(hid::test::boot_mouse()).append(hid::test::vendor_feature_collection());
    return d.bytes();
}

TEST(HidrawBackend, ListsNodesAndOpensOnlyThoseThatExist) {
    FakeSysfs fs;
    fs.add_usb_node(5, "1-2", 7, "0105", mouse_with_vendor_collection());
    fs.add_virtual_node(0, hid::test::boot_keyboard());
    fs.add_dev_file(5);  // hidraw0 has no /dev entry
    auto backend = make_hidraw_backend(fs.roots());
    EXPECT_EQ(backend->enumerate(),
              (std::vector<std::string>{fs.dev_path(0).string(), fs.dev_path(5).string()}));
    EXPECT_EQ(backend->open(fs.dev_path(0)), nullptr);
    EXPECT_NE(backend->open(fs.dev_path(5)), nullptr);
}

TEST(HidrawBackend, DescribesANodeFromSysfs) {
    FakeSysfs fs;
    fs.add_usb_node(5, "1-2", 7, "0105", mouse_with_vendor_collection());
    fs.add_dev_file(5);
    auto backend = make_hidraw_backend(fs.roots());
    auto handle = backend->open(fs.dev_path(5));
    ASSERT_NE(handle, nullptr);

    const auto caps = handle->collections();
    ASSERT_EQ(caps.size(), 2u);
    EXPECT_EQ(caps[0].usage, 0x02);
    EXPECT_EQ(caps[0].input_report_length, 5);
    EXPECT_EQ(caps[1].usage_page, 0xFF00);
    EXPECT_EQ(caps[1].feature_report_length, 9);

    // The node is no real hidraw device, so the attributes come from sysfs alone.
    const auto attributes = handle->attributes();
    ASSERT_TRUE(attributes);
    EXPECT_EQ(attributes->vendor_id, 0x1234);
    EXPECT_EQ(attributes->product_id, 0x5678);
    EXPECT_EQ(attributes->version, 0x0105);

    // The report descriptor is also there without opening the node.
    EXPECT_EQ(backend->report_descriptor(fs.dev_path(5)), mouse_with_vendor_collection());
    EXPECT_FALSE(backend->report_descriptor(fs.dev_path(6)));
}

TEST(HidrawBackend, FailuresOfTheDeviceAreReportedNotHidden) {
    FakeSysfs fs;
    fs.add_usb_node(1, "1-4", 3, "0100", hid::test::vendor_feature_collection());
    fs.add_dev_file(1);
    auto handle = make_hidraw_backend(fs.roots())->open(fs.dev_path(1));
    ASSERT_NE(handle, nullptr);
    // No usbfs node to read strings from, then one that is no USB device: neither answers.
    EXPECT_FALSE(handle->indexed_string(120));
    FakeSysfs::write(fs.roots().usbfs / "001" / "003", "");
    EXPECT_FALSE(handle->indexed_string(120));
    EXPECT_FALSE(handle->indexed_string(-1));
    // ioctls on a file that is not a hidraw device fail.
    std::array<std::uint8_t, 9> report{};
    EXPECT_FALSE(handle->set_feature(report));
    EXPECT_FALSE(handle->get_feature(report));
    EXPECT_FALSE(handle->set_feature({}));
    handle->cancel();

    // A node whose descriptor cannot be had lists no collections.
    fs.add_dev_file(9);
    auto unknown = make_hidraw_backend(fs.roots())->open(fs.dev_path(9));
    ASSERT_NE(unknown, nullptr);
    EXPECT_TRUE(unknown->collections().empty());
    EXPECT_FALSE(unknown->attributes());
}

// Input reports come through poll() and read(); a FIFO stands in for the node.
class HidrawInput : public ::testing::Test {
  protected:
    std::unique_ptr<HidHandle> open_node(const std::vector<std::uint8_t>& descriptor) {
        fs_.add_virtual_node(2, descriptor);
        const auto path = fs_.dev_path(2);
        EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
        auto handle = make_hidraw_backend(fs_.roots())->open(path);
        writer_ = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
        EXPECT_GE(writer_, 0);
        return handle;
    }
    void send(std::initializer_list<std::uint8_t> bytes) {
        const std::vector<std::uint8_t> v(bytes);
        ASSERT_EQ(::write(writer_, v.data(), v.size()), static_cast<ssize_t>(v.size()));
    }
    ~HidrawInput() override {
        if (writer_ >= 0)
            ::close(writer_);
    }

    FakeSysfs fs_;
    int writer_ = -1;
};

TEST_F(HidrawInput, ReportsWithoutIdsGetAZeroIdByte) {
    auto handle = open_node(hid::test::boot_mouse());
    ASSERT_NE(handle, nullptr);
    std::array<std::uint8_t, 8> buf;
    buf.fill(0xEE);
    EXPECT_EQ(handle->read_input(buf, 0), 0);  // nothing pending
    send({0x01, 0x05, 0xFB, 0x00});
    ASSERT_EQ(handle->read_input(buf, 1000), 5);
    EXPECT_EQ((std::vector<std::uint8_t>(buf.begin(), buf.begin() + 5)),
              (std::vector<std::uint8_t>{0x00, 0x01, 0x05, 0xFB, 0x00}));
}

TEST_F(HidrawInput, NumberedReportsArriveAsTheyAre) {
    hid::test::DescriptorBuilder d;
    d.usage_page(0xFF00).usage(0x01).application().report_id(3).fields(8, 2).input().end();
    auto handle = open_node(d.bytes());
    ASSERT_NE(handle, nullptr);
    send({0x03, 0x10, 0x20});
    std::array<std::uint8_t, 8> buf{};
    ASSERT_EQ(handle->read_input(buf, 1000), 3);
    EXPECT_EQ(buf[0], 0x03);
    EXPECT_EQ(buf[2], 0x20);
    EXPECT_EQ(handle->read_input({}, 0), 0);
}

// hidraw hands out every input report of the interface: an ordinary mouse report whose bytes
// look like the mouse's own must not reach the decoder, only the vendor collection's.
TEST_F(HidrawInput, OnlyTheVendorCollectionsReportsReachTheStream) {
    hid::test::DescriptorBuilder d;
    d.usage_page(0x01).usage(0x02).application().report_id(1).fields(8, 3).input().end();
    d.usage_page(0xFF00).usage(0x01).application().report_id(2).fields(8, 3).input().end();
    fs_.add_usb_node(3, "1-4", 5, "0100", d.bytes());
    const auto path = fs_.dev_path(3);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    auto stream = make_hidraw_backend(fs_.roots())->open_input_reports(path);
    ASSERT_NE(stream, nullptr);
    writer_ = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(writer_, 0);
    std::vector<std::vector<std::uint8_t>> reports;
    send({0x01, 0x0A, 0x0B, 0x0C});
    ASSERT_TRUE(stream->read_pending(reports));
    EXPECT_TRUE(reports.empty()) << "the pointer's own report";
    send({0x02, 0x0A, 0x0B, 0x0C});
    ASSERT_TRUE(stream->read_pending(reports));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], (std::vector<std::uint8_t>{0x02, 0x0A, 0x0B, 0x0C}));
}

}  // namespace
}  // namespace zentrik::platform::hidraw
