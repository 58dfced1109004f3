#include "macro/key_names.h"

#include <mutex>

#include "macro/scan_code_table.h"

namespace zentrik::macro {
namespace {

constexpr int kExtendedFlag = 1 << 24;

std::mutex service_mutex;
std::shared_ptr<const platform::KeyNameService> installed_service;

std::shared_ptr<const platform::KeyNameService> current_service() {
    std::lock_guard lock(service_mutex);
    if (!installed_service)
        installed_service = platform::make_system_key_name_service();
    return installed_service;
}

}  // namespace

int key_name_argument(int scan) {
    int argument = (scan & 0xFF) << 16;
    if ((scan & 0xE000) != 0)
        argument |= kExtendedFlag;
    if (argument == 0x450000)
        return 0x450000 | kExtendedFlag;  // Num Lock
    if (argument == 0xC50000)
        return 0x450000;  // Pause
    return argument;
}

std::string KeyNamer::key_name(int usage) const {
    if (usage == 144)
        return "Hangul/English";
    if (usage == 145)
        return "Hanja";
    const int argument = key_name_argument(table_.scan(usage));
    return service_.key_name((argument >> 16) & 0xFF, (argument & kExtendedFlag) != 0);
}

std::string key_name(int usage) {
    const auto service = current_service();
    return KeyNamer(ScanCodeTable::builtin(), *service).key_name(usage);
}

int usage_from_scan(int scan) {
    return ScanCodeTable::builtin().usage_from_scan(scan);
}

void set_key_name_service(std::shared_ptr<const platform::KeyNameService> service) {
    std::lock_guard lock(service_mutex);
    installed_service = std::move(service);
}

std::string consumer_key_name(int usage) {
    switch (usage) {
        case 0x0B0:
            return "Play";
        case 0x0B1:
            return "Pause";
        case 0x0B3:
            return "Fast Forward";
        case 0x0B4:
            return "Rewind";
        case 0x0B5:
            return "Scan Next Track";
        case 0x0B6:
            return "Scan Previous Track";
        case 0x0B7:
            return "Stop";
        case 0x0CD:
            return "Play/Pause";
        case 0x0E2:
            return "Mute";
        case 0x0E9:
            return "Volume +";
        case 0x0EA:
            return "Volume -";
        case 0x183:
            return "Media Player";
        case 0x18A:
            return "E-Mail";
        case 0x192:
            return "Calculator";
        case 0x194:
            return "My Computer";
        case 0x221:
            return "Search";
        case 0x223:
            return "WWW Home";
        case 0x224:
            return "Back";
        case 0x225:
            return "Forward";
        case 0x227:
            return "Refresh";
        case 0x22A:
            return "Bookmarks";
        default:
            return "Unknown";
    }
}

}  // namespace zentrik::macro
