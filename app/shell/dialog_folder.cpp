#include "app/shell/dialog_folder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/paths.h"
#include "platform/replacing_file.h"

namespace zentrik::app {
namespace {

// A folder's name is far shorter; anything longer is not a file this program wrote.
constexpr std::uintmax_t kLargestMemory = 8192;

}  // namespace

DialogFolder::DialogFolder(std::filesystem::path memory, std::filesystem::path home)
    : memory_(std::move(memory)), home_(std::move(home)) {}

DialogFolder DialogFolder::for_user() {
    const char* home = std::getenv("HOME");
    return DialogFolder(platform::user_state_directory() / "dialog-folder",
                        home && *home ? std::filesystem::path(home) : std::filesystem::path("/"));
}

std::filesystem::path DialogFolder::start() const {
    std::error_code ec;
    if (std::filesystem::is_regular_file(memory_, ec) &&
        std::filesystem::file_size(memory_, ec) <= kLargestMemory && !ec) {
        std::ifstream in(memory_, std::ios::binary);
        const std::string kept{std::istreambuf_iterator<char>(in), {}};
        const std::filesystem::path folder(kept);
        if (in && folder.is_absolute() && std::filesystem::is_directory(folder, ec))
            return folder;
    }
    return home_;
}

void DialogFolder::remember(const std::filesystem::path& chosen) const {
    const auto folder = chosen.parent_path();
    if (!folder.is_absolute())
        return;
    std::error_code ec;
    std::filesystem::create_directories(memory_.parent_path(), ec);
    platform::replace_file(memory_, folder.string());
}

}  // namespace zentrik::app
