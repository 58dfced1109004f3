#include "core/mouse_report_streams.h"

#include <algorithm>

#include "core/session.h"

namespace zentrik::core {

MouseReportStreams::Changes MouseReportStreams::follow(const std::vector<std::string>& paths) {
    Changes changes;
    for (auto it = streams_.begin(); it != streams_.end();) {
        if (std::find(paths.begin(), paths.end(), it->first) == paths.end()) {
            changes.closed.push_back(it->first);
            it = streams_.erase(it);
        } else {
            ++it;
        }
    }
    for (const std::string& path : paths) {
        if (streams_.contains(path))
            continue;
        auto stream = backend_.open_input_reports(path);
        if (!stream || stream->fd() < 0)
            continue;
        streams_.emplace(path, std::move(stream));
        changes.opened.push_back(path);
    }
    return changes;
}

int MouseReportStreams::fd(const std::string& path) const {
    const auto it = streams_.find(path);
    return it == streams_.end() ? -1 : it->second->fd();
}

bool MouseReportStreams::deliver(const std::string& path, Session& session) {
    const auto it = streams_.find(path);
    if (it == streams_.end())
        return false;
    std::vector<std::vector<std::uint8_t>> reports;
    const bool alive = it->second->read_pending(reports);
    for (const auto& report : reports)
        session.on_input_report(path, report);
    if (!alive)
        streams_.erase(path);
    return alive;
}

std::vector<std::string> MouseReportStreams::followed() const {
    std::vector<std::string> paths;
    for (const auto& entry : streams_)
        paths.push_back(entry.first);
    return paths;
}

}  // namespace zentrik::core
