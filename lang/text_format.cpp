#include "lang/text_format.h"

#include <algorithm>
#include <cstring>

namespace zentrik::lang {
namespace {

struct Conversion {
    std::size_t length = 0;  // characters from '%' to the conversion letter, both included
    bool left_align = false;
    bool zero_pad = false;
    bool plus_sign = false;
    int width = 0;
    char letter = 0;
};

// Parses "%[flags][width][.precision][length]letter" at `s[0]` == '%'. Returns a conversion of
// length 0 when the text is not one.
Conversion parse_conversion(std::string_view s) {
    Conversion c;
    std::size_t i = 1;
    for (; i < s.size() && std::strchr("-+ #0", s[i]) != nullptr; ++i) {
        if (s[i] == '-')
            c.left_align = true;
        if (s[i] == '0')
            c.zero_pad = true;
        if (s[i] == '+')
            c.plus_sign = true;
    }
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        c.width = std::min(c.width * 10 + (s[i] - '0'), kMaxFieldWidth);
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i;  // precision: ignored
    }
    while (i < s.size() && std::strchr("hlLqjzt", s[i]) != nullptr)
        ++i;
    if (i >= s.size() || std::strchr("diouxXcsSeEfgGaAp", s[i]) == nullptr)
        return {};
    c.letter = s[i];
    c.length = i + 1;
    return c;
}

std::string natural_text(const TextArg& arg, const Conversion& c) {
    if (const auto* s = std::get_if<std::string_view>(&arg))
        return std::string(*s);
    const auto value = std::get<std::int64_t>(arg);
    std::string digits = std::to_string(value);
    if (c.plus_sign && value >= 0)
        digits.insert(0, "+");
    return digits;
}

std::string padded(std::string text, const Conversion& c) {
    const auto width = static_cast<std::size_t>(c.width);
    if (text.size() >= width)
        return text;
    const std::size_t fill = width - text.size();
    if (c.left_align)
        return text + std::string(fill, ' ');
    if (c.zero_pad && !text.empty() && (text[0] == '-' || text[0] == '+'))
        return text.substr(0, 1) + std::string(fill, '0') + text.substr(1);
    return std::string(fill, c.zero_pad ? '0' : ' ') + text;
}

}  // namespace

std::string format_text(std::string_view templ, std::initializer_list<TextArg> args) {
    std::string out;
    out.reserve(templ.size() + 16);
    auto next = args.begin();
    for (std::size_t i = 0; i < templ.size();) {
        if (templ[i] != '%') {
            out.push_back(templ[i++]);
            continue;
        }
        if (i + 1 < templ.size() && templ[i + 1] == '%') {
            out.push_back('%');
            i += 2;
            continue;
        }
        const Conversion c = parse_conversion(templ.substr(i));
        if (c.length == 0 || next == args.end()) {
            // Not a conversion we fill (or nothing left to fill it with): keep it as typed.
            const std::size_t keep = c.length == 0 ? 1 : c.length;
            out.append(templ.substr(i, keep));
            i += keep;
            continue;
        }
        out += padded(natural_text(*next++, c), c);
        i += c.length;
    }
    return out;
}

}  // namespace zentrik::lang
