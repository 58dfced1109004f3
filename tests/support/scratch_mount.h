#pragma once
// A small tmpfs of its own for tests that need a full or read-only file system. Mounting needs
// privileges; where it is not permitted, active() is false and the test skips with reason().
// (A folder without write permission would not stop root, so a read-only mount is the one way
// to test that as root.)
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace zentrik::testing {

class ScratchMount {
  public:
    ScratchMount(const std::filesystem::path& where, std::size_t bytes) : where_(where) {
        std::filesystem::create_directories(where_);
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
        if (::mount("tmpfs", where_.c_str(), "tmpfs", 0, options.c_str()) == 0)
            active_ = true;
        else
            reason_ = "cannot mount a tmpfs at " + where_.string() + " (" + std::strerror(errno) +
                      "); run as root to test a full or read-only file system";
    }
    ~ScratchMount() {
        if (active_)
            ::umount2(where_.c_str(), MNT_DETACH);
        std::error_code ec;
        std::filesystem::remove_all(where_, ec);
    }
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool active() const { return active_; }
    const std::string& reason() const { return reason_; }
    const std::filesystem::path& path() const { return where_; }
    bool make_read_only() {
        return ::mount(nullptr, where_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    std::filesystem::path where_;
    bool active_ = false;
    std::string reason_;
};

}  // namespace zentrik::testing
