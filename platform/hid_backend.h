#pragma once
// Access to HID interfaces: what the device link needs of the operating system.
//
// A backend lists HID interfaces by path and opens them; a handle answers the questions the
// device link asks (top-level collections with their report lengths, attributes, indexed
// strings) and carries feature reports. Linux: hidraw nodes (platform/linux). Tests and the
// built-in simulated mouse: sim/.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/device_monitor.h"

namespace zentrik::platform {

// One top-level collection of an interface. Report lengths are in bytes including the
// report-id byte (so a collection with 8-byte feature reports has feature length 9);
// 0 when the collection has no report of that type.
struct HidCollectionCaps {
    std::uint16_t usage_page = 0;
    std::uint16_t usage = 0;
    int input_report_length = 0;
    int output_report_length = 0;
    int feature_report_length = 0;
    // The report id of the longest feature report (the one feature_report_length counts); 0 when
    // the descriptor declares no report ids.
    std::uint8_t feature_report_id = 0;
};

struct HidAttributes {
    std::uint16_t vendor_id = 0;
    std::uint16_t product_id = 0;
    std::uint16_t version = 0;
};

class HidHandle {
  public:
    virtual ~HidHandle() = default;

    // Every top-level collection of the interface, in descriptor order; empty when the
    // descriptor cannot be read.
    virtual std::vector<HidCollectionCaps> collections() = 0;
    virtual std::optional<HidAttributes> attributes() = 0;
    // Indexed string `index` as the raw bytes the device returns (no decoding); nullopt when
    // the device does not answer.
    virtual std::optional<std::vector<std::uint8_t>> indexed_string(int index) = 0;
    // When indexed strings cannot be read because this user may not reach the device that
    // answers them (on Linux the USB device node): what and why, e.g. "/dev/bus/usb/001/007:
    // Permission denied". Empty otherwise, also when the device simply has no such string.
    virtual std::string strings_failure() { return {}; }

    // Feature reports: byte 0 of the buffer is the report id.
    virtual bool set_feature(std::span<const std::uint8_t> report) = 0;
    virtual bool get_feature(std::span<std::uint8_t> report) = 0;

    // Waits up to `timeout_ms` for one input report; returns its length, 0 on time-out and
    // -1 when the device is gone. Byte 0 is the report id, 0 on an interface without report
    // ids (as with feature reports), so the length counts that byte.
    virtual int read_input(std::span<std::uint8_t> report, int timeout_ms) = 0;

    // Drops pending input and output (a no-op where the backend has none).
    virtual void cancel() = 0;

    // True once a call failed because the device is gone (unplugged): nothing more will work.
    virtual bool gone() { return false; }
};

class HidBackend {
  public:
    virtual ~HidBackend() = default;
    // Paths of the HID interfaces present now, in a stable order.
    virtual std::vector<std::string> enumerate() = 0;
    // Opens one interface for feature exchanges; nullptr when it cannot be opened
    // (gone, or not permitted).
    virtual std::unique_ptr<HidHandle> open(const std::string& path) = 0;
    // The raw report descriptor of an interface, read without opening it for exchanges (so it
    // works where open() is not permitted); nullopt when it cannot be had.
    virtual std::optional<std::vector<std::uint8_t>> report_descriptor(const std::string& path) {
        (void)path;
        return std::nullopt;
    }
    // Why open(path) fails just now, in a few words ("Permission denied"); empty when it opens,
    // or when the backend cannot tell.
    virtual std::string open_failure(const std::string& path) {
        (void)path;
        return {};
    }
    // What the system recorded about the device behind `path` when it appeared (on Linux the udev
    // probe's verdict in the udev database): true for a mouse of the family, false for another
    // device, nullopt when nothing was recorded (no rule installed, not on USB).
    virtual std::optional<bool> family_verdict(const std::string& path) {
        (void)path;
        return std::nullopt;
    }
    // The USB interface number (bInterfaceNumber) the interface belongs to; -1 when unknown or
    // not on USB. A mouse of the family announces interface 0 and interface 1 (see
    // interface_bits()).
    virtual int interface_number(const std::string& path) {
        (void)path;
        return -1;
    }
    // The interfaces that carry the vendor input reports of the mouse whose feature interface
    // is `path` (its own and its siblings' collections on a vendor usage page with input
    // reports), in enumeration order; empty when none or when the backend cannot tell.
    virtual std::vector<std::string> vendor_input_paths(const std::string& path) {
        (void)path;
        return {};
    }
    // What names the mouse behind `path` for the lock its jobs take across programs: the same
    // text in every program that reaches the same mouse. Empty when no other program can reach
    // it (the lock is then this program's own). The path itself by default (a device node).
    virtual std::string lock_key(const std::string& path) { return path; }
    // Reports arrivals and removals of this backend's interfaces; nullptr when it cannot.
    virtual std::unique_ptr<DeviceMonitor> make_monitor() { return nullptr; }
    // The vendor input reports of the mouse whose feature interface is `path`; nullptr when
    // they cannot be read.
    virtual std::unique_ptr<InputReportStream> open_input_reports(const std::string& path) {
        (void)path;
        return nullptr;
    }
};

// The operating system's HID interfaces (Linux: hidraw nodes).
std::unique_ptr<HidBackend> make_system_hid_backend();

}  // namespace zentrik::platform
