#pragma once
// What the device subcommands share: the mice they talk to (real or simulated, chosen by the
// global options), the mouse a command addresses, and parsing of numbers.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/exit_codes.h"
#include "device/mouse_lock.h"
#include "device/zklib.h"

namespace zentrik::cli {

// A zklib over the mice the global options choose ("--simulate[=SPEC]", else the attached
// mice, else the simulated one), discovered, with "--trace" wired to ctx.err. The simulated
// mouse stands in only when no mouse of the family is attached at all: one that is attached but
// cannot be opened ends the command. nullptr after printing why (`exit_code` then holds the
// status to return).
std::unique_ptr<device::zklib> open_device_link(CliContext& ctx, int& exit_code);

// Takes "--device=N" (index in the device list, default 0) out of `args`; nullopt after
// printing a message when N is not a number.
std::optional<int> take_device_option(CliContext& ctx, std::vector<std::string>& args);

// The mouse at `index`, or nullopt after printing a message (no mouse, index out of range).
std::optional<device::_DEVICE_> pick_device(CliContext& ctx, device::zklib& lib, int index);

// The link and the mouse a command addresses.
struct AddressedMouse {
    std::unique_ptr<device::zklib> lib;
    device::_DEVICE_ device;  // memory_size is known once the mouse was identified
    std::uint16_t identity = 0;
    // Held by commands that read and then write (or read a whole consistent image), from
    // before the mouse is identified to the end of the command.
    device::MouseLock lock;
};

// Whether a command holds the mouse for its whole run (see device/mouse_lock.h).
enum class MouseUse {
    kLook,  // reads only what it shows: no lock
    kJob,   // reads what it relies on and writes: the mouse's lock, waiting while it is busy
};

// What a command prints when the mouse does not answer while being identified ("{path}" stands
// for the mouse's path); nullptr for a command that does not identify the mouse.
using IdentifyFailure = const char*;

// Every command that talks to one mouse opens it here: open_device_link(), pick_device(), for
// a job the mouse's lock (hold_mouse()), then, when `identify_failure` is given, identify()
// (giving the mouse an identity number when it has none, and learning its memory size).
// nullopt after printing why, with `exit_code` set to the status to return (the link's own,
// kExitNoMouse, kExitBusy, or kExitDevice when identifying failed).
std::optional<AddressedMouse> open_addressed_mouse(CliContext& ctx, int index, int& exit_code,
                                                   IdentifyFailure identify_failure = nullptr,
                                                   MouseUse use = MouseUse::kLook);

// Takes the mouse's lock into `mouse.lock`; while another program has it, says so on stderr
// once and waits (device::mouse_wait_ms()). False after printing why, with `exit_code` set
// (kExitBusy when the wait ran out, kExitFailure when no lock could be made).
bool hold_mouse(CliContext& ctx, AddressedMouse& mouse, int& exit_code);

// For commands whose only argument is "--device=N": open_addressed_mouse() after checking
// that nothing else was given.
std::optional<AddressedMouse> open_mouse_without_arguments(
    CliContext& ctx, const char* command, int& exit_code,
    IdentifyFailure identify_failure = nullptr, MouseUse use = MouseUse::kLook);

// Numbers on the command line: decimal, or hexadecimal with "0x"; `hex_default` reads bare
// digits as hexadecimal (addresses).
std::optional<long> parse_number(const std::string& text, bool hex_default = false);

// Replaces real time for in-process tests (nullptr restores it).
void use_device_timing(std::shared_ptr<device::Timing> timing);
// Replaces the system's HID interfaces for in-process tests (an empty function restores them).
void use_system_backend(std::function<std::shared_ptr<platform::HidBackend>()> make);

}  // namespace zentrik::cli
