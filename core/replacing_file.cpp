#include "core/replacing_file.h"

#include <random>
#include <string>

namespace zentrik::core {

ReplacingFile::ReplacingFile(std::filesystem::path target) : target_(std::move(target)) {
    std::random_device entropy;
    for (int attempt = 0; attempt < 8 && !file_; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(entropy()));
        temporary_ = target_.parent_path() / ("." + target_.filename().string() + suffix);
        // "x": never open a file that is already there (another writer's temporary file).
        file_ = std::fopen(temporary_.c_str(), "wbx");
    }
    if (!file_)
        temporary_.clear();
}

ReplacingFile::~ReplacingFile() {
    discard();
}

void ReplacingFile::discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        std::error_code ec;
        std::filesystem::remove(temporary_, ec);
        temporary_.clear();
    }
}

bool ReplacingFile::commit(std::string_view bytes) {
    if (!file_)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!written || !closed) {
        discard();
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temporary_, target_, ec);
    if (ec) {
        discard();
        return false;
    }
    temporary_.clear();
    return true;
}

}  // namespace zentrik::core
