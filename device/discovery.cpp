// zklib::discover(): walks the backend's interfaces and lists the mice of the family.
#include <optional>
#include <string>
#include <vector>

#include "device/family_strings.h"
#include "device/transport.h"
#include "device/zklib.h"
#include "platform/hid/report_descriptor.h"

namespace zentrik::device {
namespace {

constexpr int kVariantWakeDelayMs = 8;
// Signature, firmware, model, sensor and DPI step.
constexpr std::size_t kIdentityBytes = 6;

// A mouse is listed only with its whole identity: a shorter string would give it a made-up
// model and a DPI step of 0, and the DPI settings divide by the step.
bool complete_identity(const std::vector<std::uint8_t>& s) {
    return s.size() >= kIdentityBytes && s[5] != 0;
}

// Whether the descriptor that the backend gives without opening shows the link collection.
bool looks_like_link_interface(platform::HidBackend& backend, const std::string& path) {
    const auto descriptor = backend.report_descriptor(path);
    if (!descriptor)
        return false;
    return link_report_length(platform::hid::parse_report_descriptor(*descriptor).collections) ==
           kReportLength;
}

// An interface that may be a mouse this user cannot use, unless the system recorded the device
// as another maker's: then it is none of ours and nobody is told to fix its access.
void note_unopened(platform::HidBackend& backend, const std::string& path, std::string reason,
                   std::vector<UnopenedInterface>& unopened) {
    const std::optional<bool> verdict = backend.family_verdict(path);
    if (verdict == false)
        return;
    unopened.push_back({path, std::move(reason), verdict.has_value()});
}

}  // namespace

void zklib::discover() {
    std::lock_guard hold(mutex_);
    devices_.clear();
    unopened_.clear();
    for (const std::string& path : backend_->enumerate()) {
        auto handle = backend_->open(path);
        if (!handle) {
            if (looks_like_link_interface(*backend_, path))
                note_unopened(*backend_, path, backend_->open_failure(path), unopened_);
            continue;
        }
        const auto caps = handle->collections();
        const LinkReport link = link_report(caps);
        if (caps.empty() || link.length != kReportLength) {
            handle->cancel();
            continue;
        }
        (void)handle->attributes();  // read as the system does; not part of the decision

        const auto variant = handle->indexed_string(kVariantString);
        if (variant && is_variant_string(*variant)) {
            // Wake the variant up; it is not listed by this discovery.
            Report wake{0x00, 0x08, 0x01, 0x00};
            Report ignored{};
            handshake(wake, ignored, *handle, *this, link, kVariantWakeDelayMs, path);
        } else if (const auto identity = handle->indexed_string(kIdentityString);
                   identity && has_family_signature(*identity) && complete_identity(*identity)) {
            _DEVICE_ d;
            d.path = path;
            d.firmware = (*identity)[2];
            d.model = (*identity)[3];
            d.sensor = (*identity)[4];
            d.dpi_step = (*identity)[5];
            devices_.push_back(d);
        } else if (!identity) {
            // The node opened, but the device that answers its strings may not be reached:
            // a mouse of the family may be there all the same.
            if (std::string why = handle->strings_failure(); !why.empty())
                note_unopened(*backend_, path, std::move(why), unopened_);
        }
        handle->cancel();
    }
    std::vector<std::string> listed;
    for (const auto& d : devices_)
        listed.push_back(d.path);
    links_.keep_only(listed);
}

}  // namespace zentrik::device
