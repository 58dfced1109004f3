#pragma once
// The input reports of several hidraw nodes behind one descriptor (an epoll set), so that a
// main loop watches one fd for all vendor collections of a mouse.
#include <memory>
#include <vector>

#include "platform/device_monitor.h"
#include "platform/hid_backend.h"

namespace zentrik::platform::hidraw {

struct InputNode {
    int fd = -1;                        // the node's descriptor, owned by `handle`
    std::unique_ptr<HidHandle> handle;  // reads one report at a time, report id in byte 0
    // The report ids of the vendor collections on the node; other reports are dropped.
    std::vector<std::uint8_t> report_ids;
};

// nullptr when `nodes` is empty or the epoll set cannot be made.
std::unique_ptr<InputReportStream> make_input_report_stream(std::vector<InputNode> nodes);

}  // namespace zentrik::platform::hidraw
