#pragma once
#include "cli/cli_command.h"

namespace zentrik::cli {

// zentrikctl hid-caps FILE|DEVICE
int run_hid_caps(CliContext& ctx);

inline constexpr const char* kHidCapsUsage =
    "Usage: zentrikctl hid-caps [--json] FILE|DEVICE\n"
    "Reads a HID report descriptor, from a binary FILE or from the hidraw node DEVICE\n"
    "(/dev/hidrawN), and prints one line per top-level collection:\n\n"
    "  0xPPPP 0xUUUU IN OUT FEAT\n\n"
    "usage page and usage in hex, then the input, output and feature report lengths in bytes,\n"
    "counting the report-id byte (0 when the collection has no report of that kind).\n"
    "The device link looks for a collection of usage 0x0002 with feature length 9.\n"
    "Exits with 5 when the descriptor cannot be read or is not valid.\n";

}  // namespace zentrik::cli
