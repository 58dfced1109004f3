// Change notifier on Linux: an eventfd for this process's own changes and an inotify descriptor
// for the watched directories, both inside one epoll descriptor, which is readable while either
// of them is.
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/change_notifier.h"

namespace zentrik::platform {
namespace {

// Written whole or renamed into place, or removed: what a change of shared state looks like.
// Plain modifications of a file that stays open are left out, so a busy writer does not wake
// its readers on every byte.
constexpr std::uint32_t kWatchMask = IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE;

class LinuxChangeNotifier final : public ChangeNotifier {
  public:
    explicit LinuxChangeNotifier(const std::vector<std::filesystem::path>& directories) {
        epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
        event_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        const bool any_directory = std::any_of(directories.begin(), directories.end(),
                                               [](const auto& d) { return !d.empty(); });
        if (any_directory)
            inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (epoll_ < 0 || event_ < 0) {
            close_all();
            return;
        }
        add_to_epoll(event_);
        if (inotify_ >= 0) {
            bool watching = false;
            for (const auto& dir : directories) {
                if (!dir.empty())
                    watching |= ::inotify_add_watch(inotify_, dir.c_str(), kWatchMask) >= 0;
            }
            if (watching) {
                add_to_epoll(inotify_);
            } else {
                ::close(inotify_);
                inotify_ = -1;
            }
        }
    }
    ~LinuxChangeNotifier() override { close_all(); }

    int fd() const override { return epoll_; }

    void notify() override {
        if (event_ < 0)
            return;
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(event_, &one, sizeof one);
    }

    void clear() override {
        if (event_ >= 0) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto n = ::read(event_, &count, sizeof count);
        }
        if (inotify_ >= 0) {
            alignas(inotify_event) std::array<char, 4096> buffer;
            while (::read(inotify_, buffer.data(), buffer.size()) > 0) {
            }
        }
    }

  private:
    void add_to_epoll(int fd) {
        epoll_event ev{};
        ev.events = EPOLLIN;
        ev.data.fd = fd;
        ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &ev);
    }
    void close_all() {
        for (int* fd : {&epoll_, &event_, &inotify_}) {
            if (*fd >= 0)
                ::close(*fd);
            *fd = -1;
        }
    }

    int epoll_ = -1;
    int event_ = -1;
    int inotify_ = -1;
};

}  // namespace

std::unique_ptr<ChangeNotifier> make_change_notifier(
    const std::vector<std::filesystem::path>& watched_directories) {
    return std::make_unique<LinuxChangeNotifier>(watched_directories);
}

}  // namespace zentrik::platform
