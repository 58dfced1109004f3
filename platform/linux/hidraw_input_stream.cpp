#include "platform/linux/hidraw_input_stream.h"

#include <sys/epoll.h>

#include <algorithm>

#include "platform/linux/unique_fd.h"

namespace zentrik::platform::hidraw {
namespace {

// Larger than any report a hidraw node hands out, so a report is never cut.
constexpr std::size_t kReportBuffer = 16384;
// Reports taken per node and call: a node that floods cannot keep the loop here; the fd stays
// readable and the loop comes back.
constexpr int kReportsPerCall = 256;

class EpollInputStream final : public InputReportStream {
  public:
    EpollInputStream(UniqueFd epoll_fd, std::vector<InputNode> nodes)
        : epoll_fd_(std::move(epoll_fd)), nodes_(std::move(nodes)), buffer_(kReportBuffer) {}
    EpollInputStream(const EpollInputStream&) = delete;
    EpollInputStream& operator=(const EpollInputStream&) = delete;

    int fd() const override { return epoll_fd_.get(); }

    bool read_pending(std::vector<std::vector<std::uint8_t>>& reports) override {
        if (gone_)
            return false;
        for (auto& node : nodes_) {
            for (int i = 0; i < kReportsPerCall; ++i) {
                const int n = node.handle->read_input(buffer_, 0);
                if (n < 0) {
                    // The node is gone (unplugged): the mouse is, too. Stop watching it so
                    // the loop is not woken again by its hang-up.
                    gone_ = true;
                    for (auto& each : nodes_)
                        ::epoll_ctl(epoll_fd_.get(), EPOLL_CTL_DEL, each.fd, nullptr);
                    return false;
                }
                if (n == 0)
                    break;
                if (std::find(node.report_ids.begin(), node.report_ids.end(), buffer_[0]) ==
                    node.report_ids.end())
                    continue;  // an ordinary input report of the interface, not the mouse's own
                reports.emplace_back(buffer_.begin(), buffer_.begin() + n);
            }
        }
        return true;
    }

  private:
    UniqueFd epoll_fd_;
    std::vector<InputNode> nodes_;
    std::vector<std::uint8_t> buffer_;
    bool gone_ = false;
};

}  // namespace

std::unique_ptr<InputReportStream> make_input_report_stream(std::vector<InputNode> nodes) {
    if (nodes.empty())
        return nullptr;
    UniqueFd epoll_fd(::epoll_create1(EPOLL_CLOEXEC));
    if (!epoll_fd.valid())
        return nullptr;
    for (const auto& node : nodes) {
        epoll_event e{};
        e.events = EPOLLIN;
        e.data.fd = node.fd;
        if (::epoll_ctl(epoll_fd.get(), EPOLL_CTL_ADD, node.fd, &e) != 0)
            return nullptr;
    }
    return std::make_unique<EpollInputStream>(std::move(epoll_fd), std::move(nodes));
}

}  // namespace zentrik::platform::hidraw
