#pragma once
// A lock between processes, held on a small file that also carries a change counter: whoever
// holds the lock and changes the shared state raises the counter, so the others see with one
// read that they must re-read the state.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace zentrik::platform {

class CountedFileLock {
  public:
    virtual ~CountedFileLock() = default;
    // Waits for the lock; other processes (and other CountedFileLock objects on the same file)
    // wait meanwhile.
    virtual void lock() = 0;
    virtual void unlock() = 0;
    // The counter (0 for a new file); call while holding the lock.
    virtual std::uint64_t counter() = 0;
    // Stores the counter; false when it cannot be written.
    virtual bool set_counter(std::uint64_t value) = 0;
};

// Opens (creating when missing) the lock file at `path`; nullptr with `error` set when it
// cannot be opened for writing.
std::unique_ptr<CountedFileLock> open_counted_file_lock(const std::filesystem::path& path,
                                                        std::string& error);

}  // namespace zentrik::platform
