#pragma once
// The text that chooses the simulated mice ("--simulate=SPEC"): comma-separated KEY=VALUE pairs,
// e.g. "model=1,memory=8,mice=2,state=/tmp/mice,fault=busy:3". Documented in
// docs/simulated-mouse.md.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "sim/sim_backend.h"

namespace zentrik::sim {

struct SimSetup {
    int model = 7;
    int sensor = 1;
    int firmware = 3;
    int dpi_step = 100;
    int memory_kib = 16;
    int mice = 1;
    // Without "mice=", the mice that already have state files in the state directory are
    // listed too, so a program shares every mouse another program started with "mice=N".
    bool mice_given = false;
    bool variant_kp3 = false;
    // Directory of the mice's state files; nullopt keeps state in memory only ("state=none").
    std::optional<std::filesystem::path> state_dir;
    // "fault=unplug-after:N", "fault=busy:N", "fault=fail-once:N", "fault=never-done",
    // "fault=garbage"; the pair may be given several times. Every mouse starts with these faults.
    SimFaults faults;
};

// Parses SPEC; the empty text gives the defaults with state in default_state_dir(). On a bad
// key or value returns nullopt and says why in `error`.
std::optional<SimSetup> parse_sim_setup(std::string_view text, std::string& error);

// $XDG_STATE_HOME/zentrik/sim.
std::filesystem::path default_state_dir();

// The mice of `setup`, their state loaded from (and kept in) the state directory.
std::shared_ptr<SimBackend> make_sim_backend(const SimSetup& setup);

}  // namespace zentrik::sim
