#pragma once
// The mouse's own input reports: what it tells when the user changes a setting on the mouse
// itself (profile button, DPI button, wheel) or tilts the wheel. A report of at least 8 bytes
// whose byte 1 is 0x12 carries the link tag the mouse holds in byte 2, an event code in byte 3
// and the event's data in bytes 4 to 7; byte 0 is the report id.
#include <cstdint>
#include <optional>
#include <span>

#include "device/protocol.h"

namespace zentrik::device {

enum class VendorEvent : std::uint8_t {
    kProfile = 1,  // the current profile changed
    kDpi = 2,      // the current DPI level changed (and maybe its steps)
    kTilt = 3,     // the wheel was tilted
    kWheel = 11,   // a DPI level's steps and the wheel rate changed
};

inline constexpr std::size_t kVendorReportMinLength = 8;
inline constexpr std::uint8_t kVendorReportMarker = kKeyByte;  // byte 1
inline constexpr std::uint8_t kDpiStepsMarker = 0xFA;          // byte 5 of a DPI event

struct VendorReport {
    VendorEvent event = VendorEvent::kProfile;
    std::uint8_t link_tag = 0;  // the tag the mouse holds (byte 2)
    int profile = 0;            // kProfile: 0-4
    int level = 0;              // kDpi, kWheel: 0-3
    bool has_steps = false;     // kDpi: x_steps and y_steps are given; kWheel: always
    int x_steps = 0;            // kDpi (with has_steps), kWheel
    int y_steps = 0;
    int wheel_rate = 0;  // kWheel
    int tilt = 0;        // kTilt: signed, negative to the left
};

// The report's event, or nullopt for anything else: shorter than 8 bytes, byte 1 not 0x12,
// an unknown event code, or a profile or level outside its range (a report that would point
// past the model's tables is dropped rather than guessed at).
std::optional<VendorReport> decode_vendor_report(std::span<const std::uint8_t> report);

// Whether the program acts on the report while `link_tag` is the tag it last gave the mouse:
// tilts always; profile, DPI and wheel events only when they carry that tag (another program
// that took the mouse over has written its own).
bool addressed_to_us(const VendorReport& report, std::uint8_t link_tag);

}  // namespace zentrik::device
