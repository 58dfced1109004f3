#pragma once
// The vendor input reports of every attached mouse of the family, one stream per mouse, kept in
// step with the listed mice: tilts scroll from any of them, whichever mouse the window selected
// (or before it selected one). The owner watches each stream's descriptor and calls deliver()
// when it becomes readable; nothing here blocks.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/hid_backend.h"

namespace zentrik::core {

class Session;

class MouseReportStreams {
  public:
    explicit MouseReportStreams(platform::HidBackend& backend) : backend_(backend) {}

    struct Changes {
        std::vector<std::string> opened;  // streams opened now, to be watched
        std::vector<std::string> closed;  // streams closed now, no longer to be watched
    };
    // Follows exactly the mice at `paths` (the listed ones): opens the streams of mice not
    // followed yet and closes those of mice no longer listed. A mouse whose reports cannot be
    // opened now is tried again at the next call.
    Changes follow(const std::vector<std::string>& paths);
    // The descriptor of a followed mouse's stream (-1 when it is not followed).
    int fd(const std::string& path) const;
    // Hands the pending reports of `path` to the session. Returns false (and closes the stream)
    // once the mouse is gone.
    bool deliver(const std::string& path, Session& session);
    void close(const std::string& path) { streams_.erase(path); }
    std::vector<std::string> followed() const;

  private:
    platform::HidBackend& backend_;
    std::map<std::string, std::unique_ptr<platform::InputReportStream>> streams_;
};

}  // namespace zentrik::core
