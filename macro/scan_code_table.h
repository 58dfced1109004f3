#pragma once
// The table linking HID keyboard usages (0-254) to PC scan codes: set-1 make codes, with 0xE000
// added for keys sent with an E0 prefix. Usage 255 and usages without a key give 0.
#include <array>
#include <string_view>

namespace zentrik::macro {

class ScanCodeTable {
  public:
    static constexpr int kEntries = 255;  // usages 0-254

    // Reads the table's resource form: a two-byte byte-order mark, then UTF-16LE lines
    // "usage scancode" (decimal) ending in CR LF (or LF; other CRs are dropped). Lines without
    // a blank after their first character are skipped; a usage outside 0-255 counts as 0; usage 255
    // is never stored.
    static ScanCodeTable parse(std::string_view resource_bytes);
    // The table built into the program, loaded on first use.
    static const ScanCodeTable& builtin();

    int scan(int usage) const;
    // The first usage (ascending) with this non-zero scan code, or 0.
    int usage_from_scan(int scan) const;

  private:
    std::array<int, kEntries> scan_{};
};

}  // namespace zentrik::macro
