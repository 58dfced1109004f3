#include "device/mouse_lock.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <map>

#include "platform/exclusive_lock.h"

namespace zentrik::device {
namespace {

constexpr int kRetryMs = 100;

// The locks this thread holds, by key, with how many holders share each.
std::map<std::string, int>& held_here() {
    thread_local std::map<std::string, int> held;
    return held;
}

// A short file name for any key (a device node, a long state path).
std::string lock_file_name(const std::string& key) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;  // FNV-1a
    for (unsigned char c : key) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    char text[17];
    for (int i = 15; i >= 0; --i, hash >>= 4)
        text[i] = "0123456789abcdef"[hash & 0xF];
    text[16] = '\0';
    return std::string("mouse-") + text + ".lock";
}

}  // namespace

struct MouseLock::Held {
    std::string key;
    std::unique_ptr<platform::ExclusiveLock> file;  // null when an outer holder has it
    ~Held() {
        auto& held = held_here();
        if (const auto it = held.find(key); it != held.end() && --it->second == 0)
            held.erase(it);
    }
};

int mouse_wait_ms() {
    const char* text = std::getenv("ZENTRIK_MOUSE_WAIT_MS");
    if (!text || !*text)
        return kDefaultMouseWaitMs;
    int ms = 0;
    const char* end = text + std::char_traits<char>::length(text);
    const auto [at, ec] = std::from_chars(text, end, ms);
    return ec == std::errc() && at == end && ms >= 0 ? ms : kDefaultMouseWaitMs;
}

MouseLock::MouseLock() = default;
MouseLock::MouseLock(MouseLock&&) noexcept = default;
MouseLock& MouseLock::operator=(MouseLock&&) noexcept = default;
MouseLock::~MouseLock() = default;

void MouseLock::release() {
    held_.reset();
}

MouseLock lock_mouse(zklib& lib, const std::string& path, const std::function<void()>& on_busy,
                     int wait_ms) {
    MouseLock lock;
    const std::string key = lib.backend().lock_key(path);
    auto& held = held_here();
    auto take_shared = [&] {
        ++held[key];
        lock.held_ = std::make_unique<MouseLock::Held>();
        lock.held_->key = key;
        lock.outcome_ = MouseLock::Outcome::kHeld;
    };
    // A mouse no other program reaches, or one this thread already holds.
    if (key.empty() || held.count(key) != 0) {
        take_shared();
        return lock;
    }
    auto file = platform::open_exclusive_lock(lock_file_name(key), lock.error_);
    if (!file)
        return lock;
    const std::int64_t deadline = lib.timing().now_us() + std::int64_t(wait_ms) * 1000;
    bool waited = false;
    while (!file->try_take()) {
        if (lib.timing().now_us() >= deadline) {
            lock.outcome_ = MouseLock::Outcome::kTimedOut;
            return lock;
        }
        if (!waited && on_busy)
            on_busy();
        waited = true;
        lib.timing().sleep_ms(kRetryMs);
    }
    take_shared();
    lock.held_->file = std::move(file);
    return lock;
}

}  // namespace zentrik::device
