// Single-instance channel on a Unix socket file in a folder private to the user:
// $XDG_RUNTIME_DIR, or /tmp/zentrik-UID made 0700 when that is missing or unusable. Only the
// user can bind or reach a name there, so no other account can squat the channel; peer
// credentials are still checked on both ends. A socket file left by a crashed instance no
// longer answers and is replaced; a lock file beside it keeps two starting instances from
// both replacing it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/instance_channel.h"
#include "platform/linux/unique_fd.h"

namespace zentrik::platform {
namespace {

namespace fs = std::filesystem;

constexpr char kRestoreWord[] = "restore\n";
constexpr char kCloseWord[] = "close\n";
constexpr char kChangedWord[] = "changed ";  // then the text and a newline

// One line of a message on the wire.
std::string message_line(InstanceMessage message, const std::string& text) {
    switch (message) {
        case InstanceMessage::kClose:
            return kCloseWord;
        case InstanceMessage::kMouseChanged:
            return kChangedWord + text + "\n";
        case InstanceMessage::kRestore:
            break;
    }
    return kRestoreWord;
}

// Reads one line (up to and with its newline) within the socket's receive timeout; empty when
// none came whole.
std::string read_line(int fd) {
    std::string line;
    char buf[512];
    while (line.size() <= InstanceChannel::kMaxMessageText + sizeof kChangedWord) {
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            return {};
        line.append(buf, static_cast<std::size_t>(n));
        if (const auto end = line.find('\n'); end != std::string::npos)
            return line.substr(0, end + 1);
    }
    return {};
}
constexpr char kEndingAnswer[] = "ending\n";

std::string error_text(int error) {
    return std::strerror(error);
}

bool peer_is_this_user(int fd) {
    ucred cred{};
    socklen_t len = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0)
        return false;
    return cred.uid == ::getuid();
}

// Why `dir` is not a folder that only this user can reach (empty when it is one). A symbolic
// link is followed only for $XDG_RUNTIME_DIR, which the session sets up.
std::string private_folder_problem(const fs::path& dir, bool follow_link) {
    struct stat st {};
    if ((follow_link ? ::stat(dir.c_str(), &st) : ::lstat(dir.c_str(), &st)) != 0)
        return dir.string() + ": " + error_text(errno);
    if (!S_ISDIR(st.st_mode))
        return dir.string() + " is not a folder";
    if (st.st_uid != ::getuid())
        return dir.string() + " belongs to another user";
    if ((st.st_mode & 077) != 0)
        return dir.string() + " is open to other users";
    return {};
}

// The user's runtime folder, else a private folder of our own under /tmp (made here; one
// that someone else made first is never used). Empty with `problem` set when neither serves.
fs::path private_folder(std::string& problem) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string runtime_problem = "XDG_RUNTIME_DIR is not set";
    if (runtime && *runtime) {
        const fs::path dir(runtime);
        runtime_problem = dir.is_absolute() ? private_folder_problem(dir, true)
                                            : "XDG_RUNTIME_DIR is not an absolute path";
        if (runtime_problem.empty())
            return dir;
    }
    const fs::path fallback = "/tmp/zentrik-" + std::to_string(::getuid());
    if (::mkdir(fallback.c_str(), 0700) != 0 && errno != EEXIST) {
        problem = runtime_problem + "; " + fallback.string() + ": " + error_text(errno);
        return {};
    }
    if (std::string p = private_folder_problem(fallback, false); !p.empty()) {
        problem = runtime_problem + "; " + p;
        return {};
    }
    return fallback;
}

// The name as a file name: anything but letters, digits, '.', '_' and '-' becomes '_'.
std::string file_name_part(std::string name) {
    for (char& c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        if (!plain)
            c = '_';
    }
    return name;
}

socklen_t make_address(const fs::path& path, sockaddr_un& sa) {
    std::memset(&sa, 0, sizeof sa);
    sa.sun_family = AF_UNIX;
    const std::string& s = path.native();  // length checked by the constructor
    std::memcpy(sa.sun_path, s.data(), s.size());
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + s.size() + 1);
}

// A connection to the socket at `path`; invalid when nothing listens there, or (with `busy`
// set) when its listener took no connection within `wait_ms`: a blocking connect would wait
// for as long as the listener's queue stays full, and hang every later start with it.
UniqueFd connect_to(const fs::path& path, int wait_ms, bool* busy = nullptr) {
    if (busy)
        *busy = false;
    UniqueFd s(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!s.valid())
        return s;
    sockaddr_un sa;
    const socklen_t len = make_address(path, sa);
    constexpr int kRetryMs = 20;
    for (int waited = 0; ::connect(s.get(), reinterpret_cast<sockaddr*>(&sa), len) != 0;) {
        // A full queue answers EAGAIN at once on a non-blocking Unix socket.
        if (errno != EAGAIN && errno != EINTR)
            return UniqueFd();
        if (errno == EAGAIN && (waited += kRetryMs) > wait_ms) {
            if (busy)
                *busy = true;
            return UniqueFd();
        }
        ::usleep(kRetryMs * 1000);
    }
    // Sends and receives have time limits of their own.
    ::fcntl(s.get(), F_SETFL, ::fcntl(s.get(), F_GETFL) & ~O_NONBLOCK);
    return s;
}

// Holds the lock file beside the socket for as long as it lives.
class ChannelLock {
  public:
    explicit ChannelLock(const fs::path& path)
        : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600)) {
        // Another holder keeps it only while it sets up or removes its socket.
        while (fd_.valid() && ::flock(fd_.get(), LOCK_EX) != 0) {
            if (errno != EINTR)
                fd_.reset();
        }
    }
    bool held() const { return fd_.valid(); }

  private:
    UniqueFd fd_;
};

class SocketListener final : public InstanceListener {
  public:
    SocketListener(UniqueFd fd, fs::path path, fs::path lock_path, dev_t dev, ino_t ino)
        : fd_(std::move(fd)),
          path_(std::move(path)),
          lock_path_(std::move(lock_path)),
          dev_(dev),
          ino_(ino) {}

    // The socket file goes with the instance, unless another instance has replaced it.
    ~SocketListener() override {
        ChannelLock lock(lock_path_);
        struct stat st {};
        if (lock.held() && ::lstat(path_.c_str(), &st) == 0 && st.st_dev == dev_ &&
            st.st_ino == ino_)
            ::unlink(path_.c_str());
    }

    int fd() const override { return fd_.get(); }
    void announce_ending() override { ending_ = true; }

    std::optional<InstanceMessage> receive() override {
        UniqueFd client(::accept4(fd_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!client.valid() || !peer_is_this_user(client.get()))
            return std::nullopt;
        timeval tv{1, 0};  // a silent client must not hang the window
        ::setsockopt(client.get(), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        const std::string line = read_line(client.get());
        std::optional<InstanceMessage> message;
        text_.clear();
        if (line == kRestoreWord)
            message = InstanceMessage::kRestore;
        if (line == kCloseWord)
            message = InstanceMessage::kClose;
        if (line.rfind(kChangedWord, 0) == 0) {
            message = InstanceMessage::kMouseChanged;
            text_ = line.substr(sizeof kChangedWord - 1, line.size() - sizeof kChangedWord);
        }
        if (message && ending_) {
            (void)!::send(client.get(), kEndingAnswer, sizeof kEndingAnswer - 1, MSG_NOSIGNAL);
            return std::nullopt;
        }
        if (message)
            (void)!::send(client.get(), "ok\n", 3, MSG_NOSIGNAL);
        return message;
    }

    std::string received_text() const override { return text_; }

  private:
    UniqueFd fd_;
    fs::path path_;
    fs::path lock_path_;
    dev_t dev_;
    ino_t ino_;
    std::string text_;  // what came with the last message
    bool ending_ = false;
};

}  // namespace

InstanceChannel::InstanceChannel(std::string name, int connect_wait_ms)
    : connect_wait_ms_(connect_wait_ms) {
    const fs::path folder = private_folder(unavailable_);
    if (folder.empty())
        return;
    const std::string base = file_name_part(std::move(name));
    const fs::path socket = folder / (base + ".socket");
    if (socket.native().size() >= sizeof(sockaddr_un::sun_path)) {
        unavailable_ = socket.string() + ": the path is too long for a socket";
        return;
    }
    socket_path_ = socket;
    lock_path_ = folder / (base + ".lock");
}

namespace {

// Delivers one message line to the instance listening at `socket`.
Delivery deliver_to(const fs::path& socket, InstanceMessage message, const std::string& text,
                    int wait_ms) {
    if (text.size() > InstanceChannel::kMaxMessageText || text.find('\n') != std::string::npos)
        return Delivery::kNone;
    UniqueFd s = connect_to(socket, wait_ms);
    if (!s.valid() || !peer_is_this_user(s.get()))
        return Delivery::kNone;
    const std::string line = message_line(message, text);
    if (::send(s.get(), line.data(), line.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(line.size()))
        return Delivery::kNone;
    // Wait (briefly) for the answer so the caller knows the message arrived.
    timeval tv{3, 0};
    ::setsockopt(s.get(), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    char answer[16] = {};
    const ssize_t n = ::recv(s.get(), answer, sizeof answer - 1, 0);
    if (n <= 0)
        return Delivery::kNone;
    return std::strcmp(answer, kEndingAnswer) == 0 ? Delivery::kEnding : Delivery::kDelivered;
}

// Whether `name` is the file name of a program's channel: "zentrik.socket", "zentrik-*.socket".
bool is_channel_name(const std::string& name) {
    constexpr std::string_view kSuffix = ".socket";
    if (name == "zentrik.socket")
        return true;
    return name.rfind("zentrik-", 0) == 0 && name.size() > 8 + kSuffix.size() &&
           name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0;
}

}  // namespace

Delivery InstanceChannel::deliver_to_running(InstanceMessage message,
                                             const std::string& text) const {
    if (socket_path_.empty())
        return Delivery::kNone;
    return deliver_to(socket_path_, message, text, connect_wait_ms_);
}

int InstanceChannel::deliver_to_every_running(InstanceMessage message, const std::string& text,
                                              bool skip_own) const {
    if (socket_path_.empty())
        return 0;
    int delivered = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(socket_path_.parent_path(), ec)) {
        const fs::path& path = entry.path();
        struct stat st {};
        // Only this user's sockets (the folder is private; the peer is checked again on connect).
        if (!is_channel_name(path.filename().string()) || (skip_own && path == socket_path_) ||
            ::lstat(path.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode) || st.st_uid != ::getuid())
            continue;
        if (deliver_to(path, message, text, connect_wait_ms_) == Delivery::kDelivered)
            ++delivered;
    }
    return delivered;
}

ListenOutcome InstanceChannel::listen_as_first() const {
    if (socket_path_.empty())
        return {nullptr, unavailable_};
    ChannelLock lock(lock_path_);
    if (!lock.held())
        return {nullptr, lock_path_.string() + ": " + error_text(errno)};
    // A socket that still accepts a connection belongs to a running instance; so does one whose
    // queue is full (never replaced: its instance may only be slow).
    bool busy = false;
    if (connect_to(socket_path_, connect_wait_ms_, &busy).valid() || busy)
        return {};
    // Anything else there was left by an ended instance (the folder is ours alone).
    struct stat st {};
    if (::lstat(socket_path_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return {nullptr, socket_path_.string() + " is a folder"};
        if (::unlink(socket_path_.c_str()) != 0)
            return {nullptr, socket_path_.string() + ": " + error_text(errno)};
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.valid())
        return {nullptr, "socket: " + error_text(errno)};
    sockaddr_un sa;
    const socklen_t len = make_address(socket_path_, sa);
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&sa), len) != 0 ||
        ::listen(fd.get(), 64) != 0 || ::lstat(socket_path_.c_str(), &st) != 0)
        return {nullptr, socket_path_.string() + ": " + error_text(errno)};
    return {std::make_unique<SocketListener>(std::move(fd), socket_path_, lock_path_, st.st_dev,
                                             st.st_ino),
            {}};
}

std::string default_instance_name() {
    const char* suffix = std::getenv("ZENTRIK_INSTANCE");
    return suffix && *suffix ? std::string("zentrik-") + suffix : std::string("zentrik");
}

}  // namespace zentrik::platform
