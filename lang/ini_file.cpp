#include "lang/ini_file.h"

#include <unordered_set>

#include <cctype>
#include <charconv>
#include <fstream>

#include "lang/code_pages.h"
#include "lang/file_bytes.h"
#include "lang/text_codec.h"

namespace zentrik::lang {
namespace {

std::string_view trim(std::string_view s) {
    const char* blanks = " \t";
    const auto b = s.find_first_not_of(blanks);
    if (b == std::string_view::npos)
        return {};
    const auto e = s.find_last_not_of(blanks);
    return s.substr(b, e - b + 1);
}

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// "[name]" → name; anything else → nullopt.
std::optional<std::string_view> section_header(std::string_view line) {
    line = trim(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trim(line.substr(1, close - 1));
}

// "key=value" → {key, value}; comments and lines without '=' → nullopt. The value ends at a
// NUL byte, as a C string would.
std::optional<std::pair<std::string_view, std::string_view>> key_value(std::string_view line) {
    const auto t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[')
        return std::nullopt;
    const auto eq = t.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    const std::string_view value = t.substr(eq + 1);
    return std::pair{trim(t.substr(0, eq)), trim(value.substr(0, value.find('\0')))};
}

// Lines end with CR LF, LF or a lone CR.
std::vector<std::string_view> split_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
            if (i == text.size() && start == i)
                break;
            lines.push_back(text.substr(start, i - start));
            if (i < text.size() && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    return lines;
}

// The code page of a section: its language's when its name is a language id, else `other`.
int section_code_page(std::string_view name, int other) {
    int id = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), id);
    if (ec != std::errc() || end != name.data() + name.size() || id <= 0)
        return other;
    return language_code_page(id);
}

// The lines of 8-bit text that is not UTF-8, each decoded in its section's code page. Line
// ends and the brackets of section names are ASCII in every code page the files use (their
// double-byte pages never have a byte below 0x40 in second place).
std::vector<std::string> decode_8bit_lines(std::string_view bytes, int code_page) {
    CodePageDecoder decoder;
    std::vector<std::string> lines;
    int page = code_page;
    for (std::string_view raw : split_lines(bytes)) {
        if (auto name = section_header(raw))
            page = section_code_page(*name, code_page);
        lines.push_back(decoder.to_utf8(raw, page));
    }
    return lines;
}

std::string clean_value(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return utf8_prefix(v, kMaxIniValueChars);
}

}  // namespace

IniFile IniFile::load(const std::filesystem::path& path, int code_page) {
    const auto bytes = read_file_bytes(path, kMaxTextFileBytes);
    return bytes ? parse(*bytes, code_page) : IniFile{};
}

IniFile IniFile::parse(std::string_view bytes, int code_page) {
    IniFile ini;
    auto starts_with = [&](std::string_view bom) { return bytes.substr(0, bom.size()) == bom; };
    std::string text;
    if (starts_with("\xFF\xFE")) {
        ini.encoding_ = TextEncoding::kUtf16Le;
        text = utf16le_to_utf8(bytes.substr(2));
    } else if (starts_with("\xFE\xFF")) {
        ini.encoding_ = TextEncoding::kUtf16Be;
        text = utf16be_to_utf8(bytes.substr(2));
    } else if (starts_with("\xEF\xBB\xBF")) {
        ini.encoding_ = TextEncoding::kUtf8Bom;
        text = sanitize_8bit(bytes.substr(3));
    } else if (const Utf16Order order = guess_utf16_order(bytes); order != Utf16Order::kNotUtf16) {
        const bool little = order == Utf16Order::kLittleEndian;
        ini.encoding_ = little ? TextEncoding::kUtf16Le : TextEncoding::kUtf16Be;
        text = little ? utf16le_to_utf8(bytes) : utf16be_to_utf8(bytes);
    } else if (!is_utf8(bytes)) {
        for (std::string& line : decode_8bit_lines(bytes, code_page))
            ini.lines_.push_back({std::move(line)});
        ini.reindex();
        return ini;
    } else {
        text = std::string(bytes);
    }
    for (std::string_view line : split_lines(text))
        ini.lines_.push_back({std::string(line)});
    ini.reindex();
    return ini;
}

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The section's length first, so no section and key pair can spell another (names may hold
// any byte, NUL included).
std::string index_key(std::string_view section, std::string_view key) {
    return std::to_string(section.size()) + ':' + lower(section) + lower(key);
}

}  // namespace

void IniFile::reindex() {
    index_.clear();
    std::unordered_set<std::string> seen_sections;
    std::string section;
    bool first_of_its_name = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = section_header(lines_[i].text)) {
            section = lower(*name);
            first_of_its_name = seen_sections.insert(section).second;
            continue;
        }
        if (!first_of_its_name)
            continue;  // only the first section of a name counts
        if (auto kv = key_value(lines_[i].text))
            index_.emplace(index_key(section, kv->first), i);  // the first key counts
    }
}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
    const auto it = index_.find(index_key(trim(section), trim(key)));
    if (it == index_.end())
        return std::nullopt;
    return clean_value(key_value(lines_[it->second].text)->second);
}

std::string IniFile::get_string(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    if (auto v = find(section, key))
        return *v;
    return std::string(fallback);
}

int IniFile::get_int(std::string_view section, std::string_view key, int fallback) const {
    const auto v = find(section, key);
    if (!v)
        return fallback;
    std::string_view s = trim(*v);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    long long value = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > 0x7FFFFFFF)
            value = 0x7FFFFFFF;  // saturate instead of overflowing
    }
    return static_cast<int>(negative ? -value : value);
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string line = std::string(trim(key)) + "=" + std::string(value);
    std::optional<std::size_t> insert_at;  // after the section's last non-blank line
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = section_header(lines_[i].text)) {
            if (insert_at)
                break;
            if (iequals(*name, trim(section)))
                insert_at = i + 1;
            continue;
        }
        if (!insert_at)
            continue;
        if (auto kv = key_value(lines_[i].text); kv && iequals(kv->first, trim(key))) {
            lines_[i].text =
                std::string(kv->first) + "=" + std::string(value);  // keep its spelling
            reindex();
            return;
        }
        if (!trim(lines_[i].text).empty())
            insert_at = i + 1;
    }
    if (!insert_at) {
        lines_.push_back({"[" + std::string(trim(section)) + "]"});
        lines_.push_back({line});
        reindex();
        return;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insert_at), {line});
    reindex();
}

std::string IniFile::serialize() const {
    std::string text;
    for (const auto& line : lines_) {
        text += line.text;
        text += "\r\n";
    }
    switch (encoding_) {
        case TextEncoding::kUtf16Le:
            return "\xFF\xFE" + utf8_to_utf16le(text);
        case TextEncoding::kUtf16Be:
            return "\xFE\xFF" + utf8_to_utf16be(text);
        case TextEncoding::kUtf8Bom:
            return "\xEF\xBB\xBF" + text;
        case TextEncoding::kUtf8:
            break;
    }
    return text;
}

std::vector<std::string> IniFile::section_names() const {
    std::vector<std::string> names;
    for (const auto& line : lines_) {
        if (auto name = section_header(line.text))
            names.emplace_back(*name);
    }
    return names;
}

std::vector<std::pair<std::string, std::string>> IniFile::entries(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> out;
    bool in_section = false;
    bool seen_section = false;
    for (const auto& line : lines_) {
        if (auto name = section_header(line.text)) {
            if (seen_section && in_section)
                break;
            in_section = iequals(*name, trim(section));
            seen_section = seen_section || in_section;
            continue;
        }
        if (!in_section)
            continue;
        if (auto kv = key_value(line.text))
            out.emplace_back(std::string(kv->first), clean_value(kv->second));
    }
    return out;
}

std::optional<std::string> ini_file_with_value(const std::filesystem::path& path,
                                               std::string_view section, std::string_view key,
                                               std::string_view value, std::string& error) {
    const FileRead read = read_regular_file(path, kMaxTextFileBytes);
    if (!read.bytes && !read.missing) {
        error = read.refusal;
        return std::nullopt;
    }
    IniFile ini = read.bytes ? IniFile::parse(*read.bytes) : IniFile{};
    ini.set(section, key, value);
    return ini.serialize();
}

}  // namespace zentrik::lang
