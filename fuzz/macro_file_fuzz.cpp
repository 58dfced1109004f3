// Macro files ("*.mf") come from anywhere on disk: the header and length field must never be
// trusted, the code read must be what the file holds, and only code that cuts into whole, known
// instructions may be handed on to a mouse slot.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "macro/archive_string.h"
#include "macro/instruction.h"
#include "macro/macro_file.h"
#include "macro/slot_code.h"

namespace {

using namespace zentrik::macro;

void check_archive_strings(std::span<const std::uint8_t> bytes) {
    ByteReader reader(bytes);
    while (reader.remaining() > 0) {
        const std::size_t before = reader.position();
        const auto text = read_archive_string(reader);
        if (reader.position() > bytes.size())
            std::abort();
        if (!text) {
            if (reader.position() != before)
                std::abort();  // a failed read leaves the position where it was
            break;
        }
        if (reader.position() == before)
            break;
        // Writing the string again and reading it back gives the same text.
        const auto again = archive_string_bytes(*text);
        ByteReader back({reinterpret_cast<const std::uint8_t*>(again.data()), again.size()});
        const auto reread = read_archive_string(back);
        if (!reread || *reread != *text || back.remaining() != 0)
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    check_archive_strings(bytes);

    const auto contents = parse_macro_file(bytes);
    if (contents.status != MacroFileStatus::kOk)
        return 0;
    if (contents.present_length > contents.declared_length ||
        contents.present_length > kMaxMacroCodeBytes ||
        contents.code.size() > contents.present_length ||
        contents.truncated != (contents.present_length < contents.declared_length))
        std::abort();
    if (!contents.truncated && contents.code.size() != contents.declared_length)
        std::abort();
    // What may go into a slot is the whole code (a run-mode byte put first when it has none,
    // as the editor shows it), and it is whole, known instructions with no end code: decoding
    // and encoding it gives it back byte for byte.
    if (const auto slot = slot_code_of(contents)) {
        MacroCode expected;
        if (decode_inserts_mode(contents.code))
            expected.push_back(MI_MODE_ONCE);
        expected.insert(expected.end(), contents.code.begin(), contents.code.end());
        if (*slot != expected || !valid_slot_code(*slot) || decode_inserts_mode(*slot))
            std::abort();
        if (encode_macro(decode_macro(*slot)) != *slot)
            std::abort();
    }
    // The usable code survives being written to a file and read again.
    const auto file = macro_file_bytes(contents.code);
    const auto reread =
        parse_macro_file({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
    if (reread.status != MacroFileStatus::kOk || reread.code != contents.code || reread.truncated)
        std::abort();
    return 0;
}
