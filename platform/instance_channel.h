#pragma once
// The per-user channel that keeps the program to a single instance.
//
// The first instance listens; a later start either asks it to bring its window forward
// (`kRestore`) or to end (`kClose`). Another user's instance is never reached, and a channel
// left behind by a crashed instance never blocks the next start.
#include <memory>
#include <optional>
#include <string>

namespace zentrik::platform {

enum class InstanceMessage { kRestore, kClose };

class InstanceListener {
  public:
    virtual ~InstanceListener() = default;
    // A file descriptor that becomes readable when a message may be waiting.
    virtual int fd() const = 0;
    // Takes one waiting message; nullopt when none is (or the sender is not this user).
    virtual std::optional<InstanceMessage> receive() = 0;
};

class InstanceChannel {
  public:
    // `name` tells programs apart (tests use their own); the user id is added by the channel.
    explicit InstanceChannel(std::string name);

    // Delivers `message` to the running instance; false when there is none.
    bool send_to_running(InstanceMessage message) const;
    // Becomes the running instance; nullptr when another instance holds the channel.
    std::unique_ptr<InstanceListener> listen_as_first() const;

  private:
    std::string address_;
};

// The channel name for the program: "zentrik", or "zentrik-$ZENTRIK_INSTANCE" when that is set
// (so a test can run its own instance beside a real one).
std::string default_instance_name();

}  // namespace zentrik::platform
