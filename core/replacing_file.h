#pragma once
// A file that is replaced whole or not at all: the bytes go to a temporary file beside the
// target, which is renamed over the target only once everything is written. Until then an
// existing file of that name is untouched; a temporary file that is not committed is removed.
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace zentrik::core {

class ReplacingFile {
  public:
    // Creates the temporary file at once, so a target that cannot be written is known before
    // any work is done (see ok()).
    explicit ReplacingFile(std::filesystem::path target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool ok() const { return file_ != nullptr; }
    const std::filesystem::path& temporary_path() const { return temporary_; }
    // Writes `bytes`, closes and renames the temporary file over the target; false (and the
    // temporary file removed) when any step fails.
    bool commit(std::string_view bytes);

  private:
    void discard();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
};

}  // namespace zentrik::core
