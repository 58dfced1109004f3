#pragma once
// A descriptor for a main loop that becomes readable when something changed: this process
// called notify(), or a file in one of the watched directories was written, renamed into place
// or removed (by any process). Used where state is shared through files, so that a window
// follows another program's changes without a thread or polling.
#include <filesystem>
#include <memory>
#include <vector>

namespace zentrik::platform {

class ChangeNotifier {
  public:
    virtual ~ChangeNotifier() = default;
    // Readable while a change is pending; -1 when it could not be set up.
    virtual int fd() const = 0;
    // Marks a change; safe from any thread.
    virtual void notify() = 0;
    // Forgets the pending changes; the descriptor stays unreadable until the next one. Callers
    // clear first and then look at the state, so a change made meanwhile is never lost.
    virtual void clear() = 0;
};

// Directories that do not exist (or cannot be watched) are left out: notify() still works.
std::unique_ptr<ChangeNotifier> make_change_notifier(
    const std::vector<std::filesystem::path>& watched_directories);

}  // namespace zentrik::platform
