// The simulated firmware's answers to requests: link, settings, memory and wheel commands.
#include <algorithm>

#include "sim/sim_mouse.h"
#include "sim/sim_protocol.h"

namespace zentrik::sim {
namespace {

std::uint16_t le16(std::uint8_t lo, std::uint8_t hi) {
    return static_cast<std::uint16_t>(lo | (hi << 8));
}

}  // namespace

void SimMouse::run_request(const FeatureReport& req, FeatureReport& reply) {
    const std::uint8_t cls = req[1], code = req[2];
    switch (cls) {
        case 0x00:  // link
            if (code == 0x00)
                reply[7] = link_tag_;
            if (code == 0x02 && req[8] == kKey)
                link_tag_ = req[3];
            break;
        case 0x01:
            run_settings_request(req, reply);
            break;
        case 0x02:
            run_memory_request(req, reply);
            break;
        case 0x07:  // wheel
            if (code == 0x00)
                reply[3] = working_.wheel_rate;
            if (code == 0x02 && req[4] == kKey)
                working_.wheel_rate = req[3];
            break;
        case 0x08:
            if (code == 0x01)
                ++wakeups_;
            break;
        default:
            break;
    }
}

void SimMouse::run_settings_request(const FeatureReport& req, FeatureReport& reply) {
    const bool keyed = req[8] == kKey;
    switch (req[2]) {
        case 0x02:  // store the working settings
            if (keyed) {
                stored_ = working_;
            }
            break;
        case 0x03:
            if (req[4] < kDpiLevels) {
                reply[2] = working_.dpi[req[4]][0];
                reply[3] = working_.dpi[req[4]][1];
            }
            break;
        case 0x83:
            if (keyed && req[3] < 2 && req[4] < kDpiLevels)
                working_.dpi[req[4]][req[3]] = req[5];
            break;
        case 0x05:
            if (req[3] < kProfiles && req[4] < kButtonsPerProfile) {
                const std::size_t at = button_offset(req[3], req[4]);
                std::copy_n(memory_.begin() + static_cast<std::ptrdiff_t>(at), 3,
                            reply.begin() + 2);
            }
            break;
        case 0x85:
            if (keyed && req[3] < kProfiles && req[4] < kButtonsPerProfile) {
                const std::array<std::uint8_t, 3> cell = {req[5], req[6], req[7]};
                write_memory(static_cast<std::uint32_t>(button_offset(req[3], req[4])), cell);
            }
            break;
        case 0x07:
            reply[2] = working_.dpi_level;
            break;
        case 0x87:
            if (keyed && req[3] < kDpiLevels)
                working_.dpi_level = req[3];
            break;
        case 0x08:
            reply[2] = working_.profile;
            break;
        case 0x88:
            if (keyed && req[3] < kProfiles)
                working_.profile = req[3];
            break;
        case 0x0A:
            reply[2] = static_cast<std::uint8_t>(working_.macro_limit & 0xFF);
            reply[3] = static_cast<std::uint8_t>(working_.macro_limit >> 8);
            break;
        case 0x8A:
            if (keyed)
                working_.macro_limit = le16(req[3], req[4]);
            break;
        case 0x0B:
            reply[2] = working_.rate_byte;
            break;
        case 0x8B:
            working_.rate_byte = req[3];
            break;
        default:
            break;
    }
}

void SimMouse::run_memory_request(const FeatureReport& req, FeatureReport& reply) {
    const std::uint16_t address = le16(req[3], req[4]);
    const bool keyed = req[8] == kKey;
    const std::size_t size = memory_.size();
    switch (req[2]) {
        case 0x00:
            for (std::size_t i = 0; i < kReadBytes; ++i)
                reply[2 + i] = memory_[(address + i) % size];
            break;
        case 0x01:
            if (keyed)
                write_memory(address, std::span(&req[6], 1));
            break;
        case 0x02:
            if (keyed)
                write_memory(address, std::span(&req[6], 2));
            break;
        case 0x03:
        case 0x05:
        case 0x06:
        case 0x07:
        case 0x08: {
            static constexpr std::array<int, 9> kStageStart = {0, 0, 0, 0, 0, 6, 12, 18, 24};
            std::copy_n(req.begin() + 3, 6, staged_.begin() + kStageStart[req[2]]);
            break;
        }
        case 0x09:
            staged_[30] = req[3];
            staged_[31] = req[4];
            break;
        case 0x04:
            if (keyed && req[6] >= 1 && req[6] <= kStagingBytes) {
                write_memory(address, std::span(staged_.data(), req[6]));
            }
            break;
        case 0x0A:
            if (keyed)
                write_memory(address, staged_);
            break;
        default:
            break;
    }
}

}  // namespace zentrik::sim
