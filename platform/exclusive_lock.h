#pragma once
// An exclusive lock between programs, taken on a file in a folder only this user can reach.
// The operating system lets go of it when its holder ends, however it ends, so a program that
// crashed never leaves a lock behind that blocks the next one.
#include <filesystem>
#include <memory>
#include <string>

namespace zentrik::platform {

class ExclusiveLock {
  public:
    virtual ~ExclusiveLock() = default;  // lets go of the lock when it is held
    // Takes the lock without waiting; false while another holder (another program, or another
    // ExclusiveLock on the same file in this program) has it. True again once taken.
    virtual bool try_take() = 0;
};

// The folder for this user's locks: $XDG_RUNTIME_DIR/zentrik, or, when XDG_RUNTIME_DIR is unset,
// zentrik-<user id> in the temporary folder ($TMPDIR, else /tmp). Made with access for the user
// alone; a folder already there is used only when it is a real folder (not a link) that this
// user owns and nobody else may enter. Empty with `error` set otherwise.
std::filesystem::path private_lock_directory(std::string& error);

// Opens (creating when missing) the lock file `name` in private_lock_directory(); nullptr with
// `error` set when it cannot. The lock is not taken yet.
std::unique_ptr<ExclusiveLock> open_exclusive_lock(const std::string& name, std::string& error);

}  // namespace zentrik::platform
