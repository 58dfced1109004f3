#include "core/profile_document.h"

#include <cctype>
#include <nlohmann/json.hpp>
#include <set>

#include "core/function_names.h"
#include "device/name_codec.h"
#include "lang/file_bytes.h"
#include "lang/string_tables.h"
#include "lang/text_codec.h"
#include "lang/text_format.h"
#include "macro/directory_record.h"
#include "macro/slot_code.h"
#include "platform/replacing_file.h"

namespace zentrik::core {
namespace {

using Json = nlohmann::ordered_json;

constexpr char kFormat[] = "zentrik-profile";
// The largest code a slot can hold: the code area of the largest memory, less the end byte.
constexpr std::size_t kMaxMacroBytes = device::kLargestMemorySize - device::kMacroAreaStart - 1;

std::string hex_bytes(const macro::MacroCode& code) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t b : code) {
        if (!text.empty())
            text += ' ';
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// Pairs of hex digits, spaces between bytes allowed; nullopt on anything else.
std::optional<macro::MacroCode> parse_hex_bytes(std::string_view text) {
    macro::MacroCode code;
    int high = -1;
    for (const char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)) && high < 0)
            continue;
        const int d = hex_digit(c);
        if (d < 0)
            return std::nullopt;
        if (high < 0) {
            high = d;
        } else {
            code.push_back(static_cast<std::uint8_t>(high << 4 | d));
            high = -1;
        }
    }
    if (high >= 0)
        return std::nullopt;
    return code;
}

// `value` on one line, with a space after each colon and comma of an object.
std::string one_line(const Json& value) {
    const auto text = [](const Json& v) {
        return v.dump(-1, ' ', false, Json::error_handler_t::replace);
    };
    if (!value.is_object())
        return text(value);
    std::string out;
    for (const auto& [key, item] : value.items())
        out += (out.empty() ? "{" : ", ") + text(key) + ": " + text(item);
    return out + "}";
}

// The parser's message without its "[json.exception.parse_error.101] " tag.
std::string_view without_exception_id(std::string_view what) {
    const auto end = what.find("] ");
    return what.rfind('[', 0) == 0 && end != what.npos ? what.substr(end + 2) : what;
}

// Every refusal is thrown as its message and caught once, in parse_profile_json.
struct Refusal {
    std::string message;
};

[[noreturn]] void refuse(std::string_view key, std::string_view english, lang::TextArg arg = {}) {
    throw Refusal{lang::format_text(lang::own_text(key, english), {arg})};
}

const Json& member(const Json& object, const char* key, bool (Json::*is_type)() const,
                   std::string_view type_key, std::string_view type_english) {
    const auto it = object.find(key);
    if (it == object.end() || !((*it).*is_type)())
        refuse(type_key, type_english, std::string_view(key));
    return *it;
}

const Json& string_member(const Json& object, const char* key) {
    return member(object, key, &Json::is_string, "zk_profile_file_need_text",
                  "'%s' is missing or is not a text");
}

std::string macro_name(const Json& entry) {
    const std::string name = string_member(entry, "name").get<std::string>();
    if (name.empty())
        refuse("zk_profile_file_unnamed_macro", "a macro has no name");
    if (const auto problem = macro::record_name_problem(name))
        refuse("zk_profile_file_bad_macro_name", "macro '%s' has a name the mouse cannot keep",
               std::string_view(name));
    if (macro::fit_record_name(name) != name)
        refuse("zk_profile_file_long_macro_name",
               "macro name '%s' is longer than the 14 characters the mouse keeps",
               std::string_view(name));
    return name;
}

ProfileMacro read_macro(const Json& entry) {
    if (!entry.is_object())
        refuse("zk_profile_file_macro_not_object", "every entry of 'macros' must be an object");
    ProfileMacro m;
    m.name = macro_name(entry);
    const std::string hex = string_member(entry, "code").get<std::string>();
    const auto code = parse_hex_bytes(hex);
    if (!code)
        refuse("zk_profile_file_macro_hex", "the code of macro '%s' is not hex bytes",
               std::string_view(m.name));
    if (code->size() > kMaxMacroBytes)
        refuse("zk_profile_file_macro_size", "macro '%s' is larger than any mouse's macro memory",
               std::string_view(m.name));
    if (!macro::valid_slot_code(*code))
        refuse("zk_profile_file_macro_code",
               "the code of macro '%s' is not a run of whole, known instructions",
               std::string_view(m.name));
    m.code = *code;
    return m;
}

ProfileButton read_button(const Json& entry, const std::vector<ProfileMacro>& macros, int& number) {
    if (!entry.is_object() || !entry.contains("button") || !entry["button"].is_number_integer())
        refuse("zk_profile_file_button_number",
               "every entry of 'buttons' needs its 'button' number (0-10)");
    const auto n = entry["button"].get<std::int64_t>();
    if (n < 0 || n >= device::kButtonCount)
        refuse("zk_profile_file_button_range", "there is no button %d (buttons are 0-10)", n);
    number = static_cast<int>(n);
    const bool has_function = entry.contains("function");
    if (has_function == entry.contains("macro"))
        refuse("zk_profile_file_button_what",
               "button %d needs either a 'function' or a 'macro', not both or neither", n);
    ProfileButton b;
    if (has_function) {
        const std::string text = string_member(entry, "function").get<std::string>();
        const auto code = function_code_named(text);
        if (!code)
            refuse("zk_profile_file_unknown_function", "unknown function '%s'",
                   std::string_view(text));
        b.function = *code;
        return b;
    }
    const std::string name = string_member(entry, "macro").get<std::string>();
    for (std::size_t i = 0; i < macros.size(); ++i)
        if (macros[i].name == name)
            b.macro = static_cast<int>(i);
    if (b.macro < 0)
        refuse("zk_profile_file_unknown_macro", "no macro named '%s' is listed in 'macros'",
               std::string_view(name));
    return b;
}

ProfileDocument read_document(const Json& root) {
    const auto format = root.is_object() ? root.find("format") : root.end();
    if (format == root.end() || *format != kFormat)
        refuse("zk_profile_file_format", "this is not a profile file (no \"format\": \"%s\")",
               std::string_view(kFormat));
    const Json& version = member(root, "version", &Json::is_number_integer,
                                 "zk_profile_file_need_number", "'%s' is missing or not a number");
    if (version.get<std::int64_t>() != kProfileFileVersion)
        refuse("zk_profile_file_version",
               "profile file version %d is not one this program reads (it reads version 1)",
               version.get<std::int64_t>());

    ProfileDocument doc;
    doc.name = string_member(root, "name").get<std::string>();
    const std::u16string units = lang::utf8_to_utf16(doc.name);
    if (device::fit_name(units, device::kProfileNameUnits) != units)
        refuse("zk_profile_file_long_name",
               "the profile name '%s' is longer than the 6 characters the mouse keeps",
               std::string_view(doc.name));

    const Json& macros = member(root, "macros", &Json::is_array, "zk_profile_file_need_list",
                                "'%s' is missing or not a list");
    if (macros.size() > static_cast<std::size_t>(device::kButtonCount))
        refuse("zk_profile_file_many_macros",
               "the file lists %d macros; eleven buttons use at most 11",
               static_cast<std::int64_t>(macros.size()));
    std::set<std::string> names;
    for (const Json& entry : macros) {
        doc.macros.push_back(read_macro(entry));
        if (!names.insert(doc.macros.back().name).second)
            refuse("zk_profile_file_duplicate_macro", "two macros are named '%s'",
                   std::string_view(doc.macros.back().name));
    }

    const Json& buttons = member(root, "buttons", &Json::is_array, "zk_profile_file_need_list",
                                 "'%s' is missing or not a list");
    std::array<bool, device::kButtonCount> seen{};
    for (const Json& entry : buttons) {
        int number = 0;
        const ProfileButton b = read_button(entry, doc.macros, number);
        if (seen[static_cast<std::size_t>(number)])
            refuse("zk_profile_file_button_twice", "button %d is given twice", number);
        seen[static_cast<std::size_t>(number)] = true;
        doc.buttons[static_cast<std::size_t>(number)] = b;
    }
    for (int n = 0; n < device::kButtonCount; ++n)
        if (!seen[static_cast<std::size_t>(n)])
            refuse("zk_profile_file_button_missing", "button %d is missing", n);

    for (std::size_t i = 0; i < doc.macros.size(); ++i) {
        bool used = false;
        for (const ProfileButton& b : doc.buttons)
            used = used || b.macro == static_cast<int>(i);
        if (!used)
            refuse("zk_profile_file_unused_macro", "no button uses macro '%s'",
                   std::string_view(doc.macros[i].name));
    }
    bool left_click = false;
    for (int n = 0; n < device::kButtonCount; ++n) {
        const ProfileButton& b = doc.buttons[static_cast<std::size_t>(n)];
        left_click =
            left_click || (b.macro < 0 && acts_as_left_click(n, assignment_for(n, b.function)));
    }
    if (!left_click)
        refuse("zk_profile_file_no_left_click", "no button of this profile acts as left click");
    return doc;
}

}  // namespace

std::string profile_json(const ProfileDocument& document) {
    // Indented as a person would write it: one line per button and per macro.
    std::string out = "{\n  \"format\": " + one_line(kFormat) +
                      ",\n  \"version\": " + one_line(kProfileFileVersion) +
                      ",\n  \"name\": " + one_line(document.name) + ",\n  \"buttons\": [";
    for (int n = 0; n < device::kButtonCount; ++n) {
        const ProfileButton& b = document.buttons[static_cast<std::size_t>(n)];
        const Json entry =
            b.macro >= 0 ? Json{{"button", n},
                                {"macro", document.macros[static_cast<std::size_t>(b.macro)].name}}
                         : Json{{"button", n}, {"function", function_stable_name(b.function)}};
        out += (n ? ",\n    " : "\n    ") + one_line(entry);
    }
    out += "\n  ],\n  \"macros\": [";
    for (std::size_t i = 0; i < document.macros.size(); ++i) {
        const ProfileMacro& m = document.macros[i];
        out += (i ? ",\n    " : "\n    ") +
               one_line(Json{{"name", m.name}, {"code", hex_bytes(m.code)}});
    }
    return out + (document.macros.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

ProfileRead parse_profile_json(std::string_view text) {
    Json root;
    try {
        root = Json::parse(text);
    } catch (const Json::exception& e) {
        return {std::nullopt, lang::format_text(lang::own_text("zk_profile_file_bad_json",
                                                               "the file is not valid JSON: %s"),
                                                without_exception_id(e.what()))};
    }
    try {
        return {read_document(root), {}};
    } catch (const Refusal& r) {
        return {std::nullopt, r.message};
    }
}

ProfileRead read_profile_file(const std::filesystem::path& path) {
    const lang::FileRead file = lang::read_regular_file(path, kMaxProfileFileBytes);
    if (!file.bytes) {
        if (file.missing)
            return {std::nullopt,
                    lang::format_text(lang::own_text("zk_profile_file_missing", "%s: no such file"),
                                      std::string_view(path.string()))};
        return {std::nullopt, file.refusal};
    }
    ProfileRead read = parse_profile_json(*file.bytes);
    if (!read.document)
        read.error = path.string() + ": " + read.error;
    return read;
}

std::optional<std::string> write_profile_file(const std::filesystem::path& path,
                                              const ProfileDocument& document) {
    std::string error;
    if (platform::replace_file(path, profile_json(document), &error))
        return std::nullopt;
    return error;
}

}  // namespace zentrik::core
