#include "platform/linux/uinput_sink.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/linux/unique_fd.h"

namespace zentrik::platform {
namespace {

class UinputNode final : public UinputSink {
  public:
    explicit UinputNode(UniqueFd fd) : fd_(std::move(fd)) {}
    ~UinputNode() override {
        if (created_)
            ioctl(fd_.get(), UI_DEV_DESTROY);
    }
    UinputNode(const UinputNode&) = delete;
    UinputNode& operator=(const UinputNode&) = delete;

    bool enable(unsigned long request, int code) override {
        return ioctl(fd_.get(), request, code) == 0;
    }
    bool create(const uinput_setup& setup) override {
        if (ioctl(fd_.get(), UI_DEV_SETUP, &setup) != 0 || ioctl(fd_.get(), UI_DEV_CREATE) != 0)
            return false;
        created_ = true;
        return true;
    }
    bool write(std::span<const input_event> events) override {
        const std::size_t bytes = events.size_bytes();
        ssize_t written;
        do {
            written = ::write(fd_.get(), events.data(), bytes);
        } while (written < 0 && errno == EINTR);
        return written == static_cast<ssize_t>(bytes);
    }

  private:
    UniqueFd fd_;
    bool created_ = false;
};

}  // namespace

std::unique_ptr<UinputSink> open_uinput_node(std::string& error) {
    UniqueFd fd(::open("/dev/uinput", O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) {
        error = std::string("/dev/uinput: ") + std::strerror(errno);
        return nullptr;
    }
    return std::make_unique<UinputNode>(std::move(fd));
}

}  // namespace zentrik::platform
