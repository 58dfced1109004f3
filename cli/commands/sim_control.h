#pragma once
// zentrikctl unplug, plug and event: a person's hand on a simulated mouse. They act on the
// mouse's shared state, so a program running on the same simulated mouse follows.
#include "cli/cli_command.h"

namespace zentrik::cli {

int run_sim_unplug(CliContext& ctx);
int run_sim_plug(CliContext& ctx);
int run_sim_event(CliContext& ctx);

extern const char* const kSimUnplugUsage;
extern const char* const kSimPlugUsage;
extern const char* const kSimEventUsage;

}  // namespace zentrik::cli
