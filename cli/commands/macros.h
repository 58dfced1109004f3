#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "cli/cli_command.h"
#include "device/zklib.h"

namespace zentrik::cli {

extern const char kMacrosUsage[];
int run_macros(CliContext& ctx);

// Saves a copy of the whole mouse before `macros defrag` rewrites its macro memory; returns the
// file, or nullopt when no copy could be made (the defragmentation then does not run).
using MouseSafetyCopy = std::function<std::optional<std::filesystem::path>(
    device::zklib& lib, const std::string& path, int memory_size)>;
// Replaces the copy (tests); empty restores the backup module's safety copy.
void use_mouse_safety_copy(MouseSafetyCopy copy);

}  // namespace zentrik::cli
