#include "platform/linux/hidraw_sysfs.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <string_view>

namespace zentrik::platform::hidraw {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kPrefix = "hidraw";
// The kernel never hands out a descriptor longer than this; a bigger file is not one.
constexpr std::size_t kMaxDescriptorBytes = 0xFFFF;

std::optional<unsigned long> node_number(std::string_view name) {
    if (name.substr(0, kPrefix.size()) != kPrefix)
        return std::nullopt;
    name.remove_prefix(kPrefix.size());
    unsigned long n = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), n);
    if (ec != std::errc() || end != name.data() + name.size() || name.empty())
        return std::nullopt;
    return n;
}

std::optional<std::string> read_small_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text;
    char c;
    while (text.size() < 4096 && in.get(c))
        text.push_back(c);
    return text;
}

std::string trimmed(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ' || s.back() == '\r'))
        s.pop_back();
    return s;
}

template <typename T>
std::optional<T> parse_number(std::string_view text, int base) {
    T v{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return v;
}

std::optional<int> read_decimal_file(const fs::path& p) {
    const auto text = read_small_file(p);
    if (!text)
        return std::nullopt;
    return parse_number<int>(trimmed(*text), 10);
}

}  // namespace

std::vector<std::string> node_names(const fs::path& sysfs) {
    std::vector<std::pair<unsigned long, std::string>> found;
    std::error_code ec;
    for (fs::directory_iterator it(sysfs / "class" / "hidraw", ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (const auto n = node_number(name))
            found.emplace_back(*n, std::move(name));
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    for (auto& f : found)
        names.push_back(std::move(f.second));
    return names;
}

std::optional<fs::path> class_dir(const fs::path& sysfs, const fs::path& dev_path) {
    struct stat st {};
    std::error_code ec;
    if (::stat(dev_path.c_str(), &st) == 0 && S_ISCHR(st.st_mode)) {
        const auto by_number =
            sysfs / "dev" / "char" /
            (std::to_string(major(st.st_rdev)) + ":" + std::to_string(minor(st.st_rdev)));
        // Only a hidraw node: another character device must not pass for one.
        const auto real = fs::canonical(by_number, ec);
        if (!ec && real.parent_path().filename() == "hidraw") {
            return sysfs / "class" / "hidraw" / real.filename();
        }
        return std::nullopt;
    }
    const std::string name = dev_path.filename().string();
    if (!node_number(name))
        return std::nullopt;
    auto dir = sysfs / "class" / "hidraw" / name;
    if (!fs::exists(dir, ec))
        return std::nullopt;
    return dir;
}

std::optional<std::vector<std::uint8_t>> read_report_descriptor(const fs::path& class_dir) {
    std::ifstream in(class_dir / "device" / "report_descriptor", std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    char c;
    while (bytes.size() <= kMaxDescriptorBytes && in.get(c)) {
        bytes.push_back(static_cast<std::uint8_t>(c));
    }
    if (bytes.empty() || bytes.size() > kMaxDescriptorBytes)
        return std::nullopt;
    return bytes;
}

std::optional<HidAttributes> read_hid_id(const fs::path& class_dir) {
    const auto text = read_small_file(class_dir / "device" / "uevent");
    if (!text)
        return std::nullopt;
    std::string_view rest = *text;
    while (!rest.empty()) {
        const auto eol = rest.find('\n');
        std::string_view line = rest.substr(0, eol);
        rest = eol == std::string_view::npos ? std::string_view() : rest.substr(eol + 1);
        constexpr std::string_view kKey = "HID_ID=";
        if (line.substr(0, kKey.size()) != kKey)
            continue;
        line.remove_prefix(kKey.size());
        // bus:vendor:product, each in hex.
        const auto first = line.find(':');
        const auto second = line.find(':', first == std::string_view::npos ? 0 : first + 1);
        if (first == std::string_view::npos || second == std::string_view::npos)
            return std::nullopt;
        const auto vendor =
            parse_number<std::uint32_t>(line.substr(first + 1, second - first - 1), 16);
        const auto product = parse_number<std::uint32_t>(line.substr(second + 1), 16);
        if (!vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF)
            return std::nullopt;
        HidAttributes a;
        a.vendor_id = static_cast<std::uint16_t>(*vendor);
        a.product_id = static_cast<std::uint16_t>(*product);
        return a;
    }
    return std::nullopt;
}

std::optional<UsbParent> find_usb_parent(const fs::path& sysfs, const fs::path& class_dir) {
    std::error_code ec;
    const auto root = fs::canonical(sysfs, ec);
    if (ec)
        return std::nullopt;
    auto dir = fs::canonical(class_dir / "device", ec);
    if (ec)
        return std::nullopt;
    // Stay inside the sysfs tree: a link that leads out of it must not be followed.
    const auto inside = [&](const fs::path& p) {
        const auto rel = p.lexically_relative(root);
        return !rel.empty() && *rel.begin() != "..";
    };
    int interface_number = -1;
    for (; inside(dir) && dir != root; dir = dir.parent_path()) {
        if (!fs::exists(dir / "busnum", ec)) {
            if (const auto text = read_small_file(dir / "bInterfaceNumber")) {
                interface_number = parse_number<int>(trimmed(*text), 16).value_or(-1);
            }
            continue;
        }
        // The first ancestor with a bus number is the device; never look past it to its hub.
        const auto bus = read_decimal_file(dir / "busnum");
        const auto address = read_decimal_file(dir / "devnum");
        if (!bus || !address || *bus < 1 || *bus > 999 || *address < 1 || *address > 999) {
            return std::nullopt;
        }
        UsbParent p;
        p.bus = *bus;
        p.address = *address;
        p.sysfs_dir = dir;
        p.interface_number = interface_number;
        if (const auto bcd = read_small_file(dir / "bcdDevice")) {
            p.bcd_device = parse_number<std::uint16_t>(trimmed(*bcd), 16).value_or(0);
        }
        return p;
    }
    return std::nullopt;
}

int interface_number_from_devpath(std::string_view devpath) {
    int found = -1;
    while (!devpath.empty()) {
        const auto slash = devpath.find('/');
        const std::string_view part = devpath.substr(0, slash);
        devpath = slash == std::string_view::npos ? std::string_view() : devpath.substr(slash + 1);
        // "1-2:1.1", "3-1.4.2:1.0": a port path, then configuration and interface.
        const auto colon = part.find(':');
        if (colon == std::string_view::npos || colon == 0 || part.find('-') > colon)
            continue;
        const auto dot = part.find('.', colon);
        if (dot == std::string_view::npos)
            continue;
        const auto configuration = parse_number<int>(part.substr(colon + 1, dot - colon - 1), 10);
        const auto interface = parse_number<int>(part.substr(dot + 1), 10);
        if (configuration && interface)
            found = *interface;
    }
    return found;
}

std::vector<std::string> sibling_node_names(const fs::path& sysfs, const fs::path& class_dir) {
    const auto own = find_usb_parent(sysfs, class_dir);
    if (!own)
        return {class_dir.filename().string()};
    std::vector<std::string> names;
    for (const auto& name : node_names(sysfs)) {
        const auto parent = find_usb_parent(sysfs, sysfs / "class" / "hidraw" / name);
        if (parent && parent->sysfs_dir == own->sysfs_dir)
            names.push_back(name);
    }
    return names;
}

}  // namespace zentrik::platform::hidraw
