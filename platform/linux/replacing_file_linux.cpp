#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "platform/linux/unique_fd.h"
#include "platform/replacing_file.h"

namespace zentrik::platform {
namespace {

constexpr int kNameAttempts = 16;

// Syncs the folder so the rename itself survives a crash. A folder that cannot be synced (some
// file systems refuse) does not undo the replacement, which is complete by now.
void sync_directory(const std::filesystem::path& directory) {
    const UniqueFd dir(
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.get());
}

}  // namespace

ReplacingFile::ReplacingFile(std::filesystem::path target, ReplaceOptions options)
    : target_(std::move(target)), options_(options) {
    // An existing file keeps its permission bits; they are set before any byte is written, so
    // a private file's contents are never readable by others, not even while being written.
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    std::random_device entropy;
    int last_error = EEXIST;
    for (int attempt = 0; attempt < kNameAttempts && handle_ < 0 && last_error == EEXIST;
         ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%08x%08x.tmp", static_cast<unsigned>(entropy()),
                      static_cast<unsigned>(entropy()));
        temporary_ = target_.parent_path() / ("." + target_.filename().string() + suffix);
        // O_EXCL also refuses a link (even a dangling one) at that name; never follow it.
        handle_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                         exists ? 0600 : options_.new_file_mode);
        last_error = errno;
    }
    if (handle_ < 0) {
        temporary_.clear();
        fail("write", last_error);
        return;
    }
    if (exists && ::fchmod(handle_, existing.st_mode & 07777) != 0)
        fail("keep the permissions of", errno);
}

ReplacingFile::~ReplacingFile() {
    discard();
}

bool ReplacingFile::fail(const char* step, int error_number) {
    error_ = std::string("cannot ") + step + " '" + target_.string() +
             "': " + std::strerror(error_number);
    discard();
    return false;
}

void ReplacingFile::discard() {
    if (handle_ >= 0) {
        ::close(handle_);
        handle_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

bool ReplacingFile::commit(std::string_view bytes) {
    if (handle_ < 0) {
        if (error_.empty())
            error_ = "cannot write '" + target_.string() + "'";
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t n = ::write(handle_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail("write", n < 0 ? errno : ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    // Some file systems report a full disk only here (or at the close).
    if (options_.sync && ::fsync(handle_) != 0)
        return fail("write", errno);
    const int closed = ::close(handle_);
    handle_ = -1;
    if (closed != 0)
        return fail("write", errno);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        return fail("replace", errno);
    temporary_.clear();
    if (options_.sync)
        sync_directory(target_.parent_path());
    return true;
}

bool replace_file(const std::filesystem::path& target, std::string_view bytes, std::string* error,
                  ReplaceOptions options) {
    ReplacingFile file(target, options);
    if (file.commit(bytes))
        return true;
    if (error)
        *error = file.error();
    return false;
}

}  // namespace zentrik::platform
