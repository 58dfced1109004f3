#pragma once
// What a long job (backup, restore, reset) did, for the window and zentrikctl to act on.
#include <filesystem>
#include <optional>
#include <string>

namespace zentrik::core {

enum class JobStatus {
    done,       // the job ran to its end; every exchange succeeded
    cancelled,  // the user cancelled a dialog or answered No: nothing was done
    refused,    // the input was not acceptable (file format, memory size): nothing was sent
    failed,     // a file could not be written or an exchange with the mouse failed
};

struct JobResult {
    JobStatus status = JobStatus::done;
    // The message box text to show ("" for none). Failed and refused jobs always have one,
    // except a file the user picked that cannot be opened, which the window passes over.
    std::string message;
    // The copy of the mouse saved before a restore or reset, when one was made.
    std::optional<std::filesystem::path> safety_copy;
    // The mouse may hold new settings: the window clears its loaded flags and loads them again.
    bool reload = false;
    // The mouse may be partly written (a write failed part-way).
    bool partly_written = false;
    // The failure was the file's (it could not be created or written), not the mouse's.
    bool file_failed = false;

    bool ok() const { return status == JobStatus::done; }
};

// The message-box texts of the backup and restore jobs (not translated).
inline constexpr char kMsgError[] = "error";
inline constexpr char kMsgInvalidFormat[] = "invalid format !!";
inline constexpr char kMsgMemorySizeMismatch[] = "memory size doesn't match !!";

}  // namespace zentrik::core
