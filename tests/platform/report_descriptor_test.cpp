#include "platform/hid/report_descriptor.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/platform/descriptor_builder.h"

namespace zentrik::platform::hid {
namespace {

using test::DescriptorBuilder;

struct Caps {
    std::uint16_t page, usage;
    int in, out, feat;
    bool operator==(const Caps&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Caps& c) {
    return os << std::hex << "{0x" << c.page << " 0x" << c.usage << std::dec << " " << c.in << " "
              << c.out << " " << c.feat << "}";
}

std::vector<Caps> caps_of(const ReportDescriptorInfo& info) {
    std::vector<Caps> out;
    for (const auto& c : info.collections) {
        out.push_back({c.usage_page, c.usage, c.input_report_length, c.output_report_length,
                       c.feature_report_length});
    }
    return out;
}

std::vector<Caps> parse_ok(const std::vector<std::uint8_t>& bytes) {
    const auto info = parse_report_descriptor(bytes);
    EXPECT_TRUE(info.ok()) << info.error << " at " << info.error_offset;
    return caps_of(info);
}

TEST(ReportDescriptor, BootDevicesCountTheReportIdByteEvenWithoutIds) {
    EXPECT_EQ(parse_ok(test::boot_mouse()), (std::vector<Caps>{{0x01, 0x02, 5, 0, 0}}));
    EXPECT_EQ(parse_ok(test::boot_keyboard()), (std::vector<Caps>{{0x01, 0x06, 9, 2, 0}}));
    // The shape the device link looks for: 8 data bytes make a feature length of 9.
    EXPECT_EQ(parse_ok(test::vendor_feature_collection()),
              (std::vector<Caps>{{0xFF00, 0x02, 0, 0, 9}}));
    EXPECT_FALSE(parse_report_descriptor(test::boot_mouse()).numbered_reports);
}

TEST(ReportDescriptor, PartialBytesRoundUp) {
    DescriptorBuilder d;
    d.usage_page(0x01).usage(0x02).application().fields(1, 3).input().fields(1, 1).feature().end();
    EXPECT_EQ(parse_ok(d.bytes()), (std::vector<Caps>{{0x01, 0x02, 2, 0, 2}}));
}

TEST(ReportDescriptor, ReportsAreSummedPerIdAndTheLongestCounts) {
    DescriptorBuilder d;
    d.usage_page(0xFF00).usage(0x01).application();
    d.report_id(1).fields(8, 3).input().fields(8, 2).input();  // id 1: 5 bytes in two items
    d.report_id(2).fields(8, 4).input();                       // id 2: 4 bytes
    d.report_id(1).fields(8, 8).feature();                     // id 1 again, feature: 8
    d.report_id(3).fields(16, 8).feature();                    // id 3: 16 bytes
    d.report_id(2).fields(1, 7).output();                      // id 2: 7 bits
    d.end();
    const auto info = parse_report_descriptor(d.bytes());
    EXPECT_TRUE(info.numbered_reports);
    EXPECT_EQ(caps_of(info), (std::vector<Caps>{{0xFF00, 0x01, 6, 2, 17}}));
    // The link is carried by the longest feature report, so that is the id it is sent with.
    EXPECT_EQ(info.collections[0].feature_report_id, 3);
    EXPECT_EQ(info.input_report_ids[0], (std::vector<std::uint8_t>{1, 2}));
}

TEST(ReportDescriptor, SeveralTopLevelCollectionsKeepTheirOwnReports) {
    DescriptorBuilder d;
    d.usage_page(0x01).usage(0x02).application().report_id(1).fields(8, 4).input().end();
    d.usage_page(0x0C).usage(0x01).application().report_id(2).fields(16, 1).input().end();
    d.usage_page(0xFF00).usage(0x02).application();
    d.report_id(3).fields(8, 8).feature().report_id(4).fields(8, 2).feature().end();
    d.usage_page(0x01).usage(0x80).application().report_id(5).fields(2, 1).input().end();
    EXPECT_EQ(parse_ok(d.bytes()), (std::vector<Caps>{{0x01, 0x02, 5, 0, 0},
                                                      {0x0C, 0x01, 3, 0, 0},
                                                      {0xFF00, 0x02, 0, 0, 9},
                                                      {0x01, 0x80, 2, 0, 0}}));
    // Which input reports belong to which collection: hidraw mixes them on one node.
    const auto info = parse_report_descriptor(d.bytes());
    EXPECT_EQ(info.input_report_ids, (std::vector<std::vector<std::uint8_t>>{{1}, {2}, {}, {5}}));
    EXPECT_EQ(info.collections[2].feature_report_id, 3);
}

TEST(ReportDescriptor, OnlyApplicationCollectionsAtTheTopAreListed) {
    DescriptorBuilder d;
    // Nested collections (even an application one) belong to the outer collection.
    d.usage_page(0x01).usage(0x02).application();
    d.usage(0x01).physical().fields(8, 2).input().end();
    d.usage(0x05).application().fields(8, 3).input().end();
    d.logical_collection().fields(8, 1).feature().end();
    d.end();
    // A top-level physical collection is not a top-level collection; its reports count nowhere.
    d.usage(0x01).physical().fields(8, 30).input().end();
    // Nor do reports outside any collection.
    d.fields(8, 40).feature();
    d.usage(0x06).application().fields(8, 1).output().end();
    EXPECT_EQ(parse_ok(d.bytes()),
              (std::vector<Caps>{{0x01, 0x02, 6, 0, 2}, {0x01, 0x06, 0, 2, 0}}));
}

TEST(ReportDescriptor, CollectionUsageAndItsPage) {
    // A 4-byte usage carries its own page; a shorter one takes the page in force at the
    // Collection item, even when the page changed after the Usage.
    DescriptorBuilder d;
    d.usage_page(0x01).usage(0xFF000002, 4).application().fields(8, 1).input().end();
    d.usage_page(0x01).usage(0x0002, 2).application().fields(8, 1).input().end();
    d.usage(0x0003).usage_page(0x0C).application().fields(8, 1).input().end();
    // A Usage Minimum names the collection when no Usage does; the first usage wins.
    d.usage_page(0x01).usage_minimum(0x04).usage_maximum(0x05).application().end();
    d.usage(0x07).usage(0x08).application().end();
    // Locals are spent by a main item: the next collection without a usage has usage 0.
    d.application().end();
    EXPECT_EQ(parse_ok(d.bytes()), (std::vector<Caps>{{0xFF00, 0x02, 2, 0, 0},
                                                      {0x01, 0x02, 2, 0, 0},
                                                      {0x0C, 0x03, 2, 0, 0},
                                                      {0x01, 0x04, 0, 0, 0},
                                                      {0x01, 0x07, 0, 0, 0},
                                                      {0x01, 0x00, 0, 0, 0}}));
}

TEST(ReportDescriptor, PushAndPopSaveTheGlobalState) {
    DescriptorBuilder d;
    d.usage_page(0xFF00).usage(0x01).application();
    d.report_id(1).fields(8, 4);
    d.push().usage_page(0x01).report_id(2).fields(16, 10).input().pop();
    d.input();  // size, count and id are back: id 1 gets 4 bytes
    d.usage(0x02).application().end();
    d.end();
    // The pushed state also outlives the collection: page 0xFF00 again here.
    d.usage(0x03).application().feature().end();
    EXPECT_EQ(parse_ok(d.bytes()),
              (std::vector<Caps>{{0xFF00, 0x01, 21, 0, 0}, {0xFF00, 0x03, 0, 0, 5}}));

    DescriptorBuilder underflow;
    underflow.usage_page(0x01).usage(0x02).application().end().push().pop().pop();
    const auto info = parse_report_descriptor(underflow.bytes());
    EXPECT_FALSE(info.ok());
    EXPECT_EQ(info.error_offset, underflow.bytes().size() - 1);
    EXPECT_EQ(info.collections.size(), 1u);  // what came before the fault is kept
}

TEST(ReportDescriptor, LongItemsAreSkippedWhole) {
    DescriptorBuilder d;
    // The long item's data holds bytes that would be a collection if read as short items.
    d.long_item(0xF0, {0x09, 0x02, 0xA1, 0x01, 0xC0});
    d.append(test::vendor_feature_collection());
    d.long_item(0x01, {});
    EXPECT_EQ(parse_ok(d.bytes()), (std::vector<Caps>{{0xFF00, 0x02, 0, 0, 9}}));

    // A long item whose data runs past the end is an error, not an over-read.
    DescriptorBuilder cut;
    cut.append(test::vendor_feature_collection()).raw({0xFE, 0x10, 0x00, 0x01, 0x02});
    const auto info = parse_report_descriptor(cut.bytes());
    EXPECT_FALSE(info.ok());
    EXPECT_EQ(info.error_offset, test::vendor_feature_collection().size());
    EXPECT_EQ(caps_of(info), (std::vector<Caps>{{0xFF00, 0x02, 0, 0, 9}}));
}

TEST(ReportDescriptor, MalformedItemsStopWithAnError) {
    const auto error_of = [](const DescriptorBuilder& d) {
        return parse_report_descriptor(d.bytes()).error;
    };
    DescriptorBuilder unopened;
    unopened.end();
    EXPECT_FALSE(error_of(unopened).empty());

    DescriptorBuilder unclosed;
    unclosed.usage_page(0x01).usage(0x02).application().fields(8, 3).input();
    EXPECT_FALSE(error_of(unclosed).empty());

    for (std::uint32_t id : {0u, 256u}) {
        DescriptorBuilder bad_id;
        bad_id.usage(0x01).application().report_id(id).end();
        EXPECT_FALSE(error_of(bad_id).empty()) << id;
    }

    // 2^32-1 fields of 2^32-1 bits: must neither overflow nor pass for a real report.
    DescriptorBuilder huge;
    huge.usage(0x01).application().fields(0xFFFFFFFF, 0xFFFFFFFF).feature().end();
    EXPECT_FALSE(error_of(huge).empty());

    DescriptorBuilder deep;
    for (int i = 0; i < 40; ++i)
        deep.push();
    EXPECT_FALSE(error_of(deep).empty());
}

TEST(ReportDescriptor, EveryTruncationKeepsExactlyTheCompleteCollections) {
    DescriptorBuilder d;
    d.append(test::boot_keyboard());
    const std::size_t after_keyboard = d.bytes().size();
    d.append(test::boot_mouse());
    const std::size_t after_mouse = d.bytes().size();
    d.long_item(0x02, {1, 2, 3});
    const std::size_t after_long_item = d.bytes().size();
    d.append(test::vendor_feature_collection());
    const auto& full = d.bytes();
    const auto whole = parse_ok(full);
    ASSERT_EQ(whole.size(), 3u);
    for (std::size_t n = 0; n < full.size(); ++n) {
        // A copy of exactly n bytes, so the sanitizers see any read past the cut.
        const std::vector<std::uint8_t> cut(full.begin(), full.begin() + n);
        const auto info = parse_report_descriptor(cut);
        const std::size_t complete = (n >= after_keyboard) + (n >= after_mouse);
        EXPECT_EQ(caps_of(info), std::vector<Caps>(whole.begin(), whole.begin() + complete)) << n;
        EXPECT_LE(info.error_offset, n);
        const bool inside_long_item = n > after_mouse && n < after_long_item;
        const bool before_last_end = n == full.size() - 1;
        if (inside_long_item || before_last_end) {
            EXPECT_FALSE(info.ok()) << n;
        }
        if (n == after_keyboard || n == after_mouse) {
            EXPECT_TRUE(info.ok()) << n;
        }
    }
}

TEST(ReportDescriptor, RandomBytesNeverCrash) {
    std::mt19937 rng(20261208);
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> bytes(rng() % 200);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(rng());
        const auto info = parse_report_descriptor(bytes);
        EXPECT_LE(info.error_offset, bytes.size());
        for (const auto& c : info.collections) {
            for (int len :
                 {c.input_report_length, c.output_report_length, c.feature_report_length}) {
                EXPECT_GE(len, 0);
                EXPECT_LE(len, 0x10000);
            }
        }
    }
}

}  // namespace
}  // namespace zentrik::platform::hid
