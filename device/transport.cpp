#include "device/transport.h"

#include <algorithm>
#include <optional>
#include <span>

namespace zentrik::device {
namespace {

struct Outcome {
    bool ok = false;
    const char* failure = "";
};

Outcome run_handshake(const Report& request_in, Report& reply, platform::HidHandle& handle,
                      zklib& lock_owner, const LinkReport& link, int delay_ms) {
    std::lock_guard hold(lock_owner.lock());
    Timing& timing = lock_owner.timing();
    const std::size_t n = static_cast<std::size_t>(std::clamp(link.length, 1, kReportLength));
    Report request = request_in;  // the caller may pass one buffer for both
    reply.fill(0);

    // Wait until the mouse is not busy; a read that fails counts as busy.
    Report status{};
    for (int failed = 0;;) {
        status.fill(0);
        status[0] = link.id;
        if (handle.get_feature(std::span(status.data(), n)) && !(status[1] & kStatusBusy))
            break;
        if (handle.gone() || ++failed >= kBusyReads) {
            handle.cancel();
            return {false, handle.gone() ? "device gone" : "busy"};
        }
        timing.sleep_ms(kRetrySleepMs);
    }
    timing.sleep_ms(delay_ms > 4 ? 2 : 1);

    request[0] = link.id;
    const char* note = "";
    // A mouse may act on a request and still fail the transfer's status stage, so after a
    // failed send the reply is waited for as usual. The previous reply may still carry the
    // done bit, though: a reply that reads exactly as the status before the send is not taken.
    std::optional<Report> previous;
    if (!handle.set_feature(std::span<const std::uint8_t>(request.data(), n))) {
        if (handle.gone()) {
            handle.cancel();
            return {false, "device gone"};
        }
        note = "send failed";
        if (status[1] & kStatusDone)
            previous = status;
    }
    if (delay_ms > 0)
        timing.sleep_ms(delay_ms);

    // Wait for the reply; a read that fails counts as not done.
    for (int failed = 0;;) {
        reply[0] = link.id;
        if (handle.get_feature(std::span(reply.data(), n)) && (reply[1] & kStatusDone) &&
            reply != previous)
            break;
        if (handle.gone() || ++failed >= kDoneReads) {
            reply.fill(0);
            handle.cancel();
            return {false, handle.gone() ? "device gone" : "no reply"};
        }
        timing.sleep_ms(kRetrySleepMs);
    }
    reply[0] = 0;
    reply[1] &= static_cast<std::uint8_t>(~(kStatusBusy | kStatusDone));
    timing.sleep_ms(delay_ms > 4 ? 3 : 1);
    handle.cancel();
    return {true, note};
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

LinkReport link_report(const std::vector<platform::HidCollectionCaps>& collections) {
    LinkReport first;
    bool seen = false;
    for (const auto& c : collections) {
        if (c.usage != 2)
            continue;
        if (c.feature_report_length == kReportLength)
            return {kReportLength, c.feature_report_id};
        if (!seen)
            first = {c.feature_report_length, c.feature_report_id};
        seen = true;
    }
    return first;
}

int link_report_length(const std::vector<platform::HidCollectionCaps>& collections) {
    return link_report(collections).length;
}

int handshake(const Report& request, Report& reply, platform::HidHandle& handle, zklib& lock_owner,
              const LinkReport& link, int delay_ms, const std::string& path) {
    std::lock_guard hold(lock_owner.lock());
    const std::int64_t started = lock_owner.timing().now_us();
    const Report sent = request;
    const Outcome outcome = run_handshake(request, reply, handle, lock_owner, link, delay_ms);
    trace_exchange(lock_owner, path, sent, delay_ms, reply, outcome, started);
    return outcome.ok ? 1 : 0;
}

int transfer(zklib& lib, const std::string& path, const Report& request, Report& reply,
             int delay_ms) {
    std::lock_guard hold(lib.lock());
    const std::int64_t started = lib.timing().now_us();
    const Report sent = request;
    Outcome outcome;
    platform::HidHandle* handle = lib.links().open(lib.backend(), path);
    if (!handle) {
        outcome.failure = "cannot open";
    } else {
        const LinkReport link = link_report(handle->collections());
        if (link.length == kReportLength) {
            outcome = run_handshake(sent, reply, *handle, lib, link, delay_ms);
        } else {
            outcome.failure = link.length == 0 ? "no feature report" : "wrong report length";
        }
        handle->cancel();
        // After a failure the node is opened anew: the device may have gone and come back.
        if (!outcome.ok)
            lib.links().close(path);
    }
    if (!outcome.ok)
        reply.fill(0);
    trace_exchange(lib, path, sent, delay_ms, reply, outcome, started);
    return outcome.ok ? 1 : 0;
}

}  // namespace zentrik::device
