#pragma once
// The built-in table linking HID keyboard usages to PC scan codes (set 1, 0xE000 added for
// E0-prefixed keys): UTF-16LE text with a byte-order mark, one "usage scancode" line per key,
// lines separated by CR LF. Made at build time from scancode_table.txt.
#include <string_view>

namespace zentrik::res {

std::string_view scancode_table_resource();

}  // namespace zentrik::res
