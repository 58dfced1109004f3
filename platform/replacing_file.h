#pragma once
// A file that is replaced whole or not at all, the one way the programs write their files.
// The bytes go to a temporary file with a random name, created exclusively beside the target
// (never through a link someone placed there); it is flushed to disk and renamed over the
// target only once every write and the close succeeded, and the folder is synced after the
// rename. Until then an existing file of that name is untouched, and it keeps its permission
// bits. A temporary file that is not committed is removed.
#include <filesystem>
#include <string>
#include <string_view>

namespace zentrik::platform {

struct ReplaceOptions {
    // Permission bits of a file that does not exist yet (the user's umask applies); an
    // existing file keeps its own.
    unsigned new_file_mode = 0666;
    // Flush the data and the folder to disk. Only state that is worthless after a crash (the
    // simulated mouse's) goes without.
    bool sync = true;
};

class ReplacingFile {
  public:
    // Creates the temporary file at once, so a target that cannot be written is known before
    // any work is done (see ok() and error()).
    explicit ReplacingFile(std::filesystem::path target, ReplaceOptions options = {});
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool ok() const { return handle_ >= 0; }
    // Why the file could not be created or committed: "cannot write 'PATH': REASON".
    const std::string& error() const { return error_; }
    const std::filesystem::path& temporary_path() const { return temporary_; }
    // Writes `bytes`, syncs, closes and renames the temporary file over the target; false (the
    // temporary file removed, error() set, the target as it was) when any step fails.
    bool commit(std::string_view bytes);

  private:
    bool fail(const char* step, int error_number);
    void discard();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    ReplaceOptions options_;
    int handle_ = -1;  // the backend's descriptor of the temporary file
    std::string error_;
};

// Replaces `target` with `bytes` in one go; false with `error` (when given) set on failure.
bool replace_file(const std::filesystem::path& target, std::string_view bytes,
                  std::string* error = nullptr, ReplaceOptions options = {});

}  // namespace zentrik::platform
