#pragma once
// An emulated kernel for the real hidraw backend: the test binary interposes open(), close() and
// ioctl() (the idea of a preloaded shim, built into the binary), so the backend's own system
// calls reach emulated hidraw and usbfs nodes that answer as usbhid, hidraw and usbfs do:
//   - HIDIOCGRDESCSIZE/HIDIOCGRDESC/HIDIOCGRAWINFO from the node's descriptor;
//   - HIDIOCSFEATURE/HIDIOCGFEATURE with the report number in byte 0: report 0 goes to the
//     device without that byte and byte 0 stays 0 in the answer, whose length counts it;
//   - input reports through read() and poll() on the node, one report per read;
//   - USBDEVFS_CONNECTINFO, SUBMITURB and REAPURBNDELAY for GET_DESCRIPTOR(string) control
//     transfers (what libusb sends), a stall for a string the device lacks;
//   - on removal: ENODEV from every ioctl, POLLHUP on the nodes, ENOENT on open.
// The device behind the nodes is a simulated mouse's firmware (sim/).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/sim_mouse.h"

namespace zentrik::kernel_test {

struct EmulatedUsbDevice {
    std::shared_ptr<sim::SimMouse> firmware;
    bool gone = false;
    bool fail_status_stage = false;  // set-feature: the device acts, the status stage stalls
};

// Registers a hidraw node at `dev_path` with `descriptor`; `feature` nodes carry the firmware's
// feature reports.
void add_hidraw_node(const std::string& dev_path, std::shared_ptr<EmulatedUsbDevice> device,
                     std::vector<std::uint8_t> descriptor);
// Registers the device's usbfs node (its strings are the firmware's indexed strings).
void add_usbfs_node(const std::string& path, std::shared_ptr<EmulatedUsbDevice> device);
// The cable goes: every node of the device hangs up and fails from now on.
void unplug(const std::shared_ptr<EmulatedUsbDevice>& device);
// Delivers the input reports the firmware raised to every open descriptor of `dev_path`.
void deliver_input(const std::string& dev_path);
// Successful opens of `dev_path` for writing (the feature exchanges) since registration.
int write_opens(const std::string& dev_path);
// Forgets every node (between tests).
void reset();

}  // namespace zentrik::kernel_test
