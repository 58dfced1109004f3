#include "macro/macro_file.h"

#include <algorithm>
#include <fstream>

#include "macro/archive_string.h"

namespace zentrik::macro {
namespace {

// Header: the tag string (at most a few bytes beyond 18 in any length form) and N.
constexpr std::size_t kMaxHeaderBytes = 64;

}  // namespace

std::string macro_file_bytes(std::span<const std::uint8_t> code) {
    std::string out = archive_string_bytes(kMacroFileTag);
    const auto n = static_cast<std::uint32_t>(code.size());
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    out.append(reinterpret_cast<const char*>(code.data()), code.size());
    return out;
}

bool write_macro_file(const std::filesystem::path& path, std::span<const std::uint8_t> code) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    const std::string bytes = macro_file_bytes(code);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

MacroFileContents parse_macro_file(std::span<const std::uint8_t> bytes) {
    MacroFileContents contents;
    contents.status = MacroFileStatus::kInvalid;
    ByteReader reader(bytes);
    const auto tag = read_archive_string(reader);
    if (!tag || *tag != kMacroFileTag)
        return contents;
    const auto n = reader.read_le(4);
    if (!n)
        return contents;
    contents.status = MacroFileStatus::kOk;
    contents.declared_length = static_cast<std::uint32_t>(*n);
    const std::size_t take =
        std::min<std::uint64_t>({*n, reader.remaining(), std::uint64_t{kMaxMacroCodeBytes}});
    const auto code = reader.read_bytes(take);
    contents.code.assign(code->begin(), code->end());
    contents.truncated = take < *n;
    return contents;
}

MacroFileContents read_macro_file(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::vector<std::uint8_t> bytes(kMaxHeaderBytes + kMaxMacroCodeBytes);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        return {};
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return parse_macro_file(bytes);
}

std::uint32_t macro_file_size(const std::filesystem::path& path) {
    const auto contents = read_macro_file(path);
    if (contents.status != MacroFileStatus::kOk)
        return 0;
    return static_cast<std::uint32_t>(contents.code.size()) + 1;
}

}  // namespace zentrik::macro
