#include "core/safety_copies.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "core/backup_file.h"
#include "core/mouse_identity.h"
#include "core/mouse_memory.h"
#include "platform/paths.h"
#include "platform/replacing_file.h"

namespace zentrik::core {
namespace {

constexpr char kPrefix[] = "mouse-";
constexpr char kNoIdentity[] = "none";
constexpr std::size_t kStampLength = 23;  // "yyyy-MM-ddTHH-mm-ss.mmm"

std::string identity_text(std::optional<std::uint16_t> identity) {
    if (!identity)
        return kNoIdentity;
    char text[8];
    std::snprintf(text, sizeof text, "%04x", *identity);
    return text;
}

std::string stamp_text(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()) % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H-%M-%S", &local);
    std::snprintf(text + n, sizeof text - n, ".%03d", static_cast<int>(ms.count()));
    return text;
}

// "mouse-IIII-STAMP.mbf" split into its mouse and its stamp; false for any other name.
bool parse_name(const std::string& name, std::string& mouse, std::string& stamp) {
    const std::string extension = std::string(".") + kBackupExtension;
    if (name.rfind(kPrefix, 0) != 0 || name.size() < extension.size() ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0) {
        return false;
    }
    const std::string middle =
        name.substr(sizeof kPrefix - 1, name.size() - (sizeof kPrefix - 1) - extension.size());
    if (middle.size() < kStampLength + 2 || middle[middle.size() - kStampLength - 1] != '-')
        return false;
    mouse = middle.substr(0, middle.size() - kStampLength - 1);
    stamp = middle.substr(middle.size() - kStampLength);
    return true;
}

std::string readable_stamp(std::string stamp) {
    // "2026-12-08T22-03-05.123" -> "2026-12-08 22:03:05"
    stamp.resize(19);
    stamp[10] = ' ';
    stamp[13] = ':';
    stamp[16] = ':';
    return stamp;
}

void keep_newest(const std::filesystem::path& directory, const std::string& mouse) {
    std::vector<std::filesystem::path> copies;
    for (const auto& entry : list_safety_copies(directory)) {
        if (entry.mouse == mouse)
            copies.push_back(entry.file);
    }
    // Oldest first: remove from the front.
    for (std::size_t i = 0; i + kSafetyCopiesKept < copies.size(); ++i) {
        std::error_code ec;
        std::filesystem::remove(copies[i], ec);
    }
}

}  // namespace

std::filesystem::path default_safety_copy_directory() {
    return platform::user_state_directory() / "backups";
}

SafetyCopy make_safety_copy(device::zklib& lib, const device::_DEVICE_& device,
                            JobProgress& progress, const std::filesystem::path& directory) {
    // The copies hold the user's data: their folder and the files are the user's alone.
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (!ec)
        std::filesystem::permissions(directory, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace, ec);
    if (ec)
        return {std::nullopt, "cannot create " + directory.string() + ": " + ec.message(), true};

    bool answered = false;
    const auto identity = stored_identity(lib, device.path, answered);
    const auto settings = answered ? read_backup_settings(lib, device) : std::nullopt;
    if (!settings)
        return {std::nullopt, "the mouse did not answer while its settings were read"};
    BackupFile backup;
    backup.date = today_date_text();
    backup.settings = *settings;
    auto image = read_memory_image(lib, device.path, device.memory_size,
                                   [&progress](double f) { progress.set_fraction(f); });
    if (!image)
        return {std::nullopt, "the mouse did not answer while its memory was read"};
    backup.image = std::move(*image);

    const std::string mouse = identity_text(identity);
    auto when = std::chrono::system_clock::now();
    std::filesystem::path file;
    do {  // never replace an earlier copy that got the same time stamp
        file = directory / (kPrefix + mouse + "-" + stamp_text(when) + "." + kBackupExtension);
        when += std::chrono::milliseconds(1);
    } while (std::filesystem::exists(file, ec));
    std::string error;
    if (!platform::replace_file(file, encode_backup(backup), &error,
                                platform::ReplaceOptions{.new_file_mode = 0600}))
        return {std::nullopt, error, true};  // names the file in `directory`
    keep_newest(directory, mouse);
    return {file, ""};
}

std::optional<std::filesystem::path> save_safety_copy(device::zklib& lib,
                                                      const device::_DEVICE_& device,
                                                      JobProgress& progress) {
    return make_safety_copy(lib, device, progress, default_safety_copy_directory()).file;
}

std::vector<SafetyCopyEntry> list_safety_copies(const std::filesystem::path& directory) {
    std::vector<std::pair<std::string, SafetyCopyEntry>> found;  // stamp, entry
    std::error_code ec;
    for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string mouse;
        std::string stamp;
        if (!it->is_regular_file(ec) || !parse_name(it->path().filename().string(), mouse, stamp))
            continue;
        SafetyCopyEntry entry{it->path(), mouse, readable_stamp(stamp), 0};
        const auto decoded = load_backup_file(it->path());
        if (decoded.error == BackupFileError::none)
            entry.memory_size = static_cast<int>(decoded.backup.image.size());
        found.emplace_back(stamp, std::move(entry));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second.file < b.second.file;
    });
    std::vector<SafetyCopyEntry> entries;
    for (auto& [stamp, entry] : found)
        entries.push_back(std::move(entry));
    return entries;
}

}  // namespace zentrik::core
