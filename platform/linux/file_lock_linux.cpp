// Counted file lock on Linux: flock() on the file (so separate open descriptions exclude each
// other, within one process too) and the counter as 8 little-endian bytes at its start.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "platform/file_lock.h"
#include "platform/linux/unique_fd.h"

namespace zentrik::platform {
namespace {

class LinuxCountedFileLock final : public CountedFileLock {
  public:
    explicit LinuxCountedFileLock(UniqueFd fd) : fd_(std::move(fd)) {}

    void lock() override {
        while (::flock(fd_.get(), LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    void unlock() override { ::flock(fd_.get(), LOCK_UN); }

    std::uint64_t counter() override {
        std::array<unsigned char, 8> bytes{};
        if (::pread(fd_.get(), bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
            return 0;
        std::uint64_t value = 0;
        for (int i = 7; i >= 0; --i)
            value = (value << 8) | bytes[static_cast<std::size_t>(i)];
        return value;
    }

    bool set_counter(std::uint64_t value) override {
        std::array<unsigned char, 8> bytes{};
        for (auto& b : bytes) {
            b = static_cast<unsigned char>(value & 0xFF);
            value >>= 8;
        }
        return ::pwrite(fd_.get(), bytes.data(), bytes.size(), 0) ==
               static_cast<ssize_t>(bytes.size());
    }

  private:
    UniqueFd fd_;
};

}  // namespace

std::unique_ptr<CountedFileLock> open_counted_file_lock(const std::filesystem::path& path,
                                                        std::string& error) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (!fd.valid()) {
        error = std::strerror(errno);
        return nullptr;
    }
    return std::make_unique<LinuxCountedFileLock>(std::move(fd));
}

}  // namespace zentrik::platform
