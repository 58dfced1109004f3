#pragma once
// Arrival and removal of HID interfaces, and the input reports of one mouse, for a main loop:
// each object offers a descriptor that becomes readable when something is pending, so the
// window's loop watches it (no thread, no polling) and then drains it without blocking.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zentrik::platform {

// Bits of the four interfaces a mouse of the family announces when it is plugged in: the
// node of interface 0 stands for bit 1; the node of interface 1, which carries its three
// collections, stands for bits 2, 4 and 8 at once. A mouse counts as arrived when all four
// bits have been seen.
inline constexpr unsigned kInterfaceZeroBit = 1;
inline constexpr unsigned kInterfaceOneBits = 2 | 4 | 8;
inline constexpr unsigned kAllInterfaceBits = 15;

// The arrival bits a node of USB interface `interface_number` stands for (0 for any other).
inline constexpr unsigned interface_bits(int interface_number) {
    return interface_number == 0   ? kInterfaceZeroBit
           : interface_number == 1 ? kInterfaceOneBits
                                   : 0;
}

struct DeviceChange {
    enum class Kind { kArrival, kRemoval };
    Kind kind = Kind::kArrival;
    std::string path;             // as HidBackend::enumerate() lists it
    unsigned interface_bits = 0;  // which of the four bits this node stands for (0: none)
};

class DeviceMonitor {
  public:
    virtual ~DeviceMonitor() = default;
    // Readable while changes are pending; -1 when the monitor could not be set up.
    virtual int fd() const = 0;
    // The changes pending now, oldest first; never blocks.
    virtual std::vector<DeviceChange> read_changes() = 0;
};

// The input reports of one mouse's vendor collections (on Linux: the hidraw nodes beside the
// mouse's feature node that carry them).
class InputReportStream {
  public:
    virtual ~InputReportStream() = default;
    // Readable while reports are pending (it may stand for several nodes, e.g. an epoll fd).
    virtual int fd() const = 0;
    // Appends the reports pending now (byte 0 is the report id, 0 without report ids) and
    // returns without blocking; false once the device is gone.
    virtual bool read_pending(std::vector<std::vector<std::uint8_t>>& reports) = 0;
};

}  // namespace zentrik::platform
