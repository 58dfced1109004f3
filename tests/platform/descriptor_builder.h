#pragma once
// Assembles HID report descriptors item by item, so tests read like the descriptors they build.
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace zentrik::platform::hid::test {

class DescriptorBuilder {
  public:
    // A short item with the smallest data size that holds `value` (or exactly `size` bytes).
    DescriptorBuilder& item(std::uint8_t tag_and_type, std::uint32_t value, int size = -1) {
        if (size < 0)
            size = value == 0 ? 0 : value <= 0xFF ? 1 : value <= 0xFFFF ? 2 : 4;
        const std::uint8_t code = size == 4 ? 3 : static_cast<std::uint8_t>(size);
        bytes_.push_back(static_cast<std::uint8_t>(tag_and_type | code));
        for (int i = 0; i < size; ++i)
            bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        return *this;
    }

    DescriptorBuilder& usage_page(std::uint32_t v) { return item(0x04, v); }
    DescriptorBuilder& usage(std::uint32_t v, int size = -1) { return item(0x08, v, size); }
    DescriptorBuilder& usage_minimum(std::uint32_t v) { return item(0x18, v); }
    DescriptorBuilder& usage_maximum(std::uint32_t v) { return item(0x28, v); }
    DescriptorBuilder& logical(std::int32_t min, std::int32_t max) {
        item(0x14, static_cast<std::uint32_t>(min), 1);
        return item(0x24, static_cast<std::uint32_t>(max), 2);
    }
    DescriptorBuilder& report_size(std::uint32_t bits) { return item(0x74, bits); }
    DescriptorBuilder& report_count(std::uint32_t n) { return item(0x94, n); }
    DescriptorBuilder& report_id(std::uint32_t id) { return item(0x84, id); }
    DescriptorBuilder& push() { return item(0xA4, 0, 0); }
    DescriptorBuilder& pop() { return item(0xB4, 0, 0); }

    DescriptorBuilder& application() { return item(0xA0, 1, 1); }
    DescriptorBuilder& physical() { return item(0xA0, 0, 1); }
    DescriptorBuilder& logical_collection() { return item(0xA0, 2, 1); }
    DescriptorBuilder& end() { return item(0xC0, 0, 0); }
    DescriptorBuilder& input(std::uint32_t flags = 2) { return item(0x80, flags, 1); }
    DescriptorBuilder& output(std::uint32_t flags = 2) { return item(0x90, flags, 1); }
    DescriptorBuilder& feature(std::uint32_t flags = 2) { return item(0xB0, flags, 1); }

    // `size` bits of `count` fields in one main item.
    DescriptorBuilder& fields(std::uint32_t size, std::uint32_t count) {
        return report_size(size).report_count(count);
    }

    DescriptorBuilder& long_item(std::uint8_t tag, std::initializer_list<std::uint8_t> data) {
        bytes_.push_back(0xFE);
        bytes_.push_back(static_cast<std::uint8_t>(data.size()));
        bytes_.push_back(tag);
        bytes_.insert(bytes_.end(), data);
        return *this;
    }

    DescriptorBuilder& raw(std::initializer_list<std::uint8_t> data) {
        bytes_.insert(bytes_.end(), data);
        return *this;
    }

    DescriptorBuilder& append(const std::vector<std::uint8_t>& more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
};

// A three-button mouse with X, Y and wheel, as boot mice describe themselves (4 data bytes).
inline std::vector<std::uint8_t> boot_mouse() {
    DescriptorBuilder d;
    d.usage_page(0x01).usage(0x02).application();
    d.usage(0x01).physical();
    d.usage_page(0x09).usage_minimum(1).usage_maximum(3).logical(0, 1).fields(1, 3).input();
    d.fields(5, 1).input(1);  // padding
    d.usage_page(0x01).usage(0x30).usage(0x31).usage(0x38).logical(-127, 127).fields(8, 3).input(6);
    d.end().end();
    return d.bytes();
}

// A boot keyboard: modifiers, reserved byte, six key slots in; five LEDs and padding out.
inline std::vector<std::uint8_t> boot_keyboard() {
    DescriptorBuilder d;
    d.usage_page(0x01).usage(0x06).application();
    d.usage_page(0x07).usage_minimum(0xE0).usage_maximum(0xE7).logical(0, 1).fields(1, 8).input();
    d.fields(8, 1).input(1);
    d.usage_page(0x08).usage_minimum(1).usage_maximum(5).fields(1, 5).output();
    d.fields(3, 1).output(1);
    d.usage_page(0x07).usage_minimum(0).usage_maximum(0x65).logical(0, 0x65).fields(8, 6).input(0);
    d.end();
    return d.bytes();
}

// A vendor collection exchanging 8-byte feature reports without report ids.
inline std::vector<std::uint8_t> vendor_feature_collection(std::uint16_t usage = 0x02,
                                                           std::uint32_t data_bytes = 8) {
    DescriptorBuilder d;
    d.usage_page(0xFF00).usage(usage).application();
    d.usage(0x01).logical(0, 255).fields(8, data_bytes).feature();
    d.end();
    return d.bytes();
}

}  // namespace zentrik::platform::hid::test
