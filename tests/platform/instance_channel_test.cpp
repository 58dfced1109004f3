// The single-instance channel: one winner when two instances start together over what a crashed
// instance left, and a private folder of its own when the runtime folder cannot serve.
// (A squatted old name and leftovers at the channel's place: e2e.squatted_channel.)
#include "platform/instance_channel.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

namespace zentrik::platform {
namespace {

namespace fs = std::filesystem;

// A socket bound and listening at `address`.
int bound_socket(const std::string& address) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un sa{};
    sa.sun_family = AF_UNIX;
    std::memcpy(sa.sun_path, address.data(), address.size());
    const auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + address.size());
    EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&sa), len), 0) << std::strerror(errno);
    EXPECT_EQ(::listen(fd, 1), 0);
    return fd;
}

// Takes messages on `listener` until `count` have arrived.
std::thread serve(InstanceListener& listener, int count, std::atomic<int>& restores) {
    return std::thread([&listener, count, &restores] {
        for (int n = 0; n < count;) {
            if (auto m = listener.receive(); m && *m == InstanceMessage::kRestore) {
                ++restores;
                ++n;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
}

class InstanceChannelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            saved_ = old;
        runtime_ = fs::temp_directory_path() / ("zentrik-run-" + std::to_string(::getpid()));
        fs::remove_all(runtime_);
        fs::create_directory(runtime_);
        fs::permissions(runtime_, fs::perms::owner_all, fs::perm_options::replace);
        ::setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
        name_ = std::string("zentrik-test-") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void TearDown() override {
        if (saved_)
            ::setenv("XDG_RUNTIME_DIR", saved_->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
        fs::remove_all(runtime_);
    }
    fs::path runtime_;
    std::string name_;
    std::optional<std::string> saved_;
};

TEST_F(InstanceChannelTest, TwoStartsAtOnceLeaveOneRunningInstance) {
    for (int round = 0; round < 20; ++round) {
        ::close(bound_socket(InstanceChannel(name_).socket_path().string()));  // stale file
        ListenOutcome a, b;
        std::thread ta([&] { a = InstanceChannel(name_).listen_as_first(); });
        std::thread tb([&] { b = InstanceChannel(name_).listen_as_first(); });
        ta.join();
        tb.join();
        ASSERT_NE(!a.listener, !b.listener) << "round " << round;
        EXPECT_EQ(a.unavailable + b.unavailable, "");
        // The winner's socket is the one at the path.
        InstanceListener& winner = a.listener ? *a.listener : *b.listener;
        std::atomic<int> restores = 0;
        std::thread server = serve(winner, 1, restores);
        EXPECT_TRUE(InstanceChannel(name_).send_to_running(InstanceMessage::kRestore));
        server.join();
    }
}

// A change message arrives whole however the socket splits it (a long mouse key), and text
// that would break the line-based wire is never sent.
TEST_F(InstanceChannelTest, ChangeMessagesArriveWholeAndOddTextIsRefused) {
    auto outcome = InstanceChannel(name_).listen_as_first();
    ASSERT_TRUE(outcome.listener);
    const std::string text = "4 1 sim:" + std::string(2000, 'k') + " end";
    std::optional<InstanceMessage> got;
    std::string got_text;
    std::thread server([&] {
        while (!got) {
            got = outcome.listener->receive();
            got_text = outcome.listener->received_text();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    EXPECT_TRUE(InstanceChannel(name_).send_to_running(InstanceMessage::kMouseChanged, text));
    server.join();
    EXPECT_EQ(got, InstanceMessage::kMouseChanged);
    EXPECT_EQ(got_text, text);

    const InstanceChannel channel(name_);
    EXPECT_FALSE(channel.send_to_running(InstanceMessage::kMouseChanged, "4 1 a\nclose"));
    EXPECT_FALSE(channel.send_to_running(InstanceMessage::kMouseChanged,
                                         std::string(InstanceChannel::kMaxMessageText + 1, 'k')));
}

// A window tells every other running instance what it wrote: each listening channel gets it
// once, the sender's own none, and a channel left by an ended instance does not stop the rest.
TEST_F(InstanceChannelTest, AChangeReachesEveryOtherInstanceButNotTheSender) {
    ::close(bound_socket((runtime_ / "zentrik-ended.socket").string()));  // nobody listens
    const InstanceChannel own("zentrik-first"), other("zentrik"), third("zentrik-third");
    auto own_end = own.listen_as_first().listener;
    auto other_end = other.listen_as_first().listener;
    auto third_end = third.listen_as_first().listener;
    ASSERT_TRUE(own_end && other_end && third_end);
    std::atomic<bool> done{false};
    std::vector<std::string> texts[2];
    auto take = [&done](InstanceListener& l, std::vector<std::string>& got) {
        return std::thread([&] {
            while (!done) {
                if (auto m = l.receive(); m && *m == InstanceMessage::kMouseChanged)
                    got.push_back(l.received_text());
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
    };
    std::thread a = take(*other_end, texts[0]), b = take(*third_end, texts[1]);
    EXPECT_EQ(own.deliver_to_every_running(InstanceMessage::kMouseChanged, "1 2 sim:x", true), 2);
    done = true;
    a.join();
    b.join();
    for (const auto& got : texts)
        EXPECT_EQ(got, std::vector<std::string>{"1 2 sim:x"});
    EXPECT_FALSE(own_end->receive());
    // A program without a channel of its own (zentrikctl) reaches them all, whatever its name.
    done = false;
    std::vector<std::string> own_texts;
    std::thread c = take(*own_end, own_texts), d = take(*other_end, texts[0]),
                e = take(*third_end, texts[1]);
    EXPECT_EQ(own.deliver_to_every_running(InstanceMessage::kMouseChanged, "2 0 sim:x", false), 3);
    done = true;
    for (std::thread* t : {&c, &d, &e})
        t->join();
    EXPECT_EQ(own_texts, std::vector<std::string>{"2 0 sim:x"});
    EXPECT_EQ(texts[1].size(), 2u);
}

// An instance that holds the channel but takes no connection (hung, or its main loop gone) fills
// its queue: a start or a zentrikctl notice gives up after a bounded wait instead of hanging, and
// the channel is not taken from it.
TEST_F(InstanceChannelTest, AnInstanceThatTakesNoConnectionHangsNoStartAndKeepsItsChannel) {
    const fs::path path = InstanceChannel(name_).socket_path();
    const int hung = bound_socket(path.string());
    std::vector<int> queued;  // connections its queue holds, never accepted
    for (;;) {
        const int c = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_un sa{};
        sa.sun_family = AF_UNIX;
        std::memcpy(sa.sun_path, path.c_str(), path.native().size());
        if (::connect(c, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
            ASSERT_EQ(errno, EAGAIN) << std::strerror(errno);
            ::close(c);
            break;
        }
        queued.push_back(c);
    }
    struct stat before {};
    ASSERT_EQ(::lstat(path.c_str(), &before), 0);

    const InstanceChannel channel(name_, 100);
    EXPECT_EQ(channel.deliver_to_running(InstanceMessage::kRestore), Delivery::kNone);
    EXPECT_EQ(channel.deliver_to_every_running(InstanceMessage::kMouseChanged, "x", false), 0);
    const ListenOutcome outcome = channel.listen_as_first();
    EXPECT_FALSE(outcome.listener);
    EXPECT_EQ(outcome.unavailable, "");
    struct stat after {};
    ASSERT_EQ(::lstat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the hung instance's channel was replaced";
    for (const int c : queued)
        ::close(c);
    ::close(hung);
}

TEST_F(InstanceChannelTest, UnusableRuntimeFolderFallsBackToAPrivateFolder) {
    const fs::path fallback = "/tmp/zentrik-" + std::to_string(::getuid());
    fs::permissions(runtime_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec,
                    fs::perm_options::replace);
    for (const char* runtime : {runtime_.c_str(), "relative/folder", ""}) {
        SCOPED_TRACE(runtime);
        ::setenv("XDG_RUNTIME_DIR", runtime, 1);
        const InstanceChannel channel(name_);
        ASSERT_EQ(channel.unavailable(), "");
        EXPECT_EQ(channel.socket_path().parent_path(), fallback);
        struct stat st {};
        ASSERT_EQ(::lstat(fallback.c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_uid, ::getuid());
        EXPECT_EQ(st.st_mode & 077, 0u);
        EXPECT_TRUE(channel.listen_as_first().listener);
    }
}

}  // namespace
}  // namespace zentrik::platform
