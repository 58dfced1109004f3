#include "lang/file_bytes.h"

#include <fstream>

namespace zentrik::lang {

std::optional<std::string> read_file_bytes(const std::filesystem::path& path,
                                           std::size_t max_bytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    const auto size = std::filesystem::file_size(path, ec);
    std::string bytes(ec ? max_bytes : std::min<std::uintmax_t>(size, max_bytes), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

}  // namespace zentrik::lang
