// zklib::discover(): walks the backend's interfaces and lists the mice of the family.
#include <string>

#include "device/family_strings.h"
#include "device/transport.h"
#include "device/zklib.h"

namespace zentrik::device {
namespace {

constexpr int kVariantWakeDelayMs = 8;

}  // namespace

void zklib::discover() {
    std::lock_guard hold(mutex_);
    devices_.clear();
    for (const std::string& path : backend_->enumerate()) {
        auto handle = backend_->open(path);
        if (!handle)
            continue;
        const auto caps = handle->collections();
        if (caps.empty() || link_report_length(caps) != kReportLength) {
            handle->cancel();
            continue;
        }
        (void)handle->attributes();  // read as the system does; not part of the decision

        const auto variant = handle->indexed_string(kVariantString);
        if (variant && is_variant_string(*variant)) {
            // Wake the variant up; it is not listed by this discovery.
            Report wake{0x00, 0x08, 0x01, 0x00};
            Report ignored{};
            handshake(wake, ignored, *handle, *this, kReportLength, kVariantWakeDelayMs, path);
        } else if (const auto identity = handle->indexed_string(kIdentityString);
                   identity && has_family_signature(*identity)) {
            auto byte = [&](std::size_t i) { return i < identity->size() ? (*identity)[i] : 0; };
            _DEVICE_ d;
            d.path = path;
            d.firmware = byte(2);
            d.model = byte(3);
            d.sensor = byte(4);
            d.dpi_step = byte(5);
            devices_.push_back(d);
        }
        handle->cancel();
    }
}

}  // namespace zentrik::device
