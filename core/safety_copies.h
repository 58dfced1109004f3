#pragma once
// Safety copies: before a job overwrites the mouse (restore, reset, macro defragmentation), a
// backup of the mouse as it is goes to the user's state directory, so the job can be undone by
// restoring that file. The last ten copies of each mouse are kept.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/job_progress.h"
#include "device/device_record.h"
#include "device/zklib.h"

namespace zentrik::core {

inline constexpr int kSafetyCopiesKept = 10;

// $XDG_STATE_HOME/zentrik/backups (default ~/.local/state/zentrik/backups).
std::filesystem::path default_safety_copy_directory();

struct SafetyCopy {
    std::optional<std::filesystem::path> file;  // set when the copy was saved
    std::string error;                          // why not, otherwise
    bool file_failed = false;                   // the folder or the file could not be written
};

// Reads the whole mouse (its memory size must be known) and saves it in `directory` (created
// when missing) as "mouse-IIII-yyyy-MM-ddTHH-mm-ss.mmm.mbf", IIII the identity number in hex;
// then removes all but the newest ten copies of that mouse. The fraction runs 0-1 during the
// read; the caption is left to the caller.
SafetyCopy make_safety_copy(device::zklib& lib, const device::_DEVICE_& device,
                            JobProgress& progress, const std::filesystem::path& directory);

// The same in the default directory; the saved file, or nullopt when no copy could be made.
std::optional<std::filesystem::path> save_safety_copy(device::zklib& lib,
                                                      const device::_DEVICE_& device,
                                                      JobProgress& progress);

struct SafetyCopyEntry {
    std::filesystem::path file;
    std::string mouse;     // identity number in hex ("none" for a mouse that holds none)
    std::string saved_at;  // "yyyy-MM-dd HH:mm:ss" from the file name
    int memory_size = 0;   // from the file's header; 0 when the file is not a valid backup
};

// The copies in `directory`, oldest first.
std::vector<SafetyCopyEntry> list_safety_copies(const std::filesystem::path& directory);

}  // namespace zentrik::core
