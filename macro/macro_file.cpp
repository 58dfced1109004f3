#include "macro/macro_file.h"

#include <algorithm>

#include "lang/file_bytes.h"
#include "macro/archive_string.h"
#include "macro/slot_code.h"
#include "platform/replacing_file.h"

namespace zentrik::macro {
namespace {

// Header: the tag string (at most a few bytes beyond 18 in any length form) and N.
constexpr std::size_t kMaxHeaderBytes = 64;

// Length of the whole instructions at the start of `code`; walking stops at an invalid code
// or at an instruction cut off by the end.
std::size_t whole_instructions_length(const MacroCode& code) {
    std::size_t offset = 0;
    while (offset < code.size()) {
        const std::uint32_t size = instruction_size(code[offset]);
        if (size == 0 || offset + size > code.size())
            break;
        offset += size;
    }
    return offset;
}

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
    return platform::replace_file(path, macro_file_bytes(code));
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
    contents.present_length = static_cast<std::uint32_t>(take);
    contents.truncated = take < *n;
    if (contents.truncated)
        contents.code.resize(whole_instructions_length(contents.code));
    return contents;
}

MacroFileContents read_macro_file(const std::filesystem::path& path) {
    // Never more than a header and the largest code a mouse can hold, whatever N says.
    const auto bytes = lang::read_file_bytes(path, kMaxHeaderBytes + kMaxMacroCodeBytes);
    if (!bytes)
        return {};
    return parse_macro_file({reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()});
}

std::optional<MacroCode> slot_code_of(const MacroFileContents& contents) {
    if (contents.status != MacroFileStatus::kOk || contents.code.empty())
        return std::nullopt;
    MacroCode code = contents.code;
    // The editor shows code without a run-mode byte as "Execute one time"; the slot gets it so.
    if (!is_mode_byte(code.front()))
        code.insert(code.begin(), MI_MODE_ONCE);
    if (!valid_slot_code(code))
        return std::nullopt;
    return code;
}

std::uint32_t macro_file_size(const std::filesystem::path& path) {
    const auto code = slot_code_of(read_macro_file(path));
    return code ? static_cast<std::uint32_t>(code->size()) + 1 : 0;
}

std::optional<MacroCode> macro_code_for_slot(const std::filesystem::path& path) {
    return slot_code_of(read_macro_file(path));
}

bool export_macro_file(const std::filesystem::path& path, const InstructionList& rows) {
    return write_macro_file(path, encode_macro(rows));
}

MacroImport import_macro_file(const std::filesystem::path& path) {
    const auto contents = read_macro_file(path);
    MacroImport result{contents.status, {}};
    if (contents.status == MacroFileStatus::kOk)
        result.rows = decode_macro(contents.code);
    return result;
}

}  // namespace zentrik::macro
