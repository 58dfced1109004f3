#include "device/vendor_report.h"

namespace zentrik::device {

std::optional<VendorReport> decode_vendor_report(std::span<const std::uint8_t> report) {
    if (report.size() < kVendorReportMinLength || report[1] != kVendorReportMarker)
        return std::nullopt;
    VendorReport r;
    r.link_tag = report[2];
    const std::span<const std::uint8_t, 4> data = report.subspan<4, 4>();
    switch (report[3]) {
        case static_cast<std::uint8_t>(VendorEvent::kProfile):
            r.event = VendorEvent::kProfile;
            r.profile = data[0];
            if (r.profile >= kProfileCount)
                return std::nullopt;
            break;
        case static_cast<std::uint8_t>(VendorEvent::kDpi):
            r.event = VendorEvent::kDpi;
            r.level = data[0];
            r.has_steps = data[1] == kDpiStepsMarker;
            if (r.has_steps) {
                r.x_steps = data[2];
                r.y_steps = data[3];
            }
            if (r.level >= kDpiLevelCount)
                return std::nullopt;
            break;
        case static_cast<std::uint8_t>(VendorEvent::kTilt):
            r.event = VendorEvent::kTilt;
            r.tilt = static_cast<std::int8_t>(data[0]);
            break;
        case static_cast<std::uint8_t>(VendorEvent::kWheel):
            r.event = VendorEvent::kWheel;
            r.level = data[0];
            r.has_steps = true;
            r.x_steps = data[1];
            r.y_steps = data[2];
            r.wheel_rate = data[3];
            if (r.level >= kDpiLevelCount)
                return std::nullopt;
            break;
        default:
            return std::nullopt;
    }
    return r;
}

bool addressed_to_us(const VendorReport& report, std::uint8_t link_tag) {
    return report.event == VendorEvent::kTilt || report.link_tag == link_tag;
}

}  // namespace zentrik::device
