#pragma once
// Fills the placeholders of a user-editable text ("Wait %d ms", "Remove macro '%s' ?").
//
// The templates come from "language.ini", so they are never handed to printf. Each conversion
// ("%d", "%5s", "%-3lu" ...) takes the next argument and shows it in its natural form, whatever
// letter the translator wrote; "%%" is a percent sign; a conversion with no argument left, "%n",
// and anything that is not a conversion stay in the text as typed. Widths are capped, so a
// template such as "%99999d" can neither exhaust memory nor read past its arguments.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace zentrik::lang {

using TextArg = std::variant<std::int64_t, std::string_view>;

// Widest padding a conversion may ask for.
inline constexpr int kMaxFieldWidth = 64;

std::string format_text(std::string_view templ, std::initializer_list<TextArg> args);

inline std::string format_text(std::string_view templ, std::int64_t value) {
    return format_text(templ, {TextArg{value}});
}
inline std::string format_text(std::string_view templ, std::string_view value) {
    return format_text(templ, {TextArg{value}});
}

}  // namespace zentrik::lang
