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
#include "platform/linux/unique_fd.h"

namespace zentrik::platform {
namespace {

// Written whole or renamed into place, or removed: what a change of shared state looks like.
// Plain modifications of a file that stays open are left out, so a busy writer does not wake
// its readers on every byte.
constexpr std::uint32_t kWatchMask = IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE;

class LinuxChangeNotifier final : public ChangeNotifier {
  public:
    explicit LinuxChangeNotifier(const std::vector<std::filesystem::path>& directories) {
        epoll_.reset(::epoll_create1(EPOLL_CLOEXEC));
        event_.reset(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
        const bool any_directory = std::any_of(directories.begin(), directories.end(),
                                               [](const auto& d) { return !d.empty(); });
        if (any_directory)
            inotify_.reset(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
        if (!epoll_.valid() || !event_.valid()) {
            for (UniqueFd* fd : {&epoll_, &event_, &inotify_})
                fd->reset();
            return;
        }
        add_to_epoll(event_.get());
        if (inotify_.valid()) {
            bool watching = false;
            for (const auto& dir : directories) {
                if (!dir.empty())
                    watching |= ::inotify_add_watch(inotify_.get(), dir.c_str(), kWatchMask) >= 0;
            }
            if (watching)
                add_to_epoll(inotify_.get());
            else
                inotify_.reset();
        }
    }
    int fd() const override { return epoll_.get(); }

    void notify() override {
        if (!event_.valid())
            return;
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(event_.get(), &one, sizeof one);
    }

    void clear() override {
        if (event_.valid()) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto n = ::read(event_.get(), &count, sizeof count);
        }
        if (inotify_.valid()) {
            alignas(inotify_event) std::array<char, 4096> buffer;
            while (::read(inotify_.get(), buffer.data(), buffer.size()) > 0) {
            }
        }
    }

  private:
    void add_to_epoll(int fd) {
        epoll_event ev{};
        ev.events = EPOLLIN;
        ev.data.fd = fd;
        ::epoll_ctl(epoll_.get(), EPOLL_CTL_ADD, fd, &ev);
    }
    UniqueFd epoll_;
    UniqueFd event_;
    UniqueFd inotify_;
};

}  // namespace

std::unique_ptr<ChangeNotifier> make_change_notifier(
    const std::vector<std::filesystem::path>& watched_directories) {
    return std::make_unique<LinuxChangeNotifier>(watched_directories);
}

}  // namespace zentrik::platform
