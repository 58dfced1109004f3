#include "device/transport.h"

#include <algorithm>
#include <span>

namespace zentrik::device {
namespace {

struct Outcome {
    bool ok = false;
    const char* failure = "";
};

Outcome run_handshake(const Report& request_in, Report& reply, platform::HidHandle& handle,
                      zklib& lock_owner, int report_length, int delay_ms) {
    std::lock_guard hold(lock_owner.lock());
    Timing& timing = lock_owner.timing();
    const std::size_t n = static_cast<std::size_t>(std::clamp(report_length, 1, kReportLength));
    Report request = request_in;  // the caller may pass one buffer for both
    reply.fill(0);

    // Wait until the mouse is not busy; a read that fails counts as busy.
    for (int failed = 0;;) {
        Report status{};
        if (handle.get_feature(std::span(status.data(), n)) && !(status[1] & kStatusBusy))
            break;
        if (++failed >= kBusyReads) {
            handle.cancel();
            return {false, "busy"};
        }
        timing.sleep_ms(kRetrySleepMs);
    }
    timing.sleep_ms(delay_ms > 4 ? 2 : 1);

    request[0] = 0;
    if (!handle.set_feature(std::span<const std::uint8_t>(request.data(), n))) {
        // A request that never left would otherwise be answered by the previous reply, which
        // may still carry the done bit.
        handle.cancel();
        return {false, "send failed"};
    }
    if (delay_ms > 0)
        timing.sleep_ms(delay_ms);

    // Wait for the reply; a read that fails counts as not done.
    for (int failed = 0;;) {
        reply[0] = 0;
        if (handle.get_feature(std::span(reply.data(), n)) && (reply[1] & kStatusDone))
            break;
        if (++failed >= kDoneReads) {
            reply.fill(0);
            handle.cancel();
            return {false, "no reply"};
        }
        timing.sleep_ms(kRetrySleepMs);
    }
    reply[1] &= static_cast<std::uint8_t>(~(kStatusBusy | kStatusDone));
    timing.sleep_ms(delay_ms > 4 ? 3 : 1);
    handle.cancel();
    return {true, ""};
}

void trace_exchange(zklib& lib, const std::string& path, const Report& request, int delay_ms,
                    const Report& reply, const Outcome& outcome, std::int64_t started_us) {
    if (!lib.tracing())
        return;
    ExchangeTrace t;
    t.path = path;
    t.request = request;
    t.request[0] = 0;
    t.delay_ms = delay_ms;
    if (outcome.ok)
        t.reply = reply;
    t.failure = outcome.failure;
    t.elapsed_ms = static_cast<double>(lib.timing().now_us() - started_us) / 1000.0;
    lib.trace(t);
}

}  // namespace

int link_report_length(const std::vector<platform::HidCollectionCaps>& collections) {
    int first = 0;
    bool seen = false;
    for (const auto& c : collections) {
        if (c.usage != 2)
            continue;
        if (c.feature_report_length == kReportLength)
            return kReportLength;
        if (!seen)
            first = c.feature_report_length;
        seen = true;
    }
    return first;
}

int handshake(const Report& request, Report& reply, platform::HidHandle& handle, zklib& lock_owner,
              int report_length, int delay_ms, const std::string& path) {
    std::lock_guard hold(lock_owner.lock());
    const std::int64_t started = lock_owner.timing().now_us();
    const Report sent = request;
    const Outcome outcome =
        run_handshake(request, reply, handle, lock_owner, report_length, delay_ms);
    trace_exchange(lock_owner, path, sent, delay_ms, reply, outcome, started);
    return outcome.ok ? 1 : 0;
}

int transfer(zklib& lib, const std::string& path, const Report& request, Report& reply,
             int delay_ms) {
    std::lock_guard hold(lib.lock());
    const std::int64_t started = lib.timing().now_us();
    const Report sent = request;
    Outcome outcome;
    auto handle = lib.backend().open(path);
    if (!handle) {
        outcome.failure = "cannot open";
    } else {
        const int length = link_report_length(handle->collections());
        if (length == kReportLength) {
            outcome = run_handshake(sent, reply, *handle, lib, kReportLength, delay_ms);
        } else {
            outcome.failure = length == 0 ? "no feature report" : "wrong report length";
        }
        handle->cancel();
    }
    if (!outcome.ok)
        reply.fill(0);
    trace_exchange(lib, path, sent, delay_ms, reply, outcome, started);
    return outcome.ok ? 1 : 0;
}

}  // namespace zentrik::device
