// Exclusive locks on Linux: flock() on a file under the user's runtime folder. flock() belongs
// to the open file description, so two descriptors exclude each other also within one program,
// and the kernel drops the lock when the last descriptor closes (a crashed holder included).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/exclusive_lock.h"
#include "platform/linux/unique_fd.h"

namespace zentrik::platform {
namespace {

class LinuxExclusiveLock final : public ExclusiveLock {
  public:
    explicit LinuxExclusiveLock(UniqueFd fd) : fd_(std::move(fd)) {}
    ~LinuxExclusiveLock() override {
        if (held_)
            ::flock(fd_.get(), LOCK_UN);
    }

    bool try_take() override {
        if (held_)
            return true;
        int rc;
        while ((rc = ::flock(fd_.get(), LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
        }
        held_ = rc == 0;
        return held_;
    }

  private:
    UniqueFd fd_;
    bool held_ = false;
};

// `dir` exists (made here when missing) as a folder of this user's that nobody else may enter.
bool make_private_folder(const std::filesystem::path& dir, std::string& error) {
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        error = dir.string() + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0) {
        error = dir.string() + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid() || (st.st_mode & 0077) != 0) {
        error = dir.string() + ": not a private folder of this user";
        return false;
    }
    return true;
}

}  // namespace

std::filesystem::path private_lock_directory(std::string& error) {
    std::filesystem::path dir;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime == '/') {
        dir = std::filesystem::path(runtime) / "zentrik";
    } else {
        const char* tmp = std::getenv("TMPDIR");
        dir = std::filesystem::path(tmp && *tmp == '/' ? tmp : "/tmp") /
              ("zentrik-" + std::to_string(::getuid()));
    }
    if (!make_private_folder(dir, error))
        return {};
    return dir;
}

std::unique_ptr<ExclusiveLock> open_exclusive_lock(const std::string& name, std::string& error) {
    const auto dir = private_lock_directory(error);
    if (dir.empty())
        return nullptr;
    const auto path = dir / name;
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.valid()) {
        error = path.string() + ": " + std::strerror(errno);
        return nullptr;
    }
    return std::make_unique<LinuxExclusiveLock>(std::move(fd));
}

}  // namespace zentrik::platform
