#pragma once
// The per-user channel that keeps the program to a single instance.
//
// The first instance listens; a later start either asks it to bring its window forward
// (`kRestore`) or to end (`kClose`); a program that changed a mouse tells it so
// (`kMouseChanged`, with a line of text saying what changed on which mouse). The channel lives in a
// folder only this user can reach, so another account can neither reach the user's instance nor
// keep it from starting; a channel left behind by a crashed instance never blocks the next start.
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace zentrik::platform {

enum class InstanceMessage { kRestore, kClose, kMouseChanged };

class InstanceListener {
  public:
    virtual ~InstanceListener() = default;
    // A file descriptor that becomes readable when a message may be waiting.
    virtual int fd() const = 0;
    // Takes one waiting message; nullopt when none is (or the sender is not this user).
    virtual std::optional<InstanceMessage> receive() = 0;
    // The text that came with the message receive() last returned (empty for most messages).
    virtual std::string received_text() const { return {}; }
    // The instance is ending (it finishes a job first): from now on receive() answers every
    // message with "ending" and passes none on, so a new start waits instead of handing over.
    virtual void announce_ending() = 0;
};

// What became of a message sent to the running instance.
enum class Delivery {
    kNone,       // no instance runs (or it did not answer)
    kDelivered,  // it took the message
    kEnding,     // it is ending and took nothing
};

// What an attempt to become the running instance found.
struct ListenOutcome {
    // Set when this start is now the running instance.
    std::unique_ptr<InstanceListener> listener;
    // Why no channel could be set up at all; empty when another instance holds it.
    std::string unavailable;
};

class InstanceChannel {
  public:
    // `name` tells programs apart (tests use their own); it becomes part of the channel's file
    // name inside the user's private runtime folder.
    // `connect_wait_ms` bounds the wait for an instance that holds the channel but accepts no
    // connection (its queue is full: it hangs or has stopped taking messages).
    explicit InstanceChannel(std::string name, int connect_wait_ms = kConnectWaitMs);
    static constexpr int kConnectWaitMs = 3000;

    // Delivers `message` (with `text`, one line of at most kMaxMessageText bytes) to the running
    // instance; false when there is none, it is ending, or the text is not one such line.
    bool send_to_running(InstanceMessage message, const std::string& text = {}) const {
        return deliver_to_running(message, text) == Delivery::kDelivered;
    }
    Delivery deliver_to_running(InstanceMessage message, const std::string& text = {}) const;
    // Delivers `message` to every running instance of this user (each program name has its own
    // channel in the same private folder), but to this channel's own when `skip_own` is set:
    // a window tells the others what it wrote. A channel nobody listens on is skipped at once.
    // Returns how many took it.
    int deliver_to_every_running(InstanceMessage message, const std::string& text,
                                 bool skip_own) const;
    static constexpr std::size_t kMaxMessageText = 3000;
    // Becomes the running instance, unless another one holds the channel or no channel can
    // be set up (see ListenOutcome).
    ListenOutcome listen_as_first() const;

    // Where the channel lives; empty (with `unavailable()` saying why) when no private
    // folder could be found or made.
    const std::filesystem::path& socket_path() const { return socket_path_; }
    const std::string& unavailable() const { return unavailable_; }

  private:
    std::filesystem::path socket_path_;
    std::filesystem::path lock_path_;
    std::string unavailable_;
    int connect_wait_ms_;
};

// The channel name for the program: "zentrik", or "zentrik-$ZENTRIK_INSTANCE" when that is set
// (so a test can run its own instance beside a real one).
std::string default_instance_name();

}  // namespace zentrik::platform
