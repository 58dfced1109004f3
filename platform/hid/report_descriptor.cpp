#include "platform/hid/report_descriptor.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace zentrik::platform::hid {
namespace {

// Item types and tags of short items (the high nibble of the prefix byte is the tag).
enum ItemType : std::uint8_t { kMain = 0, kGlobal = 1, kLocal = 2, kReserved = 3 };

enum MainTag : std::uint8_t {
    kInput = 0x8,
    kOutput = 0x9,
    kCollection = 0xA,
    kFeature = 0xB,
    kEndCollection = 0xC,
};

enum GlobalTag : std::uint8_t {
    kUsagePage = 0x0,
    kReportSize = 0x7,
    kReportId = 0x8,
    kReportCount = 0x9,
    kPush = 0xA,
    kPop = 0xB,
};

enum LocalTag : std::uint8_t { kUsage = 0x0, kUsageMinimum = 0x1 };

constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::uint32_t kApplicationCollection = 1;
// Deeper Push nesting than this is taken as garbage rather than a descriptor.
constexpr std::size_t kMaxPushDepth = 32;
// Report lengths are 16-bit quantities on every host; a longer report cannot be real.
constexpr std::uint64_t kMaxReportBytes = 0xFFFF;

struct Item {
    std::uint8_t type = 0;
    std::uint8_t tag = 0;
    std::uint32_t data = 0;  // unsigned little-endian value of the item's 0, 1, 2 or 4 data bytes
    std::size_t data_size = 0;
    bool long_item = false;
};

// Reads the item at `pos`; nullopt when it runs past the end of the descriptor.
std::optional<Item> read_item(std::span<const std::uint8_t> d, std::size_t pos, std::size_t& next) {
    const std::uint8_t prefix = d[pos];
    if (prefix == kLongItemPrefix) {
        // Long item: prefix, data size, tag, data. No long item tags are defined; skip its data.
        if (d.size() - pos < 3)
            return std::nullopt;
        const std::size_t size = d[pos + 1];
        if (d.size() - pos - 3 < size)
            return std::nullopt;
        next = pos + 3 + size;
        return Item{kReserved, d[pos + 2], 0, size, true};
    }
    static constexpr std::size_t kSizes[] = {0, 1, 2, 4};
    const std::size_t size = kSizes[prefix & 0x3];
    if (d.size() - pos - 1 < size)
        return std::nullopt;
    Item item;
    item.type = (prefix >> 2) & 0x3;
    item.tag = prefix >> 4;
    item.data_size = size;
    for (std::size_t i = 0; i < size; ++i) {
        item.data |= static_cast<std::uint32_t>(d[pos + 1 + i]) << (8 * i);
    }
    next = pos + 1 + size;
    return item;
}

struct GlobalState {
    std::uint16_t usage_page = 0;
    std::uint32_t report_size = 0;  // bits per field
    std::uint32_t report_count = 0;
    std::uint8_t report_id = 0;  // 0: no report id declared
};

// Local items that matter here: the first usage, which names the collection that follows.
struct LocalState {
    bool has_usage = false;
    std::uint32_t usage = 0;
    bool extended = false;  // declared with 4 bytes: the usage page is in the high 16 bits
};

enum class ReportKind { input = 0, output = 1, feature = 2 };

struct OpenCollection {
    HidCollectionCaps caps;
    std::map<std::pair<ReportKind, std::uint8_t>, std::uint64_t> report_bits;

    int length(ReportKind kind) const {
        const auto it = longest(kind);
        return it == report_bits.end() ? 0 : static_cast<int>((it->second + 7) / 8 + 1);
    }
    // The id of the longest report of `kind` (the lowest id among equals); 0 when none.
    std::uint8_t longest_id(ReportKind kind) const {
        const auto it = longest(kind);
        return it == report_bits.end() ? 0 : it->first.second;
    }
    std::vector<std::uint8_t> ids(ReportKind kind) const {
        std::vector<std::uint8_t> out;
        for (const auto& entry : report_bits) {
            if (entry.first.first == kind)
                out.push_back(entry.first.second);
        }
        return out;
    }

  private:
    using Bits = std::map<std::pair<ReportKind, std::uint8_t>, std::uint64_t>;
    Bits::const_iterator longest(ReportKind kind) const {
        auto best = report_bits.end();
        for (auto it = report_bits.begin(); it != report_bits.end(); ++it) {
            if (it->first.first == kind && (best == report_bits.end() || it->second > best->second))
                best = it;
        }
        return best;
    }
};

class Parser {
  public:
    explicit Parser(std::span<const std::uint8_t> d) : d_(d) {}

    ReportDescriptorInfo run() {
        std::size_t pos = 0;
        while (pos < d_.size() && out_.ok()) {
            std::size_t next = pos;
            const auto item = read_item(d_, pos, next);
            if (!item) {
                fail(pos, "item runs past the end of the descriptor");
                break;
            }
            handle(*item, pos);
            pos = next;
        }
        if (out_.ok() && depth_ > 0)
            fail(d_.size(), "descriptor ends inside a collection");
        return std::move(out_);
    }

  private:
    void fail(std::size_t pos, std::string why) {
        out_.error = std::move(why);
        out_.error_offset = pos;
    }

    void handle(const Item& item, std::size_t pos) {
        if (item.long_item)
            return;
        switch (item.type) {
            case kMain:
                handle_main(item, pos);
                local_ = {};
                break;
            case kGlobal:
                handle_global(item, pos);
                break;
            case kLocal:
                handle_local(item);
                break;
            default:
                break;  // reserved short items carry nothing we use
        }
    }

    void handle_main(const Item& item, std::size_t pos) {
        switch (item.tag) {
            case kInput:
                add_report(ReportKind::input, pos);
                break;
            case kOutput:
                add_report(ReportKind::output, pos);
                break;
            case kFeature:
                add_report(ReportKind::feature, pos);
                break;
            case kCollection:
                open_collection(item.data);
                break;
            case kEndCollection:
                close_collection(pos);
                break;
            default:
                break;  // reserved main tags
        }
    }

    void open_collection(std::uint32_t kind) {
        if (depth_++ > 0)
            return;
        if (kind != kApplicationCollection)
            return;  // only application collections are top-level
        current_.emplace();
        const std::uint32_t usage = local_.has_usage ? local_.usage : 0;
        current_->caps.usage_page =
            local_.extended ? static_cast<std::uint16_t>(usage >> 16) : global_.usage_page;
        current_->caps.usage = static_cast<std::uint16_t>(usage & 0xFFFF);
    }

    void close_collection(std::size_t pos) {
        if (depth_ == 0) {
            fail(pos, "End Collection without an open collection");
            return;
        }
        if (--depth_ > 0 || !current_)
            return;
        current_->caps.input_report_length = current_->length(ReportKind::input);
        current_->caps.output_report_length = current_->length(ReportKind::output);
        current_->caps.feature_report_length = current_->length(ReportKind::feature);
        current_->caps.feature_report_id = current_->longest_id(ReportKind::feature);
        out_.collections.push_back(current_->caps);
        out_.input_report_ids.push_back(current_->ids(ReportKind::input));
        current_.reset();
    }

    void add_report(ReportKind kind, std::size_t pos) {
        // Reports outside an application collection belong to no top-level collection.
        if (!current_)
            return;
        auto& bits = current_->report_bits[{kind, global_.report_id}];
        bits += std::uint64_t{global_.report_size} * global_.report_count;  // < 2^64 each
        if (bits > kMaxReportBytes * 8)
            fail(pos, "report longer than 65535 bytes");
    }

    void handle_global(const Item& item, std::size_t pos) {
        switch (item.tag) {
            case kUsagePage:
                global_.usage_page = static_cast<std::uint16_t>(item.data);
                break;
            case kReportSize:
                global_.report_size = item.data;
                break;
            case kReportCount:
                global_.report_count = item.data;
                break;
            case kReportId:
                if (item.data == 0 || item.data > 0xFF) {
                    fail(pos, "report id outside 1-255");
                    return;
                }
                global_.report_id = static_cast<std::uint8_t>(item.data);
                out_.numbered_reports = true;
                break;
            case kPush:
                if (stack_.size() == kMaxPushDepth) {
                    fail(pos, "Push nested too deeply");
                    return;
                }
                stack_.push_back(global_);
                break;
            case kPop:
                if (stack_.empty()) {
                    fail(pos, "Pop without Push");
                    return;
                }
                global_ = stack_.back();
                stack_.pop_back();
                break;
            default:
                break;  // logical and physical ranges, units: not needed for lengths
        }
    }

    void handle_local(const Item& item) {
        if ((item.tag != kUsage && item.tag != kUsageMinimum) || local_.has_usage)
            return;
        local_.has_usage = true;
        local_.usage = item.data;
        local_.extended = item.data_size == 4;
    }

    std::span<const std::uint8_t> d_;
    ReportDescriptorInfo out_;
    GlobalState global_;
    std::vector<GlobalState> stack_;
    LocalState local_;
    std::size_t depth_ = 0;
    std::optional<OpenCollection> current_;  // the top-level application collection being read
};

}  // namespace

ReportDescriptorInfo parse_report_descriptor(std::span<const std::uint8_t> descriptor) {
    return Parser(descriptor).run();
}

}  // namespace zentrik::platform::hid
