// A "language.ini" from disk: loading the tables from it must keep every walked table ending in
// its stop marker, and the translated templates must fill without fault.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "lang/ini_file.h"
#include "lang/string_tables.h"
#include "lang/text_format.h"

namespace {

void check_walked(const std::vector<std::string>& table, int count) {
    if (table.size() != static_cast<std::size_t>(count) + 1 ||
        table.back() != zentrik::lang::kStopMarker)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace lang = zentrik::lang;
    FuzzedDataProvider fdp(data, size);
    const int ids[] = {1033, 1028, 1042, 2052, 1041};
    const int language_id =
        fdp.ConsumeBool() ? fdp.PickValueInArray(ids) : fdp.ConsumeIntegral<int>();
    const std::int64_t value = fdp.ConsumeIntegral<std::int64_t>();
    const std::string bytes = fdp.ConsumeRemainingBytesAsString();

    const auto tables = lang::translated_string_tables(language_id, lang::IniFile::parse(bytes));
    check_walked(tables.button_names, lang::kButtonCount);
    check_walked(tables.function_names, lang::kFunctionCount);
    check_walked(tables.messages, lang::kMessageCount);
    for (int i = -1; i <= lang::kMessageCount + 1; ++i)
        (void)lang::format_text(tables.message(i), {value, std::string_view("x"), value});
    for (int i = -1; i <= lang::kMacroTextCount; ++i)
        (void)lang::format_text(tables.macro_text(i), {value, value});
    (void)tables.no_mouse_text();
    return 0;
}
