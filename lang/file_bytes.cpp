#include "lang/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zentrik::lang {
namespace {

enum class OverLimit { refuse, cut };

FileRead refused(const std::filesystem::path& path, const std::string& reason) {
    FileRead read;
    read.refusal = path.string() + ": " + reason;
    return read;
}

FileRead read_bounded(const std::filesystem::path& path, std::size_t max_bytes, OverLimit over) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below anyway.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        FileRead read = refused(path, std::strerror(error));
        read.missing = error == ENOENT || error == ENOTDIR;
        return read;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return refused(path, std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        return refused(path, S_ISDIR(st.st_mode) ? "is a folder, not a file"
                                                 : "is not a regular file (a device or a FIFO)");
    const auto size = static_cast<std::uintmax_t>(st.st_size);
    if (over == OverLimit::refuse && size > max_bytes)
        return refused(path, "is larger than " + std::to_string(max_bytes) + " bytes");
    // One byte more than allowed tells a file that grew since fstat from one that fits.
    const std::size_t wanted = over == OverLimit::refuse ? max_bytes + 1 : max_bytes;
    std::string bytes(static_cast<std::size_t>(std::min<std::uintmax_t>(size, wanted)), '\0');
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got >= wanted)
                break;
            bytes.resize(std::min(wanted, got + 4096));
        }
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return refused(path, std::strerror(errno));
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    if (over == OverLimit::refuse && got > max_bytes)
        return refused(path, "is larger than " + std::to_string(max_bytes) + " bytes");
    FileRead read;
    read.bytes = std::move(bytes);
    return read;
}

}  // namespace

FileRead read_regular_file(const std::filesystem::path& path, std::size_t max_bytes) {
    return read_bounded(path, max_bytes, OverLimit::refuse);
}

std::optional<std::string> read_file_bytes(const std::filesystem::path& path,
                                           std::size_t max_bytes) {
    return read_bounded(path, max_bytes, OverLimit::cut).bytes;
}

}  // namespace zentrik::lang
