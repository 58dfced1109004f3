#include "sim/sim_setup.h"

#include <charconv>

#include "platform/paths.h"

namespace zentrik::sim {
namespace {

bool parse_int(std::string_view text, int min, int max, int& out) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return false;
    if (value < min || value > max)
        return false;
    out = value;
    return true;
}

// One "fault=" value; false when it names no fault or its count is bad.
bool parse_fault(std::string_view value, SimFaults& faults) {
    if (value == "never-done") {
        faults.never_done = true;
        return true;
    }
    if (value == "garbage") {
        faults.garbage_replies = true;
        return true;
    }
    const auto colon = value.find(':');
    if (colon == std::string_view::npos)
        return false;
    const auto name = value.substr(0, colon);
    const auto count = value.substr(colon + 1);
    if (name == "unplug-after")
        return parse_int(count, 1, 1000000000, faults.unplug_after_exchanges);
    if (name == "busy")
        return parse_int(count, 0, 1000000000, faults.busy_reads);
    if (name == "fail-once")
        return parse_int(count, 1, 1000000000, faults.fail_exchange);
    return false;
}

}  // namespace

std::filesystem::path default_state_dir() {
    return platform::user_state_directory() / "sim";
}

std::optional<SimSetup> parse_sim_setup(std::string_view text, std::string& error) {
    SimSetup setup;
    setup.state_dir = default_state_dir();
    while (!text.empty()) {
        const auto comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        if (item.empty())
            continue;
        const auto eq = item.find('=');
        const std::string_view key = item.substr(0, eq);
        const std::string_view value =
            eq == std::string_view::npos ? std::string_view() : item.substr(eq + 1);
        bool ok = eq != std::string_view::npos;
        if (key == "model") {
            ok = ok && parse_int(value, 0, 255, setup.model);
        } else if (key == "sensor") {
            ok = ok && parse_int(value, 0, 255, setup.sensor);
        } else if (key == "firmware") {
            ok = ok && parse_int(value, 0, 255, setup.firmware);
        } else if (key == "dpi-step") {
            ok = ok && parse_int(value, 1, 255, setup.dpi_step);
        } else if (key == "memory") {
            ok = ok && parse_int(value, 8, 32, setup.memory_kib) &&
                 (setup.memory_kib == 8 || setup.memory_kib == 16 || setup.memory_kib == 32);
        } else if (key == "mice") {
            ok = ok && parse_int(value, 1, 16, setup.mice);
            setup.mice_given = true;
        } else if (key == "variant") {
            ok = ok && value == "kp3";
            setup.variant_kp3 = ok;
        } else if (key == "state") {
            ok = ok && !value.empty();
            if (value == "none") {
                setup.state_dir.reset();
            } else {
                setup.state_dir = std::filesystem::path(value);
            }
        } else if (key == "fault") {
            ok = ok && parse_fault(value, setup.faults);
        } else {
            error = "unknown key '" + std::string(key) + "' for --simulate";
            return std::nullopt;
        }
        if (!ok) {
            error = "bad value in '" + std::string(item) +
                    "' (model, sensor, firmware: 0-255; dpi-step: 1-255; memory: 8, 16 or 32; "
                    "mice: 1-16; variant: kp3; state: a directory or none; fault: unplug-after:N, "
                    "busy:N, fail-once:N, never-done or garbage)";
            return std::nullopt;
        }
    }
    return setup;
}

std::shared_ptr<SimBackend> make_sim_backend(const SimSetup& setup) {
    auto backend = std::make_shared<SimBackend>();
    const int size = setup.memory_kib * 1024;
    const auto stem = [&](int i) {
        // The memory size is part of the name, so a mouse of another size starts afresh
        // instead of overwriting this one's image.
        return *setup.state_dir /
               ("mouse" + std::to_string(i) + "-" + std::to_string(setup.memory_kib) + "k");
    };
    int mice = setup.mice;
    std::error_code ec;
    while (!setup.mice_given && setup.state_dir && mice < 16 &&
           std::filesystem::exists(stem(mice).string() + ".mem", ec))
        ++mice;
    for (int i = 0; i < mice; ++i) {
        SimMouseConfig config =
            setup.variant_kp3 ? SimMouseConfig::variant_kp3(size)
                              : SimMouseConfig::family_mouse(setup.model, setup.sensor,
                                                             setup.firmware, setup.dpi_step, size);
        config.faults = setup.faults;
        if (setup.state_dir)
            config.state_file_stem = stem(i);
        backend->add(std::make_shared<SimMouse>(std::move(config)));
    }
    return backend;
}

}  // namespace zentrik::sim
