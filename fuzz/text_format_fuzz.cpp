// Templates come from a translator's "language.ini": filling one must never crash, read past its
// arguments, or produce more than the template, the arguments and the capped padding.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "lang/text_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zentrik::lang::TextArg;
    FuzzedDataProvider fdp(data, size);
    const std::int64_t number = fdp.ConsumeIntegral<std::int64_t>();
    const std::string text = fdp.ConsumeRandomLengthString(200);
    const std::int64_t second = fdp.ConsumeIntegral<std::int64_t>();
    const std::string templ = fdp.ConsumeRemainingBytesAsString();

    // Each filled conversion gives at most its argument or the widest padding.
    const std::size_t per_arg = std::max<std::size_t>(text.size(), 21) +
                                static_cast<std::size_t>(zentrik::lang::kMaxFieldWidth) + 1;
    const std::string out = zentrik::lang::format_text(
        templ, {TextArg{number}, TextArg{std::string_view(text)}, TextArg{second}});
    if (out.size() > templ.size() + 3 * per_arg)
        std::abort();
    (void)zentrik::lang::format_text(templ, {});
    (void)zentrik::lang::format_text(templ, number);
    (void)zentrik::lang::format_text(templ, std::string_view(text));
    return 0;
}
