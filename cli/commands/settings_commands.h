#pragma once
// The settings subcommands of zentrikctl: settings, profile, button, dpi, level, rate, snap,
// wheel.
#include "cli/cli_command.h"

namespace zentrik::cli {

int run_settings_show(CliContext& ctx);
int run_settings_profile(CliContext& ctx);
int run_settings_button(CliContext& ctx);
int run_settings_dpi(CliContext& ctx);
int run_settings_level(CliContext& ctx);
int run_settings_rate(CliContext& ctx);
int run_settings_snap(CliContext& ctx);
int run_settings_wheel(CliContext& ctx);

extern const char* const kSettingsShowUsage;
extern const char* const kSettingsProfileUsage;
extern const char* const kSettingsButtonUsage;
extern const char* const kSettingsDpiUsage;
extern const char* const kSettingsLevelUsage;
extern const char* const kSettingsRateUsage;
extern const char* const kSettingsSnapUsage;
extern const char* const kSettingsWheelUsage;

}  // namespace zentrik::cli
