// zentrikctl hid-caps: the top-level collections of a HID report descriptor with their report
// lengths, as the device link sees them when it looks for a mouse.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/json_output.h"
#include "platform/hid/report_descriptor.h"
#include "platform/hid_backend.h"

namespace zentrik::cli {
namespace {

// A report descriptor's length is a 16-bit field of the HID class descriptor.
constexpr std::uintmax_t kMaxDescriptorBytes = 0xFFFF;

std::optional<std::vector<std::uint8_t>> read_descriptor_file(const std::string& path,
                                                              std::ostream& err) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        err << "zentrikctl hid-caps: " << path << ": no such file or device\n";
        return std::nullopt;
    }
    if (std::filesystem::is_directory(status)) {
        err << "zentrikctl hid-caps: " << path << ": is a directory\n";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        err << "zentrikctl hid-caps: " << path << ": cannot be read\n";
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    char c;
    while (bytes.size() <= kMaxDescriptorBytes && in.get(c)) {
        bytes.push_back(static_cast<std::uint8_t>(c));
    }
    if (bytes.size() > kMaxDescriptorBytes) {
        err << "zentrikctl hid-caps: " << path
            << ": too large for a report descriptor (more than 65535 bytes)\n";
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>> read_descriptor(const std::string& arg,
                                                         std::ostream& err) {
    std::error_code ec;
    if (std::filesystem::is_character_file(arg, ec)) {
        auto bytes = platform::make_system_hid_backend()->report_descriptor(arg);
        if (!bytes) {
            err << "zentrikctl hid-caps: " << arg
                << ": not a HID device, or its report descriptor cannot be read\n";
        }
        return bytes;
    }
    return read_descriptor_file(arg, err);
}

std::string hex4(std::uint16_t v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%04x", v);
    return buf;
}

}  // namespace

int run_hid_caps(CliContext& ctx) {
    if (ctx.args.size() != 1 || ctx.args[0].empty()) {
        ctx.err << "usage: zentrikctl hid-caps FILE|DEVICE (see zentrikctl hid-caps --help)\n";
        return kExitUsage;
    }
    const std::string& arg = ctx.args[0];
    const auto bytes = read_descriptor(arg, ctx.err);
    if (!bytes)
        return kExitBadFile;
    if (bytes->empty()) {
        ctx.err << "zentrikctl hid-caps: " << arg << ": empty, not a report descriptor\n";
        return kExitBadFile;
    }
    const auto info = platform::hid::parse_report_descriptor(*bytes);
    if (ctx.globals.json) {
        Json collections = Json::array();
        for (const auto& c : info.collections) {
            collections.push_back({{"usage_page", c.usage_page},
                                   {"usage", c.usage},
                                   {"input_report_length", c.input_report_length},
                                   {"output_report_length", c.output_report_length},
                                   {"feature_report_length", c.feature_report_length}});
        }
        print_json(ctx.out, {{"collections", collections}});
    } else {
        for (const auto& c : info.collections) {
            ctx.out << hex4(c.usage_page) << ' ' << hex4(c.usage) << ' ' << c.input_report_length
                    << ' ' << c.output_report_length << ' ' << c.feature_report_length << '\n';
        }
    }
    if (!info.ok()) {
        ctx.err << "zentrikctl hid-caps: " << arg
                << ": not a valid report descriptor: " << info.error << " (byte "
                << info.error_offset << ")\n";
        return kExitBadFile;
    }
    if (info.collections.empty()) {
        ctx.err << "zentrikctl hid-caps: " << arg
                << ": the report descriptor has no application collection\n";
        return kExitBadFile;
    }
    return 0;
}

}  // namespace zentrik::cli
