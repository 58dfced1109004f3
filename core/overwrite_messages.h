#pragma once
// The texts a job that overwrites the mouse shows when it cannot start or stops part-way.
#include <filesystem>
#include <optional>
#include <string>

namespace zentrik::core {

// "error" with what went wrong, that the mouse may be partly written, and where the safety
// copy is to go back.
std::string partly_written_message(const std::string& job, const std::string& step,
                                   const std::optional<std::filesystem::path>& safety_copy);

// Why the job did not start: no safety copy could be saved.
std::string no_safety_copy_message(const std::string& job, const std::string& reason);

}  // namespace zentrik::core
