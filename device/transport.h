#pragma once
// The feature-report transport: one request/reply pair per exchange, carried by the busy/done
// handshake. The path is opened for each exchange and closed after it, under the zklib lock.
#include <string>
#include <vector>

#include "device/report.h"
#include "device/zklib.h"
#include "platform/hid_backend.h"

namespace zentrik::device {

// Opens `path`, checks that its feature report length is 9, runs the handshake and closes it.
// 1 when a reply was received (it is then in `reply`, status bits 7 and 6 cleared), else 0 and
// `reply` is zero-filled. `request` and `reply` may be the same buffer.
int transfer(zklib& lib, const std::string& path, const Report& request, Report& reply,
             int delay_ms);

// The exchange on a handle that is already open; discovery uses it directly. `path` only
// labels the trace.
int handshake(const Report& request, Report& reply, platform::HidHandle& handle, zklib& lock_owner,
              int report_length, int delay_ms, const std::string& path = {});

// The feature report length the link sees on an interface. Each top-level collection with
// usage 2 is considered on its own: 9 when any of them has 9-byte feature reports (the
// collection that carries the link), else the length of the first of them, 0 when there is none.
int link_report_length(const std::vector<platform::HidCollectionCaps>& collections);

// Handshake limits: status reads before giving up, and the sleep between two reads.
inline constexpr int kBusyReads = 21;
inline constexpr int kDoneReads = 201;
inline constexpr int kRetrySleepMs = 4;

}  // namespace zentrik::device
