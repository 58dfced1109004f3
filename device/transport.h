#pragma once
// The feature-report transport: one request/reply pair per exchange, carried by the busy/done
// handshake, under the zklib lock. The path's node is opened at its first exchange and kept open
// for the device session (zklib::links()); a failed exchange closes it.
#include <string>
#include <vector>

#include "device/report.h"
#include "device/zklib.h"
#include "platform/hid_backend.h"

namespace zentrik::device {

// Opens `path` (or takes its open node), checks that its feature report length is 9 and runs the
// handshake.
// 1 when a reply was received (it is then in `reply`, status bits 7 and 6 cleared), else 0 and
// `reply` is zero-filled. `request` and `reply` may be the same buffer.
int transfer(zklib& lib, const std::string& path, const Report& request, Report& reply,
             int delay_ms);

// The report that carries the link on an interface: its length (see link_report_length) and
// the report id it is sent and read with (0 when the descriptor declares none; the mouse's own
// descriptor has none, but a firmware that numbers its reports is answered with its number).
struct LinkReport {
    int length = 0;
    std::uint8_t id = 0;
};
LinkReport link_report(const std::vector<platform::HidCollectionCaps>& collections);

// The exchange on a handle that is already open; discovery uses it directly. `path` only
// labels the trace. A set-feature that fails does not end the exchange while the device is
// there (a firmware may act on a request and fail the transfer's status stage): the reply is
// still waited for, except that one reading exactly as the done status before the send (the
// previous reply) is not taken, and the trace notes "send failed".
int handshake(const Report& request, Report& reply, platform::HidHandle& handle, zklib& lock_owner,
              const LinkReport& link, int delay_ms, const std::string& path = {});

// The feature report length the link sees on an interface. Each top-level collection with
// usage 2 is considered on its own: 9 when any of them has 9-byte feature reports (the
// collection that carries the link), else the length of the first of them, 0 when there is none.
int link_report_length(const std::vector<platform::HidCollectionCaps>& collections);

// Handshake limits: status reads before giving up, and the sleep between two reads.
inline constexpr int kBusyReads = 21;
inline constexpr int kDoneReads = 201;
inline constexpr int kRetrySleepMs = 4;

}  // namespace zentrik::device
