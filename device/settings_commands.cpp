// Settings, link and wheel commands: one exchange each.
#include <algorithm>

#include "device/commands.h"
#include "device/request.h"
#include "device/transport.h"

namespace zentrik::device {
namespace {

constexpr int kSettingsDelayMs = 10;

std::optional<Report> ask(zklib& lib, const std::string& path, const Report& request,
                          int delay_ms = kSettingsDelayMs) {
    Report reply{};
    if (!transfer(lib, path, request, reply, delay_ms))
        return std::nullopt;
    return reply;
}

int send(zklib& lib, const std::string& path, const Report& request,
         int delay_ms = kSettingsDelayMs) {
    Report reply{};
    return transfer(lib, path, request, reply, delay_ms);
}

std::uint8_t u8(int v) {
    return static_cast<std::uint8_t>(v);
}

}  // namespace

int commit_settings(zklib& lib, const std::string& path) {
    return send(lib, path, make_request(0x01, 0x02, {{3, 0}, {8, kKeyByte}}), 150);
}

int read_dpi_values(zklib& lib, const std::string& path, int level, int& x, int& y) {
    const auto r = ask(lib, path, make_request(0x01, 0x03, {{3, 0}, {4, u8(level)}}));
    if (!r)
        return 0;
    x = (*r)[2];
    y = (*r)[3] == 0 ? x : (*r)[3];
    return 1;
}

int write_dpi_value(zklib& lib, const std::string& path, int axis, int level, int value) {
    return send(
        lib, path,
        make_request(0x01, 0x83, {{3, u8(axis)}, {4, u8(level)}, {5, u8(value)}, {8, kKeyByte}}));
}

std::optional<ButtonFunction> read_button(zklib& lib, const std::string& path, int profile,
                                          int button) {
    const auto r = ask(lib, path, make_request(0x01, 0x05, {{3, u8(profile)}, {4, u8(button)}}));
    lib.timing().sleep_ms(1);
    if (!r)
        return std::nullopt;
    ButtonFunction f;
    f.kind = (*r)[2];
    f.value = (f.kind & 0x80) ? static_cast<std::uint16_t>((*r)[3] | ((*r)[4] << 8)) : 0xFFFF;
    return f;
}

int write_button(zklib& lib, const std::string& path, int profile, int button, bool has_function,
                 std::uint16_t value) {
    return send(lib, path,
                make_request(0x01, 0x85,
                             {{3, u8(profile)},
                              {4, u8(button)},
                              {5, u8(has_function ? 0x80 : 0)},
                              {6, low_byte(value)},
                              {7, high_byte(value)},
                              {8, kKeyByte}}),
                20);
}

std::optional<int> read_dpi_level(zklib& lib, const std::string& path) {
    const auto r = ask(lib, path, make_request(0x01, 0x07));
    if (!r)
        return std::nullopt;
    return std::min<int>((*r)[2], kDpiLevelCount - 1);
}

int write_dpi_level(zklib& lib, const std::string& path, int level) {
    return send(lib, path, make_request(0x01, 0x87, {{3, u8(level)}, {8, kKeyByte}}));
}

std::optional<int> read_profile(zklib& lib, const std::string& path) {
    const auto r = ask(lib, path, make_request(0x01, 0x08, {{3, 0x02}, {4, kKeyByte}}));
    if (!r)
        return std::nullopt;
    return (*r)[2] % kProfileCount;
}

int write_profile(zklib& lib, const std::string& path, int profile) {
    return send(lib, path, make_request(0x01, 0x88, {{3, u8(profile)}, {8, kKeyByte}}));
}

std::optional<std::uint16_t> read_macro_limit(zklib& lib, const std::string& path) {
    const auto r = ask(lib, path, make_request(0x01, 0x0A));
    if (!r)
        return std::nullopt;
    return static_cast<std::uint16_t>((*r)[2] | ((*r)[3] << 8));
}

int write_macro_limit(zklib& lib, const std::string& path, std::uint16_t address) {
    return send(
        lib, path,
        make_request(0x01, 0x8A, {{3, low_byte(address)}, {4, high_byte(address)}, {8, kKeyByte}}));
}

std::optional<std::uint8_t> read_rate_byte(zklib& lib, const std::string& path) {
    const auto r = ask(lib, path, make_request(0x01, 0x0B));
    if (!r)
        return std::nullopt;
    return (*r)[2];
}

int write_rate_byte(zklib& lib, const std::string& path, std::uint8_t rate_byte) {
    return send(lib, path, make_request(0x01, 0x8B, {{3, rate_byte}}));
}

std::optional<std::uint8_t> read_link_tag(zklib& lib, const std::string& path) {
    const auto r = ask(lib, path, make_request(0x00, 0x00, {{3, 0}, {8, kKeyByte}}));
    if (!r)
        return std::nullopt;
    return (*r)[7];
}

int write_link_tag(zklib& lib, const std::string& path, std::uint8_t tag) {
    return send(lib, path, make_request(0x00, 0x02, {{3, tag}, {8, kKeyByte}}));
}

std::optional<std::uint8_t> read_wheel_rate(zklib& lib, const std::string& path) {
    const auto r = ask(lib, path, make_request(0x07, 0x00));
    if (!r)
        return std::nullopt;
    return (*r)[3];
}

int write_wheel_rate(zklib& lib, const std::string& path, std::uint8_t rate) {
    return send(lib, path, make_request(0x07, 0x02, {{3, rate}, {4, kKeyByte}}));
}

int listing_request(zklib& lib, const std::string& path) {
    return send(lib, path, make_request(0x07, 0x01, {{3, 1}}));
}

}  // namespace zentrik::device
