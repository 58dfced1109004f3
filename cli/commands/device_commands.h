#pragma once
// The device subcommands of zentrikctl: list, identify, read, names, name.
#include "cli/cli_command.h"

namespace zentrik::cli {

int run_device_list(CliContext& ctx);
int run_device_identify(CliContext& ctx);
int run_device_read(CliContext& ctx);
int run_device_names(CliContext& ctx);
int run_device_name(CliContext& ctx);

extern const char* const kDeviceListUsage;
extern const char* const kDeviceIdentifyUsage;
extern const char* const kDeviceReadUsage;
extern const char* const kDeviceNamesUsage;
extern const char* const kDeviceNameUsage;

}  // namespace zentrik::cli
