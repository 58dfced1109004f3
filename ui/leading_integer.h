#pragma once
// The number a typed value starts with: blanks, an optional sign and digits, as the inline
// editor and the wait steps read it; 0 when there are no digits. Saturates at a billion
// instead of overflowing, so callers clamp it to their own range.
#include <algorithm>
#include <cctype>
#include <string_view>

namespace zentrik::ui {

inline long long leading_integer(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = std::min(value * 10 + (text[i] - '0'), 1'000'000'000LL);
    return negative ? -value : value;
}

}  // namespace zentrik::ui
