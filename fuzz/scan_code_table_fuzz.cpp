// The scan-code table's resource form: any bytes must give a table whose lookups stay in range
// and agree with each other.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "macro/scan_code_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zentrik::macro::ScanCodeTable;
    const auto table =
        ScanCodeTable::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    for (int usage = -1; usage <= ScanCodeTable::kEntries + 1; ++usage) {
        const int scan = table.scan(usage);
        if (scan == 0)
            continue;
        const int back = table.usage_from_scan(scan);
        if (back < 0 || back >= ScanCodeTable::kEntries || table.scan(back) != scan || back > usage)
            std::abort();
    }
    return 0;
}
