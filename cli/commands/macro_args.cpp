#include "cli/commands/macro_args.h"

#include <charconv>

namespace zentrik::cli {

std::optional<long long> parse_number(std::string_view text, long long min, long long max) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<std::vector<std::uint8_t>> parse_hex_bytes(const std::vector<std::string>& args,
                                                         std::string& error) {
    std::vector<std::uint8_t> bytes;
    for (std::string_view arg : args) {
        if (arg.size() > 2 && arg[0] == '0' && (arg[1] == 'x' || arg[1] == 'X'))
            arg.remove_prefix(2);
        if (arg.empty() || arg.size() % 2 != 0) {
            error = "'" + std::string(arg) + "' is not a whole number of hex bytes";
            return std::nullopt;
        }
        for (std::size_t i = 0; i < arg.size(); i += 2) {
            unsigned value = 0;
            const auto [end, ec] = std::from_chars(arg.data() + i, arg.data() + i + 2, value, 16);
            if (ec != std::errc() || end != arg.data() + i + 2) {
                error = "'" + std::string(arg) + "' is not hex";
                return std::nullopt;
            }
            bytes.push_back(static_cast<std::uint8_t>(value));
        }
    }
    return bytes;
}

std::optional<std::string> option_value(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size())
        return std::nullopt;
    return args[++i];
}

std::string visible_line_breaks(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out.push_back(c);
    }
    return out;
}

}  // namespace zentrik::cli
