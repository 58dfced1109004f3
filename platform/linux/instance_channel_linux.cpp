// Single-instance channel on a Linux abstract-namespace Unix socket.
// Abstract sockets vanish with their process, so a crashed instance leaves nothing behind;
// the address holds the user id, and peer credentials are checked on both ends.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/instance_channel.h"
#include "platform/linux/unique_fd.h"

namespace zentrik::platform {
namespace {

constexpr char kRestoreWord[] = "restore\n";
constexpr char kCloseWord[] = "close\n";

socklen_t make_address(const std::string& address, sockaddr_un& sa) {
    std::memset(&sa, 0, sizeof sa);
    sa.sun_family = AF_UNIX;
    // Leading NUL: abstract namespace. Truncate rather than overflow.
    const std::size_t n = std::min(address.size(), sizeof(sa.sun_path) - 1);
    std::memcpy(sa.sun_path + 1, address.data(), n);
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
}

bool peer_is_this_user(int fd) {
    ucred cred{};
    socklen_t len = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0)
        return false;
    return cred.uid == ::getuid();
}

class SocketListener final : public InstanceListener {
  public:
    explicit SocketListener(UniqueFd fd) : fd_(std::move(fd)) {}
    int fd() const override { return fd_.get(); }

    std::optional<InstanceMessage> receive() override {
        UniqueFd client(::accept4(fd_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!client.valid() || !peer_is_this_user(client.get()))
            return std::nullopt;
        timeval tv{1, 0};  // a silent client must not hang the window
        ::setsockopt(client.get(), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        char buf[16] = {};
        const ssize_t n = ::recv(client.get(), buf, sizeof buf - 1, 0);
        if (n <= 0)
            return std::nullopt;
        std::optional<InstanceMessage> message;
        if (std::strcmp(buf, kRestoreWord) == 0)
            message = InstanceMessage::kRestore;
        if (std::strcmp(buf, kCloseWord) == 0)
            message = InstanceMessage::kClose;
        if (message)
            (void)!::send(client.get(), "ok\n", 3, MSG_NOSIGNAL);
        return message;
    }

  private:
    UniqueFd fd_;
};

}  // namespace

InstanceChannel::InstanceChannel(std::string name)
    : address_(std::move(name) + "-uid" + std::to_string(::getuid())) {}

bool InstanceChannel::send_to_running(InstanceMessage message) const {
    UniqueFd s(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!s.valid())
        return false;
    sockaddr_un sa;
    const socklen_t len = make_address(address_, sa);
    if (::connect(s.get(), reinterpret_cast<sockaddr*>(&sa), len) != 0)
        return false;
    if (!peer_is_this_user(s.get()))
        return false;
    const char* word = message == InstanceMessage::kClose ? kCloseWord : kRestoreWord;
    if (::send(s.get(), word, std::strlen(word), MSG_NOSIGNAL) < 0)
        return false;
    // Wait (briefly) for the acknowledgement so the caller knows the message arrived.
    timeval tv{3, 0};
    ::setsockopt(s.get(), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    char ack[4];
    return ::recv(s.get(), ack, sizeof ack, 0) > 0;
}

std::unique_ptr<InstanceListener> InstanceChannel::listen_as_first() const {
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.valid())
        return nullptr;
    sockaddr_un sa;
    const socklen_t len = make_address(address_, sa);
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&sa), len) != 0 || ::listen(fd.get(), 8) != 0)
        return nullptr;
    return std::make_unique<SocketListener>(std::move(fd));
}

std::string default_instance_name() {
    const char* suffix = std::getenv("ZENTRIK_INSTANCE");
    return suffix && *suffix ? std::string("zentrik-") + suffix : std::string("zentrik");
}

}  // namespace zentrik::platform
