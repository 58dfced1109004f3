#include "macro/directory_record.h"

#include <algorithm>
#include <array>

#include "device/commands.h"
#include "device/memory_reader.h"
#include "device/name_codec.h"
#include "lang/text_codec.h"

namespace zentrik::macro {
namespace {

constexpr int kRangeBytes = 2;  // a record's start address, read alone

int record_address(int slot) {
    return device::kDirectoryAddress + slot * kRecordSize;
}

}  // namespace

std::uint16_t memory_address(int address) {
    return static_cast<std::uint16_t>(address & 0xFFFF);
}

std::string fit_record_name(const std::string& name) {
    return lang::utf16_to_utf8(device::fit_name(lang::utf8_to_utf16(name), kMaxNameChars));
}

std::string decode_record_name(std::span<const std::uint8_t> bytes) {
    std::array<std::uint8_t, kRecordNameBytes> field{};
    std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), field.size()), field.begin());
    // Erased name bytes (FF FF) end the name; a lone FF byte is half of a character such as
    // U+00FF and stays.
    for (std::size_t i = 0; i + 1 < field.size(); i += 2) {
        if (field[i] == 0xFF && field[i + 1] == 0xFF)
            field[i] = field[i + 1] = 0;
    }
    std::string name = lang::utf16_to_utf8(device::decode_name(field));
    // Every hidden prefix goes: a name shown with one would read as a list header.
    while (name.starts_with(kHiddenNamePrefix))
        name.erase(0, 2);
    return name;
}

std::optional<std::string> record_name_problem(const std::string& name) {
    if (name.starts_with(kHiddenNamePrefix))
        return std::string("a macro name cannot begin with \"") + kHiddenNamePrefix + "\"";
    for (const char16_t unit : lang::utf8_to_utf16(name)) {
        // Control characters do not show in a list row; U+FFFF reads back as erased bytes.
        if (unit < 0x20 || unit == 0x7F || unit == 0xFFFF)
            return std::string(
                "a macro name cannot hold tabs, line breaks or other control "
                "characters");
    }
    return std::nullopt;
}

int write_directory_record(device::zklib& lib, const std::string& path, int slot, int start,
                           int end, const std::string& name) {
    const int base = record_address(slot);
    std::array<std::uint8_t, kRecordNameBytes> bytes{};
    device::encode_name(lang::utf8_to_utf16(name), bytes);
    const std::span<const std::uint8_t> all(bytes);
    if (start != kNoAddress) {
        if (!device::write_memory_block(lib, path, memory_address(base + 4), all.subspan(0, 12)) ||
            !device::write_memory_block(lib, path, memory_address(base + 16), all.subspan(12, 12)))
            return 0;
    }
    if (!device::write_memory_block(lib, path, memory_address(base + 28), all.subspan(24, 4)))
        return 0;
    // Start and end in one committed block: the mouse never holds a record whose start is new
    // and whose end is not.
    const std::array<std::uint8_t, 4> range{
        static_cast<std::uint8_t>(start & 0xFF), static_cast<std::uint8_t>((start >> 8) & 0xFF),
        static_cast<std::uint8_t>(end & 0xFF), static_cast<std::uint8_t>((end >> 8) & 0xFF)};
    return device::write_memory_block(lib, path, memory_address(base), range);
}

bool record_range_reads_back(device::zklib& lib, const std::string& path, int slot, int start,
                             int end) {
    const auto range = device::read_memory_range(lib, path, record_address(slot), 4);
    return range && ((*range)[0] | ((*range)[1] << 8)) == start &&
           ((*range)[2] | ((*range)[3] << 8)) == end;
}

std::optional<std::string> read_record_name(device::zklib& lib, const std::string& path, int slot) {
    const auto bytes = device::read_memory_range(
        lib, path, record_address(slot) + kRecordNameOffset, kRecordNameBytes);
    if (!bytes)
        return std::nullopt;
    return decode_record_name(*bytes);
}

std::optional<int> read_slot_start(device::zklib& lib, const std::string& path, int slot) {
    if (slot < 0 || slot >= kSlotCount)
        return std::nullopt;
    const auto range = device::read_memory_range(lib, path, record_address(slot), kRangeBytes);
    if (!range)
        return std::nullopt;
    const int start = (*range)[0] | ((*range)[1] << 8);
    if (start == kNoAddress)
        return std::nullopt;
    return start;
}

std::optional<std::string> read_macro_name_at(device::zklib& lib, const std::string& path,
                                              int address) {
    if (address == kNoAddress)
        return std::nullopt;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const auto start = read_slot_start(lib, path, slot);
        if (!start || *start != address)
            continue;
        return read_record_name(lib, path, slot);
    }
    return std::nullopt;
}

}  // namespace zentrik::macro
