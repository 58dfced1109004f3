#pragma once
// Readable names of the keys a macro presses: HID keyboard usages through the scan-code table
// and the key-name service of the current keyboard layout, and HID consumer usages.
#include <memory>
#include <string>

#include "platform/key_names.h"

namespace zentrik::macro {

class ScanCodeTable;

// The argument the key-name service is asked with: scan code << 16, bit 24 for an extended key;
// Num Lock (plain 0x45 in the table) is asked as the extended key and the table's own Pause code
// 0xC5 as plain 0x45.
int key_name_argument(int scan);

// Names keyboard usages with one table and one service.
class KeyNamer {
  public:
    KeyNamer(const ScanCodeTable& table, const platform::KeyNameService& service)
        : table_(table), service_(service) {}
    std::string key_name(int usage) const;

  private:
    const ScanCodeTable& table_;
    const platform::KeyNameService& service_;
};

// Program-wide lookups: the built-in table and the installed service (the system's current
// layout unless another one was installed).
std::string key_name(int usage);
int usage_from_scan(int scan);
void set_key_name_service(std::shared_ptr<const platform::KeyNameService> service);

// "Volume +" for 0xE9 ...; "Unknown" for usages without a name.
std::string consumer_key_name(int usage);

}  // namespace zentrik::macro
