#include "macro/scan_code_table.h"

#include <charconv>
#include <string>

#include "lang/text_codec.h"
#include "res/scancode/scancode_table.h"

namespace zentrik::macro {
namespace {

std::string_view trim_blanks(std::string_view s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// Leading decimal digits (optionally signed) as a number; no digits read as 0, and a number too
// large for an int reads as 0 as well, so it never lands in the table.
long long leading_number(std::string_view s) {
    long long value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    (void)end;
    return ec == std::errc() && value >= -0x7FFFFFFFLL && value <= 0x7FFFFFFFLL ? value : 0;
}

}  // namespace

ScanCodeTable ScanCodeTable::parse(std::string_view resource_bytes) {
    ScanCodeTable table;
    if (resource_bytes.size() < 2)
        return table;
    // CR LF ends a line; a CR on its own is dropped (it does not end one).
    std::string text;
    for (char c : lang::utf16le_to_utf8(resource_bytes.substr(2))) {
        if (c != '\r')
            text.push_back(c);
    }
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + start, end - start);
        const auto blank = line.find(' ');
        if (blank != std::string_view::npos && blank != 0) {
            long long usage = leading_number(line.substr(0, blank));
            if (usage < 0 || usage > 255)
                usage = 0;
            if (usage < kEntries)
                table.scan_[static_cast<std::size_t>(usage)] =
                    static_cast<int>(leading_number(trim_blanks(line.substr(blank + 1))));
        }
        start = end + 1;
    }
    return table;
}

const ScanCodeTable& ScanCodeTable::builtin() {
    static const ScanCodeTable table = parse(res::scancode_table_resource());
    return table;
}

int ScanCodeTable::scan(int usage) const {
    if (usage < 0 || usage >= kEntries)
        return 0;
    return scan_[static_cast<std::size_t>(usage)];
}

int ScanCodeTable::usage_from_scan(int scan) const {
    if (scan == 0)
        return 0;
    for (int usage = 0; usage < kEntries; ++usage) {
        if (scan_[static_cast<std::size_t>(usage)] == scan)
            return usage;
    }
    return 0;
}

}  // namespace zentrik::macro
