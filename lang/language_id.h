#pragma once
// The user's language as a numeric language id (1033 = US English, 1028 = Traditional Chinese,
// ...), the number that names the sections of "language.ini".
#include <string>
#include <string_view>

namespace zentrik::lang {

inline constexpr int kLanguageEnglishUs = 1033;

// The locale name that governs messages: LC_ALL, then LC_MESSAGES, then LANG; "" when none.
std::string user_locale_name();

// "de_DE.UTF-8" → 1031, "zh_TW" → 1028, "pt" → 2070 ... ; "C", "POSIX", "" and unknown
// languages → 1033. A known language with an unknown territory gets the language's main id.
int language_id_from_locale(std::string_view locale);

}  // namespace zentrik::lang
