// Joined device monitors: their descriptors in one epoll set.
#include <sys/epoll.h>

#include "platform/joined_monitor.h"
#include "platform/linux/unique_fd.h"

namespace zentrik::platform {
namespace {

class JoinedMonitor final : public DeviceMonitor {
  public:
    JoinedMonitor(UniqueFd epoll_fd, std::vector<std::unique_ptr<DeviceMonitor>> parts)
        : epoll_fd_(std::move(epoll_fd)), parts_(std::move(parts)) {}

    int fd() const override { return epoll_fd_.get(); }

    std::vector<DeviceChange> read_changes() override {
        std::vector<DeviceChange> changes;
        for (auto& part : parts_) {
            auto more = part->read_changes();
            changes.insert(changes.end(), std::make_move_iterator(more.begin()),
                           std::make_move_iterator(more.end()));
        }
        return changes;
    }

  private:
    UniqueFd epoll_fd_;
    std::vector<std::unique_ptr<DeviceMonitor>> parts_;
};

}  // namespace

std::unique_ptr<DeviceMonitor> join_monitors(std::vector<std::unique_ptr<DeviceMonitor>> monitors) {
    std::vector<std::unique_ptr<DeviceMonitor>> parts;
    for (auto& m : monitors) {
        if (m && m->fd() >= 0)
            parts.push_back(std::move(m));
    }
    if (parts.empty())
        return nullptr;
    if (parts.size() == 1)
        return std::move(parts.front());
    UniqueFd epoll_fd(::epoll_create1(EPOLL_CLOEXEC));
    if (!epoll_fd.valid())
        return std::move(parts.front());
    for (const auto& part : parts) {
        epoll_event e{};
        e.events = EPOLLIN;
        e.data.fd = part->fd();
        if (::epoll_ctl(epoll_fd.get(), EPOLL_CTL_ADD, part->fd(), &e) != 0)
            return std::move(parts.front());
    }
    return std::make_unique<JoinedMonitor>(std::move(epoll_fd), std::move(parts));
}

}  // namespace zentrik::platform
