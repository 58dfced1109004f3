// "macro library.ini" is edited by hand: any bytes must give a consistent catalogue whose entries
// point into its path list.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "macro/macro_library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zentrik::macro;
    // A directory that does not exist, so entries resolve to files that are never there.
    const MacroLibrary library = parse_library(
        std::string_view(reinterpret_cast<const char*>(data), size), "/nonexistent/zentrik-fuzz");
    std::size_t entries = 0;
    for (const auto& row : library.rows) {
        if (row.header) {
            if (row.text.rfind(kHeaderPrefix, 0) != 0)
                std::abort();
            continue;
        }
        const auto* path = library.library_path(row.path_index);
        if (path == nullptr || *path != row.path || row.path_index != static_cast<int>(entries))
            std::abort();
        ++entries;
    }
    if (entries != library.paths.size() || library.library_path(-1) != nullptr ||
        library.library_path(static_cast<int>(entries)) != nullptr)
        std::abort();
    return 0;
}
