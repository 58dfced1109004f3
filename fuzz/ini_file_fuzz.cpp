// INI bytes from a file: parsing and every reader must hold up, and a value written with set()
// must read back after serialize() and parse().
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "lang/ini_file.h"
#include "lang/text_codec.h"

namespace {

using zentrik::lang::IniFile;

std::string_view trim(std::string_view s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// Valid UTF-8 on one line, without blanks around it: the form in which a name or value is
// stored and read back unchanged.
std::string one_line(const std::string& raw, std::string_view forbidden) {
    std::string out;
    for (char c : zentrik::lang::sanitize_8bit(raw)) {
        if (c != '\r' && c != '\n' && forbidden.find(c) == std::string_view::npos)
            out.push_back(c);
    }
    return std::string(trim(out));
}

void read_everything(const IniFile& ini) {
    for (const auto& section : ini.section_names()) {
        for (const auto& [key, value] : ini.entries(section)) {
            if (zentrik::lang::utf8_length(value) > zentrik::lang::kMaxIniValueChars)
                std::abort();
            const auto found = ini.get_string(section, key, "");
            (void)ini.get_int(section, key, -1);
            (void)found;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider fdp(data, size);
    const std::string section = one_line(fdp.ConsumeRandomLengthString(40), "]");
    const std::string key = one_line(fdp.ConsumeRandomLengthString(40), "=");
    // A value ends at a NUL byte.
    std::string value = one_line(fdp.ConsumeRandomLengthString(1200), std::string_view("\0", 1));
    const std::string file = fdp.ConsumeRemainingBytesAsString();

    IniFile ini = IniFile::parse(file);
    read_everything(ini);

    const bool key_usable = !key.empty() && key.front() != ';' && key.front() != '[';
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (!key_usable || quoted)
        return 0;
    ini.set(section, key, value);
    const std::string written = ini.serialize();
    // NUL bytes in an 8-bit file end values and count towards recognising UTF-16 without a
    // byte-order mark: such a file reads by those rules, not back as it was written.
    const bool eight_bit = ini.encoding() == zentrik::lang::TextEncoding::kUtf8 ||
                           ini.encoding() == zentrik::lang::TextEncoding::kUtf8Bom;
    if (eight_bit && written.find('\0') != std::string::npos)
        return 0;
    const IniFile reread = IniFile::parse(written);
    read_everything(reread);
    const auto expected = zentrik::lang::utf8_prefix(value, zentrik::lang::kMaxIniValueChars);
    if (reread.get_string(section, key, "\x01missing") != expected)
        std::abort();
    if (reread.encoding() != ini.encoding())
        std::abort();
    return 0;
}
